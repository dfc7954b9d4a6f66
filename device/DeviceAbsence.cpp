#include "device/DeviceAbsence.h"

#include "device/HidApi.h"

DeviceAbsence DeviceAbsence::diagnose(std::uint16_t vid, std::uint16_t pid)
{
    DeviceAbsence absence;
    absence.vid = vid;
    absence.pid = pid;
    const QList<HidApi::InterfaceInfo> interfaces = HidApi::enumerate(vid, pid);
    if (interfaces.isEmpty())
        return absence;
    // The enumeration reads the kernel's device tree, which anybody may read; only opening
    // the node shows whether this user may use it.
    for (const HidApi::InterfaceInfo &info : interfaces) {
        if (!HidApi::open(info.path)) {
            absence.cause = Cause::NoAccess;
            absence.refusedPath = info.path;
            return absence;
        }
    }
    absence.cause = Cause::NoAnswer;
    return absence;
}
