#pragma once
// The application in front as a helper inside the desktop's compositor tells it: the KWin
// script or the GNOME Shell extension calls Activated on this object, under the program's bus
// name, each time another window comes to the front. The contract is
// service/org.w3config.ActiveApplication1.xml.
#include "platform/ActiveApplication.h"

#include <QDBusConnection>

class BusActiveApplication : public ActiveApplication {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.w3config.ActiveApplication1")
public:
    // The name the helpers call (the program's own) and the object they call.
    static constexpr const char *kService = "org.w3config.W3Config1";
    static constexpr const char *kObjectPath = "/org/w3config/W3Config1/ActiveApplication";

    // Registers the object on `bus`; the program's service owns the name.
    explicit BusActiveApplication(const QDBusConnection &bus, QObject *parent = nullptr);
    ~BusActiveApplication() override;

    // False when the bus refused the object (no session bus, or the path is taken).
    bool isAvailable() const { return registered; }
    ApplicationIdentity current() const override { return inFront; }

public slots:
    // Another window came to the front; pid 0 when the desktop does not know it.
    Q_SCRIPTABLE void Activated(const QString &applicationId, const QString &windowClass, uint pid);
    // The same from a KWin script, whose whole numbers reach the bus as signed integers.
    Q_SCRIPTABLE void Activated(const QString &applicationId, const QString &windowClass, int pid);

protected:
    QDBusConnection bus;

private:
    void report(const QString &applicationId, const QString &windowClass, qint64 pid);

    bool registered = false;
    ApplicationIdentity inFront;
};
