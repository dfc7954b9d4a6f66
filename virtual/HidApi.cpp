// The hidapi functions the program calls, answered by the virtual devices of the bus.
#include "device/ReportFrame.h"
#include "device/Scrambler.h"
#include "virtual/BusState.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <hidapi/hidapi.h>
#include <thread>

using namespace vhid;
using namespace vhid::detail;

namespace {

using UniqueLock = std::unique_lock<std::mutex>;
using firmware::Block;

constexpr std::size_t kFeatureReportSize = frame::kFeatureReportSize;
// Added to each challenge byte when the device is told to answer 00H wrongly.
constexpr std::uint8_t kWrongAnswerMask = 0x5A;
constexpr std::uint8_t kChallengeCode = 0x00;
constexpr int kCommandInterfaceNumber = 0;
constexpr int kEventInterfaceNumber = 1;
constexpr const wchar_t *kFailureText = L"the virtual device refused the call";

// One hidapi call in progress. hidraw's hidapi is not safe when entered from two threads at
// once; a call that starts while another runs is recorded, whatever the threads.
class CallGuard {
public:
    static constexpr std::chrono::microseconds kCallTime{100};

    explicit CallGuard(const char *name)
    {
        const char *running = nullptr;
        if (inFlight.fetch_add(1) > 0)
            running = current.load();
        current = name;
        // A call takes its time, as a USB round trip does, so calls from two threads that
        // could overlap do so here.
        std::this_thread::sleep_for(kCallTime);
        if (running) {
            BusState &state = busState();
            std::lock_guard<std::mutex> lock(state.mutex);
            state.violation(std::string(name) + " entered while " + running + " was running on another thread");
        }
    }
    ~CallGuard() { inFlight.fetch_sub(1); }
    CallGuard(const CallGuard &) = delete;
    CallGuard &operator=(const CallGuard &) = delete;

private:
    static inline std::atomic<int> inFlight{0};
    static inline std::atomic<const char *> current{"another call"};
};

std::string hexBytes(const std::uint8_t *bytes, std::size_t length)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        text += i ? " " : "";
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
    return text;
}

// The device's secrecy code: bytes 1 to 6 hold the characters of its secrecy text.
std::array<std::uint8_t, scrambler::kBlockSize> secrecyCode(const Device &device)
{
    std::array<std::uint8_t, scrambler::kBlockSize> code{};
    for (std::size_t i = 0; i < device.secrecyText.size() && i + 1 < code.size() - 1; ++i)
        code[i + 1] = static_cast<std::uint8_t>(device.secrecyText[i]);
    return code;
}

firmware::Response runCommand(Device &device, const Block &plain)
{
    return device.model == Model::Mouse ? firmware::mouseCommand(device.mouseMemory, plain)
                                        : firmware::keyboardCommand(device.keyboardMemory, plain);
}

void storePayload(Device &device)
{
    if (device.model == Model::Mouse)
        firmware::mousePayload(device.mouseMemory, device.dataCommand, device.dataReceived);
    else
        firmware::keyboardPayload(device.keyboardMemory, device.dataCommand, device.dataReceived);
}

void queueAck(BusState &state, Device &device)
{
    if (!device.acknowledges || device.faults.noAcks)
        return;
    device.inFlight.push_back({Interface::Event, std::vector<std::uint8_t>(frame::kAck, frame::kAck + frame::kAckSize),
                               Clock::now() + kAckDelay, false});
    state.changed.notify_all();
}

// The payload of an incoming data phase as input reports of the model's report length,
// cut short where the device is told to stall.
void queueDataToHost(BusState &state, Device &device, const std::vector<std::uint8_t> &payload)
{
    const std::size_t reportLength = std::size_t(device.ids.reportLength);
    const int stallAfter = device.faults.dataReportsBeforeStall;
    int sent = 0;
    for (std::size_t offset = 0; offset < payload.size(); offset += reportLength, ++sent) {
        if (stallAfter >= 0 && sent >= stallAfter)
            break;
        std::vector<std::uint8_t> report(reportLength, 0);
        std::copy_n(payload.begin() + long(offset), std::min(reportLength, payload.size() - offset), report.begin());
        device.inFlight.push_back({Interface::Command, std::move(report), Clock::now(), true});
    }
    state.changed.notify_all();
}

