#pragma once
// The firmware of the virtual devices: what each command code does to device memory and what
// it answers. Pure functions over one plain command block; framing, scrambling and timing are
// the bus's business.
#include "virtual/VirtualBus.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vhid::firmware {

using Block = std::array<std::uint8_t, 8>;

// What one command asks of the device.
struct Response {
    bool known = true;                     // false: the model has no such code
    bool isRead = false;                   // a reply block follows
    Block reply{};                         // results at A1..A6 (A0 and A7 are set by the bus)
    std::vector<std::uint8_t> dataToHost;  // payload of an incoming data phase
    int dataFromHost = 0;                  // payload length of an outgoing data phase
};

// A read uses the code of its write with bit 7 set; 00H, the challenge, is answered as well.
bool isReadCode(std::uint8_t code);

MouseMemory factoryMouse();
KeyboardMemory factoryKeyboard();

Response mouseCommand(MouseMemory &memory, const Block &command);
// Stores the payload of a complete outgoing data phase that followed `command`.
void mousePayload(MouseMemory &memory, const Block &command, const std::vector<std::uint8_t> &payload);

Response keyboardCommand(KeyboardMemory &memory, const Block &command);
void keyboardPayload(KeyboardMemory &memory, const Block &command, const std::vector<std::uint8_t> &payload);

// Block positions (B0..B7 of a command, A0..A7 of a reply).
constexpr int kCode = 0;
constexpr int kP1 = 1;
constexpr int kP2 = 2;
constexpr int kP3 = 3;
constexpr int kP4 = 4;
constexpr int kP5 = 5;
constexpr int kP6 = 6;
constexpr int kCheck = 7;

// A stored buffer of a fixed size: what memory holds, zero-filled or cut to `size`.
std::vector<std::uint8_t> sized(const std::vector<std::uint8_t> &stored, std::size_t size);

}  // namespace vhid::firmware
