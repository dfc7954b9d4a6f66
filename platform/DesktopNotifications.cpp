#include "DesktopNotifications.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>
#include <QtDebug>

namespace {

const char *const kService = "org.freedesktop.Notifications";
const char *const kPath = "/org/freedesktop/Notifications";
const char *const kInterface = "org.freedesktop.Notifications";
const char *const kApplicationName = "W3 Config";
// The installed icon and desktop entry share this name.
const char *const kApplicationId = "org.w3config.w3config";
const int kServerDecidesTimeout = -1;

}  // namespace

DesktopNotifications::DesktopNotifications(const QDBusConnection &bus, QObject *parent)
    : QObject(parent), bus(bus)
{
}

void DesktopNotifications::notify(Kind kind, const QString &summary, const QString &body)
{
    Series &notices = seriesOf[kind];
    const Notice notice{summary, body};
    // Until the server names the notice on its way, a newer one could not replace it.
    if (notices.sending)
        notices.waiting = notice;
    else
        send(kind, notice);
}

void DesktopNotifications::send(Kind kind, const Notice &notice)
{
    if (!bus.isConnected()) {
        reportNotShown(kind, QStringLiteral("no session bus"));
        return;
    }
    Series &notices = seriesOf[kind];
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QString::fromLatin1(kApplicationId)}};
    call << QString::fromLatin1(kApplicationName) << notices.shownId << QString::fromLatin1(kApplicationId)
         << notice.summary << notice.body << QStringList() << hints << kServerDecidesTimeout;
    notices.sending = true;
    auto *answer = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this,
            [this, kind](QDBusPendingCallWatcher *call) { onAnswer(kind, call); });
}

void DesktopNotifications::onAnswer(Kind kind, QDBusPendingCallWatcher *call)
{
    call->deleteLater();
    Series &notices = seriesOf[kind];
    notices.sending = false;
    const QDBusPendingReply<uint> reply = *call;
    if (reply.isError()) {
        reportNotShown(kind, reply.error().message());
    } else {
        notices.shownId = reply.value();
        emit shown(kind, notices.shownId);
    }
    if (notices.waiting) {
        const Notice next = *notices.waiting;
        notices.waiting.reset();
        send(kind, next);
    }
}

void DesktopNotifications::reportNotShown(Kind kind, const QString &why)
{
    emit notShown(kind);
    if (missingServerReported)
        return;
    missingServerReported = true;
    qWarning().noquote() << "Desktop notifications: not shown -" << why;
}
