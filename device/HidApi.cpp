#include "device/HidApi.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>
#include <hidapi/hidapi.h>

namespace {

// Lives for the whole process: a write on the pool may outlast main.
QMutex &hidapiLock()
{
    static QMutex *lock = new QMutex;
    return *lock;
}

}  // namespace

HidHandle &HidHandle::operator=(HidHandle &&other) noexcept
{
    if (this != &other) {
        reset();
        device = other.device;
        other.device = nullptr;
    }
    return *this;
}

void HidHandle::reset()
{
    if (device) {
        HidApi::close(device);
        device = nullptr;
    }
}

QList<HidApi::InterfaceInfo> HidApi::enumerate(std::uint16_t vendorId, std::uint16_t productId)
{
    QList<InterfaceInfo> interfaces;
    QMutexLocker locker(&hidapiLock());
    hid_device_info *list = hid_enumerate(vendorId, productId);
    for (const hid_device_info *it = list; it; it = it->next)
        interfaces.append({it->usage_page, it->usage, QString::fromLocal8Bit(it->path),
                           it->manufacturer_string ? QString::fromWCharArray(it->manufacturer_string) : QString()});
    hid_free_enumeration(list);
    return interfaces;
}

HidHandle HidApi::open(const QString &path)
{
    const QByteArray localPath = path.toLocal8Bit();
    QMutexLocker locker(&hidapiLock());
    hid_device *device = hid_open_path(localPath.constData());
    if (device && hid_set_nonblocking(device, 0) < 0) {
        hid_close(device);
        device = nullptr;
    }
    return HidHandle(device);
}

void HidApi::close(hid_device *device)
{
    QMutexLocker locker(&hidapiLock());
    hid_close(device);
}

int HidApi::sendFeatureReport(const HidHandle &handle, const unsigned char *data, std::size_t length)
{
    QMutexLocker locker(&hidapiLock());
    return hid_send_feature_report(handle.get(), data, length);
}

int HidApi::getFeatureReport(const HidHandle &handle, unsigned char *data, std::size_t length)
{
    QMutexLocker locker(&hidapiLock());
    return hid_get_feature_report(handle.get(), data, length);
}

int HidApi::write(const HidHandle &handle, const unsigned char *data, std::size_t length)
{
    QMutexLocker locker(&hidapiLock());
    return hid_write(handle.get(), data, length);
}

int HidApi::read(const HidHandle &handle, unsigned char *data, std::size_t length, int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        int got;
        {
            QMutexLocker locker(&hidapiLock());
            got = hid_read_timeout(handle.get(), data, length, 0);
        }
        if (got != 0 || waited.elapsed() >= timeoutMs)
            return got;
        QThread::msleep(kReadPollMs);
    }
}
