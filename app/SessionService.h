#pragma once
// The running program on the session bus (service/org.w3config.W3Config1.xml): one instance
// per session owns the bus name, so a second launch hands over to it instead of driving the
// mouse as well. Its properties follow the page actions, so a change made in the window, by
// the tray or over the bus is announced the same way.
#include "app/CommandService.h"
#include "app/ElsewhereChanges.h"
#include "app/MouseQueue.h"

#include <QDBusContext>
#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <optional>

class PageActions;
class Widget;

class SessionService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_PROPERTY(bool Connected READ connected)
    Q_PROPERTY(QString Product READ product)
    Q_PROPERTY(QString Firmware READ firmware)
    Q_PROPERTY(int Profile READ profile)
    Q_PROPERTY(int DpiStage READ dpiStage)
    Q_PROPERTY(QList<int> DpiStages READ dpiStages)
    Q_PROPERTY(QVariantMap Light READ light)
    Q_PROPERTY(bool WindowShown READ windowShown)
public:
    static const QString kServiceName;
    static const QString kObjectPath;
    static const QString kPendingError;
    static const QString kNoDeviceError;
    static const QString kBusyError;

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
    QString firmware() const { return firmwareVersion; }
    int profile() const;
    int dpiStage() const;
    QList<int> dpiStages() const;
    QVariantMap light() const;
    bool windowShown() const;
    // The window holds page changes that have not reached the mouse: a profile sent now would
    // drop them unseen.
    bool holdsPendingChanges() const;
    // The one line of work at the mouse every front end takes its turn in.
    MouseQueue &mouseQueue() { return queue; }

public slots:
    void OpenWindow();
    void SwitchProfile(int profile);
    void ApplyProfile(int profile);
    void SetDpiStage(int stage);

public:
    // The Commands interface: w3ctl's command line run here (app/CommandService); the reply
    // is sent when the command ran, so the return values are not used.
    int RunCommand(const QStringList &arguments, const QString &workingFolder, QString &out, QString &err);

private:
    struct Snapshot {
        bool connected = false;
        QString product;
        QString firmware;
        int profile = 0;
        int dpiStage = 0;
        QList<int> dpiStages;
        QVariantMap light;
        bool windowShown = false;
    };
    Snapshot snapshot() const;
    // Sends the standard PropertiesChanged signal for what differs from the last one told.
    void announceChanges();
    void onDeviceChecked();
    // An error the caller is told: its D-Bus name and its sentence.
    struct Refusal {
        QString error;
        QString message;
    };
    using Work = std::function<std::optional<Refusal>()>;
    // Runs `work` in the mouse's turn; a caller on the bus gets its reply when it ran (or the
    // refusal it returned), or an error when the turn did not come in time.
    void inTurn(Work work);
    void answer(const QDBusMessage &call, const std::optional<Refusal> &refusal);
    // The checks that need no turn; false after the caller was sent the error.
    bool isProfile(int profile);
    bool refuse(const QString &error, const QString &message);

    Widget &shell;
    PageActions &actions;
    MouseQueue queue;
    ElsewhereChanges elsewhere;
    CommandService commands;
    QString firmwareVersion;
    Snapshot told;
    bool toldNoBus = false;
    bool catchUpAsked = false;
};
