#pragma once
// The operating system's pointer parameters: speed, acceleration, wheel scroll lines and
// double-click time. The controller stores the user's steps in the profile and applies them
// through this interface; tests install a fake.
//
// Linux back end (PointerSettings::create()):
// - Pointer speed: the GNOME mouse schema (org.gnome.desktop.peripherals.mouse "speed",
//   -1..1) through the gsettings tool where the schema is installed; speed 10, the neutral
//   value of the 1..20 scale, maps to 0, 1 to -1 and 20 to 1, linearly on either side.
//   Without the schema: the X server's core pointer control, whose acceleration fraction
//   becomes speed / 10 (XChangePointerControl).
// - Acceleration (readMouse / writeMouse: two thresholds and the acceleration level 0..2):
//   GNOME "accel-profile": level 0 is "flat", level 1 or 2 "adaptive"; GNOME has no
//   thresholds, so readMouse reports 6 and 10. Without the schema: the X pointer control
//   (XGetPointerControl / XChangePointerControl): level 0 sets threshold 0, so the speed
//   fraction applies to all motion (a constant gain); level 1 or 2 sets the threshold to
//   the first value (4 when that is not positive), so the fraction applies to fast motion
//   only. readMouse reports the X threshold twice and level 1 when it is positive.
// - Double-click time: GNOME "double-click" (milliseconds) where present, and always this
//   program's own interval (QApplication::setDoubleClickInterval).
// - Wheel scroll lines: no GNOME or X setting exists; the value reaches this program only
//   (QApplication::setWheelScrollLines).
// Every call returns false when it reached no setting: no desktop schema and no X display
// (or, for the program's own settings, no QApplication). Nothing crashes without a desktop.
#include <memory>

class PointerSettings {
public:
    // Positions of the values of readMouse / writeMouse.
    enum MouseValue { Threshold1 = 0, Threshold2 = 1, AccelerationLevel = 2, MouseValueCount = 3 };

    virtual ~PointerSettings();

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
