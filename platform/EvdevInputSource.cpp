#include "platform/EvdevInputSource.h"

#include <QCursor>
#include <QDir>
#include <QGuiApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

constexpr int kBitsPerLong = 8 * sizeof(unsigned long);
constexpr int kKeyBitLongs = (KEY_MAX + kBitsPerLong) / kBitsPerLong;
// input_event values of an EV_KEY event.
constexpr int kKeyReleased = 0;
constexpr int kKeyAutoRepeat = 2;

bool testBit(const unsigned long *bits, int bit)
{
    return (bits[bit / kBitsPerLong] >> (bit % kBitsPerLong)) & 1UL;
}

// Keyboards have letter keys; mice have a left button. Other devices (power buttons,
// lid switches, joysticks) are left alone.
bool isKeyboardOrMouse(int fd)
{
    unsigned long keyBits[kKeyBitLongs] = {};
    if (ioctl(fd, EVIOCGBIT(EV_KEY, sizeof keyBits), keyBits) < 0)
        return false;
    return testBit(keyBits, KEY_A) || testBit(keyBits, BTN_LEFT);
}

// Event devices give no position: the pointer's, as far as the session lets a program know.
QPoint pointerPosition()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return {};
    return QCursor::pos();
}

bool buttonFromEvdev(int code, PointerButton &button)
{
    switch (code) {
    case BTN_LEFT: button = PointerButton::Left; return true;
    case BTN_RIGHT: button = PointerButton::Right; return true;
    case BTN_MIDDLE: button = PointerButton::Middle; return true;
    default: return false;
    }
}

}  // namespace

struct EvdevInputSource::Device {
    int fd = -1;
    std::unique_ptr<QSocketNotifier> notifier;

    ~Device()
    {
        notifier.reset();
        if (fd >= 0)
            close(fd);
    }
};

std::unique_ptr<InputSource> EvdevInputSource::create(const Handlers &handlers)
{
    std::unique_ptr<EvdevInputSource> source(new EvdevInputSource(handlers));
    const QDir inputDir(QStringLiteral("/dev/input"));
    const QStringList names = inputDir.entryList({QStringLiteral("event*")}, QDir::System);
    for (const QString &name : names) {
        const QByteArray path = inputDir.filePath(name).toLocal8Bit();
        auto device = std::make_unique<Device>();
        device->fd = open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (device->fd < 0 || !isKeyboardOrMouse(device->fd))
            continue;
        device->notifier = std::make_unique<QSocketNotifier>(device->fd, QSocketNotifier::Read);
        Device *raw = device.get();
        QObject::connect(device->notifier.get(), &QSocketNotifier::activated,
                         [s = source.get(), raw] { s->readEvents(*raw); });
        source->devices_.push_back(std::move(device));
    }
    if (source->devices_.empty())
        return nullptr;
    return source;
}

EvdevInputSource::EvdevInputSource(const Handlers &handlers) : handlers_(handlers) {}

EvdevInputSource::~EvdevInputSource() = default;

void EvdevInputSource::readEvents(Device &device)
{
    input_event event;
    for (;;) {
        const ssize_t got = read(device.fd, &event, sizeof event);
        if (got != static_cast<ssize_t>(sizeof event)) {
            // EAGAIN: drained. Anything else (the device was unplugged): stop watching it.
            if (got < 0 && errno != EAGAIN && errno != EINTR)
                device.notifier->setEnabled(false);
            return;
        }
        if (event.type != EV_KEY || event.value == kKeyAutoRepeat)
            continue;
        const bool pressed = event.value != kKeyReleased;
        PointerButton button;
        if (buttonFromEvdev(event.code, button)) {
            if (handlers_.button) {
                const QPoint position = pointerPosition();
                handlers_.button(button, pressed, position.x(), position.y());
            }
        } else if (event.code < BTN_MISC && handlers_.key) {
            handlers_.key(event.code, pressed);
        }
    }
}