// The device acts on one plain command block.
void actOnCommand(BusState &state, Device &device, const Block &plain)
{
    device.replyReady = false;
    device.dataExpected = 0;  // a new command ends an outgoing data phase in progress
    device.dataReceived.clear();

    firmware::Response response = runCommand(device, plain);
    if (!response.known)
        device.unknownCodes.push_back(plain[firmware::kCode]);
    if (response.isRead) {
        Block &reply = response.reply;
        reply[firmware::kCode] = plain[firmware::kCode];
        if (plain[firmware::kCode] == kChallengeCode && device.faults.wrongChallengeAnswer) {
            for (int i = firmware::kP1; i <= firmware::kP4; ++i)
                reply[std::size_t(i)] ^= kWrongAnswerMask;
        }
        reply[firmware::kCheck] = scrambler::checkByte(reply.data());
        device.reply = reply;
        device.replyReady = true;
        // The program descrambles only replies without a data phase.
        device.replyScrambled = state.scrambling && response.dataToHost.empty();
        queueDataToHost(state, device, response.dataToHost);
    }
    if (response.dataFromHost > 0) {
        device.dataCommand = plain;
        device.dataExpected = response.dataFromHost;
    }
    queueAck(state, device);
}

// A busy device takes its time before it accepts a feature report; the lock is free meanwhile.
void waitWhileBusy(BusState &state, UniqueLock &lock, const hid_device *dev)
{
    const int delayMs = state.device(dev->model).faults.featureReportDelayMs;
    if (delayMs <= 0)
        return;
    const auto until = Clock::now() + std::chrono::milliseconds(delayMs);
    state.changed.wait_until(lock, until, [&] { return !state.isLive(dev); });
}

bool isKnownHandle(const BusState &state, const hid_device *dev)
{
    return dev && state.handles.count(const_cast<hid_device *>(dev));
}

wchar_t *copyText(const wchar_t *text)
{
    const std::size_t size = std::wcslen(text) + 1;
    auto *copy = static_cast<wchar_t *>(std::malloc(size * sizeof(wchar_t)));
    std::wmemcpy(copy, text, size);
    return copy;
}

hid_device_info *describe(const Device &device, Interface iface)
{
    auto *info = static_cast<hid_device_info *>(std::calloc(1, sizeof(hid_device_info)));
    const bool command = iface == Interface::Command;
    info->path = strdup(pathOf(device.model, iface).c_str());
    info->vendor_id = device.ids.vid;
    info->product_id = device.ids.pid;
    info->serial_number = copyText(L"0001");
    info->release_number = 0x0100;
    info->manufacturer_string = copyText(L"Virtual");
    info->product_string = copyText(device.model == Model::Mouse ? L"W3 Mouse" : L"W3 Keyboard");
    info->usage_page = command ? device.ids.usagePage : device.ids.usagePage2;
    info->usage = command ? device.ids.usage : device.ids.usage2;
    info->interface_number = command ? kCommandInterfaceNumber : kEventInterfaceNumber;
    info->bus_type = HID_API_BUS_USB;
    return info;
}

bool matches(const Device &device, unsigned short vendorId, unsigned short productId)
{
    return device.plugged && (vendorId == 0 || vendorId == device.ids.vid)
           && (productId == 0 || productId == device.ids.pid);
}

}  // namespace

int hid_init(void)
{
    busState();
    return 0;
}

int hid_exit(void) { return 0; }

hid_device_info *hid_enumerate(unsigned short vendor_id, unsigned short product_id)
{
    const CallGuard call("hid_enumerate");
    BusState &state = busState();
    UniqueLock lock(state.mutex);
    hid_device_info *first = nullptr;
    hid_device_info **tail = &first;
    for (const Device *device : {&state.keyboard, &state.mouse}) {
        if (!matches(*device, vendor_id, product_id))
            continue;
        for (Interface iface : {Interface::Command, Interface::Event}) {
            *tail = describe(*device, iface);
            tail = &(*tail)->next;
        }
    }
    return first;
}

void hid_free_enumeration(hid_device_info *devs)
{
    const CallGuard call("hid_free_enumeration");
    while (devs) {
        hid_device_info *next = devs->next;
        std::free(devs->path);
        std::free(devs->serial_number);
        std::free(devs->manufacturer_string);
        std::free(devs->product_string);
        std::free(devs);
        devs = next;
    }
}

