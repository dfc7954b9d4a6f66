#pragma once
// A notification server (org.freedesktop.Notifications) for tests on a private session bus: it
// records each notice and can hold its answers back. Registered on a connection of its own,
// named `connectionName`.
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

constexpr const char *kServerService = "org.freedesktop.Notifications";
constexpr const char *kServerPath = "/org/freedesktop/Notifications";
constexpr uint kFirstId = 100;

struct Received {
    QString application;
    uint replacesId = 0;
    QString icon;
    QString summary;
    QString body;
    QVariantMap hints;
    int timeout = 0;
};

// A notification server that records each notice; it can hold its answers back.
class FakeNotificationServer : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit FakeNotificationServer(const QString &connectionName = "server") : connection(connectionName) {}

    QList<Received> received;
    bool holding = false;

    void answerHeld()
    {
        for (const QDBusMessage &call : qAsConst(held))
            QDBusConnection(connection).send(call.createReply(idFor(call)));
        held.clear();
    }

public slots:
    uint Notify(const QString &application, uint replacesId, const QString &icon, const QString &summary,
                const QString &body, const QStringList &, const QVariantMap &hints, int timeout)
    {
        received.append({application, replacesId, icon, summary, body, hints, timeout});
        if (holding) {
            setDelayedReply(true);
            held.append(message());
            return 0;
        }
        return idFor(message());
    }

private:
    // A replaced notice keeps its id, as servers do.
    uint idFor(const QDBusMessage &call)
    {
        const uint replaces = call.arguments().at(1).toUInt();
        return replaces != 0 ? replaces : nextId++;
    }

    QString connection;
    QList<QDBusMessage> held;
    uint nextId = kFirstId;
};
