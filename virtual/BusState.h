#pragma once
// The state behind vhid::Bus and the hidapi functions, shared by both under one lock.
#include "virtual/Firmware.h"
#include "virtual/VirtualBus.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>

namespace vhid::detail {

using Clock = std::chrono::steady_clock;

// Whether any reader got one input report, shared by the copies in the handles' queues.
struct ReportFate {
    bool dataPhase = false;  // a payload chunk the program asked for (not an acknowledgement)
    bool read = false;
};

// One input report in the queue of one open handle.
struct QueuedReport {
    std::vector<std::uint8_t> bytes;
    std::shared_ptr<ReportFate> fate;
};

}  // namespace vhid::detail

// The handle hidapi hands out; opaque to the program. Like a hidraw file, each has its own
// queue of the input reports that arrived while it was open.
struct hid_device_ {
    vhid::Model model;
    vhid::Interface iface;
    unsigned generation;  // the plug cycle it was opened in; stale after an unplug
    bool nonblocking = false;
    std::deque<vhid::detail::QueuedReport> input;
};
typedef struct hid_device_ hid_device;  // as hidapi names it

namespace vhid::detail {

// Identification of one model, from the catalogue section of its device id.
struct Ids {
    std::uint16_t vid = 0;
    std::uint16_t pid = 0;
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    std::uint16_t usagePage2 = 0;
    std::uint16_t usage2 = 0;
    int reportLength = 0;
};

// One input report on its way to the host: it reaches the handles of its interface that are
// open at readyAt, and is lost when there are none.
struct PendingReport {
    Interface iface;
    std::vector<std::uint8_t> bytes;
    Clock::time_point readyAt;
    bool dataPhase = false;
};

struct Device {
    explicit Device(Model model) : model(model) {}

    Model model;
    Ids ids;
    bool plugged = false;
    unsigned generation = 0;
    Faults faults;
    std::string secrecyText;
    bool acknowledges = true;
    MouseMemory mouseMemory;
    KeyboardMemory keyboardMemory;

    // The answer to the last read command, plain; scrambled on the way out when no data
    // phase follows.
    bool replyReady = false;
    firmware::Block reply{};
    bool replyScrambled = false;

    // Input reports sent but not yet arrived: the incoming data phase on the command
    // interface and acknowledgements on the event interface.
    std::deque<PendingReport> inFlight;

    // Outgoing data phase in progress: the command it follows and what has arrived so far.
    firmware::Block dataCommand{};
    int dataExpected = 0;
    std::vector<std::uint8_t> dataReceived;

    std::vector<std::uint8_t> unknownCodes;
};

struct BusState {
    mutable std::mutex mutex;
    std::condition_variable changed;  // new input, a plug change or a reset
    Device keyboard{Model::Keyboard};
    Device mouse{Model::Mouse};
    bool scrambling = true;  // the catalogue's "common/isEncode"
    std::vector<Record> records;
    std::function<void(const Record &)> recordSink;  // kept across resets
    std::set<hid_device *> handles;
    std::vector<std::string> violations;

    Device &device(Model model) { return model == Model::Mouse ? mouse : keyboard; }
    const Device &device(Model model) const { return model == Model::Mouse ? mouse : keyboard; }

    // A handle works while its device stays plugged in the plug cycle it was opened in.
    bool isLive(const hid_device *handle) const;
    void record(Op op, const hid_device *handle, const unsigned char *bytes, std::size_t length,
                int result, std::vector<std::uint8_t> plainBlock = {});
    void record(Op op, Model model, Interface iface, int result);
    void violation(const std::string &what);

    // Moves the reports whose time has come into the queues of the handles open now. Runs
    // first in every call, so a report reaches exactly the handles open when it arrived.
    void deliverDueReports();
    // The earliest time a report in flight arrives, or max() when none is.
    Clock::time_point nextArrival() const;
    // Forgets a handle; a data-phase report whose last copy goes unread is lost.
    void closeHandle(hid_device *handle);
};

// The one bus of the process, its catalogue read on first use.
BusState &busState();

// Device side of a plug change: invalidates open handles and pending traffic.
void startPlugCycle(BusState &state, Device &device, bool plugged);

std::string pathOf(Model model, Interface iface);
// False when the path names no interface of the bus.
bool parsePath(const char *path, Model &model, Interface &iface);

// Time the firmware takes from a command to its acknowledgement.
constexpr std::chrono::milliseconds kAckDelay{10};

}  // namespace vhid::detail
