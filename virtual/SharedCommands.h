#pragma once
// The commands the mouse and the keyboard share: 00H, 01H, 02H, 80H, 81H and 82H.
#include "virtual/Firmware.h"

namespace vhid::firmware {

// The memory the shared commands use, whichever model holds it.
struct SharedState {
    std::uint8_t &reportRate;
    std::uint8_t &profile;
    const std::uint8_t (&firmware)[2];
};

// Handles a shared command; false when the code is not one of them.
bool sharedCommand(SharedState state, const Block &command, Response &response);

}  // namespace vhid::firmware
