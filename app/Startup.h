#pragma once
#include <functional>

// The program's start-up and shut-down. `prepareDevices` runs right after the application
// object exists and before the first detection (the virtual program plugs its device there).
class Widget;

// Start-up steps after the capture is registered: the first detection, then the window and
// the scene only when the device is ready (or demo mode began). A shell in the background
// detects and waits; its window opens when asked for.
void startShell(Widget &shell);

// Runs the program until its window closes, then ends the process (it never returns).
[[noreturn]] void runW3Config(int argc, char **argv, const std::function<void()> &prepareDevices = {});
