#pragma once
// Process-wide device state shared by the detection, the transport and the controller.
#include <array>
#include <atomic>
#include <cstdint>

// Scrambling and handshake on; set from the catalogue by every detection, cleared by demo mode.
inline std::atomic<bool> encodeEnabled{false};
// The last handshake passed, or demo mode is on.
inline std::atomic<bool> deviceReady{false};
// No report reaches any device; once set it stays set for the life of the process.
inline std::atomic<bool> demoMode{false};
// The loaded language file carried a valid check value; no transfer happens while false.
inline std::atomic<bool> languageIntegrity{true};
// Bytes 1 to 6 hold the six characters of the secrecy text; bytes 0 and 7 stay 0.
inline std::array<std::uint8_t, 8> secrecyCode{};
