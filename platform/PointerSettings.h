#pragma once
// The operating system's pointer parameters: speed, acceleration, wheel scroll lines and
// double-click time. The controller stores the user's steps in the profile and applies them
// through this interface; tests install a fake.
//
// Every call may block (a settings service on the session bus, a file write, the X server):
// callers on the GUI thread hand the setters to a PointerSettingsQueue. readMouse answers from
// what the desktop keeps locally and is quick enough for the GUI thread.
//
// Linux (PointerSettings::create() picks one back end at start and logs it):
// - GNOME and the desktops that share its mouse schema: GnomePointerSettings (GSettings).
// - KDE Plasma: PlasmaPointerSettings (kcminputrc, kdeglobals and KWin's input devices).
// - Anything else: X11PointerSettings (the X server's core pointer control).
// The double-click time and the wheel scroll lines always reach this program's own Qt
// settings as well. Every call returns false when it reached no setting; nothing crashes
// without a desktop, a session bus or a display.
#include <memory>

class PointerSettings {
public:
    // Positions of the values of readMouse / writeMouse.
    enum MouseValue { Threshold1 = 0, Threshold2 = 1, AccelerationLevel = 2, MouseValueCount = 3 };
    // What a desktop without acceleration thresholds (GNOME, libinput) reports: the usual
    // defaults of those that have them.
    static constexpr int kUsualThreshold1 = 6;
    static constexpr int kUsualThreshold2 = 10;

    virtual ~PointerSettings() = default;

    // systemSpeed 1 (slowest) .. 20 (fastest); values outside are clamped.
    virtual bool setPointerSpeed(int systemSpeed) = 0;
    // Lines scrolled per wheel notch.
    virtual bool setWheelScrollLines(int lines) = 0;
    // Longest interval between the two clicks of a double click, in milliseconds.
    virtual bool setDoubleClickTime(int ms) = 0;
    // Two acceleration thresholds and the acceleration level (0 off, 1 or 2 on).
    virtual bool readMouse(int values[MouseValueCount]) = 0;
    virtual bool writeMouse(const int values[MouseValueCount]) = 0;

    // The platform's implementation.
    static std::unique_ptr<PointerSettings> create();
};
