// The virtual keyboard: its command set and its factory memory.
#include "virtual/Firmware.h"
#include "virtual/SharedCommands.h"

#include <algorithm>

namespace vhid::firmware {
namespace {

enum Code : std::uint8_t {
    kSetOptions = 0x03,
    kSetSensitivity = 0x04,
    kSetIndicator = 0x07,
    kSetLedType = 0x08,
    kSetMode = 0x09,
    kSetKeyMatrix = 0x0D,
    kSetKeyOnOff = 0x0E,
    kSetMacro = 0x11,
    kSetPicture = 0x12,
    kSetRecovery = 0x13,
    kSetColor = 0x14,
    kGetOptions = 0x83,
    kGetSensitivity = 0x84,
    kGetLedType = 0x88,
    kGetMode = 0x89,
    kGetKeyMatrix = 0x8D,
    kGetKeyOnOff = 0x8E,
    kGetMacro = 0x91,
    kGetPicture = 0x92,
    kGetColor = 0x94,
};

constexpr std::size_t kKeyMatrixSize = 512;
constexpr std::size_t kKeyOnOffSize = 21;
constexpr std::size_t kMacroSize = 192;
constexpr std::size_t kPictureSize = 512;
constexpr std::size_t kRgb = 3;
constexpr std::size_t kKeyCodeSize = 4;
constexpr std::uint8_t kFirstKeyUsage = 0x04;  // "A" on the keyboard usage page

// Four bytes at B1..B4 (or A1..A4).
void copyFour(const std::uint8_t *from, std::uint8_t *to) { std::copy(from, from + 4, to); }

}  // namespace

KeyboardMemory factoryKeyboard()
{
    KeyboardMemory memory;
    memory.sensitivity[0] = memory.sensitivity[1] = memory.sensitivity[2] = memory.sensitivity[3] = 5;
    memory.ledType[1] = 1;    // effect: static
    memory.ledType[3] = 255;  // full brightness
    // Key k sends the usage 0x04 + k as a single key: 00 00 usage 00.
    memory.keyMatrix.assign(kKeyMatrixSize, 0);
    for (std::size_t key = 0; key < kKeyMatrixSize / kKeyCodeSize; ++key)
        memory.keyMatrix[key * kKeyCodeSize + 2] = std::uint8_t(kFirstKeyUsage + key);
    memory.keyOnOff.assign(kKeyOnOffSize, 0xFF);  // every key on
    return memory;
}

Response keyboardCommand(KeyboardMemory &m, const Block &b)
{
    Response r;
    if (sharedCommand({m.reportRate, m.profile, m.firmware}, b, r))
        return r;
    r.isRead = isReadCode(b[kCode]);
    Block &a = r.reply;
    switch (b[kCode]) {
    case kSetOptions:
        copyFour(&b[kP1], m.options);
        break;
    case kGetOptions:
        copyFour(m.options, &a[kP1]);
        break;
    case kSetSensitivity:
        copyFour(&b[kP1], m.sensitivity);
        break;
    case kGetSensitivity:
        copyFour(m.sensitivity, &a[kP1]);
        break;
    case kSetIndicator:
        m.indicator[0] = b[kP1];
        m.indicator[1] = b[kP2];
        break;
    case kSetLedType:
        std::copy(b.begin() + kP1, b.begin() + kP6 + 1, m.ledType);
        break;
    case kGetLedType:
        std::copy(m.ledType, m.ledType + 6, a.begin() + kP1);
        break;
    case kSetMode:
        m.mode = b[kP1];
        break;
    case kGetMode:
        a[kP1] = m.mode;
        break;
    case kSetKeyMatrix:
        r.dataFromHost = kKeyMatrixSize;
        break;
    case kGetKeyMatrix:
        r.dataToHost = sized(m.keyMatrix, kKeyMatrixSize);
        break;
    case kSetKeyOnOff:
        r.dataFromHost = kKeyOnOffSize;
        break;
    case kGetKeyOnOff:
        r.dataToHost = sized(m.keyOnOff, kKeyOnOffSize);
        break;
    case kSetMacro:
        r.dataFromHost = kMacroSize;
        break;
    case kGetMacro:
        a[kP2] = b[kP2];
        r.dataToHost = sized(m.macros[b[kP2]], kMacroSize);
        break;
    case kSetPicture:
        r.dataFromHost = kPictureSize;
        break;
    case kGetPicture:
        a[kP2] = b[kP2];
        r.dataToHost = sized(m.pictures[b[kP2]], kPictureSize);
        break;
    case kSetRecovery:
        ++m.recoveries;
        break;
    case kSetColor:
        m.colors[b[kP2]] = {b[kP3], b[kP4], b[kP5]};
        break;
    case kGetColor: {
        const std::vector<std::uint8_t> rgb = sized(m.colors[b[kP2]], kRgb);
        a[kP2] = b[kP2];
        std::copy(rgb.begin(), rgb.end(), a.begin() + kP3);
        break;
    }
    default:
        r.known = false;
        r.isRead = false;
        break;
    }
    return r;
}

void keyboardPayload(KeyboardMemory &m, const Block &b, const std::vector<std::uint8_t> &payload)
{
    switch (b[kCode]) {
    case kSetKeyMatrix:
        m.keyMatrix = payload;
        break;
    case kSetKeyOnOff:
        m.keyOnOff = payload;
        break;
    case kSetMacro:
        m.macros[b[kP2]] = payload;
        break;
    case kSetPicture:
        m.pictures[b[kP2]] = payload;
        break;
    default:
        break;
    }
}

}  // namespace vhid::firmware
