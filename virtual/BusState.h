#pragma once
// The state behind vhid::Bus and the hidapi functions, shared by both under one lock.
#include "virtual/Firmware.h"
#include "virtual/VirtualBus.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <set>
#include <string>

// The handle hidapi hands out; opaque to the program.
struct hid_device_ {
    vhid::Model model;
    vhid::Interface iface;
    unsigned generation;  // the plug cycle it was opened in; stale after an unplug
    bool nonblocking = false;
};
typedef struct hid_device_ hid_device;  // as hidapi names it

namespace vhid::detail {

using Clock = std::chrono::steady_clock;

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

// One input report waiting to be read, available from readyAt on.
struct PendingReport {
    std::vector<std::uint8_t> bytes;
    Clock::time_point readyAt;
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

    // Input reports of the command interface (incoming data phase) and of the event interface.
    std::deque<PendingReport> commandInput;
    std::deque<PendingReport> eventInput;

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
    std::set<hid_device *> handles;

    Device &device(Model model) { return model == Model::Mouse ? mouse : keyboard; }
    const Device &device(Model model) const { return model == Model::Mouse ? mouse : keyboard; }

    // A handle works while its device stays plugged in the plug cycle it was opened in.
    bool isLive(const hid_device *handle) const;
    bool hasOpenEventHandle(const Device &device) const;
    void record(Op op, const hid_device *handle, const unsigned char *bytes, std::size_t length,
                int result, std::vector<std::uint8_t> plainBlock = {});
    void record(Op op, Model model, Interface iface, int result);
};

// The one bus of the process, its catalogue read on first use.
BusState &busState();

// Device side of a plug change: invalidates open handles and pending traffic.
void startPlugCycle(Device &device, bool plugged);

std::string pathOf(Model model, Interface iface);
// False when the path names no interface of the bus.
bool parsePath(const char *path, Model &model, Interface &iface);

// Time the firmware takes from a command to its acknowledgement.
constexpr std::chrono::milliseconds kAckDelay{10};

}  // namespace vhid::detail
