// Waiting for the desktop's panel before the tray icon is made, on a private session bus where
// the test plays the panel's StatusNotifierWatcher.
#include "app/PanelWait.h"
#include "tests/platform/PrivateSessionBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDir>
#include <QStandardPaths>
#include <QtTest>

namespace {

constexpr const char *kWatcherService = "org.kde.StatusNotifierWatcher";
constexpr int kLongLimitMs = 60000;
constexpr int kShortLimitMs = 100;
constexpr int kBusLimitMs = 30000;

// Lets every answer the bus owes to calls made so far on the session connection arrive.
void roundTrip()
{
    QDBusMessage ping = QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                       "org.freedesktop.DBus", "GetId");
    QDBusPendingCall pending = QDBusConnection::sessionBus().asyncCall(ping);
    QTRY_VERIFY_WITH_TIMEOUT(pending.isFinished(), kBusLimitMs);
    QCoreApplication::processEvents();
}

bool panelUp()
{
    return QDBusConnection::connectToBus(QDBusConnection::SessionBus, "panel").registerService(kWatcherService);
}

}  // namespace

class TestPanelWait : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!privatebus::inside())
            QSKIP("needs dbus-run-session for a private session bus");
    }
    void cleanup()
    {
        // Released while the test waits, so that the next case starts without a panel.
        QDBusConnection panel("panel");
        if (panel.isConnected())
            panel.unregisterService(kWatcherService);
        QDBusConnection::disconnectFromBus("panel");
    }

    void readyOnce_data()
    {
        QTest::addColumn<bool>("panelBefore");
        QTest::addColumn<bool>("panelAfter");
        QTest::addColumn<int>("limitMs");
        QTest::newRow("the panel is up already") << true << false << kLongLimitMs;
        QTest::newRow("the panel comes later") << false << true << kLongLimitMs;
        QTest::newRow("no panel within the limit") << false << false << kShortLimitMs;
    }

    void readyOnce()
    {
        QFETCH(bool, panelBefore);
        QFETCH(bool, panelAfter);
        QFETCH(int, limitMs);
        if (panelBefore)
            QVERIFY(panelUp());
        PanelWait wait(limitMs);
        QSignalSpy ready(&wait, &PanelWait::ready);
        if (panelAfter) {
            roundTrip();
            QCOMPARE(ready.count(), 0);
            QVERIFY(panelUp());
        }
        QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 1, kBusLimitMs);
        // A panel coming after the wait is over does not make it ready again.
        if (!panelBefore && !panelAfter)
            QVERIFY(panelUp());
        roundTrip();
        QCOMPARE(ready.count(), 1);
    }

    void withoutABusThereIsNothingToWaitFor()
    {
        const QDBusConnection nowhere = QDBusConnection::connectToBus(
            QString("unix:path=%1/no-bus-here").arg(QDir::tempPath()), "nowhere");
        PanelWait wait(kLongLimitMs, nowhere);
        QSignalSpy ready(&wait, &PanelWait::ready);
        QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 1, kBusLimitMs);
        QDBusConnection::disconnectFromBus("nowhere");
    }
};

int main(int argc, char **argv)
{
    if (!privatebus::inside() && !QStandardPaths::findExecutable("dbus-run-session").isEmpty())
        return privatebus::runInside(argc, argv);
    QCoreApplication app(argc, argv);
    TestPanelWait test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_panel_wait.moc"
