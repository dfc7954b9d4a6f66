#pragma once
// What the device object needs from the window that owns it.
#include <QString>

class QSettings;

class DeviceOwner {
public:
    virtual ~DeviceOwner() = default;
    // The application configuration, holding the secrecy texts "common/sCode<id>".
    virtual QSettings *applicationConfig() const = 0;
    // A failed handshake: warn the user that the device named was not detected, then end.
    virtual void reportDeviceMissing(const QString &deviceName) = 0;
};
