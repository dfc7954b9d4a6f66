// The shell: start-up order, detection outcomes, the device-change debounce, the start-up
// event and the text channel's copy-data rules.
#include "app/Startup.h"
#include "app/UserEvent.h"
#include "app/Widget.h"
#include "capture/InputCapture.h"
#include "controller/AppConfig.h"
#include "controller/myQQuickView.h"
#include "device/DeviceState.h"
#include "tests/support/ModulesSandbox.h"
#include "tests/support/RecordingPrompts.h"
#include "virtual/VirtualBus.h"

#include <QQuickItem>
#include <QSettings>
#include <QtTest>
#include <chrono>
#include <memory>

namespace {

int handshakesOnBus()
{
    int count = 0;
    for (const vhid::Record &record : vhid::Bus::instance().records())
        if (record.op == vhid::Op::SendFeature && !record.plainBlock.empty() && record.plainBlock[0] == 0x00)
            ++count;
    return count;
}

vhid::Record firstHandshakeOnBus()
{
    for (const vhid::Record &record : vhid::Bus::instance().records())
        if (record.op == vhid::Op::SendFeature && !record.plainBlock.empty() && record.plainBlock[0] == 0x00)
            return record;
    return {};
}

qint64 msSince(std::chrono::steady_clock::time_point from)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - from).count();
}

QVariant sceneProperty(Widget &shell, const char *name)
{
    return shell.view()->rootObject() ? shell.view()->rootObject()->property(name) : QVariant();
}

}  // namespace

