// w3ctl beside the running program, as processes on a private session bus and the virtual
// mouse: a command runs in the program and prints, exits and writes to the mouse as w3ctl
// alone does; the program's properties follow what the command changed; a program that does
// not answer leaves w3ctl to work alone; a program that ends meanwhile is told as such. Started
// with a low limit of open files, the program still serves commands after a flood of
// connections to its OpenRGB server.
#include "rgbserver/OpenRgbServer.h"
#include "tests/platform/PrivateSessionBus.h"
#include "tests/support/CopyTree.h"
#include "tests/support/UnwritableFile.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char *kService = "org.w3config.W3Config1";
constexpr const char *kPath = "/org/w3config/W3Config1";
constexpr const char *kInterface = "org.w3config.W3Config1";
// Generous bounds on a busy machine.
constexpr int kStartLimitMs = 60000;
constexpr int kCommandLimitMs = 60000;
constexpr int kPollMs = 20;

QVariant busProperty(const QString &name)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, "org.freedesktop.DBus.Properties", "Get");
    call << QString(kInterface) << name;
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().first().value<QDBusVariant>().variant();
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a command changed on the mouse, from a wire log (virtual/WireLog.h): the commands that
// set something, with their data reports. The reads and the handshake are left out: the
// running program opened the mouse and read it long before the command came.
QStringList writesOf(const QByteArray &wireLog)
{
    constexpr int kFirstReadCode = 0x80;
    QStringList writes;
    for (const QByteArray &line : wireLog.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 3)
            continue;
        const int code = fields.at(2).left(2).toInt(nullptr, 16);
        const bool setCommand = fields.at(0) == "send-feature" && code > 0x00 && code < kFirstReadCode;
        if (setCommand || fields.at(0) == "write")
            writes << QString::fromLatin1(fields.at(0) + ' ' + fields.at(2));
    }
    return writes;
}

// The soft and hard limits of open files of a process, as /proc shows them.
QStringList openFileLimits(qint64 pid)
{
    for (const QByteArray &line : readAll(QString("/proc/%1/limits").arg(pid)).split('\n'))
        if (line.startsWith("Max open files"))
            return QString::fromLatin1(line.mid(int(qstrlen("Max open files")))).simplified().split(' ').mid(0, 2);
    return {};
}

// A port nobody listens on now.
quint16 freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
    QStringList writes;
    QByteArray profiles;  // the ten profile files, one after the other
    QByteArray userFile;  // what the command left in the user's folder
};

// A run folder of the two programs with their own copy of the data folder, and a folder of
// the user's where the commands' file names start.
class RunFolder {
public:
    RunFolder()
    {
        const QString binDir = QCoreApplication::applicationDirPath();
        for (const char *program : {"w3config-virtual", "w3ctl-virtual"}) {
            ok = ok && QFile::copy(binDir + '/' + program, dir.filePath(program))
                 && QFile::setPermissions(dir.filePath(program),
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        ok = ok && copyTree(binDir + "/modules", dir.filePath("modules")) && QDir(dir.path()).mkdir("user");
    }

    QTemporaryDir dir;  // before `ok`, which is made from it
    bool ok = dir.isValid();

    QString path(const QString &name) const { return dir.filePath(name); }

    QProcessEnvironment environment(bool plugged) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("W3_VIRTUAL_WIRE_LOG", path("wire.log"));
        env.insert("W3_DEVICE_LOCK", path("device.lock"));
        env.remove("W3CTL_DEBUG");
        if (plugged)
            env.remove("W3_VIRTUAL_DEVICE");
        else
            env.insert("W3_VIRTUAL_DEVICE", "none");
        return env;
    }

    // w3ctl beside the running program: with no virtual mouse of its own, so that a command
    // it ran alone instead would end with "no W3 mouse found".
    QProcessEnvironment besideTheProgram() const
    {
        QProcessEnvironment env = environment(false);
        env.remove("W3_VIRTUAL_WIRE_LOG");
        return env;
    }

    QByteArray profiles() const
    {
        QByteArray all;
        for (int profile = 1; profile <= 10; ++profile)
            all += readAll(path(QString("modules/setting/p%1.bin").arg(profile)));
        return all;
    }
};

}  // namespace

