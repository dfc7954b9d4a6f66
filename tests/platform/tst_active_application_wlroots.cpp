// The application in front on a wlroots compositor: a headless sway of the test's own with two
// Wayland windows focused in turn, as the compositor's toplevel list tells it.
#include "platform/ActiveApplicationChoice.h"
#include "platform/WlrootsActiveApplication.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <pwd.h>
#include <unistd.h>

namespace {

// A compositor and a Qt window start within this on a busy machine.
constexpr int kStartLimitMs = 30000;
// sway refuses to run as root; the test runs it as this user then.
const char *const kCompositorUser = "nobody";
const char *const kFirst = "org.w3config.test.first";
const char *const kSecond = "org.w3config.test.second";

}  // namespace

class TestActiveApplicationWlroots : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void theFocusedWindowIsInFront();
    void theChoiceTakesTheToplevelList();
    void theCompositorEndingLeavesNothingInFront();

private:
    bool startCompositor();
    QString waylandSocket() const;
    bool swaymsg(const QString &command);
    QProcess *startWindow(const QString &appId);
    QStringList frontOrder(const QSignalSpy &changed) const;

    QTemporaryDir base;
    QString runtimeDir;
    QString clientRuntimeDir;
    QProcess compositor;
    std::vector<std::unique_ptr<QProcess>> windows;
};

void TestActiveApplicationWlroots::initTestCase()
{
    qRegisterMetaType<ApplicationIdentity>();
    if (QStandardPaths::findExecutable("sway").isEmpty() || QStandardPaths::findExecutable("swaymsg").isEmpty())
        QSKIP("needs sway and swaymsg (scripts/install-deps.sh installs them)");
    if (geteuid() == 0 && (!getpwnam(kCompositorUser) || QStandardPaths::findExecutable("runuser").isEmpty()))
        QSKIP("running as root, sway needs the user nobody and runuser");
    QVERIFY(startCompositor());
}

bool TestActiveApplicationWlroots::startCompositor()
{
    // The compositor's runtime folder is its own (0700); the folder above lets it reach it.
    runtimeDir = base.path() + "/runtime";
    clientRuntimeDir = base.path() + "/client-runtime";
    const QString config = base.path() + "/config";
    QFile configFile(config);
    if (!base.isValid() || !QDir().mkpath(runtimeDir) || !QDir().mkpath(clientRuntimeDir)
        || !configFile.open(QIODevice::WriteOnly))
        return false;
    configFile.write("xwayland disable\noutput HEADLESS-1 resolution 1024x768\n");
    configFile.close();
    const auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    const auto readable = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::ReadGroup;
    if (!QFile::setPermissions(base.path(), ownerOnly | QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup)
        || !QFile::setPermissions(config, readable) || !QFile::setPermissions(runtimeDir, ownerOnly)
        || !QFile::setPermissions(clientRuntimeDir, ownerOnly))
        return false;

    QStringList command{"env", "-i", "PATH=" + qEnvironmentVariable("PATH"), "XDG_RUNTIME_DIR=" + runtimeDir,
                        "WLR_BACKENDS=headless", "WLR_RENDERER=pixman", "WLR_LIBINPUT_NO_DEVICES=1",
                        "WLR_HEADLESS_OUTPUTS=1", "sway", "--config", config};
    if (geteuid() == 0) {
        const passwd *user = getpwnam(kCompositorUser);
        if (chown(QFile::encodeName(runtimeDir).constData(), user->pw_uid, user->pw_gid) != 0)
            return false;
        if (QProcess::execute("runuser", {"-u", kCompositorUser, "--", "test", "-r", config}) != 0) {
            qWarning() << kCompositorUser << "cannot read" << config
                       << "- a folder above it is closed to other users (TMPDIR must be open to all users, as the system temp folder is)";
            return false;
        }
        command = QStringList{"runuser", "-u", kCompositorUser, "--"} + command;
    }
    compositor.setWorkingDirectory(base.path());
    compositor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    compositor.start(command.takeFirst(), command);
    if (!compositor.waitForStarted(kStartLimitMs))
        return false;
    // sway is ready once its IPC socket is there (it makes it after the Wayland socket).
    const bool ready = QTest::qWaitFor([&] {
        return compositor.state() == QProcess::Running
            && !QDir(runtimeDir).entryList({"sway-ipc.*.sock"}, QDir::System).isEmpty()
            && !waylandSocket().isEmpty();
    }, kStartLimitMs);
    if (!ready)
        qWarning() << "sway did not start; its output is above";
    return ready;
}

void TestActiveApplicationWlroots::cleanupTestCase()
{
    for (auto &window : windows) {
        window->terminate();
        window->waitForFinished(kStartLimitMs);
    }
    if (compositor.state() == QProcess::Running && !swaymsg("exit"))
        compositor.terminate();
    compositor.waitForFinished(kStartLimitMs);
}

QString TestActiveApplicationWlroots::waylandSocket() const
{
    const QStringList sockets = QDir(runtimeDir).entryList({"wayland-*"}, QDir::System).filter(QRegularExpression("^wayland-\\d+$"));
    return sockets.isEmpty() ? QString() : runtimeDir + "/" + sockets.first();
}

