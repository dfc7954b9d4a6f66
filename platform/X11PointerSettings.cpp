#include "platform/X11PointerSettings.h"

#include "platform/PointerSpeedScale.h"
#include "platform/ProgramPointerSettings.h"

#include <algorithm>

// Xlib last: its macros (Bool, None, Status) would clash with Qt's headers.
#include <X11/Xlib.h>

namespace {

// X's own default threshold, used when acceleration is switched on without one.
constexpr int kDefaultXThreshold = 4;

// One connection to the X server for the length of a call; null without a display.
class XConnection {
public:
    XConnection() : display(XOpenDisplay(nullptr)) {}
    ~XConnection()
    {
        if (display)
            XCloseDisplay(display);
    }
    XConnection(const XConnection &) = delete;
    XConnection &operator=(const XConnection &) = delete;

    Display *const display;
};

}  // namespace

bool X11PointerSettings::setPointerSpeed(int systemSpeed)
{
    XConnection x;
    if (!x.display)
        return false;
    const int speed = std::clamp(systemSpeed, pointerspeed::kMinSpeed, pointerspeed::kMaxSpeed);
    XChangePointerControl(x.display, True, False, speed, pointerspeed::kNeutralSpeed, 0);
    XSync(x.display, False);
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
    XConnection x;
    if (!x.display)
        return false;
    int numerator = 0, denominator = 0, threshold = 0;
    XGetPointerControl(x.display, &numerator, &denominator, &threshold);
    values[Threshold1] = threshold;
    values[Threshold2] = threshold;
    values[AccelerationLevel] = threshold > 0 ? 1 : 0;
    return true;
}

bool X11PointerSettings::writeMouse(const int values[MouseValueCount])
{
    XConnection x;
    if (!x.display)
        return false;
    int threshold = 0;
    if (values[AccelerationLevel] != 0)
        threshold = values[Threshold1] > 0 ? values[Threshold1] : kDefaultXThreshold;
    XChangePointerControl(x.display, False, True, 0, 0, threshold);
    XSync(x.display, False);
    return true;
}