namespace {

hid_device *openPath(const char *path)
{
    Model model;
    Interface iface;
    if (!parsePath(path, model, iface))
        return nullptr;
    BusState &state = busState();
    UniqueLock lock(state.mutex);
    state.deliverDueReports();  // reports that arrived before this open never reach it
    const Device &device = state.device(model);
    if (!device.plugged || device.faults.failOpen) {
        state.record(Op::OpenFailed, model, iface, -1);
        return nullptr;
    }
    auto *handle = new hid_device_{model, iface, device.generation, false, {}};
    state.handles.insert(handle);
    state.record(Op::Open, model, iface, 0);
    return handle;
}

}  // namespace

hid_device *hid_open_path(const char *path)
{
    const CallGuard call("hid_open_path");
    return openPath(path);
}

hid_device *hid_open(unsigned short vendor_id, unsigned short product_id, const wchar_t *)
{
    const CallGuard call("hid_open");
    std::string path;
    {
        BusState &state = busState();
        UniqueLock lock(state.mutex);
        for (const Device *device : {&state.keyboard, &state.mouse}) {
            if (matches(*device, vendor_id, product_id)) {
                path = pathOf(device->model, Interface::Command);
                break;
            }
        }
    }
    return path.empty() ? nullptr : openPath(path.c_str());
}

int hid_set_nonblocking(hid_device *dev, int nonblock)
{
    const CallGuard call("hid_set_nonblocking");
    BusState &state = busState();
    UniqueLock lock(state.mutex);
    if (!isKnownHandle(state, dev) || !state.isLive(dev))
        return -1;
    dev->nonblocking = nonblock != 0;
    return 0;
}

void hid_close(hid_device *dev)
{
    const CallGuard call("hid_close");
    BusState &state = busState();
    UniqueLock lock(state.mutex);
    state.deliverDueReports();
    if (state.handles.count(dev)) {
        state.record(Op::Close, dev, nullptr, 0, 0);
        state.closeHandle(dev);
    }
}

namespace {

// The frame the device accepts: 9 bytes, report ID 0x00, on the command interface.
bool isFeatureFrame(BusState &state, const hid_device *dev, const unsigned char *data, size_t length,
                    const char *call)
{
    if (dev->iface == Interface::Command && length == kFeatureReportSize && data[frame::kReportIdPos] == frame::kReportId)
        return true;
    state.violation(std::string(call) + " refused: " + std::to_string(length) + " bytes, report ID "
                    + std::to_string(length ? data[0] : -1) + (dev->iface == Interface::Command ? "" : ", event interface"));
    return false;
}

}  // namespace

int hid_send_feature_report(hid_device *dev, const unsigned char *data, size_t length)
{
    const CallGuard call("hid_send_feature_report");
    BusState &state = busState();
    UniqueLock lock(state.mutex);
    if (!isKnownHandle(state, dev))
        return -1;
    state.deliverDueReports();
    waitWhileBusy(state, lock, dev);
    Device &device = state.device(dev->model);
    if (!state.isLive(dev) || device.faults.refuseFeatureReports
        || !isFeatureFrame(state, dev, data, length, "hid_send_feature_report")) {
        state.record(Op::SendFeature, dev, data, length, -1);
        return -1;
    }
    Block plain;
    std::copy_n(data + frame::kBlockPos, plain.size(), plain.begin());
    if (state.scrambling)
        scrambler::descramble(plain.data(), secrecyCode(device).data());
    // The firmware drops a block whose check byte does not match and stalls the transfer.
    if (plain[firmware::kCheck] != scrambler::checkByte(plain.data())) {
        state.violation("command block with a wrong check byte: " + hexBytes(plain.data(), plain.size()));
        state.record(Op::SendFeature, dev, data, length, -1, {plain.begin(), plain.end()});
        return -1;
    }
    state.record(Op::SendFeature, dev, data, length, int(length), {plain.begin(), plain.end()});
    actOnCommand(state, device, plain);
    return int(length);
}

int hid_get_feature_report(hid_device *dev, unsigned char *data, size_t length)
{
    const CallGuard call("hid_get_feature_report");
    BusState &state = busState();
    UniqueLock lock(state.mutex);
    if (!isKnownHandle(state, dev))
        return -1;
    state.deliverDueReports();
    Device &device = state.device(dev->model);
    if (!state.isLive(dev) || !isFeatureFrame(state, dev, data, length, "hid_get_feature_report")) {
        state.record(Op::GetFeature, dev, data, 0, -1);
        return -1;
    }
    // Without a pending read the device answers an empty block.
    const Block plain = device.replyReady ? device.reply : Block{};
    Block sent = plain;
    if (device.replyReady && device.replyScrambled)
        scrambler::scramble(sent.data(), secrecyCode(device).data());
    data[frame::kReportIdPos] = frame::kReportId;
    std::copy(sent.begin(), sent.end(), data + frame::kBlockPos);
    state.record(Op::GetFeature, dev, data, kFeatureReportSize, int(kFeatureReportSize),
                 {plain.begin(), plain.end()});
    return int(kFeatureReportSize);
}

