#include "cli/DeviceSession.h"

#include "cli/Output.h"
#include "controller/AppConfig.h"
#include "device/Catalogue.h"
#include "device/DeviceState.h"
#include "platform/DeviceLock.h"

#include <QCoreApplication>
#include <QDebug>
#include <QSettings>

namespace {
constexpr uint kMouseId = 1;
}

DeviceSession::DeviceSession(AppConfig &config) : config(config)
{
    device.setOwner(this);
}

DeviceSession::~DeviceSession()
{
    finish();
    device.stopMonitor();
    if (!locked)
        return;
    // The running window keeps what it sent to the mouse; this command may have changed it.
    if (current == State::Ready && !DeviceLock::shared()->markMouseChanged())
        qWarning() << "The mark of a changed mouse could not be written beside" << DeviceLock::shared()->path();
    DeviceLock::shared()->unlock();
}

void DeviceSession::lock(int waitMs)
{
    DeviceLock *shared = DeviceLock::shared();
    if (!shared || locked)
        return;
    if (shared->lockWithin(waitMs)) {
        locked = true;
        return;
    }
    if (!shared->openError().isEmpty())
        throw CliFailure(ExitCode::DeviceError, QCoreApplication::translate("w3ctl", "cannot open the lock file %1: %2")
                                                    .arg(shared->path(), shared->openError()));
    throw CliFailure(ExitCode::DeviceError, busyMessage(waitMs));
}

DeviceSession::State DeviceSession::open(int waitMs)
{
    lock(waitMs);
    const QStringList productNames = config.settings()->value("common/product_name").toStringList();
    const Catalogue catalogue = readCatalogue(kCataloguePath, productNames);
    device.rebuildDevices(catalogue.entries);
    encodeEnabled = catalogue.isEncode;
    const QList<DeviceEntry> entries = device.deviceEntries();
    if (!entries.value(int(kMouseId)).isPresent())
        return current = State::NotFound;
    device.swichCurDevice(kMouseId);
    if (handshakeRefused || !deviceReady)
        return current = State::Refused;
    return current = demoMode ? State::Demo : State::Ready;
}

QString DeviceSession::productName() const
{
    return device.deviceEntries().value(int(kMouseId)).name;
}

bool DeviceSession::finish(int timeoutMs)
{
    return device.waitUntilIdle(timeoutMs);
}

QSettings *DeviceSession::applicationConfig() const
{
    return config.settings();
}

void DeviceSession::reportDeviceMissing(const QString &)
{
    handshakeRefused = true;
}
