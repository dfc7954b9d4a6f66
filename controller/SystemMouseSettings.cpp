#include "controller/SystemMouseSettings.h"

#include "controller/ProfileStore.h"
#include "platform/PointerSettings.h"

#include <QDebug>
#include <algorithm>

namespace {

const char *const kCursorSpeedKey = "sensor/cursorSpeed_W3";
const char *const kScrollLinesKey = "sensor/verticalScrollLines_W3";
const char *const kDoubleClickKey = "sensor/doubleClickSpeed_W3";

constexpr int kSlowestSpeed = 1;
constexpr int kSpeedPerStep = 2;
constexpr int kLongestDoubleClickMs = 900;
constexpr int kDoubleClickMsPerStep = 70;

uint clampedStep(uint step)
{
    return std::min(step, SystemMouseSettings::kMaxStep);
}

// The thresholds stay as the system has them; switching on always writes level 1.
bool writeAcceleration(PointerSettings &system, bool acceleration)
{
    int values[PointerSettings::MouseValueCount] = {};
    if (!system.readMouse(values))
        return false;
    values[PointerSettings::AccelerationLevel] = acceleration ? 1 : 0;
    return system.writeMouse(values);
}

}  // namespace

SystemMouseSettings::SystemMouseSettings(ProfileStore &profiles, PointerSettings &pointer)
    : profiles(profiles), pointer(pointer), queue(pointer)
{
}

bool SystemMouseSettings::waitUntilApplied(int timeoutMs)
{
    return queue.waitUntilIdle(timeoutMs);
}

int SystemMouseSettings::systemSpeed(uint step)
{
    return step == 0 ? kSlowestSpeed : int(clampedStep(step)) * kSpeedPerStep;
}

int SystemMouseSettings::scrollLines(uint step)
{
    return int(clampedStep(step)) + 1;
}

int SystemMouseSettings::doubleClickTime(uint step)
{
    return kLongestDoubleClickMs - kDoubleClickMsPerStep * int(clampedStep(step));
}

void SystemMouseSettings::setAcceleration(bool acceleration)
{
    requestedAcceleration = acceleration;
    ++accelerationWritesPending;
    queue.post(
        [this, acceleration](PointerSettings &system) {
            const bool written = writeAcceleration(system, acceleration);
            --accelerationWritesPending;
            return written;
        },
        "setAcceleration Failed");
}

bool SystemMouseSettings::getAcceleration()
{
    if (accelerationWritesPending > 0)
        return requestedAcceleration;
    int values[PointerSettings::MouseValueCount] = {};
    if (!pointer.readMouse(values)) {
        qDebug() << "getAcceleration Failed";
        return false;
    }
    return values[PointerSettings::AccelerationLevel] != 0;
}

void SystemMouseSettings::setCursorSpeed(uint cursorSpeed)
{
    profiles.current().setValue(kCursorSpeedKey, cursorSpeed);
    const int value = systemSpeed(cursorSpeed);
    queue.post([value](PointerSettings &system) { return system.setPointerSpeed(value); },
               "setCursorSpeed Failed");
}

void SystemMouseSettings::setVerticalScrollLines(uint lines)
{
    profiles.current().setValue(kScrollLinesKey, lines);
    const int value = scrollLines(lines);
    queue.post([value](PointerSettings &system) { return system.setWheelScrollLines(value); },
               "setVerticalScrollLines Failed");
}

void SystemMouseSettings::setDoubleClickSpeed(uint speed)
{
    profiles.current().setValue(kDoubleClickKey, speed);
    const int value = doubleClickTime(speed);
    queue.post([value](PointerSettings &system) { return system.setDoubleClickTime(value); },
               "setDoubleClickSpeed Failed");
}

uint SystemMouseSettings::getCursorSpeed()
{
    return profiles.current().value(kCursorSpeedKey, 0u).toUInt();
}

uint SystemMouseSettings::getVerticalScrollLines()
{
    return profiles.current().value(kScrollLinesKey, 0u).toUInt();
}

uint SystemMouseSettings::getDoubleClickSpeed()
{
    return profiles.current().value(kDoubleClickKey, 0u).toUInt();
}