int hid_write(hid_device *dev, const unsigned char *data, size_t length)
{
    const CallGuard call("hid_write");
    BusState &state = busState();
    UniqueLock lock(state.mutex);
    if (!isKnownHandle(state, dev))
        return -1;
    state.deliverDueReports();
    if (!state.isLive(dev)) {
        state.record(Op::Write, dev, data, length, -1);
        return -1;
    }
    Device &device = state.device(dev->model);
    // Output reports exist on the command interface only: report ID 0x00, one report length.
    const std::size_t reportSize = std::size_t(device.ids.reportLength) + 1;
    if (dev->iface != Interface::Command || length != reportSize || data[frame::kReportIdPos] != frame::kReportId) {
        state.violation("hid_write refused: " + std::to_string(length) + " bytes (the device takes "
                        + std::to_string(reportSize) + "), report ID " + std::to_string(length ? data[0] : -1)
                        + (dev->iface == Interface::Command ? "" : ", event interface"));
        state.record(Op::Write, dev, data, length, -1);
        return -1;
    }
    state.record(Op::Write, dev, data, length, int(length));
    if (device.dataExpected == 0)
        return int(length);  // nothing expected: the device ignores the report

    // Byte 0 is the report ID; the rest of the report carries the next payload chunk.
    const std::size_t chunk = std::min(length - 1, std::size_t(device.ids.reportLength));
    device.dataReceived.insert(device.dataReceived.end(), data + 1, data + 1 + chunk);
    if (int(device.dataReceived.size()) >= device.dataExpected) {
        device.dataReceived.resize(std::size_t(device.dataExpected));
        storePayload(device);
        device.dataExpected = 0;
        device.dataReceived.clear();
        queueAck(state, device);
    }
    return int(length);
}

namespace {

int readTimeout(hid_device *dev, unsigned char *data, size_t length, int milliseconds)
{
    BusState &state = busState();
    UniqueLock lock(state.mutex);
    if (!isKnownHandle(state, dev))
        return -1;
    const bool forever = milliseconds < 0;
    const auto deadline = forever ? Clock::time_point::max() : Clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        state.deliverDueReports();
        if (!state.isLive(dev)) {
            state.record(Op::ReadTimeout, dev, data, 0, -1);
            return -1;
        }
        if (!dev->input.empty()) {
            QueuedReport report = std::move(dev->input.front());
            dev->input.pop_front();
            report.fate->read = true;
            const std::size_t delivered = std::min(length, report.bytes.size());
            std::copy_n(report.bytes.begin(), delivered, data);
            state.record(Op::Read, dev, data, delivered, int(delivered));
            return int(delivered);
        }
        if (Clock::now() >= deadline) {
            // A poll that finds nothing is not worth a record; a read that waited in vain is.
            if (milliseconds > 0)
                state.record(Op::ReadTimeout, dev, data, 0, 0);
            return 0;
        }
        // Sleep until the next report arrives, the time is up, or the bus changes.
        const Clock::time_point wake = std::min(deadline, state.nextArrival());
        if (wake == Clock::time_point::max())
            state.changed.wait(lock);
        else
            state.changed.wait_until(lock, wake);
    }
}

}  // namespace

int hid_read_timeout(hid_device *dev, unsigned char *data, size_t length, int milliseconds)
{
    const CallGuard call("hid_read_timeout");
    return readTimeout(dev, data, length, milliseconds);
}

int hid_read(hid_device *dev, unsigned char *data, size_t length)
{
    const CallGuard call("hid_read");
    bool nonblocking = false;
    {
        BusState &state = busState();
        UniqueLock lock(state.mutex);
        if (isKnownHandle(state, dev))
            nonblocking = dev->nonblocking;
    }
    return readTimeout(dev, data, length, nonblocking ? 0 : -1);
}

const wchar_t *hid_error(hid_device *) { return kFailureText; }
