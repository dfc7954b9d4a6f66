#pragma once
// The mice that KWin (Plasma on Wayland) offers on the session bus: the device manager
// "/org/kde/KWin/InputDevice" (org.kde.KWin.InputDeviceManager) lists the devices by system
// name, each one an object "/org/kde/KWin/InputDevice/<name>" (org.kde.KWin.InputDevice)
// whose properties Plasma's mouse settings page sets. KWin applies a property at once and
// keeps it in kcminputrc itself. Only pointer devices that are not touchpads are changed.
// Every call is a blocking round trip to KWin: call it off the GUI thread.
#include <QDBusConnection>
#include <QString>
#include <QStringList>
#include <QVariant>

class KWinPointerDevices {
public:
    static const char *const kService;

    // Whether KWin's service is on the bus (a question to the bus itself, quick).
    static bool serviceRegistered(const QDBusConnection &bus);
    explicit KWinPointerDevices(QDBusConnection bus);

    // "pointerAcceleration", -1..1.
    bool setPointerAcceleration(double speed);
    // "pointerAccelerationProfileFlat" when flat, "pointerAccelerationProfileAdaptive" otherwise.
    bool setFlatProfile(bool flat);

private:
    enum class Listing { Devices, NoDeviceManager, Failed };
    // KWin on X11 has the service but no device manager: there is nothing to set then.
    Listing listMice(QStringList *paths);
    bool setOnEveryMouse(const QString &property, const QVariant &value);
    bool readProperty(const QString &path, const QString &interface, const QString &name,
                      QVariant *value, QString *errorName = nullptr);
    bool writeProperty(const QString &path, const QString &name, const QVariant &value);

    QDBusConnection bus;
};
