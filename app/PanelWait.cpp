#include "PanelWait.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>

namespace {

const char *const kWatcherService = "org.kde.StatusNotifierWatcher";

}  // namespace

PanelWait::PanelWait(int limitMs, const QDBusConnection &bus, QObject *parent) : QObject(parent)
{
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, this, &PanelWait::finish);
    if (!bus.isConnected()) {
        QTimer::singleShot(0, this, &PanelWait::finish);
        return;
    }
    // Watch first, then ask: a watcher arriving in between is seen either way.
    auto *arrival = new QDBusServiceWatcher(QString::fromLatin1(kWatcherService), bus,
                                            QDBusServiceWatcher::WatchForRegistration, this);
    connect(arrival, &QDBusServiceWatcher::serviceRegistered, this, &PanelWait::finish);
    QDBusMessage ask = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                      QStringLiteral("/org/freedesktop/DBus"),
                                                      QStringLiteral("org.freedesktop.DBus"),
                                                      QStringLiteral("NameHasOwner"));
    ask << QString::fromLatin1(kWatcherService);
    auto *answer = new QDBusPendingCallWatcher(bus.asyncCall(ask), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *call) {
        call->deleteLater();
        const QDBusPendingReply<bool> present = *call;
        if (present.isValid() && present.value())
            finish();
    });
    limit.start(limitMs);
}

void PanelWait::finish()
{
    if (finished)
        return;
    finished = true;
    limit.stop();
    emit ready();
}
