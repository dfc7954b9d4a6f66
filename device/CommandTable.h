#pragma once
// The shape of one device command as data: where the slot's arguments go in the command
// block, the constant parameter bytes, the data phase and the pauses of a write, and where
// the results of a read come from. Each command set lists its commands as rows of these.
#include <array>

namespace commands {

using uchar = unsigned char;

// Block positions of the parameters (B1..B6 of a command) and results (A1..A6 of a reply);
// they match the frame's first to last parameter position.
constexpr uchar B1 = 1, B2 = 2, B3 = 3, B4 = 4, B5 = 5, B6 = 6;
constexpr uchar A1 = 1, A2 = 2, A3 = 3, A4 = 4, A5 = 5, A6 = 6;
constexpr int kParamCount = 6;

// Block positions in the order of the slot's arguments (or outputs); 0 ends the list.
using Positions = std::array<uchar, kParamCount>;
// Constant parameter bytes B1..B6; the slot's arguments are written over them.
using ParamBytes = std::array<uchar, kParamCount>;

// Whether the write transfer runs the settle pause after its feature report (and again after
// its data phase).
enum Pause : bool { NoPause = false, SettlePause = true };
// Whether the slot sleeps 8 ms after starting its transfer.
enum After : bool { ReturnAtOnce = false, Sleep8ms = true };
// What a read leaves in its outputs when its transfer fails.
enum class OnFailure { KeepOutputs, ZeroOutputs };

struct SetRow {
    uchar code;
    Positions arguments;
    ParamBytes fixed;
    int payloadLength;
    Pause pause;
    After after;
};

struct GetRow {
    uchar code;
    Positions arguments;
    ParamBytes fixed;
    Positions results;
    int payloadLength;
    OnFailure onFailure;
};

// Number of positions a row lists (the list ends at the first 0).
constexpr int countPositions(const Positions &positions)
{
    int count = 0;
    while (count < kParamCount && positions[count] != 0)
        ++count;
    return count;
}

}  // namespace commands
