#include "FakeKWin.h"

namespace {

int connectionCount = 0;
const char *const kService = "org.kde.KWin";
const char *const kManagerPath = "/org/kde/KWin/InputDevice";

QString boolText(bool value)
{
    return value ? "true" : "false";
}

}  // namespace

FakeKWinDevice::FakeKWinDevice(QString sysName, bool pointer, bool touchpad, QStringList &writes)
    : sysName(std::move(sysName)), pointer(pointer), touchpad(touchpad), writes(writes)
{
}

void FakeKWinDevice::setPointerAcceleration(double value)
{
    acceleration = value;
    writes << QString("%1 pointerAcceleration=%2").arg(sysName).arg(value);
}

void FakeKWinDevice::setFlat(bool value)
{
    profileFlat = value;
    writes << QString("%1 pointerAccelerationProfileFlat=%2").arg(sysName, boolText(value));
}

void FakeKWinDevice::setAdaptive(bool value)
{
    profileFlat = !value;
    writes << QString("%1 pointerAccelerationProfileAdaptive=%2").arg(sysName, boolText(value));
}

FakeKWin::FakeKWin(Devices offered)
    : connectionName(QString("fake-kwin-%1").arg(++connectionCount)),
      connection(QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName))
{
    connection.connect(QString(), "/KGlobalSettings", "org.kde.KGlobalSettings", "notifyChange",
                       this, SLOT(noticeHeard(int, int)));
    if (offered == Devices::Offered) {
        devices.push_back(std::make_unique<FakeKWinDevice>("event3", true, false, writes));
        devices.push_back(std::make_unique<FakeKWinDevice>("event4", true, true, writes));
        devices.push_back(std::make_unique<FakeKWinDevice>("event5", false, false, writes));
        for (const auto &device : devices) {
            manager.sysNames << device->sysName;
            connection.registerObject(QString(kManagerPath) + '/' + device->sysName, device.get(),
                                      QDBusConnection::ExportAllProperties);
        }
        connection.registerObject(kManagerPath, &manager, QDBusConnection::ExportAllProperties);
    }
    serviceRegistered = connection.registerService(kService);
}

FakeKWin::~FakeKWin()
{
    connection.unregisterService(kService);
    QDBusConnection::disconnectFromBus(connectionName);
}

void FakeKWin::listDeviceWithoutObject()
{
    manager.sysNames << "event9";
}

void FakeKWin::noticeHeard(int type, int category)
{
    notices << QString("notifyChange %1 %2").arg(type).arg(category);
}
