// The program on a private session bus, as processes on the virtual mouse: the running one,
// started in the background, owns the bus name and answers for the device and the profile; its
// window opens when asked for; a second launch hands over to it and ends, so that two
// processes never drive the mouse.
#include "tests/platform/PrivateSessionBus.h"
#include "tests/support/CopyTree.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

constexpr const char *kProgram = "w3config-virtual";
constexpr const char *kService = "org.w3config.W3Config1";
constexpr const char *kPath = "/org/w3config/W3Config1";
constexpr const char *kInterface = "org.w3config.W3Config1";
// Generous bounds on a busy machine: the first window showing, a second launch ending.
constexpr int kStartLimitMs = 60000;
constexpr int kHandOverLimitMs = 30000;
constexpr int kPollMs = 50;

QDBusConnectionInterface &busDaemon()
{
    return *QDBusConnection::sessionBus().interface();
}

QVariant busProperty(const QString &name)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, "org.freedesktop.DBus.Properties", "Get");
    call << QString(kInterface) << name;
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().first().value<QDBusVariant>().variant();
}

}  // namespace

class SessionServiceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X server ($DISPLAY, as under xvfb-run)");
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs dbus-run-session");
        QVERIFY(runDir.isValid());
        const QString binDir = QCoreApplication::applicationDirPath();
        QVERIFY(QFile::copy(binDir + '/' + kProgram, runDir.filePath(kProgram)));
        QVERIFY(QFile::setPermissions(runDir.filePath(kProgram),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(copyTree(binDir + "/modules", runDir.filePath("modules")));

        start(first, {"--background"});
        QElapsedTimer starting;
        starting.start();
        while (!busDaemon().isServiceRegistered(kService) && first.state() == QProcess::Running
               && starting.elapsed() < kStartLimitMs)
            QTest::qWait(kPollMs);
        QVERIFY2(busDaemon().isServiceRegistered(kService), "the program did not take its bus name");
        qInfo("the bus name was taken %lld ms after the start", starting.elapsed());
        // The name is taken before the device is detected; the object answers once it is.
        while (busProperty("Connected") != QVariant(true) && first.state() == QProcess::Running
               && starting.elapsed() < kStartLimitMs)
            QTest::qWait(kPollMs);
        qInfo("the mouse was reported connected %lld ms after the start", starting.elapsed());
    }

    void cleanupTestCase()
    {
        if (first.state() == QProcess::NotRunning)
            return;
        first.terminate();
        if (!first.waitForFinished(kHandOverLimitMs)) {
            first.kill();
            first.waitForFinished();
        }
    }

    void properties_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("mouse connected") << "Connected" << QVariant(true);
        QTest::newRow("its product name") << "Product" << QVariant(QString("W3 Mouse"));
        QTest::newRow("the profile in use") << "Profile" << QVariant(1);
        QTest::newRow("no window in the background") << "WindowShown" << QVariant(false);
    }

    void properties()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, expected);
        QCOMPARE(busProperty(name), expected);
    }

    void theNameBelongsToTheRunningProgram()
    {
        QCOMPARE(qint64(busDaemon().servicePid(kService).value()), first.processId());
    }

    void optionsOfTheCommandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("says");
        QTest::newRow("a second start in the background has nothing to add")
            << QStringList{"--background"} << 0 << QByteArray();
        QTest::newRow("help") << QStringList{"--help"} << 0 << QByteArray("--background");
        QTest::newRow("an unknown option") << QStringList{"--foreground"} << 2 << QByteArray("Unknown option");
    }
    void optionsOfTheCommandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, says);
        QProcess second;
        start(second, arguments);
        QVERIFY2(second.waitForFinished(kHandOverLimitMs), "the second start kept running");
        QCOMPARE(second.exitCode(), exitCode);
        const QByteArray output = second.readAllStandardOutput() + second.readAllStandardError();
        QVERIFY2(output.contains(says), output.constData());
        QCOMPARE(busProperty("WindowShown"), QVariant(false));
        QCOMPARE(first.state(), QProcess::Running);
    }

    void openWindowShowsTheWindow()
    {
        QDBusInterface service(kService, kPath, kInterface);
        const QDBusMessage reply = service.call("OpenWindow");
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
        QTRY_COMPARE_WITH_TIMEOUT(busProperty("WindowShown"), QVariant(true), kStartLimitMs);
    }

    void secondLaunchHandsOverAndEnds()
    {
        QProcess second;
        start(second);
        QVERIFY2(second.waitForFinished(kHandOverLimitMs), "the second launch kept running");
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        QCOMPARE(qint64(busDaemon().servicePid(kService).value()), first.processId());
    }

    // A running program that does not answer still holds the mouse: the second launch says so
    // and ends with an error instead of driving the mouse as well.
    void secondLaunchBesideAStuckProgramFails()
    {
        QVERIFY(::kill(pid_t(first.processId()), SIGSTOP) == 0);
        QProcess second;
        start(second);
        const bool ended = second.waitForFinished(kHandOverLimitMs);
        ::kill(pid_t(first.processId()), SIGCONT);
        QVERIFY2(ended, "the second launch kept running");
        QCOMPARE(second.exitCode(), 1);
        QVERIFY(second.readAllStandardError().contains("already running"));
    }

private:
    void start(QProcess &program, const QStringList &arguments = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "xcb");
        program.setProcessEnvironment(env);
        program.start(runDir.filePath(kProgram), arguments);
        QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));
    }

    QTemporaryDir runDir;
    QProcess first;
};

W3_PRIVATE_BUS_TEST_MAIN(SessionServiceTest)
#include "test_session_service.moc"
