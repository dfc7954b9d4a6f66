// w3ctl-virtual as a process: it waits for the device lock another program holds, then does
// its work, or gives up with exit code 3 and one line on standard error; exit codes and help
// as a script sees them.
#include "platform/DeviceLock.h"
#include "tests/support/ModulesSandbox.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QtTest>

namespace {

constexpr int kFinishTimeoutMs = 60000;

}  // namespace

class TestW3ctlProcess : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        sandbox = std::make_unique<ModulesSandbox>();
        // The program works in the folder it lives in, so it gets a copy of its own.
        program = sandbox->path("w3ctl-virtual");
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + "/w3ctl-virtual", program));
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        lockPath = sandbox->path("device.lock");
    }
    void cleanup() { sandbox.reset(); }

    void aCommandWaitsForTheLockThenSucceedsOrGivesUp_data()
    {
        QTest::addColumn<int>("holdMs");
        QTest::addColumn<QString>("wait");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("let go in time") << 1500 << "20" << 0;
        QTest::newRow("held too long") << -1 << "1" << 3;
    }
    void aCommandWaitsForTheLockThenSucceedsOrGivesUp()
    {
        QFETCH(int, holdMs);
        QFETCH(QString, wait);
        QFETCH(int, exitCode);
        DeviceLock window(lockPath);
        QVERIFY(window.tryLock());

        QProcess w3ctl;
        prepare(w3ctl);
        QElapsedTimer clock;
        clock.start();
        w3ctl.start(program, {"--wait", wait, "rate", "1000"});
        QVERIFY(w3ctl.waitForStarted());
        if (holdMs >= 0) {
            QTest::qWait(holdMs);
            QCOMPARE(w3ctl.state(), QProcess::Running);  // still waiting for the lock
            window.unlock();
        }
        QVERIFY(w3ctl.waitForFinished(kFinishTimeoutMs));
        const QString err = QString::fromUtf8(w3ctl.readAllStandardError());
        QCOMPARE(w3ctl.exitCode(), exitCode);
        const int storedRate = QSettings("modules/setting/p1.bin", QSettings::IniFormat).value("sensor/reportRate_W3").toInt();
        if (exitCode == 0) {
            QCOMPARE(err, QString());
            QCOMPARE(storedRate, 1);
        } else {
            QVERIFY2(clock.elapsed() >= 1000, qPrintable(QString("gave up after %1 ms").arg(clock.elapsed())));
            QVERIFY2(err.startsWith("w3ctl: the mouse is busy"), qPrintable(err));
            QCOMPARE(err.count('\n'), 1);
            QVERIFY(storedRate != 1);
        }
    }

    void exitCodesAndOutputAsAScriptSeesThem_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("device");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::newRow("status") << QStringList{"status"} << QByteArray() << 0 << "mouse:       ready";
        QTest::newRow("no mouse") << QStringList{"dpi", "stage", "1"} << QByteArray("none") << 2 << "";
        QTest::newRow("usage") << QStringList{"dpi", "stage"} << QByteArray() << 1 << "";
        QTest::newRow("help") << QStringList{"--help"} << QByteArray("none") << 0 << "Usage: w3ctl [OPTION]... COMMAND";
        QTest::newRow("version") << QStringList{"--version"} << QByteArray("none") << 0 << "w3ctl ";
        QTest::newRow("help of an unknown command") << QStringList{"frob", "--help"} << QByteArray("none") << 1 << "";
    }
    void exitCodesAndOutputAsAScriptSeesThem()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, device);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QProcess w3ctl;
        prepare(w3ctl);
        QProcessEnvironment environment = w3ctl.processEnvironment();
        environment.insert("W3_VIRTUAL_DEVICE", QString::fromUtf8(device));
        w3ctl.setProcessEnvironment(environment);
        w3ctl.start(program, arguments);
        QVERIFY(w3ctl.waitForFinished(kFinishTimeoutMs));
        QCOMPARE(w3ctl.exitCode(), exitCode);
        const QString printed = QString::fromUtf8(w3ctl.readAllStandardOutput());
        QVERIFY2(out.isEmpty() ? printed.isEmpty() : printed.startsWith(out), qPrintable(printed));
        const QString err = QString::fromUtf8(w3ctl.readAllStandardError());
        QCOMPARE(err.count('\n'), exitCode == 0 ? 0 : 1);
    }

    // The program works in its data folder; the files the user names stay where the user is.
    void relativeFilesAreTheUsersOwn()
    {
        QTemporaryDir user;
        QVERIFY(user.isValid());
        const auto run = [this, &user](const QStringList &arguments) {
            QProcess w3ctl;
            prepare(w3ctl);
            w3ctl.setWorkingDirectory(user.path());
            w3ctl.start(program, arguments);
            const bool finished = w3ctl.waitForFinished(kFinishTimeoutMs);
            return finished ? QString("%1 %2").arg(w3ctl.exitCode()).arg(QString::fromUtf8(w3ctl.readAllStandardError()))
                            : QString("still running");
        };
        QCOMPARE(run({"profile", "export", "1", "rel.pf"}), QString("0 "));
        QVERIFY(QFile::exists(user.filePath("rel.pf")));
        QVERIFY(!QFile::exists(sandbox->path("rel.pf")));
        QCOMPARE(run({"profile", "import", "4", "rel.pf"}), QString("0 "));
        QCOMPARE(readAll(sandbox->path("modules/setting/p4.bin")), readAll(user.filePath("rel.pf")));

        {
            QSettings macro(user.filePath("here.mc"), QSettings::IniFormat);
            macro.setValue("config/index", -1);
            macro.setValue("config/repeat", 1);
            macro.setValue("config/did", -1);
            macro.setValue("config/total", 1);
            macro.setValue("macro/0", "A    [Down]");
        }
        QCOMPARE(run({"macro", "import", "here.mc", "Walk"}), QString("0 "));
        QCOMPARE(readAll(sandbox->path("modules/macro/Walk.bin")), readAll(user.filePath("here.mc")));
        QCOMPARE(run({"macro", "export", "Walk", "there.mc"}), QString("0 "));
        QVERIFY(QFile::exists(user.filePath("there.mc")));
        QVERIFY(QDir(user.path()).mkdir("sub"));
        QVERIFY(QDir(sandbox->path("")).mkdir("sub"));
        QCOMPARE(run({"profile", "export", "2", "sub/../sub/two.pf"}), QString("0 "));
        QVERIFY(QFile::exists(user.filePath("sub/two.pf")));
        QVERIFY(!QFile::exists(sandbox->path("sub/two.pf")));
    }

    // Standard output is a stream to the caller, never a file to replace, also when the caller
    // sends it to a file.
    void anExportToStandardOutputIsRefused_data()
    {
        QTest::addColumn<bool>("toFile");
        QTest::newRow("a pipe") << false;
        QTest::newRow("a file") << true;
    }
    void anExportToStandardOutputIsRefused()
    {
        QFETCH(bool, toFile);
        QTemporaryDir user;
        QVERIFY(user.isValid());
        // What /dev/stdout is, made in the test's own folder: a link to the process's descriptor 1.
        QVERIFY(QFile::link("/proc/self/fd/1", user.filePath("stdout")));
        const QString log = user.filePath("log");
        QProcess w3ctl;
        prepare(w3ctl);
        w3ctl.setWorkingDirectory(user.path());
        if (toFile)
            w3ctl.setStandardOutputFile(log);
        w3ctl.start(program, {"profile", "export", "1", "stdout"});
        QVERIFY(w3ctl.waitForFinished(kFinishTimeoutMs));
        QCOMPARE(w3ctl.exitCode(), 1);
        QVERIFY(QFileInfo(user.filePath("stdout")).isSymLink());
        QCOMPARE(toFile ? readAll(log) : w3ctl.readAllStandardOutput(), QByteArray());
        QCOMPARE(QDir(user.path()).entryList(QDir::Files | QDir::System).size(), toFile ? 2 : 1);
    }

private:
    static QByteArray readAll(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void prepare(QProcess &process) const
    {
        process.setWorkingDirectory(sandbox->path(""));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("W3_DEVICE_LOCK", lockPath);
        environment.remove("W3CTL_DEBUG");
        process.setProcessEnvironment(environment);
    }

    std::unique_ptr<ModulesSandbox> sandbox;
    QString program;
    QString lockPath;
};

QTEST_GUILESS_MAIN(TestW3ctlProcess)
#include "test_w3ctl_process.moc"