bool TestActiveApplicationWlroots::swaymsg(const QString &command)
{
    const QStringList ipc = QDir(runtimeDir).entryList({"sway-ipc.*.sock"}, QDir::System);
    if (ipc.isEmpty())
        return false;
    QProcess message;
    message.start("swaymsg", {"--socket", runtimeDir + "/" + ipc.first(), command});
    return message.waitForFinished(kStartLimitMs) && message.exitStatus() == QProcess::NormalExit && message.exitCode() == 0;
}

QProcess *TestActiveApplicationWlroots::startWindow(const QString &appId)
{
    auto window = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "wayland");
    // The window reaches the compositor by the socket's full path; its own runtime folder is
    // one it owns (the compositor's belongs to another user when the test runs as root).
    environment.insert("XDG_RUNTIME_DIR", clientRuntimeDir);
    environment.insert("WAYLAND_DISPLAY", waylandSocket());
    environment.remove("DISPLAY");
    window->setProcessEnvironment(environment);
    window->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    window->start(QCoreApplication::applicationDirPath() + "/wayland_app_window", {appId});
    windows.push_back(std::move(window));
    return windows.back().get();
}

QStringList TestActiveApplicationWlroots::frontOrder(const QSignalSpy &changed) const
{
    QStringList order;
    // sway may send one window's deactivation and the next one's activation in separate
    // batches on a loaded machine; the moment with nothing in front between them is real but
    // says nothing about the order.
    for (const QList<QVariant> &signal : changed) {
        const QString applicationId = signal.at(0).value<ApplicationIdentity>().applicationId;
        if (!applicationId.isEmpty())
            order << applicationId;
    }
    return order;
}

void TestActiveApplicationWlroots::theFocusedWindowIsInFront()
{
    WlrootsActiveApplication backEnd(QFile::encodeName(waylandSocket()));
    QVERIFY(backEnd.isAvailable());
    QCOMPARE(backEnd.current(), ApplicationIdentity());
    QSignalSpy changed(&backEnd, &ActiveApplication::changed);
    const auto waitForFront = [&](int count) {
        return QTest::qWaitFor([&] { return frontOrder(changed).size() >= count; }, kStartLimitMs);
    };

    // sway focuses each new window.
    QProcess *first = startWindow(kFirst);
    if (!waitForFront(1) && first->state() != QProcess::Running)
        QSKIP("the Qt Wayland platform plugin is missing (scripts/install-deps.sh installs qtwayland5)");
    startWindow(kSecond);
    QVERIFY(waitForFront(2));
    QVERIFY(swaymsg(QString("[app_id=\"%1\"] focus").arg(kFirst)));
    QVERIFY(waitForFront(3));
    QVERIFY(swaymsg(QString("[app_id=\"%1\"] focus").arg(kSecond)));
    QVERIFY(waitForFront(4));
    QCOMPARE(frontOrder(changed), QStringList({kFirst, kSecond, kFirst, kSecond}));

    // What changes nothing in front is no change: the same window focused again, the front
    // window's other states changing and back. The next switch tells when sway has sent all.
    QVERIFY(swaymsg(QString("[app_id=\"%1\"] focus").arg(kSecond)));
    QVERIFY(swaymsg("fullscreen enable"));
    QVERIFY(swaymsg("fullscreen disable"));
    QVERIFY(swaymsg(QString("[app_id=\"%1\"] focus").arg(kSecond)));
    QVERIFY(swaymsg(QString("[app_id=\"%1\"] focus").arg(kFirst)));
    QVERIFY(waitForFront(5));
    QCOMPARE(frontOrder(changed), QStringList({kFirst, kSecond, kFirst, kSecond, kFirst}));
    QCOMPARE(backEnd.current().applicationId, QString(kFirst));
    QCOMPARE(backEnd.current().pid, qint64(0));

    // The window in front closes: sway focuses the other one.
    first->terminate();
    QVERIFY(first->waitForFinished(kStartLimitMs));
    QVERIFY(waitForFront(6));
    QCOMPARE(frontOrder(changed).last(), QString(kSecond));
}

void TestActiveApplicationWlroots::theChoiceTakesTheToplevelList()
{
    // A Qt program on XWayland inside sway: the session is Wayland, DISPLAY is set too.
    QProcessEnvironment environment;
    environment.insert("XDG_SESSION_TYPE", "wayland");
    environment.insert("XDG_CURRENT_DESKTOP", "sway");
    environment.insert("WAYLAND_DISPLAY", waylandSocket());
    environment.insert("DISPLAY", ":0");
    const ActiveApplicationChoice choice = chooseActiveApplication(environment, QDBusConnection::sessionBus());
    QVERIFY(qobject_cast<WlrootsActiveApplication *>(choice.backEnd.get()));
    QVERIFY2(choice.logLine.contains("wlroots"), qPrintable(choice.logLine));
}

void TestActiveApplicationWlroots::theCompositorEndingLeavesNothingInFront()
{
    WlrootsActiveApplication backEnd(QFile::encodeName(waylandSocket()));
    QCOMPARE(backEnd.current().applicationId, QString(kSecond));
    QSignalSpy changed(&backEnd, &ActiveApplication::changed);
    // sway may end before it answers swaymsg: its ending is what counts.
    static_cast<void>(swaymsg("exit"));
    QVERIFY(changed.wait(kStartLimitMs));
    QCOMPARE(backEnd.current(), ApplicationIdentity());
    QVERIFY(!backEnd.isAvailable());
    QVERIFY(compositor.waitForFinished(kStartLimitMs));
}

QTEST_GUILESS_MAIN(TestActiveApplicationWlroots)

#include "tst_active_application_wlroots.moc"
