#pragma once
// The running program on the session bus (service/org.w3config.W3Config1.xml): one instance
// per session owns the bus name, so a second launch hands over to it instead of driving the
// mouse as well.
#include <QObject>
#include <QString>

class Widget;

class SessionService : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Connected READ connected)
    Q_PROPERTY(QString Product READ product)
    Q_PROPERTY(int Profile READ profile)
    Q_PROPERTY(bool WindowShown READ windowShown)
public:
    static const QString kServiceName;
    static const QString kObjectPath;

    enum class Claim { Owned, HeldElsewhere, NoBus };

    // Takes the bus name for this process. Without a session bus the program runs alone.
    static Claim claimName();
    // Asks the instance that holds the name to show its window; false when it did not answer.
    static bool openRunningWindow();

    explicit SessionService(Widget &shell);
    // Publishes the object; false when the bus refused it.
    bool publish();

    bool connected() const;
    QString product() const;
    int profile() const;
    bool windowShown() const;

public slots:
    void OpenWindow();

private:
    struct Snapshot {
        bool connected = false;
        QString product;
        int profile = 0;
        bool windowShown = false;
    };
    Snapshot snapshot() const;
    // Sends the standard PropertiesChanged signal for what differs from the last one told.
    void announceChanges();

    Widget &shell;
    Snapshot told;
};
