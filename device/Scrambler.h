#pragma once
// Check byte and block scrambling of the device protocol: pure functions over one 8-byte block.
#include <cstdint>

namespace scrambler {

constexpr int kBlockSize = 8;
// Table shared by the program and every device built for it.
constexpr char kScrambleTable[kBlockSize + 1] = "KeMswTor";

// Bitwise NOT of the 8-bit sum of block bytes 0 to 6.
std::uint8_t checkByte(const std::uint8_t block[kBlockSize]);

// Scrambles the block in place with the secrecy code (bytes 1 to 6 used).
void scramble(std::uint8_t block[kBlockSize], const std::uint8_t code[kBlockSize]);

// Exact inverse of scramble() for the same code.
void descramble(std::uint8_t block[kBlockSize], const std::uint8_t code[kBlockSize]);

}  // namespace scrambler
