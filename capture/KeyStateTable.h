#pragma once
// The last reported state of every usage code: a key-down of a key already down (the repeats
// of a held key) and a release of a key never seen pressed are not news.
#include <QtGlobal>
#include <array>

class KeyStateTable {
public:
    // Records the state; false when it equals the state already recorded.
    bool change(uchar usage, bool pressed)
    {
        const uchar state = pressed ? kPressed : kReleased;
        if (states_[usage] == state)
            return false;
        states_[usage] = state;
        return true;
    }

private:
    static constexpr uchar kReleased = 0;
    static constexpr uchar kPressed = 1;
    std::array<uchar, 256> states_{};
};