class W3ctlThroughServiceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs dbus-run-session");
    }

    void cleanup() { stopService(); }

    // Each command from the same start, once through the running program and once alone.
    void aCommandDoesTheSameThroughTheProgram_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("plugged");
        QTest::addColumn<QString>("userFile");  // a file the command writes in the user's folder
        QTest::newRow("status") << QStringList{"status"} << true << QString();
        QTest::newRow("status as JSON") << QStringList{"--json", "status"} << true << QString();
        QTest::newRow("a profile sent whole") << QStringList{"profile", "3"} << true << QString();
        QTest::newRow("a DPI stage") << QStringList{"dpi", "stage", "3"} << true << QString();
        QTest::newRow("DPI stages") << QStringList{"dpi", "set", "400,800,1600"} << true << QString();
        QTest::newRow("the report rate") << QStringList{"rate", "1000"} << true << QString();
        QTest::newRow("the light") << QStringList{"light", "breathing", "--speed", "6", "--colors", "#ff0000,#00ff00"}
                                   << true << QString();
        QTest::newRow("a button") << QStringList{"button", "4", "key:F5"} << true << QString();
        QTest::newRow("the wheel") << QStringList{"wheel", "reversed"} << true << QString();
        QTest::newRow("a value the setting does not take") << QStringList{"dpi", "stage", "9"} << true << QString();
        QTest::newRow("a profile exported where the user is")
            << QStringList{"profile", "export", "2", "copy.pf"} << true << QString("copy.pf");
        QTest::newRow("no mouse to read") << QStringList{"status"} << false << QString();
        QTest::newRow("no mouse to write") << QStringList{"rate", "500"} << false << QString();
    }
    void aCommandDoesTheSameThroughTheProgram()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, plugged);
        QFETCH(QString, userFile);

        RunFolder served;
        QVERIFY(served.ok);
        startService(served, plugged);
        const qint64 wireBefore = readAll(served.path("wire.log")).size();
        const Outcome throughProgram = runW3ctl(served, arguments, served.besideTheProgram(), wireBefore, userFile);
        QVERIFY2(throughProgram.exitCode >= 0, "w3ctl did not end");
        QCOMPARE(service.state(), QProcess::Running);
        stopService();

        RunFolder alone;
        QVERIFY(alone.ok);
        const Outcome byItself = runW3ctl(alone, arguments, alone.environment(plugged), 0, userFile);

        QCOMPARE(throughProgram.out, byItself.out);
        QCOMPARE(throughProgram.err, byItself.err);
        QCOMPARE(throughProgram.exitCode, byItself.exitCode);
        QCOMPARE(throughProgram.writes, byItself.writes);
        QCOMPARE(throughProgram.profiles, byItself.profiles);
        QCOMPARE(throughProgram.userFile, byItself.userFile);
        if (!userFile.isEmpty())
            QVERIFY(!byItself.userFile.isEmpty());
    }

    // A links file the user may read but not write: the running program lists it each time,
    // as w3ctl alone does, and refuses each change with the system's reason.
    void aLinksFileThatCannotBeWrittenIsReadThroughTheProgram()
    {
        const QByteArray oneLink = "[follow]\nenabled=true\n\n[rule]\n1\\match=program\n1\\name=blender\n"
                                   "1\\profile=4\nsize=1\n";
        RunFolder served;
        QVERIFY(served.ok);
        const QString links = served.path("modules/setting/appRules.ini");
        QFile file(links);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(oneLink) == oneLink.size() && file.flush());
        file.close();
        const UnwritableFile unwritable(links);
        if (!unwritable.skipReason().isEmpty())
            QSKIP(qPrintable(unwritable.skipReason()));
        startService(served, false);
        for (int attempt = 0; attempt < 2; ++attempt) {
            const Outcome change = runW3ctl(served, {"app", "link", "4", "--class", "gimp"},
                                            served.besideTheProgram(), 0, QString());
            QCOMPARE(change.exitCode, 3);
            QVERIFY2(change.err.contains("cannot be written (" + unwritable.systemReason() + ")"),
                     qPrintable(change.err));
            const Outcome list = runW3ctl(served, {"app", "list"}, served.besideTheProgram(), 0, QString());
            QCOMPARE(list.err, QString());
            QCOMPARE(list.out, QString("switch on\ndefault none\nlink 5 --program blender\n"));
        }
        QCOMPARE(readAll(links), oneLink);
        stopService();
    }

    // The program announces what a command changed, as it does for a change in its window.
    void thePropertiesFollowTheCommand()
    {
        RunFolder served;
        QVERIFY(served.ok);
        startService(served, true);
        QCOMPARE(busProperty("Profile"), QVariant(1));
        QList<QVariantMap> announced;
        QVERIFY(QDBusConnection::sessionBus().connect(kService, kPath, "org.freedesktop.DBus.Properties",
                                                      "PropertiesChanged", this,
                                                      SLOT(onPropertiesChanged(QString, QVariantMap, QStringList))));
        changes = &announced;

        const Outcome switched = runW3ctl(served, {"profile", "3"}, served.besideTheProgram(), 0, QString());
        QCOMPARE(switched.exitCode, 0);
        const auto toldProfile = [&announced] {
            for (const QVariantMap &change : announced)
                if (change.value("Profile") == QVariant(3))
                    return true;
            return false;
        };
        QTRY_VERIFY_WITH_TIMEOUT(toldProfile(), kCommandLimitMs);
        QCOMPARE(busProperty("Profile"), QVariant(3));
        changes = nullptr;
    }

    // The files a command names are the caller's; a folder that is no absolute path of one
    // would put them wherever the program works.
    void aWorkingFolderThatIsNoFolderIsRefused_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("relative") << "user";
        QTest::newRow("empty") << "";
        QTest::newRow("a file") << "/etc/passwd";
    }
    void aWorkingFolderThatIsNoFolderIsRefused()
    {
        QFETCH(QString, folder);
        RunFolder served;
        QVERIFY(served.ok);
        startService(served, true);
        QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, "org.w3config.W3Config1.Commands", "RunCommand");
        call << QStringList{"profile", "export", "1", "x.pf"} << folder;
        const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, kCommandLimitMs);
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(reply.errorName(), QString("org.freedesktop.DBus.Error.InvalidArgs"));
        QVERIFY(!QFile::exists(served.path("x.pf")));
        QVERIFY(!QFile::exists(served.path("user/x.pf")));
    }

    // Commands that come together run one after the other, each with its own answer (these
    // two change different things, so either order gives the same end).
    void commandsThatComeTogetherTakeTurns()
    {
        RunFolder served;
        QVERIFY(served.ok);
        startService(served, true);
        QProcess first;
        QProcess second;
        for (QProcess *w3ctl : {&first, &second}) {
            w3ctl->setProcessEnvironment(served.besideTheProgram());
            w3ctl->setWorkingDirectory(served.path("user"));
        }
        first.start(served.path("w3ctl-virtual"), {"light", "breathing", "--speed", "6"});
        second.start(served.path("w3ctl-virtual"), {"dpi", "stage", "4"});
        QVERIFY(first.waitForFinished(kCommandLimitMs));
        QVERIFY(second.waitForFinished(kCommandLimitMs));
        QCOMPARE(QString::fromUtf8(first.readAllStandardError()), QString());
        QCOMPARE(QString::fromUtf8(second.readAllStandardError()), QString());
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(second.exitCode(), 0);
        const auto light = qdbus_cast<QVariantMap>(busProperty("Light").value<QDBusArgument>());
        QCOMPARE(light.value("speed"), QVariant(6));
        QCOMPARE(busProperty("DpiStage"), QVariant(4));
    }

    // A program that holds the bus name but does not answer: w3ctl says so once and does the
    // work alone, on the data folder, instead of waiting for it.
    void aProgramThatDoesNotAnswerLeavesW3ctlAlone()
    {
        RunFolder served;
        QVERIFY(served.ok);
        startService(served, true);
        QVERIFY(::kill(pid_t(service.processId()), SIGSTOP) == 0);
        const Outcome outcome = runW3ctl(served, {"rate", "1000"}, served.environment(true), 0, QString());
        ::kill(pid_t(service.processId()), SIGCONT);
        QCOMPARE(outcome.exitCode, 0);
        QCOMPARE(outcome.out, QString("report rate 1000 Hz\n"));
        QVERIFY2(outcome.err.contains("does not answer") && outcome.err.contains("working alone")
                     && outcome.err.count('\n') == 1,
                 qPrintable(outcome.err));
        const QSettings stored(served.path("modules/setting/p1.bin"), QSettings::IniFormat);
        QCOMPARE(stored.value("sensor/reportRate_W3").toInt(), 1);
    }

    // A program on another data folder (another installation, a test's copy) keeps other
    // profiles: w3ctl works alone on its own.
    void aProgramOnAnotherDataFolderIsLeftAlone()
    {
        RunFolder served;
        QVERIFY(served.ok);
        startService(served, true);
        RunFolder other;
        QVERIFY(other.ok);
        const Outcome outcome = runW3ctl(other, {"profile", "3"}, other.environment(true), 0, QString());
        QCOMPARE(outcome.exitCode, 0);
        QCOMPARE(outcome.err, QString());
        QVERIFY(!outcome.writes.isEmpty());  // on its own virtual mouse
        QCOMPARE(busProperty("Profile"), QVariant(1));
    }

    // A desktop's soft limit lowered far below the usual 1024: the program raises it to the
    // hard limit, closes the OpenRGB connections beyond its bound at once, and a command
    // through it (which starts no thread of its own) is still served.
    void aFloodOfConnectionsLeavesTheProgramServing()
    {
        constexpr int kExtra = 20;
        RunFolder served;
        QVERIFY(served.ok);
        const quint16 port = freePort();
        QVERIFY(port != 0);
        QSettings openRgb(served.path("modules/setting/openrgb.ini"), QSettings::IniFormat);
        openRgb.setValue("server/enabled", true);
        openRgb.setValue("server/port", port);
        openRgb.sync();
        startService(served, true, "ulimit -Sn 128 && exec \"$0\" --background");
        const QStringList limits = openFileLimits(service.processId());
        QCOMPARE(limits.size(), 2);
        QCOMPARE(limits.first(), limits.last());

        std::vector<std::unique_ptr<QTcpSocket>> clients;
        for (int i = 0; i < openrgb::OpenRgbServer::kMaxClients + kExtra; ++i) {
            clients.push_back(std::make_unique<QTcpSocket>());
            clients.back()->connectToHost(QHostAddress::LocalHost, port);
        }
        const auto closed = [&clients] {
            return int(std::count_if(clients.cbegin(), clients.cend(), [](const std::unique_ptr<QTcpSocket> &client) {
                return client->state() == QAbstractSocket::UnconnectedState;
            }));
        };
        QTRY_COMPARE_WITH_TIMEOUT(closed(), kExtra, kCommandLimitMs);

        const Outcome outcome = runW3ctl(served, {"dpi", "stage", "3"}, served.besideTheProgram(), 0, QString());
        QCOMPARE(outcome.err, QString());
        QCOMPARE(outcome.exitCode, 0);
        QCOMPARE(service.state(), QProcess::Running);
        QCOMPARE(busProperty("DpiStage"), QVariant(3));
        QCOMPARE(closed(), kExtra);
        QCOMPARE(readAll(served.path("service.log")).count("further connections are closed"), 1);
    }

    // The program ends while a command waits for its turn: w3ctl says that it ended, not that
    // it ran out of time. The test holds the device lock, so the command waits in the program
    // until the program is gone; a monitor of the bus tells when the command reached it.
    void aProgramThatEndsIsTold()
    {
        RunFolder served;
        QVERIFY(served.ok);
        startService(served, true);
        const int lockFile = ::open(QFile::encodeName(served.path("device.lock")).constData(), O_RDWR | O_CREAT, 0600);
        QVERIFY(lockFile >= 0);
        const auto unlock = qScopeGuard([lockFile] { ::close(lockFile); });
        QVERIFY(::flock(lockFile, LOCK_EX) == 0);

        QProcess monitor;
        QByteArray watched;
        const auto monitorSaw = [&monitor, &watched](const char *what) {
            watched += monitor.readAll();
            return watched.contains(what);
        };
        monitor.start("dbus-monitor", {"--session", "type='method_call',member='RunCommand'"});
        QVERIFY(monitor.waitForStarted());
        // The bus takes its name away once it watches.
        QTRY_VERIFY_WITH_TIMEOUT(monitorSaw("member=NameLost"), kStartLimitMs);
        QProcess w3ctl;
        w3ctl.setProcessEnvironment(served.besideTheProgram());
        w3ctl.setWorkingDirectory(served.path("user"));
        w3ctl.start(served.path("w3ctl-virtual"), {"--wait", "60", "dpi", "stage", "3"});
        QTRY_VERIFY_WITH_TIMEOUT(monitorSaw("member=RunCommand"), kCommandLimitMs);
        monitor.kill();
        monitor.waitForFinished();

        QVERIFY(::kill(pid_t(service.processId()), SIGKILL) == 0);
        QVERIFY(w3ctl.waitForFinished(kCommandLimitMs));
        QCOMPARE(QString::fromUtf8(w3ctl.readAllStandardError()),
            QString("w3ctl: W3 Config ended before it finished the command\n"));
        QCOMPARE(w3ctl.exitCode(), 3);
    }

