#pragma once
// The mouse as a w3ctl command sees it: its turn at the mouse and the settings files, the
// detection, and the wait for the last write. w3ctl alone opens the mouse itself
// (DeviceSession); the running program lends its own mouse to the commands it runs for w3ctl.
#include <QString>

class CommandDevice {
public:
    static constexpr int kFinishTimeoutMs = 10000;

    enum class State { NotFound, Refused, Ready, Demo };

    virtual ~CommandDevice() = default;

    // Waits up to waitMs for the command's turn at the mouse and the settings files and keeps
    // it to the end of the command: CliFailure with exit code 3 when it does not come.
    virtual void lock(int waitMs) = 0;
    // Takes the turn, then tells whether a mouse is there and answered the handshake.
    virtual State open(int waitMs) = 0;
    virtual QString productName() const = 0;
    // Waits until the last write has reached the mouse; false when it did not in time.
    virtual bool finish(int timeoutMs = kFinishTimeoutMs) = 0;
    // Called once, before the command's first change: a mouse lent by the running program
    // waits there while its window holds changes not applied (CliFailure with exit code 3
    // when they stay). A command that only reads never comes here.
    virtual void mayChange() { }

    // Opens and insists on a mouse that can be written: exit code 2 without one, 3 when it
    // fails the handshake.
    void openReady(int waitMs);

    // What a command says when its turn did not come within waitMs.
    static QString busyMessage(int waitMs);
};
