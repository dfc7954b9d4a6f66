#pragma once
// The mouse for one w3ctl command: the per-user device lock, held for the whole command so
// that the window's transfers cannot come in between a read and the write built from it,
// then the detection the window runs (catalogue, bus scan, handshake). When the command ends
// the session waits for the last write and gives the lock back.
#include "cli/CommandDevice.h"
#include "device/DeviceOwner.h"
#include "device/Hid_Thread.h"

#include <QString>

class AppConfig;

class DeviceSession : public DeviceOwner, public CommandDevice {
public:
    explicit DeviceSession(AppConfig &config);
    ~DeviceSession() override;

    // Waits up to waitMs for the device lock, which also guards the settings files, and keeps
    // it to the end of the session: CliFailure with exit code 3 when another program keeps it
    // or the lock file cannot be opened.
    void lock(int waitMs) override;
    // Takes the lock, then detects the mouse.
    State open(int waitMs) override;

    Hid_Thread &hid() { return device; }
    State state() const { return current; }
    QString productName() const override;
    bool finish(int timeoutMs = kFinishTimeoutMs) override;

    QSettings *applicationConfig() const override;
    void reportDeviceMissing(const QString &deviceName) override;

private:

    AppConfig &config;
    Hid_Thread device;
    State current = State::NotFound;
    bool handshakeRefused = false;
    bool locked = false;
};
