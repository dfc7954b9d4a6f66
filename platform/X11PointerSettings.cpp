#include "platform/X11PointerSettings.h"

#include "platform/PointerSpeedScale.h"
#include "platform/ProgramPointerSettings.h"

#include <algorithm>

// Xlib last: its macros (Bool, None, Status) would clash with Qt's headers.
#include <X11/Xlib.h>

namespace {

// X's own default threshold, used when acceleration is switched on without one.
constexpr int kDefaultXThreshold = 4;

}  // namespace

X11PointerSettings::~X11PointerSettings()
{
    if (display)
        XCloseDisplay(display);
}

Display *X11PointerSettings::connection()
{
    if (!opened) {
        display = XOpenDisplay(nullptr);
        opened = true;
    }
    return display;
}

bool X11PointerSettings::setPointerSpeed(int systemSpeed)
{
    QMutexLocker locked(&lock);
    Display *x = connection();
    if (!x)
        return false;
    const int speed = std::clamp(systemSpeed, pointerspeed::kMinSpeed, pointerspeed::kMaxSpeed);
    XChangePointerControl(x, True, False, speed, pointerspeed::kNeutralSpeed, 0);
    XSync(x, False);
    return true;
}

bool X11PointerSettings::setWheelScrollLines(int lines)
{
    return programpointer::setWheelScrollLines(lines);
}

bool X11PointerSettings::setDoubleClickTime(int ms)
{
    return programpointer::setDoubleClickInterval(ms);
}

bool X11PointerSettings::readMouse(int values[MouseValueCount])
{
    QMutexLocker locked(&lock);
    Display *x = connection();
    if (!x)
        return false;
    int numerator = 0, denominator = 0, threshold = 0;
    XGetPointerControl(x, &numerator, &denominator, &threshold);
    values[Threshold1] = threshold;
    values[Threshold2] = threshold;
    values[AccelerationLevel] = threshold > 0 ? 1 : 0;
    return true;
}

bool X11PointerSettings::writeMouse(const int values[MouseValueCount])
{
    QMutexLocker locked(&lock);
    Display *x = connection();
    if (!x)
        return false;
    int threshold = 0;
    if (values[AccelerationLevel] != 0)
        threshold = values[Threshold1] > 0 ? values[Threshold1] : kDefaultXThreshold;
    XChangePointerControl(x, False, True, 0, 0, threshold);
    XSync(x, False);
    return true;
}
