#include "device/DeviceEntry.h"

#include <QMutex>
#include <QMutexLocker>

namespace {

// Lives for the whole process: a write on the pool may outlast main.
QMutex &pathLock()
{
    static QMutex *lock = new QMutex;
    return *lock;
}

}  // namespace

DeviceEntry DeviceEntry::snapshot() const
{
    QMutexLocker locker(&pathLock());
    return *this;
}

HidHandle DeviceEntry::openCommandInterface() { return openPath(commandPath); }

HidHandle DeviceEntry::openEventInterface() { return openPath(eventPath); }

bool DeviceEntry::hasEventPath() const
{
    QMutexLocker locker(&pathLock());
    return !eventPath.isEmpty();
}

void DeviceEntry::clearEventPath()
{
    QMutexLocker locker(&pathLock());
    eventPath.clear();
}

HidHandle DeviceEntry::openPath(QString &path)
{
    QString current;
    {
        QMutexLocker locker(&pathLock());
        current = path;
    }
    if (current.isEmpty())
        return HidHandle();
    HidHandle handle = HidApi::open(current);
    if (!handle) {
        QMutexLocker locker(&pathLock());
        path.clear();
    }
    return handle;
}
