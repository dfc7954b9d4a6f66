#pragma once
#include <functional>

// The program's start-up and shut-down. `prepareDevices` runs right after the application
// object exists and before the first detection (the virtual program plugs its device there).
int runW3Config(int argc, char **argv, const std::function<void()> &prepareDevices = {});