public slots:
    void onPropertiesChanged(const QString &, const QVariantMap &changed, const QStringList &)
    {
        if (changes)
            changes->append(changed);
    }

private:
    // `shell`: a shell command line that starts the program, named by $0, in its own way.
    void startService(const RunFolder &folder, bool plugged, const QString &shell = QString())
    {
        service.setProcessEnvironment(folder.environment(plugged));
        service.setProcessChannelMode(QProcess::MergedChannels);
        service.setStandardOutputFile(folder.path("service.log"));
        if (shell.isEmpty())
            service.start(folder.path("w3config-virtual"), {"--background"});
        else
            service.start("bash", {"-c", shell, folder.path("w3config-virtual")});
        QVERIFY2(service.waitForStarted(), qPrintable(service.errorString()));
        // The object answers once the first detection is done.
        QElapsedTimer starting;
        starting.start();
        while (busProperty("Connected") != QVariant(plugged) && service.state() == QProcess::Running
               && starting.elapsed() < kStartLimitMs)
            QTest::qWait(kPollMs);
        QCOMPARE(busProperty("Connected"), QVariant(plugged));
    }

    void stopService()
    {
        if (service.state() == QProcess::NotRunning)
            return;
        service.terminate();
        if (!service.waitForFinished(kStartLimitMs)) {
            service.kill();
            service.waitForFinished();
        }
        // The next program takes the name only once the bus let it go.
        QTRY_VERIFY_WITH_TIMEOUT(!QDBusConnection::sessionBus().interface()->isServiceRegistered(kService),
                                 kStartLimitMs);
    }

    static Outcome runW3ctl(const RunFolder &folder, const QStringList &arguments, const QProcessEnvironment &env,
                            qint64 wireFrom, const QString &userFile)
    {
        QProcess w3ctl;
        w3ctl.setProcessEnvironment(env);
        w3ctl.setWorkingDirectory(folder.path("user"));
        w3ctl.start(folder.path("w3ctl-virtual"), arguments);
        Outcome outcome;
        if (!w3ctl.waitForFinished(kCommandLimitMs))
            return outcome;
        outcome.exitCode = w3ctl.exitCode();
        // The two runs have run folders of their own: what they print names it alike.
        outcome.out = QString::fromUtf8(w3ctl.readAllStandardOutput()).replace(folder.dir.path(), "RUN");
        outcome.err = QString::fromUtf8(w3ctl.readAllStandardError()).replace(folder.dir.path(), "RUN");
        outcome.writes = writesOf(readAll(folder.path("wire.log")).mid(int(wireFrom)));
        outcome.profiles = folder.profiles();
        if (!userFile.isEmpty())
            outcome.userFile = readAll(folder.path("user/" + userFile));
        return outcome;
    }

    QProcess service;
    QList<QVariantMap> *changes = nullptr;
};

W3_PRIVATE_BUS_TEST_MAIN(W3ctlThroughServiceTest)
#include "test_w3ctl_through_service.moc"
