#include "platform/KWinPointerDevices.h"

#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusVariant>

namespace {

const char *const kManagerPath = "/org/kde/KWin/InputDevice";
const char *const kManagerInterface = "org.kde.KWin.InputDeviceManager";
const char *const kDeviceInterface = "org.kde.KWin.InputDevice";
const char *const kPropertiesInterface = "org.freedesktop.DBus.Properties";
constexpr int kCallTimeoutMs = 3000;

bool meansNoDeviceManager(const QString &errorName)
{
    return errorName == QDBusError::errorString(QDBusError::UnknownObject)
           || errorName == QDBusError::errorString(QDBusError::UnknownInterface)
           || errorName == QDBusError::errorString(QDBusError::UnknownProperty)
           || errorName == QDBusError::errorString(QDBusError::UnknownMethod)
           || errorName == QDBusError::errorString(QDBusError::InvalidArgs);
}

}  // namespace

const char *const KWinPointerDevices::kService = "org.kde.KWin";

bool KWinPointerDevices::serviceRegistered(const QDBusConnection &bus)
{
    return bus.isConnected() && bus.interface()
           && bus.interface()->isServiceRegistered(kService).value();
}

KWinPointerDevices::KWinPointerDevices(QDBusConnection bus) : bus(std::move(bus)) {}

bool KWinPointerDevices::readProperty(const QString &path, const QString &interface,
                                      const QString &name, QVariant *value, QString *errorName)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, path, kPropertiesInterface, "Get");
    call << interface << name;
    const QDBusMessage reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        if (errorName)
            *errorName = reply.errorName();
        return false;
    }
    *value = reply.arguments().first().value<QDBusVariant>().variant();
    return true;
}

bool KWinPointerDevices::writeProperty(const QString &path, const QString &name,
                                       const QVariant &value)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, path, kPropertiesInterface, "Set");
    call << QString(kDeviceInterface) << name << QVariant::fromValue(QDBusVariant(value));
    return bus.call(call, QDBus::Block, kCallTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

KWinPointerDevices::Listing KWinPointerDevices::listMice(QStringList *paths)
{
    QVariant names;
    QString errorName;
    if (!readProperty(kManagerPath, kManagerInterface, "devicesSysNames", &names, &errorName))
        return meansNoDeviceManager(errorName) ? Listing::NoDeviceManager : Listing::Failed;
    for (const QString &name : names.toStringList()) {
        const QString path = QString(kManagerPath) + '/' + name;
        QVariant pointer, touchpad;
        if (!readProperty(path, kDeviceInterface, "pointer", &pointer)
            || !readProperty(path, kDeviceInterface, "touchpad", &touchpad))
            return Listing::Failed;
        if (pointer.toBool() && !touchpad.toBool())
            *paths << path;
    }
    return Listing::Devices;
}

bool KWinPointerDevices::setOnEveryMouse(const QString &property, const QVariant &value)
{
    QStringList mice;
    const Listing listing = listMice(&mice);
    if (listing != Listing::Devices)
        return listing == Listing::NoDeviceManager;
    bool allSet = true;
    for (const QString &path : mice)
        allSet = writeProperty(path, property, value) && allSet;
    return allSet;
}

bool KWinPointerDevices::setPointerAcceleration(double speed)
{
    return setOnEveryMouse("pointerAcceleration", speed);
}

bool KWinPointerDevices::setFlatProfile(bool flat)
{
    return setOnEveryMouse(flat ? "pointerAccelerationProfileFlat"
                                : "pointerAccelerationProfileAdaptive",
                           true);
}
