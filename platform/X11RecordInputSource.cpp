#include "platform/X11RecordInputSource.h"

#include <QDebug>
#include <QSocketNotifier>

// Xlib after Qt: its macros (KeyPress, None, Bool) would clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/extensions/record.h>

namespace {

// X11 keycodes are the Linux input key codes shifted by this offset.
constexpr int kX11KeycodeOffset = 8;
// Core button numbers.
constexpr int kX11LeftButton = 1;
constexpr int kX11MiddleButton = 2;
constexpr int kX11RightButton = 3;
// The top bit of an event's type marks events sent by a client (SendEvent).
constexpr unsigned kSendEventMask = 0x7F;

struct DisplayCloser {
    void operator()(Display *display) const { XCloseDisplay(display); }
};
using DisplayHandle = std::unique_ptr<Display, DisplayCloser>;

bool buttonFromX11(int x11Button, PointerButton &button)
{
    switch (x11Button) {
    case kX11LeftButton: button = PointerButton::Left; return true;
    case kX11RightButton: button = PointerButton::Right; return true;
    case kX11MiddleButton: button = PointerButton::Middle; return true;
    default: return false;  // wheel steps and side buttons are not reported
    }
}

}  // namespace

// The control connection owns the record context; the data connection receives the
// recorded events and is watched on the GUI thread's event loop.
struct X11RecordInputSource::Connection {
    InputSource::Handlers handlers;
    DisplayHandle control;
    DisplayHandle data;
    XRecordContext context = 0;
    std::unique_ptr<QSocketNotifier> notifier;

    ~Connection()
    {
        notifier.reset();
        if (context) {
            XRecordDisableContext(control.get(), context);
            XRecordFreeContext(control.get(), context);
            XSync(control.get(), False);
        }
    }

    static void onRecorded(XPointer closure, XRecordInterceptData *recorded)
    {
        auto *self = reinterpret_cast<Connection *>(closure);
        if (recorded->category == XRecordFromServer && recorded->data_len > 0)
            self->dispatch(*reinterpret_cast<const xEvent *>(recorded->data));
        XRecordFreeData(recorded);
    }

    void dispatch(const xEvent &event)
    {
        const int type = event.u.u.type & kSendEventMask;
        const int detail = event.u.u.detail;
        switch (type) {
        case KeyPress:
        case KeyRelease:
            if (handlers.key)
                handlers.key(detail - kX11KeycodeOffset, type == KeyPress);
            break;
        case ButtonPress:
        case ButtonRelease: {
            PointerButton button;
            if (handlers.button && buttonFromX11(detail, button))
                handlers.button(button, type == ButtonPress, event.u.keyButtonPointer.rootX,
                                event.u.keyButtonPointer.rootY);
            break;
        }
        default:
            break;
        }
    }

    bool open()
    {
        control.reset(XOpenDisplay(nullptr));
        data.reset(XOpenDisplay(nullptr));
        if (!control || !data)
            return false;
        int major = 0;
        int minor = 0;
        if (!XRecordQueryVersion(control.get(), &major, &minor))
            return false;

        XRecordRange *range = XRecordAllocRange();
        if (!range)
            return false;
        range->device_events.first = KeyPress;
        range->device_events.last = ButtonRelease;
        XRecordClientSpec clients = XRecordAllClients;
        context = XRecordCreateContext(control.get(), 0, &clients, 1, &range, 1);
        XFree(range);
        if (!context)
            return false;
        // The context must exist on the server before the data connection enables it.
        XSync(control.get(), False);

        if (!XRecordEnableContextAsync(data.get(), context, &Connection::onRecorded,
                                       reinterpret_cast<XPointer>(this)))
            return false;
        XFlush(data.get());

        notifier = std::make_unique<QSocketNotifier>(ConnectionNumber(data.get()),
                                                     QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated,
                         [this] { XRecordProcessReplies(data.get()); });
        // Replies that Xlib already buffered would not wake the notifier.
        XRecordProcessReplies(data.get());
        return true;
    }
};

std::unique_ptr<InputSource> X11RecordInputSource::create(const Handlers &handlers)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return nullptr;
    auto connection = std::make_unique<Connection>();
    connection->handlers = handlers;
    if (!connection->open()) {
        qDebug() << "Input capture: the X server offers no RECORD context";
        return nullptr;
    }
    return std::unique_ptr<InputSource>(new X11RecordInputSource(std::move(connection)));
}

X11RecordInputSource::X11RecordInputSource(std::unique_ptr<Connection> connection)
    : connection_(std::move(connection))
{
}

X11RecordInputSource::~X11RecordInputSource() = default;
