#include "app/SessionService.h"

#include "app/Widget.h"
#include "controller/ProfileStore.h"
#include "controller/myQQuickView.h"
#include "device/DeviceState.h"
#include "w3config1adaptor.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDebug>
#include <QVariantMap>

const QString SessionService::kServiceName = QStringLiteral("org.w3config.W3Config1");
const QString SessionService::kObjectPath = QStringLiteral("/org/w3config/W3Config1");

namespace {
// A running instance busy with a transfer still answers within this time.
constexpr int kHandOverTimeoutMs = 10000;
}

SessionService::Claim SessionService::claimName()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return Claim::NoBus;
    const auto reply = bus.interface()->registerService(kServiceName, QDBusConnectionInterface::DontQueueService,
                                                        QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid())
        return Claim::NoBus;
    return reply.value() == QDBusConnectionInterface::ServiceRegistered ? Claim::Owned : Claim::HeldElsewhere;
}

bool SessionService::openRunningWindow()
{
    const QDBusMessage call = QDBusMessage::createMethodCall(kServiceName, kObjectPath, kServiceName, "OpenWindow");
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, kHandOverTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

SessionService::SessionService(Widget &shell) : shell(shell), told(snapshot())
{
    new W3Config1Adaptor(this);
    connect(&shell, &Widget::deviceChecked, this, &SessionService::announceChanges);
    connect(shell.view(), &myQQuickView::profileSwitched, this, &SessionService::announceChanges);
    connect(&shell, &Widget::windowShownChanged, this, &SessionService::announceChanges);
}

SessionService::Snapshot SessionService::snapshot() const
{
    return {connected(), product(), profile(), windowShown()};
}

void SessionService::announceChanges()
{
    const Snapshot now = snapshot();
    QVariantMap changed;
    if (now.connected != told.connected)
        changed.insert("Connected", now.connected);
    if (now.product != told.product)
        changed.insert("Product", now.product);
    if (now.profile != told.profile)
        changed.insert("Profile", now.profile);
    if (now.windowShown != told.windowShown)
        changed.insert("WindowShown", now.windowShown);
    told = now;
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, "org.freedesktop.DBus.Properties", "PropertiesChanged");
    signal << kServiceName << changed << QStringList();
    if (!QDBusConnection::sessionBus().send(signal))
        qWarning() << "The session bus did not take the change of" << changed.keys();
}

bool SessionService::publish()
{
    return QDBusConnection::sessionBus().registerObject(kObjectPath, this);
}

bool SessionService::connected() const
{
    return deviceReady;
}

QString SessionService::product() const
{
    return deviceReady ? shell.device().deviceEntries().value(int(shell.device().currentDeviceId())).name : QString();
}

int SessionService::profile() const
{
    return shell.view()->profiles().currentProfile() + 1;
}

bool SessionService::windowShown() const
{
    return shell.isVisible();
}

void SessionService::OpenWindow()
{
    shell.openWindow();
}
