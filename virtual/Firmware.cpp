#include "virtual/Firmware.h"

#include "virtual/SharedCommands.h"

#include <algorithm>

namespace vhid::firmware {

bool isReadCode(std::uint8_t code)
{
    constexpr std::uint8_t kReadBit = 0x80;
    constexpr std::uint8_t kChallengeCode = 0x00;
    return code == kChallengeCode || (code & kReadBit) != 0;
}

std::vector<std::uint8_t> sized(const std::vector<std::uint8_t> &stored, std::size_t size)
{
    std::vector<std::uint8_t> bytes(size, 0);
    std::copy_n(stored.begin(), std::min(size, stored.size()), bytes.begin());
    return bytes;
}

bool sharedCommand(SharedState state, const Block &command, Response &response)
{
    enum : std::uint8_t {
        kChallenge = 0x00,
        kSetReportRate = 0x01,
        kSetProfile = 0x02,
        kGetFirmware = 0x80,
        kGetReportRate = 0x81,
        kGetProfile = 0x82,
    };
    switch (command[kCode]) {
    case kChallenge:
        // A device built for this program echoes the four challenge bytes.
        std::copy(command.begin() + kP1, command.begin() + kP4 + 1, response.reply.begin() + kP1);
        break;
    case kSetReportRate:
        state.reportRate = command[kP1];
        break;
    case kSetProfile:
        state.profile = command[kP1];
        break;
    case kGetFirmware:
        response.reply[kP1] = state.firmware[0];
        response.reply[kP2] = state.firmware[1];
        break;
    case kGetReportRate:
        response.reply[kP1] = state.reportRate;
        break;
    case kGetProfile:
        response.reply[kP1] = state.profile;
        break;
    default:
        return false;
    }
    response.isRead = isReadCode(command[kCode]);
    return true;
}

}  // namespace vhid::firmware