class TestShell : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        sandbox = std::make_unique<ModulesSandbox>();
        prompts = std::make_unique<RecordingPrompts>();
        vhid::Bus::instance().reset();
        encodeEnabled = false;
        deviceReady = false;
        demoMode = false;
        languageIntegrity = true;
        secrecyCode = {};
    }
    void cleanup()
    {
        shell.reset();
        QApplication::setQuitOnLastWindowClosed(true);
        prompts.reset();
        sandbox.reset();
        // Overlapping hidapi calls, refused reports and lost data reports are faults.
        const std::string violations = vhid::Bus::instance().violationReport();
        QVERIFY2(violations.empty(), violations.c_str());
    }

    void startsTheSceneOnlyWithAProvenDevice()
    {
        vhid::Bus::instance().plug(vhid::Model::Mouse);
        shell = std::make_unique<Widget>();
        startShell(*shell);

        QVERIFY(deviceReady);
        QVERIFY(prompts->warnings.isEmpty());
        QVERIFY(shell->isVisible());
        QCOMPARE(handshakesOnBus(), 1);
        // "initUI" runs before "run", both queued: nothing has happened yet.
        QCOMPARE(sceneProperty(*shell, "visible").toBool(), false);
        QTRY_VERIFY(sceneProperty(*shell, "visible").toBool());
        QVERIFY(sceneProperty(*shell, "initialised").toBool());
    }

    // The warning keeps its first line and says why, as far as the bus can tell.
    void missingDeviceWarnsWithItsCauseAndNeverShowsTheWindow_data()
    {
        QTest::addColumn<bool>("plugged");
        QTest::addColumn<bool>("failOpen");
        QTest::addColumn<QStringList>("causeLines");
        const QString rule = "KERNEL==\"hidraw*\", SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"1209\", "
                             "ATTRS{idProduct}==\"0008\", TAG+=\"uaccess\"";
        QTest::newRow("nothing with the ids on the bus")
            << false << false << QStringList{"No device with the ids 1209:0008 is connected."};
        QTest::newRow("present but this user cannot open it")
            << true << true
            << QStringList{"Save this line as /etc/udev/rules.d/70-w3config.rules:", rule,
                           "sudo udevadm control --reload-rules && sudo udevadm trigger"};
    }
    void missingDeviceWarnsWithItsCauseAndNeverShowsTheWindow()
    {
        QFETCH(bool, plugged);
        QFETCH(bool, failOpen);
        QFETCH(QStringList, causeLines);
        if (plugged) {
            vhid::Bus::instance().plug(vhid::Model::Mouse);
            vhid::Faults faults;
            faults.failOpen = failOpen;
            vhid::Bus::instance().setFaults(vhid::Model::Mouse, faults);
        }
        shell = std::make_unique<Widget>();
        startShell(*shell);

        QVERIFY(!deviceReady);
        QCOMPARE(prompts->warnings.size(), 1);
        QCOMPARE(prompts->warnings[0].title, shell->windowTitle());
        const QString mouseName = shell->applicationConfig()->value("common/product_name").toStringList().value(1);
        QVERIFY(!mouseName.isEmpty());
        const QStringList lines = prompts->warnings[0].text.split('\n');
        QCOMPARE(lines.value(0), QString("Can not detect %1 !").arg(mouseName));
        for (const QString &line : causeLines)
            QVERIFY2(lines.contains(line), qPrintable(prompts->warnings[0].text));
        QVERIFY(!shell->isVisible());
        QTest::qWait(100);
        QVERIFY(!sceneProperty(*shell, "initialised").toBool());
        QVERIFY(!sceneProperty(*shell, "visible").toBool());
    }

    // Kept running in the tray, a window start without the mouse still warns and ends: nothing
    // the user started with a window waits unseen in the background.
    void keptRunningAWindowStartWithoutTheMouseStillWarns()
    {
        QSettings config("modules/setting/apConfig.bin", QSettings::IniFormat);
        config.setValue("common/total", 34);
        config.setValue("common/32", 1);
        config.sync();
        shell = std::make_unique<Widget>();
        QVERIFY(shell->staysInBackground());
        QVERIFY(!shell->startsInBackground());
        startShell(*shell);

        QVERIFY(!deviceReady);
        QCOMPARE(prompts->warnings.size(), 1);
        QVERIFY(!shell->isVisible());
    }

    void demoAccessTextStartsDemoModeWithItsNotice()
    {
        shell = std::make_unique<Widget>();
        shell->applicationConfig()->setValue("common/sCode1", "q-vantor");
        InputCapture::setCopyDataHandler(&Widget::onCopyData, QCoreApplication::instance(), shell.get());
        startShell(*shell);

        QVERIFY(deviceReady);
        QVERIFY(demoMode);
        QVERIFY(!encodeEnabled);
        QVERIFY(shell->isVisible());
        QCOMPARE(prompts->warnings.size(), 1);
        QCOMPARE(prompts->warnings[0].text, QString("===== Demo Mode ====="));

        // Plugging the mouse afterwards changes nothing: no report reaches it.
        vhid::Bus::instance().plug(vhid::Model::Mouse);
        vhid::Bus::instance().clearRecords();
        shell->checkDevice();
        QVERIFY(demoMode);
        QVERIFY(deviceReady);
        QCOMPARE(vhid::Bus::instance().records().size(), size_t(0));
    }

    void removalDuringARunningProgramEndsIt()
    {
        vhid::Bus::instance().plug(vhid::Model::Mouse);
        shell = std::make_unique<Widget>();
        startShell(*shell);
        QVERIFY(deviceReady);

        vhid::Bus::instance().unplug(vhid::Model::Mouse);
        shell->checkDevice();
        QVERIFY(!deviceReady);
        QCOMPARE(prompts->warnings.size(), 1);
        QTRY_VERIFY(!shell->isVisible());
    }

    // In the background the program detects and keeps the device with no scene; the window is
    // loaded when opened, and closing it returns to the background with the scene dropped,
    // ready to open again.
    void backgroundStartOpensTheWindowOnlyWhenAskedAndReturnsOnClose()
    {
        vhid::Bus::instance().plug(vhid::Model::Mouse);
        shell = std::make_unique<Widget>(Widget::Start::InBackground);
        startShell(*shell);
        QVERIFY(deviceReady);
        QVERIFY(!shell->isVisible());
        QVERIFY(!shell->view()->rootObject());
        QVERIFY(!QApplication::quitOnLastWindowClosed());

        for (int opening = 0; opening < 2; ++opening) {
            shell->openWindow();
            QVERIFY(shell->isVisible());
            QTRY_VERIFY(sceneProperty(*shell, "visible").toBool());
            QVERIFY(sceneProperty(*shell, "initialised").toBool());

            QVERIFY(shell->close() == false);  // the close is turned into a return to the background
            QVERIFY(!shell->isVisible());
            QTRY_VERIFY(!shell->view()->rootObject());
            QVERIFY(deviceReady);
        }
        QVERIFY(prompts->warnings.isEmpty());
    }

    // Without the mouse the background waits quietly; a window asked for says why it cannot
    // open, and opens once the mouse is back. A mouse pulled out under an open window closes
    // the window only.
    void backgroundWaitsForTheMouseAndSurvivesItsRemoval()
    {
        shell = std::make_unique<Widget>(Widget::Start::InBackground);
        startShell(*shell);
        QVERIFY(!deviceReady);
        QVERIFY(prompts->warnings.isEmpty());

        shell->openWindow();
        QVERIFY(!shell->isVisible());
        QCOMPARE(prompts->warnings.size(), 1);
        QVERIFY(prompts->warnings.first().text.contains("No device with the ids"));

        vhid::Bus::instance().plug(vhid::Model::Mouse);
        shell->checkDevice();
        QVERIFY(deviceReady);
        QVERIFY(!shell->isVisible());
        shell->openWindow();
        QVERIFY(shell->isVisible());

        vhid::Bus::instance().unplug(vhid::Model::Mouse);
        shell->checkDevice();
        QVERIFY(!deviceReady);
        QCOMPARE(prompts->warnings.size(), 2);
        QTRY_VERIFY(!shell->view()->rootObject());
        QVERIFY(!shell->isVisible());

        vhid::Bus::instance().plug(vhid::Model::Mouse);
        shell->checkDevice();
        QVERIFY(deviceReady);
        shell->openWindow();
        QTRY_VERIFY(sceneProperty(*shell, "visible").toBool());
    }

    void replacementKeepsTheProgramRunning()
    {
        vhid::Bus::instance().plug(vhid::Model::Mouse);
        shell = std::make_unique<Widget>();
        startShell(*shell);
        vhid::Bus::instance().unplug(vhid::Model::Mouse);
        vhid::Bus::instance().plug(vhid::Model::Mouse);
        shell->checkDevice();
        QVERIFY(deviceReady);
        QVERIFY(prompts->warnings.isEmpty());
        QVERIFY(shell->isVisible());
    }

    void aBurstOfDeviceChangesLeadsToOneDetection()
    {
        vhid::Bus::instance().plug(vhid::Model::Mouse);
        shell = std::make_unique<Widget>();
        startShell(*shell);
        vhid::Bus::instance().clearRecords();

        // The times that matter are measured: when each notice went in and when the
        // handshake reached the bus. A busy machine only stretches the gaps.
        using Clock = std::chrono::steady_clock;
        Clock::time_point lastNotice;
        qint64 longestGapMs = 0;
        for (int i = 0; i < 3; ++i) {
            if (i > 0)
                longestGapMs = std::max(longestGapMs, msSince(lastNotice));
            shell->notifyDeviceChange();
            lastNotice = Clock::now();
            QTest::qWait(200);
        }
        if (longestGapMs >= Widget::kDeviceChangeDebounceMs)
            QSKIP("the machine paused longer than the debounce between two notices");
        QTRY_COMPARE_WITH_TIMEOUT(handshakesOnBus(), 1, 30000);
        const vhid::Record handshake = firstHandshakeOnBus();
        // A coarse timer may fire up to 5 % early.
        const qint64 debounceMs = std::chrono::duration_cast<std::chrono::milliseconds>(handshake.at - lastNotice).count();
        QVERIFY2(debounceMs >= Widget::kDeviceChangeDebounceMs * 95 / 100,
                 qPrintable(QString("detection %1 ms after the last notice").arg(debounceMs)));
        QTest::qWait(300);
        QCOMPARE(handshakesOnBus(), 1);
    }

    void onlyTheStartEventRunsTheScene_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("runs");
        QTest::newRow("start-up event") << int(QEvent::User) << 2177 << true;
        QTest::newRow("other code") << int(QEvent::User) << 2178 << false;
        QTest::newRow("other event type") << int(QEvent::User) + 1 << 2177 << false;
    }
    void onlyTheStartEventRunsTheScene()
    {
        QFETCH(int, type);
        QFETCH(int, code);
        QFETCH(bool, runs);
        shell = std::make_unique<Widget>();
        struct OtherEvent : QEvent {
            OtherEvent(int type, int code) : QEvent(QEvent::Type(type)), code(code) {}
            int code;
        };
        if (type == int(UserEvent::kType))
            QCoreApplication::postEvent(shell.get(), new UserEvent(code));
        else
            QCoreApplication::postEvent(shell.get(), new OtherEvent(type, code));
        QTest::qWait(100);
        QCOMPARE(sceneProperty(*shell, "visible").toBool(), runs);
    }

    void copyDataRules_data()
    {
        QTest::addColumn<quintptr>("tag");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("shown");
        QTest::newRow("tagged text") << quintptr(9487) << QByteArray("===== Demo Mode =====") << true;
        QTest::newRow("other tag") << quintptr(9486) << QByteArray("hello") << false;
        QTest::newRow("zero inside") << quintptr(9487) << QByteArray("hel\0lo", 6) << false;
        QTest::newRow("not UTF-8") << quintptr(9487) << QByteArray("caf\xe9") << false;
        QTest::newRow("multi-byte UTF-8") << quintptr(9487) << QString::fromUtf8("Grüße").toUtf8() << true;
        QTest::newRow("empty") << quintptr(9487) << QByteArray() << false;
    }
    void copyDataRules()
    {
        QFETCH(quintptr, tag);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, shown);
        shell = std::make_unique<Widget>();
        CopyData data;
        data.dwData = tag;
        data.bytes = bytes;
        Widget::onCopyData(&data, shell.get());
        Widget::onCopyData(&data, nullptr);
        QCOMPARE(prompts->warnings.size(), shown ? 1 : 0);
        if (shown) {
            QCOMPARE(prompts->warnings[0].title, shell->windowTitle());
            QCOMPARE(prompts->warnings[0].text, QString::fromUtf8(bytes));
        }
    }

private:
    std::unique_ptr<ModulesSandbox> sandbox;
    std::unique_ptr<RecordingPrompts> prompts;
    std::unique_ptr<Widget> shell;
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
