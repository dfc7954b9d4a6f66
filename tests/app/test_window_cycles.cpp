// The window of a program in the background, opened over the session bus and closed again,
// several times: each opening brings a whole scene on the profile in use, each close gives
// back every thread the window started, and the program serves the bus in between. In-process
// on the virtual mouse and a private session bus; a second connection is the client.
#include "actions/PageActions.h"
#include "actions/ProfileActions.h"
#include "app/SessionService.h"
#include "app/Startup.h"
#include "app/Widget.h"
#include "controller/SoundPlayer.h"
#include "controller/myQQuickView.h"
#include "device/DeviceState.h"
#include "tests/platform/PrivateSessionBus.h"
#include "tests/support/ModulesSandbox.h"
#include "tests/support/RecordingPrompts.h"
#include "virtual/VirtualBus.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QDir>
#include <QQuickItem>
#include <QSettings>
#include <QThreadPool>
#include <QtTest>
#include <memory>

namespace {

const char *const kClientName = "window-cycles-client";
constexpr int kCycles = 5;
constexpr int kIdleTimeoutMs = 10000;
constexpr int kReplyLimitMs = 20000;
constexpr int kSceneLimitMs = 30000;
// Threads of the sound back end's own pools end after 15 s unused.
constexpr int kThreadsEndLimitMs = 60000;
// Idle workers of the program's thread pool (transfers, file writes) end after this; they are
// the pool's, not the window's.
constexpr int kPoolExpiryMs = 500;
constexpr int kAnimationEntry = 3;  // application configuration list: 1 = animation off

QDBusConnection client()
{
    return QDBusConnection(kClientName);
}

// The service answers on this thread: the client's call waits while events are served.
QDBusMessage callServed(const QString &interface, const QString &method, const QVariantList &arguments = {})
{
    QDBusMessage call
        = QDBusMessage::createMethodCall(SessionService::kServiceName, SessionService::kObjectPath, interface, method);
    call.setArguments(arguments);
    QDBusPendingCall pending = client().asyncCall(call);
    QDBusPendingCallWatcher watcher(pending);
    if (!QTest::qWaitFor([&watcher] { return watcher.isFinished(); }, kReplyLimitMs))
        return QDBusMessage::createError(QDBusError::NoReply, "no answer");
    return pending.reply();
}

QVariant busProperty(const QString &name)
{
    const QDBusMessage reply
        = callServed("org.freedesktop.DBus.Properties", "Get", {SessionService::kServiceName, name});
    return reply.arguments().isEmpty() ? QVariant() : reply.arguments().first().value<QDBusVariant>().variant();
}

bool callMethod(const QString &method, const QVariantList &arguments = {})
{
    return callServed(SessionService::kServiceName, method, arguments).type() == QDBusMessage::ReplyMessage;
}

int threadCount()
{
    return QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size();
}

// The scene's root for an empty name.
QQuickItem *sceneItem(Widget &shell, const QString &objectName)
{
    QQuickItem *root = shell.view()->rootObject();
    if (!root || objectName.isEmpty())
        return root;
    return root->findChild<QQuickItem *>(objectName);
}

QVariant sceneProperty(Widget &shell, const QString &objectName, const char *name)
{
    QQuickItem *item = sceneItem(shell, objectName);
    return item ? item->property(name) : QVariant();
}

}  // namespace

class TestWindowCycles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs dbus-run-session");
        QCOMPARE(SessionService::claimName(), SessionService::Claim::Owned);
        QVERIFY(QDBusConnection::connectToBus(QDBusConnection::SessionBus, kClientName).isConnected());
        QThreadPool::globalInstance()->setExpiryTimeout(kPoolExpiryMs);
    }

    void init()
    {
        sandbox = std::make_unique<ModulesSandbox>();
        QSettings config("modules/setting/apConfig.bin", QSettings::IniFormat);
        if (config.contains("common/total"))
            config.setValue("common/" + QString::number(kAnimationEntry), 1);
        config.sync();
        prompts = std::make_unique<RecordingPrompts>();
        vhid::Bus::instance().reset();
        deviceReady = false;
        vhid::Bus::instance().plug(vhid::Model::Mouse);
        shell = std::make_unique<Widget>(Widget::Start::InBackground);
        service = std::make_unique<SessionService>(*shell);
        QVERIFY(service->publish());
        startShell(*shell);
        QVERIFY(deviceReady);
        QVERIFY(shell->device().waitUntilIdle(kIdleTimeoutMs));
    }

    void cleanup()
    {
        QDBusConnection::sessionBus().unregisterObject(SessionService::kObjectPath);
        service.reset();
        shell.reset();
        prompts.reset();
        sandbox.reset();
        QApplication::setQuitOnLastWindowClosed(true);
    }

    // Each opening shows a new scene, started on the profile chosen over the bus while the
    // window was closed and on the page of the first opening; the first close and the last
    // leave the program with the threads it had before the first opening.
    void openAndCloseOverTheBus()
    {
        QTest::qWait(2 * kPoolExpiryMs);
        const int threadsBefore = threadCount();
        QVariant firstPage;
        for (int cycle = 0; cycle < kCycles; ++cycle) {
            const int profile = cycle + 2;
            QVERIFY(callMethod("SwitchProfile", {profile}));
            QCOMPARE(shell->view()->actions().profiles->current(), profile - 1);

            QVERIFY(callMethod("OpenWindow"));
            QVERIFY(shell->isVisible());
            QVERIFY(QTest::qWaitFor([&] { return sceneProperty(*shell, "", "ready").toBool(); }, kSceneLimitMs));
            QCOMPARE(busProperty("WindowShown"), QVariant(true));
            QCOMPARE(sceneProperty(*shell, "Main_W3", "profileName").toString(),
                QString("P%1").arg(profile, 2, 10, QLatin1Char('0')));
            const QVariant page = sceneProperty(*shell, "Main_W3", "currentPage");
            QVERIFY(page.isValid());
            if (cycle == 0)
                firstPage = page;
            QCOMPARE(page, firstPage);
            // The start-up cue makes the sound players.
            QVERIFY(QTest::qWaitFor([&] { return shell->view()->sounds().hasPlayers(); }, kSceneLimitMs));

            QVERIFY(!shell->close());  // the close returns the program to the background
            QVERIFY(QTest::qWaitFor([&] { return !shell->view()->rootObject(); }, kSceneLimitMs));
            QCOMPARE(busProperty("WindowShown"), QVariant(false));
            QVERIFY(!shell->view()->sounds().hasPlayers());
            if (cycle == 0 || cycle == kCycles - 1)
                QVERIFY2(QTest::qWaitFor([&] { return threadCount() == threadsBefore; }, kThreadsEndLimitMs),
                    qPrintable(QString("cycle %1: %2 threads, %3 before the first opening")
                                   .arg(cycle + 1)
                                   .arg(threadCount())
                                   .arg(threadsBefore)));
            QCOMPARE(busProperty("Profile"), QVariant(profile));
        }
        QVERIFY(prompts->warnings.isEmpty());
    }

private:
    std::unique_ptr<ModulesSandbox> sandbox;
    std::unique_ptr<RecordingPrompts> prompts;
    std::unique_ptr<Widget> shell;
    std::unique_ptr<SessionService> service;
};

W3_PRIVATE_BUS_TEST_MAIN(TestWindowCycles)
#include "test_window_cycles.moc"
