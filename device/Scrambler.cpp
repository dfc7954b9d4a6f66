#include "device/Scrambler.h"

namespace scrambler {
namespace {

constexpr int kFirstCodedByte = 1;
constexpr int kLastCodedByte = 6;
constexpr int kRotateBits = 3;

// The four byte pairs exchanged before the code is applied.
constexpr int kSwapPairs[4][2] = {{0, 5}, {1, 4}, {2, 7}, {3, 6}};

std::uint8_t tableNibbleSwapped(int i)
{
    const auto t = static_cast<std::uint8_t>(kScrambleTable[i]);
    return static_cast<std::uint8_t>((t << 4) | (t >> 4));
}

void swapPairs(std::uint8_t p[kBlockSize])
{
    for (const auto &pair : kSwapPairs) {
        const std::uint8_t t = p[pair[0]];
        p[pair[0]] = p[pair[1]];
        p[pair[1]] = t;
    }
}

void xorCode(std::uint8_t p[kBlockSize], const std::uint8_t code[kBlockSize])
{
    for (int i = kFirstCodedByte; i <= kLastCodedByte; ++i)
        p[i] ^= code[i];
}

// The block as one 64-bit number whose most significant byte is p[0].
void rotateLeft(std::uint8_t p[kBlockSize])
{
    const std::uint8_t first = p[0];
    for (int i = 0; i < kBlockSize - 1; ++i)
        p[i] = static_cast<std::uint8_t>((p[i] << kRotateBits) | (p[i + 1] >> (8 - kRotateBits)));
    p[kBlockSize - 1] = static_cast<std::uint8_t>((p[kBlockSize - 1] << kRotateBits) | (first >> (8 - kRotateBits)));
}

void rotateRight(std::uint8_t p[kBlockSize])
{
    const std::uint8_t last = p[kBlockSize - 1];
    for (int i = kBlockSize - 1; i > 0; --i)
        p[i] = static_cast<std::uint8_t>((p[i] >> kRotateBits) | (p[i - 1] << (8 - kRotateBits)));
    p[0] = static_cast<std::uint8_t>((p[0] >> kRotateBits) | (last << (8 - kRotateBits)));
}

}  // namespace

std::uint8_t checkByte(const std::uint8_t block[kBlockSize])
{
    unsigned sum = 0;
    for (int i = 0; i < kBlockSize - 1; ++i)
        sum += block[i];
    return static_cast<std::uint8_t>(~sum & 0xFF);
}

void scramble(std::uint8_t p[kBlockSize], const std::uint8_t code[kBlockSize])
{
    swapPairs(p);
    xorCode(p, code);
    rotateLeft(p);
    for (int i = 0; i < kBlockSize; ++i)
        p[i] = static_cast<std::uint8_t>(p[i] + tableNibbleSwapped(i));
}

void descramble(std::uint8_t p[kBlockSize], const std::uint8_t code[kBlockSize])
{
    for (int i = 0; i < kBlockSize; ++i)
        p[i] = static_cast<std::uint8_t>(p[i] - tableNibbleSwapped(i));
    rotateRight(p);
    xorCode(p, code);
    swapPairs(p);
}

}  // namespace scrambler
