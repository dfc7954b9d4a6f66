// The real program on the virtual mouse as a native Wayland client (run-under-weston.sh starts
// a headless weston for it): the frameless window shows its first frame, a page switch and a
// lighting change reach the mouse, a drag of the top bar is handed to the compositor without
// harm, and a screenshot of the window is saved. The program as a process starts there too, at
// 150 %, and answers on a private session bus.
#include "app/Ui_Controler.h"
#include "app/Widget.h"
#include "controller/myQQuickView.h"
#include "tests/platform/PrivateSessionBus.h"
#include "tests/support/CopyTree.h"
#include "tests/support/SceneDriver.h"
#include "virtual/VirtualBus.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QWindow>
#include <QtTest>

namespace {

constexpr int kTimeoutMs = 15000;
constexpr int kProcessStartMs = 60000;
constexpr const char *kService = "org.w3config.W3Config1";
constexpr const char *kPath = "/org/w3config/W3Config1";

QVariant busProperty(const QString &name)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, "org.freedesktop.DBus.Properties", "Get");
    call << QString(kService) << name;
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().first().value<QDBusVariant>().variant();
}
constexpr std::uint8_t kLightingEffect = 0x0D;

bool mouseReceived(std::uint8_t code)
{
    for (const vhid::Record &record : vhid::Bus::instance().records())
        if (record.op == vhid::Op::SendFeature && !record.plainBlock.empty() && record.plainBlock[0] == code)
            return true;
    return false;
}

// The colour of the frame's pixels, counted: a frame never drawn is one flat colour.
int coloursIn(const QImage &frame)
{
    QSet<QRgb> colours;
    for (int y = 0; y < frame.height(); y += 7)
        for (int x = 0; x < frame.width(); x += 7)
            colours.insert(frame.pixel(x, y));
    return colours.size();
}

}  // namespace

class TestWayland : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("wayland"))
            QSKIP("runs as a Wayland client (tests/wayland/run-under-weston.sh)");
    }

    void theWindowWorksNatively()
    {
        SceneDriver scene;
        QVERIFY(scene.start(kTimeoutMs));
        QWindow *window = scene.shell().windowHandle();
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window, kTimeoutMs));
        QVERIFY(window->flags() & Qt::FramelessWindowHint);

        const QImage first = scene.view().grabFramebuffer();
        QCOMPARE(first.size(), QSize(1000, 600));
        QVERIFY2(coloursIn(first) > 50, "the first frame is blank");
        QVERIFY(!scene.screenshot("wayland-key-page").isEmpty());

        // A page switch and a lighting change, sent on APPLY.
        QVERIFY(scene.click("Menu_Func_2"));
        QVERIFY(scene.waitFor([&] { return scene.property("Page_Color", "x").toDouble() == 0.0; }, kTimeoutMs));
        vhid::Bus::instance().clearRecords();
        QVERIFY(scene.click("ledPower"));
        QVERIFY(scene.click("colorApplyButton"));
        QVERIFY(scene.waitFor([] { return mouseReceived(kLightingEffect); }, kTimeoutMs));
        QCOMPARE(QString::fromStdString(vhid::Bus::instance().violationReport()), QString());
        QVERIFY(scene.waitUntilUnlocked(kTimeoutMs));
        QVERIFY(!scene.screenshot("wayland-lighting-page").isEmpty());

        // The drag is offered to the compositor once; whatever it answers (a headless one has
        // no pointer to move with), the window stays whole and keeps working.
        auto *controller
            = qobject_cast<Ui_Controler *>(scene.view().rootContext()->contextProperty("ui_Ctl").value<QObject *>());
        QVERIFY(controller);
        QVector<bool> answers;
        controller->setSystemMove([&](QWindow *moved) {
            answers.append(moved->startSystemMove());
            return answers.last();
        });
        QVERIFY(scene.drag(QPointF(300, 30), QPointF(340, 50)));
        QCOMPARE(answers.size(), 1);
        qInfo("the compositor %s the move", answers.first() ? "took" : "declined");
        QVERIFY(scene.click("Menu_Func_2"));
        QVERIFY(scene.waitFor([&] { return scene.property("Main_W3", "currentPage").toInt() == -1; }, kTimeoutMs));
    }

    // The program itself, at a fractional scale: it shows its window as a Wayland client,
    // takes a DPI stage over the bus to the mouse, and captures keys of its own window only
    // where the input devices are closed to it.
    void theProgramStartsAsAWaylandClient()
    {
        QTemporaryDir runDir;
        QVERIFY(runDir.isValid());
        const QString binDir = QCoreApplication::applicationDirPath();
        QVERIFY(QFile::copy(binDir + "/w3config-virtual", runDir.filePath("w3config-virtual")));
        QVERIFY(QFile::setPermissions(runDir.filePath("w3config-virtual"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(copyTree(binDir + "/modules", runDir.filePath("modules")));
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_SCALE_FACTOR", "1.5");
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.start(runDir.filePath("w3config-virtual"), QStringList());
        QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));
        const auto shown = [&] { return busProperty("WindowShown") == QVariant(true) || program.state() != QProcess::Running; };
        QVERIFY(QTest::qWaitFor(shown, kProcessStartMs));
        QCOMPARE(program.state(), QProcess::Running);

        QDBusInterface service(kService, kPath, kService);
        const QDBusMessage reply = service.call("SetDpiStage", 2);
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
        QTRY_COMPARE_WITH_TIMEOUT(busProperty("DpiStage"), QVariant(2), kTimeoutMs);

        program.terminate();
        if (!program.waitForFinished(kTimeoutMs)) {
            program.kill();
            program.waitForFinished();
        }
        const QByteArray log = program.readAll();
        QVERIFY2(!log.contains("X11 RECORD") && log.contains("Input capture:"), log.constData());
        QVERIFY2(!log.contains("xcb"), log.constData());
    }
};

W3_PRIVATE_BUS_TEST_MAIN(TestWayland)
#include "test_wayland_e2e.moc"
