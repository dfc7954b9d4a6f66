#pragma once
// The one way into hidapi. Its hidraw back end is not safe when two threads call it at once
// (an enumeration racing an open corrupts its heap), so every call takes one process-wide
// lock, and nothing holds that lock while it waits for the device to send: a read that waits
// polls, so no caller waits longer than one short call of another thread.
#include <QList>
#include <QString>
#include <cstddef>
#include <cstdint>

struct hid_device_;
typedef struct hid_device_ hid_device;

// One open interface; closed through HidApi when it goes.
class HidHandle {
public:
    HidHandle() = default;
    explicit HidHandle(hid_device *device) : device(device) {}
    HidHandle(HidHandle &&other) noexcept : device(other.device) { other.device = nullptr; }
    HidHandle &operator=(HidHandle &&other) noexcept;
    HidHandle(const HidHandle &) = delete;
    HidHandle &operator=(const HidHandle &) = delete;
    ~HidHandle() { reset(); }

    hid_device *get() const { return device; }
    explicit operator bool() const { return device != nullptr; }
    void reset();

private:
    hid_device *device = nullptr;
};

class HidApi {
public:
    struct InterfaceInfo {
        std::uint16_t usagePage = 0;
        std::uint16_t usage = 0;
        QString path;
        QString manufacturer;  // as the device names its maker; empty when it does not
    };

    // Interfaces of the device with these ids, in the order hidapi lists them.
    static QList<InterfaceInfo> enumerate(std::uint16_t vendorId, std::uint16_t productId);
    // Opens the path in blocking mode; empty when the open or the mode switch fails.
    static HidHandle open(const QString &path);
    static void close(hid_device *device);

    // Results as hidapi gives them: bytes moved, or a negative value on failure.
    static int sendFeatureReport(const HidHandle &handle, const unsigned char *data, std::size_t length);
    static int getFeatureReport(const HidHandle &handle, unsigned char *data, std::size_t length);
    static int write(const HidHandle &handle, const unsigned char *data, std::size_t length);
    // One input report within timeoutMs: its length, 0 when none came in time, negative on
    // failure. Polls, leaving hidapi to the other threads between polls.
    static int read(const HidHandle &handle, unsigned char *data, std::size_t length, int timeoutMs);

    // Gap between two polls of a waiting read: short beside the 64 ms of a settle pause.
    static constexpr int kReadPollMs = 2;
};
