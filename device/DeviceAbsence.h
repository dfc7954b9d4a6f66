#pragma once
// Why a searched device cannot be used, as far as the bus tells: nothing with its ids is
// connected, it is connected but an interface cannot be opened by this user (hidraw nodes
// without a udev rule), or it opened and still did not answer.
#include <QString>
#include <cstdint>

struct DeviceAbsence {
    enum class Cause { NotConnected, NoAccess, NoAnswer };
    Cause cause = Cause::NotConnected;
    std::uint16_t vid = 0;
    std::uint16_t pid = 0;
    QString refusedPath;  // the interface that could not be opened (NoAccess)

    // Asks the bus about the device with these ids.
    static DeviceAbsence diagnose(std::uint16_t vid, std::uint16_t pid);
};
