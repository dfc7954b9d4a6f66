#pragma once
// The operating system's pointer settings on the sensor page: cursor speed, wheel scroll
// lines and double-click time are stored in the current profile as steps 0..10 and then
// applied to the system; pointer acceleration goes to the system only. The system calls run
// in order on a worker thread, so a slow desktop settings service never freezes the window.
#include "platform/PointerSettingsQueue.h"

#include <QtGlobal>
#include <atomic>

class PointerSettings;
class ProfileStore;

class SystemMouseSettings {
public:
    static constexpr uint kMaxStep = 10;

    SystemMouseSettings(ProfileStore &profiles, PointerSettings &pointer);

    void setAcceleration(bool acceleration);
    void setCursorSpeed(uint cursorSpeed);
    void setVerticalScrollLines(uint lines);
    void setDoubleClickSpeed(uint speed);
    bool getAcceleration();
    uint getCursorSpeed();
    uint getVerticalScrollLines();
    uint getDoubleClickSpeed();

    // Waits until every setter's system call has run; false when timeoutMs passed first.
    bool waitUntilApplied(int timeoutMs);

    // Step 0..10 to the system's values; steps above 10 convert as 10.
    static int systemSpeed(uint step);         // 1, 2, 4, .. 20
    static int scrollLines(uint step);         // 1 .. 11 lines per notch
    static int doubleClickTime(uint step);     // 900 .. 200 ms

private:
    ProfileStore &profiles;
    PointerSettings &pointer;
    // Until the last requested acceleration has reached the system, it is the answer.
    std::atomic<int> accelerationWritesPending{0};
    std::atomic<bool> requestedAcceleration{false};
    PointerSettingsQueue queue;  // last: its destructor runs the calls still queued
};
