#pragma once
// Pointer parameters through the X server's core pointer control, for sessions without a
// desktop settings service.
// - Speed: the acceleration fraction becomes speed / 10 (XChangePointerControl).
// - Acceleration (two thresholds and the level 0..2): level 0 sets threshold 0, so the speed
//   fraction applies to all motion (a constant gain); level 1 or 2 sets the threshold to the
//   first value (4 when that is not positive), so the fraction applies to fast motion only.
//   readMouse reports the X threshold twice and level 1 when it is positive.
// - Double-click time and wheel scroll lines: X has neither; they reach this program only.
// One connection to the display, opened at the first call and used under a lock, so any
// thread may call and a read costs one round trip.
#include "platform/PointerSettings.h"

#include <QMutex>

typedef struct _XDisplay Display;

class X11PointerSettings : public PointerSettings {
public:
    X11PointerSettings() = default;
    ~X11PointerSettings() override;
    X11PointerSettings(const X11PointerSettings &) = delete;
    X11PointerSettings &operator=(const X11PointerSettings &) = delete;

    bool setPointerSpeed(int systemSpeed) override;
    bool setWheelScrollLines(int lines) override;
    bool setDoubleClickTime(int ms) override;
    bool readMouse(int values[MouseValueCount]) override;
    bool writeMouse(const int values[MouseValueCount]) override;

private:
    // The connection, opened on first use; null without a display. Call with lock held.
    Display *connection();

    QMutex lock;
    Display *display = nullptr;
    bool opened = false;
};
