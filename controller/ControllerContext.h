#pragma once
// State the controller's concerns share: the device object and the message list.
#include <QStringList>
#include <climits>

class Hid_Thread;

struct ControllerContext {
    // Device id that takes neither the keyboard nor the mouse branch.
    static constexpr uint kNoDevice = UINT_MAX;

    // Set by the shell right after the view is built; every device command goes through it.
    Hid_Thread *hidThread = nullptr;
    // The message texts "msg/0".. of the current language; empty until one is loaded.
    QStringList msgStrings;

    uint deviceId() const;
    // Entry i of the message list, or an empty text when the list has no such entry.
    QString message(int i) const { return msgStrings.value(i); }
};
