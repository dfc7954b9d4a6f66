// The virtual W3 mouse: its command set and its factory memory.
#include "virtual/Firmware.h"
#include "virtual/SharedCommands.h"

#include <algorithm>

namespace vhid::firmware {
namespace {

enum Code : std::uint8_t {
    kSetFunctionOption = 0x03,
    kSetLedInstruct = 0x07,
    kSetDpiStage = 0x0B,
    kSetLedEffect = 0x0D,
    kSetStageColors = 0x10,
    kSetDpiSet = 0x11,
    kSetKeyMatrix = 0x12,
    kSetMacro = 0x13,
    kGetFunctionOption = 0x83,
    kGetLedInstruct = 0x87,
    kGetDpiStage = 0x8B,
    kGetLedEffect = 0x8D,
    kGetStageColors = 0x90,
    kGetDpiSet = 0x91,
    kGetKeyMatrix = 0x92,
    kGetMacro = 0x93,
};

constexpr std::size_t kDpiCodes = 8;
constexpr std::size_t kKeyMatrixSize = 64;
constexpr std::size_t kMacroSize = 128;
constexpr std::size_t kStageColorsSize = 24;
constexpr std::size_t kPackedColorIdsSize = 4;
constexpr int kColorIdType = 2;
constexpr int kColorTypes = 3;
constexpr std::size_t kLedOptions = 3;

// Colour ids travel packed two to a byte; palettes as 8 stages of red, green, blue.
std::size_t stageColorsLength(int type)
{
    return type == kColorIdType ? kPackedColorIdsSize : kStageColorsSize;
}

bool isColorType(int type) { return type >= 0 && type < kColorTypes; }

}  // namespace

MouseMemory factoryMouse()
{
    MouseMemory memory;
    memory.sensorType = std::uint8_t(Sensor::ANDS3320);
    memory.ledInstruct[0] = {0, 0, 0};  // option1 0: the logo light takes colour ids
    // Lighting palette and DPI indicator: red, green, blue, magenta, cyan, yellow, white, orange.
    const std::vector<std::uint8_t> palette = {255, 0, 0,   0, 255, 0,   0, 0, 255,   255, 0, 255,
                                               0, 255, 255, 255, 255, 0, 255, 255, 255, 255, 127, 0};
    memory.colors[0] = palette;
    memory.colors[1] = palette;
    memory.colors[2] = {0x10, 0x32, 0x54, 0x76};  // colour ids 0..7, even stage in the low nibble
    // 500, 1000, 1500, 2000, 3000, 4000, 5000 and 6000 dpi at 250 dpi per step.
    memory.dpiCodes = {0x02, 0x04, 0x06, 0x08, 0x0C, 0x10, 0x14, 0x18};
    // As the factory profile: left, right, middle, back, forward, DPI +, DPI -, seven buttons
    // without a function, then wheel up and wheel down.
    memory.keyMatrix = {0x01, 0x00, 0xF0, 0x00, 0x01, 0x00, 0xF1, 0x00, 0x01, 0x00, 0xF2, 0x00,
                        0x01, 0x00, 0xF3, 0x00, 0x01, 0x00, 0xF4, 0x00, 0x07, 0x00, 0x01, 0x00,
                        0x07, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0x00, 0x01, 0x00,
                        0x04, 0x00, 0x02, 0x00};
    return memory;
}

Response mouseCommand(MouseMemory &m, const Block &b)
{
    Response r;
    if (sharedCommand({m.reportRate, m.profile, m.firmware}, b, r))
        return r;
    r.isRead = isReadCode(b[kCode]);
    Block &a = r.reply;
    switch (b[kCode]) {
    case kSetFunctionOption:
        m.sensorType = b[kP1];
        m.functionRate = b[kP2];
        m.functionOption1 = b[kP3];
        m.functionOption2 = b[kP4];
        break;
    case kGetFunctionOption:
        a[kP1] = m.sensorType;
        a[kP2] = m.functionRate;
        a[kP3] = m.functionOption1;
        a[kP4] = m.functionOption2;
        break;
    case kSetLedInstruct:
        m.ledInstruct[b[kP1]] = {b[kP2], b[kP3], b[kP4]};
        break;
    case kGetLedInstruct: {
        const std::vector<std::uint8_t> options = sized(m.ledInstruct[b[kP1]], kLedOptions);
        a[kP1] = b[kP1];
        std::copy(options.begin(), options.end(), a.begin() + kP2);
        break;
    }
    case kSetDpiStage:
        m.dpiStage = b[kP1];
        break;
    case kGetDpiStage:
        a[kP1] = m.dpiStage;
        break;
    case kSetLedEffect:
        std::copy(b.begin() + kP1, b.begin() + kP3 + 1, m.ledEffect);
        break;
    case kGetLedEffect:
        std::copy(m.ledEffect, m.ledEffect + 3, a.begin() + kP1);
        break;
    case kSetStageColors:
        r.dataFromHost = b[kP2];  // the payload length, 4 or 24
        break;
    case kGetStageColors: {
        const int type = b[kP1];
        const std::size_t length = stageColorsLength(type);
        a[kP1] = b[kP1];
        a[kP2] = std::uint8_t(length);
        r.dataToHost = isColorType(type) ? sized(m.colors[type], length) : std::vector<std::uint8_t>(length, 0);
        break;
    }
    case kSetDpiSet:
        m.dpiMaxStage = b[kP1];
        r.dataFromHost = kDpiCodes;
        break;
    case kGetDpiSet:
        a[kP1] = m.dpiMaxStage;
        r.dataToHost = sized(m.dpiCodes, kDpiCodes);
        break;
    case kSetKeyMatrix:
        r.dataFromHost = kKeyMatrixSize;
        break;
    case kGetKeyMatrix:
        a[kP1] = b[kP1];
        r.dataToHost = sized(m.keyMatrix, kKeyMatrixSize);
        break;
    case kSetMacro:
        r.dataFromHost = kMacroSize;
        break;
    case kGetMacro:
        a[kP1] = b[kP1];
        r.dataToHost = sized(m.macros[b[kP1]], kMacroSize);
        break;
    default:
        r.known = false;
        r.isRead = false;
        break;
    }
    return r;
}

void mousePayload(MouseMemory &m, const Block &b, const std::vector<std::uint8_t> &payload)
{
    switch (b[kCode]) {
    case kSetStageColors:
        if (isColorType(b[kP1]))
            m.colors[b[kP1]] = payload;
        break;
    case kSetDpiSet:
        m.dpiCodes = payload;
        break;
    case kSetKeyMatrix:
        m.keyMatrix = payload;
        break;
    case kSetMacro:
        m.macros[b[kP1]] = payload;
        break;
    default:
        break;
    }
}

}  // namespace vhid::firmware
