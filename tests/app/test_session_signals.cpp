// The bus object of the running program tells its clients what changed, whoever changed it:
// the window's profile menu and the mouse plugged out. In-process on the virtual mouse and a
// private session bus; a second connection listens as a client would.
#include "app/SessionService.h"
#include "app/Startup.h"
#include "app/Widget.h"
#include "controller/myQQuickView.h"
#include "device/DeviceState.h"
#include "tests/platform/PrivateSessionBus.h"
#include "tests/support/ModulesSandbox.h"
#include "tests/support/RecordingPrompts.h"
#include "virtual/VirtualBus.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QtTest>
#include <memory>

namespace {

const char *const kClientName = "test-client";

QVariant plain(const QVariant &value)
{
    return value.canConvert<QDBusVariant>() ? value.value<QDBusVariant>().variant() : value;
}

}  // namespace

// What PropertiesChanged told, in order.
class ChangeListener : public QObject {
    Q_OBJECT
public:
    QList<QVariantMap> changes;

public slots:
    void propertiesChanged(const QString &interfaceName, const QVariantMap &changed, const QStringList &)
    {
        if (interfaceName != SessionService::kServiceName)
            return;
        QVariantMap values;
        for (auto it = changed.begin(); it != changed.end(); ++it)
            values.insert(it.key(), plain(it.value()));
        changes << values;
    }
};

class SessionSignalsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs dbus-run-session");
        QCOMPARE(SessionService::claimName(), SessionService::Claim::Owned);
        QDBusConnection client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, kClientName);
        QVERIFY(client.isConnected());
    }

    void init()
    {
        sandbox = std::make_unique<ModulesSandbox>();
        prompts = std::make_unique<RecordingPrompts>();
        vhid::Bus::instance().reset();
        deviceReady = false;
        vhid::Bus::instance().plug(vhid::Model::Mouse);
        shell = std::make_unique<Widget>();
        service = std::make_unique<SessionService>(*shell);
        QVERIFY(service->publish());
        startShell(*shell);
        QVERIFY(deviceReady);
        listener = std::make_unique<ChangeListener>();
        QVERIFY(QDBusConnection(kClientName)
                    .connect(SessionService::kServiceName, SessionService::kObjectPath,
                             "org.freedesktop.DBus.Properties", "PropertiesChanged", listener.get(),
                             SLOT(propertiesChanged(QString, QVariantMap, QStringList))));
    }

    void cleanup()
    {
        QDBusConnection(kClientName)
            .disconnect(SessionService::kServiceName, SessionService::kObjectPath, "org.freedesktop.DBus.Properties",
                        "PropertiesChanged", listener.get(), SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
        QDBusConnection::sessionBus().unregisterObject(SessionService::kObjectPath);
        service.reset();
        shell.reset();
        listener.reset();
        prompts.reset();
        sandbox.reset();
    }

    void profileMenuSwitchIsAnnounced_data()
    {
        QTest::addColumn<int>("menuIndex");
        QTest::addColumn<int>("announced");
        QTest::newRow("P04") << 3 << 4;
        QTest::newRow("P10") << 9 << 10;
    }

    void profileMenuSwitchIsAnnounced()
    {
        QFETCH(int, menuIndex);
        QFETCH(int, announced);
        shell->view()->ui_02H_SetCurrentProfile(menuIndex);
        QTRY_COMPARE(listener->changes.size(), 1);
        QCOMPARE(listener->changes.first(), QVariantMap({{"Profile", announced}}));
        QCOMPARE(service->profile(), announced);
    }

    void sameProfileAgainIsNotAnnounced()
    {
        shell->view()->ui_02H_SetCurrentProfile(service->profile() - 1);
        shell->view()->ui_02H_SetCurrentProfile(2);
        QTRY_COMPARE(listener->changes.size(), 1);
        QCOMPARE(listener->changes.first(), QVariantMap({{"Profile", 3}}));
    }

    void removalIsAnnounced()
    {
        vhid::Bus::instance().unplug(vhid::Model::Mouse);
        shell->checkDevice();
        QTRY_COMPARE(listener->changes.size(), 1);
        QCOMPARE(listener->changes.first(), QVariantMap({{"Connected", false}, {"Product", QString()}}));
    }

private:
    std::unique_ptr<ModulesSandbox> sandbox;
    std::unique_ptr<RecordingPrompts> prompts;
    std::unique_ptr<Widget> shell;
    std::unique_ptr<SessionService> service;
    std::unique_ptr<ChangeListener> listener;
};

W3_PRIVATE_BUS_TEST_MAIN(SessionSignalsTest)
#include "test_session_signals.moc"
