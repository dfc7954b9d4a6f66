#pragma once
// A device object wired to one virtual device, and what the command tests read off the bus.
#include "device/Hid_Thread.h"
#include "virtual/VirtualBus.h"

#include <QByteArray>
#include <QMetaType>
#include <chrono>
#include <functional>
#include <initializer_list>
#include <vector>

namespace rig {

// A Set as the test calls it.
using SetCall = std::function<void(Hid_Thread &)>;
// A Get as the test calls it: outputs and buffers start as `seed` bytes (a version text as
// "previous"); the answer is everything the caller got back, in argument order, with a bool
// result first.
using GetCall = std::function<QByteArray(Hid_Thread &, uchar seed)>;

constexpr uchar kSeed = 0x5A;
constexpr int kSettlePauseMs = 128;  // no monitor runs, so no acknowledgement shortens it
// A settle pause is present when the gap is at least this long; a gap without one is a few
// microseconds of work.
constexpr int kPauseThresholdMs = 100;
constexpr int kAfterSleepMs = 8;
constexpr int kDataGapMs = 8;
// How the bus may fail a transfer without the token being involved.
enum class Failure { Unplugged, DemoMode, LanguageIntegrityLost };

QByteArray bytes(std::initializer_list<int> values);
QByteArray filled(int size, uchar value);
// size bytes counting up from start (mod 256).
QByteArray pattern(int size, int start);
// The plain 8-byte command block: code and parameters as given, zeros, then the check byte.
QByteArray commandBlock(std::initializer_list<int> codeAndParams);

class CommandRig {
public:
    explicit CommandRig(vhid::Model model);

    // Factory bus, the model plugged, process flags as after a passed handshake, devices
    // scanned, records cleared.
    void reset();
    // Scans the bus again: the catalogue entry of the model sits at the searched position 1.
    void rescan();
    void apply(Failure failure);

    // Holds the transport token with a Set that the busy device does not finish until
    // releaseToken() pulls the device out; the rig then replugs and rescans.
    void holdToken();
    void releaseToken();

    // After the running transfer: the bus saw no fault of the program (overlapping hidapi
    // calls, refused reports, lost data-phase reports).
    void verifyNoViolations();

    std::vector<vhid::Record> commandRecords(vhid::Op op) const;
    int commandTraffic() const;  // feature reports and data reports of any kind
    QByteArray sentBlock() const;  // plain block of the one feature report sent

    vhid::Bus &bus() const { return vhid::Bus::instance(); }
    vhid::Model model() const { return deviceModel; }
    Hid_Thread hid;

private:
    vhid::Model deviceModel;
};

using Clock = std::chrono::steady_clock;
qint64 msBetween(Clock::time_point from, Clock::time_point to);

}  // namespace rig

Q_DECLARE_METATYPE(rig::SetCall)
Q_DECLARE_METATYPE(rig::GetCall)
