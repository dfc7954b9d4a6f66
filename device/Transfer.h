#pragma once
// One transfer of the transport: a command's feature report, its reply and its data phase.
// A write runs on the pool and may outlast the device object that started it (a stalled USB
// transfer can take longer than any shutdown wait), so a transfer owns copies of everything
// it uses; the token and the acknowledgement flag live in memory it shares.
#include "device/DeviceEntry.h"
#include "device/HidApi.h"
#include "device/ReportFrame.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

using uchar = unsigned char;

// The transport token (`idle`: no transfer pending) and the flag the monitor sets when the
// device acknowledges.
struct TransportFlags {
    std::atomic<bool> idle{true};
    std::atomic<bool> ackFlag{true};
};

// A taken token; given back when released or destroyed, so no exception can keep it taken.
class TokenHold {
public:
    TokenHold() = default;
    explicit TokenHold(std::shared_ptr<TransportFlags> flags) : flags(std::move(flags)) {}
    TokenHold(TokenHold &&) = default;
    TokenHold &operator=(TokenHold &&other) noexcept;
    TokenHold(const TokenHold &) = delete;
    TokenHold &operator=(const TokenHold &) = delete;
    ~TokenHold() { release(); }

    void release();
    TransportFlags *sharedFlags() const { return flags.get(); }

private:
    std::shared_ptr<TransportFlags> flags;
};

class Transfer {
public:
    using FeatureReport = std::array<uchar, frame::kFeatureReportSize>;

    static constexpr int kAckPollMs = 64;
    static constexpr int kAckPasses = 256;
    static constexpr int kDataReportGapMs = 8;
    // A device that stops sending during an incoming data phase gives up after this long.
    static constexpr int kDataReadTimeoutMs = 1000;

    // outReport is the built feature report; payload holds dataLength bytes for a write's data
    // phase (null for a read). The secrecy code is taken now, while the token is held.
    Transfer(TokenHold token, std::shared_ptr<DeviceEntry> entry, const uchar outReport[frame::kFeatureReportSize],
             const uchar *payload, int dataLength);

    // The write: feature report, settle pause, outgoing data phase, settle pause.
    bool sendPacket(bool waitForAck);
    // The read: feature report, reply into inReport (which keeps the caller's bytes when the
    // transfer fails), incoming data phase into dataArea.
    bool queryPacket(uchar inReport[frame::kFeatureReportSize], uchar *dataArea);

private:
    bool mayTransfer() const;
    bool reopen();
    bool sendCommandBlock();
    bool writeDataPhase();
    bool readDataPhase(uchar *dataArea);
    void waitAck();
    void end();

    TokenHold token;
    std::shared_ptr<DeviceEntry> entry;
    FeatureReport outReport{};
    std::vector<uchar> payload;
    int dataLength = 0;
    std::array<std::uint8_t, frame::kBlockSize> secrecy{};
    HidHandle commandHandle;
    // Input reports reach only the handles open when they arrive: the data phase is read
    // through a handle opened before the command that makes the device send.
    HidHandle readerHandle;
};
