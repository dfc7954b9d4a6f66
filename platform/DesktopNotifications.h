#pragma once
// Notices on the desktop (org.freedesktop.Notifications) about changes the user may not see in
// the window, such as a profile switched from the tray. Each kind of notice replaces the one
// shown before it, so quick changes leave one notice, not a pile. Calls never wait for the
// server; without one the notices are dropped and that is logged once.
#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <map>
#include <optional>

class QDBusPendingCallWatcher;

class DesktopNotifications : public QObject {
    Q_OBJECT
public:
    enum class Kind { Profile, Stage };
    Q_ENUM(Kind)

    explicit DesktopNotifications(const QDBusConnection &bus = QDBusConnection::sessionBus(),
                                  QObject *parent = nullptr);

public slots:
    void notify(DesktopNotifications::Kind kind, const QString &summary, const QString &body);

signals:
    // The server showed the notice under `id` (for the tests and the curious).
    void shown(DesktopNotifications::Kind kind, uint id);
    // No server took the notice: no session bus, no server on it, or it refused.
    void notShown(DesktopNotifications::Kind kind);

private:
    struct Notice {
        QString summary;
        QString body;
    };
    // What is known of one kind: the server's id of the notice shown, whether a notice is on its
    // way to the server, and the newest one told meanwhile.
    struct Series {
        uint shownId = 0;
        bool sending = false;
        std::optional<Notice> waiting;
    };

    void send(Kind kind, const Notice &notice);
    void onAnswer(Kind kind, QDBusPendingCallWatcher *call);
    void reportNotShown(Kind kind, const QString &why);

    QDBusConnection bus;
    std::map<Kind, Series> seriesOf;
    bool missingServerReported = false;
};
