// Closing the window ends the program's process, also when the sound back end stalls: the
// program, started as a process on the virtual mouse, is closed as the window system closes a
// window, and must be gone soon after. The stall comes from a preloaded shim that hangs every
// teardown of a GStreamer element from the moment the test says so.
#include "tests/support/CopyTree.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// Xlib last: its macros clash with Qt's names.
#include "tests/support/ProgramWindow.h"

namespace {

constexpr const char *kProgram = "w3config-virtual";
// Generous bounds on a busy machine: the window showing and its sound back end loading, and
// the process ending after the close. The time the close took is printed.
constexpr int kStartLimitMs = 60000;
constexpr int kExitLimitMs = 20000;
constexpr int kPollMs = 50;

}  // namespace

class TestCloseEndsProcess : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        display = XOpenDisplay(nullptr);
        QVERIFY2(display, "needs an X server ($DISPLAY, as under xvfb-run)");
        QVERIFY(runDir.isValid());
        const QString binDir = QCoreApplication::applicationDirPath();
        QVERIFY(QFile::copy(binDir + '/' + kProgram, runDir.filePath(kProgram)));
        QVERIFY(QFile::setPermissions(runDir.filePath(kProgram),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(copyTree(binDir + "/modules", runDir.filePath("modules")));
    }

    void cleanupTestCase()
    {
        if (display)
            XCloseDisplay(display);
    }

    void closingEndsTheProcess_data()
    {
        QTest::addColumn<bool>("stall");
        QTest::newRow("sound back end answers") << false;
        QTest::newRow("sound back end stalls") << true;
    }

    void closingEndsTheProcess()
    {
        QFETCH(bool, stall);
        QTemporaryDir home;
        const QString flag = home.filePath("stall");
        const QString playing = home.filePath("playing");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home.path());
        // A bus of nobody's: a W3 Config running in the user's session would take the start over.
        env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + home.filePath("no-bus"));
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("LD_PRELOAD", QCoreApplication::applicationDirPath() + "/libaudio_stall_shim.so");
        env.insert("W3_TEST_AUDIO_STALL_FLAG", flag);
        env.insert("W3_TEST_AUDIO_PLAYING_MARK", playing);
        QProcess program;
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(runDir.filePath(kProgram), QStringList());
        QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));

        // The players exist after the first frame; the start-up cue then plays.
        Window window = None;
        QElapsedTimer starting;
        starting.start();
        while ((window == None || !QFile::exists(playing)) && program.state() == QProcess::Running
               && starting.elapsed() < kStartLimitMs) {
            QTest::qWait(kPollMs);
            window = shownWindowOf(display, program.processId());
        }
        QVERIFY2(window != None && QFile::exists(playing),
                 "the window did not show and play its start-up cue");
        if (stall) {
            QFile stallNow(flag);
            QVERIFY(stallNow.open(QIODevice::WriteOnly));
        }

        QElapsedTimer closing;
        closing.start();
        askToClose(display, window);
        const bool ended = program.waitForFinished(kExitLimitMs);
        const qint64 tookMs = closing.elapsed();
        if (!ended) {
            program.kill();
            program.waitForFinished();
        }
        QVERIFY2(ended, qPrintable(QStringLiteral("still running %1 ms after the close").arg(tookMs)));
        qInfo("the process ended %lld ms after the close", tookMs);
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }

private:
    Display *display = nullptr;
    QTemporaryDir runDir;
};

QTEST_GUILESS_MAIN(TestCloseEndsProcess)
#include "test_close_ends_process.moc"
