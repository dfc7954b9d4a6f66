// Device changes on Linux: a libudev monitor of USB devices and hidraw nodes, read on the GUI
// thread. Any USB device counts, as a device-change message would on other systems.
#include "platform/DeviceChangeNotifier.h"

#include <QDebug>
#include <QFileInfo>
#include <QSocketNotifier>
#include <cstring>
#include <libudev.h>

namespace {

// Present while the udev daemon runs; without it the "udev" source stays silent.
const char kUdevControlSocket[] = "/run/udev/control";
const char kHidrawSubsystem[] = "hidraw";
const char kUsbSubsystem[] = "usb";
const char kUsbDeviceType[] = "usb_device";

bool isDeviceChange(const char *action)
{
    return action && (std::strcmp(action, "add") == 0 || std::strcmp(action, "remove") == 0 ||
                      std::strcmp(action, "change") == 0);
}

class UdevDeviceChangeNotifier : public DeviceChangeNotifier {
public:
    // Takes over both references; the monitor already receives.
    UdevDeviceChangeNotifier(udev *context, udev_monitor *monitor, QObject *parent)
        : DeviceChangeNotifier(parent), context(context), monitor(monitor),
          readable(udev_monitor_get_fd(monitor), QSocketNotifier::Read)
    {
        connect(&readable, &QSocketNotifier::activated, this,
                &UdevDeviceChangeNotifier::receiveEvents);
    }

    ~UdevDeviceChangeNotifier() override
    {
        readable.setEnabled(false);
        udev_monitor_unref(monitor);
        udev_unref(context);
    }

private:
    // The socket is non-blocking: drain every queued event, one signal per device change.
    void receiveEvents()
    {
        while (udev_device *device = udev_monitor_receive_device(monitor)) {
            const bool changed = isDeviceChange(udev_device_get_action(device));
            udev_device_unref(device);
            if (changed)
                emit deviceChanged();
        }
    }

    udev *context;
    udev_monitor *monitor;
    QSocketNotifier readable;
};

// Events processed by the udev daemon when it runs; otherwise the kernel's own uevents,
// which may arrive before the device node exists (the detection runs well after the burst).
const char *eventSource()
{
    return QFileInfo::exists(QString::fromLatin1(kUdevControlSocket)) ? "udev" : "kernel";
}

udev_monitor *openMonitor(udev *context, const char *source)
{
    udev_monitor *monitor = udev_monitor_new_from_netlink(context, source);
    if (!monitor)
        return nullptr;
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor, kHidrawSubsystem, nullptr) < 0 ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor, kUsbSubsystem, kUsbDeviceType) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        udev_monitor_unref(monitor);
        return nullptr;
    }
    return monitor;
}

} // namespace

std::unique_ptr<DeviceChangeNotifier> DeviceChangeNotifier::create(QObject *parent)
{
    udev *context = udev_new();
    const char *source = eventSource();
    udev_monitor *monitor = context ? openMonitor(context, source) : nullptr;
    if (!monitor) {
        // The program still works; it just does not notice devices plugged in later.
        qWarning() << "Device changes: cannot watch USB and hidraw events from"
                   << source << "- no device-change notifications";
        udev_unref(context);
        return std::make_unique<DeviceChangeNotifier>(parent);
    }
    qDebug() << "Device changes: watching USB and hidraw"
             << (std::strcmp(source, "udev") == 0 ? "events of the udev daemon"
                                                  : "kernel uevents (no udev daemon running)");
    return std::make_unique<UdevDeviceChangeNotifier>(context, monitor, parent);
}
