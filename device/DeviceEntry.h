#pragma once
// One scanned device. Its paths are cleared from pool threads (a failed open) while the GUI
// thread reads them, so they are read and cleared under one lock.
#include "device/HidApi.h"

#include <QString>

struct DeviceEntry {
    QString name;
    int type = -1;
    QString commandPath;  // empty when not found or after an open failed
    QString eventPath;
    QString manufacturer;  // the command interface's maker, as the device names it
    unsigned reportLength = 0;

    bool isPresent() const { return !commandPath.isEmpty() && !eventPath.isEmpty(); }

    // A copy taken under the path lock.
    DeviceEntry snapshot() const;
    // Opens the interface anew in blocking mode; a failed open clears its path, so the device
    // counts as absent until the next scan.
    HidHandle openCommandInterface();
    HidHandle openEventInterface();
    bool hasEventPath() const;
    void clearEventPath();

private:
    static HidHandle openPath(QString &path);
};
