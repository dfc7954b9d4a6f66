#pragma once
// What the program is told on its command line.
#include <QStringList>

struct StartOptions {
    // Start without a window: the device, the profiles and the bus service only.
    bool background = false;
};

// Reads the arguments; --help prints the usage and ends the process, an unknown option prints
// why and ends it with status 2.
StartOptions readStartOptions(const QStringList &arguments);
