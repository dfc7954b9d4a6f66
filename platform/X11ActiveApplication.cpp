#include "platform/X11ActiveApplication.h"

#include "platform/ProcessProgram.h"

#include <QDebug>
#include <QSocketNotifier>
#include <cstdlib>
#include <cstring>

namespace {

// A property larger than this is not a window class or a process id.
constexpr uint32_t kMaxPropertyWords = 1024;

}  // namespace

X11ActiveApplication::X11ActiveApplication(const QByteArray &display, QObject *parent)
    : ActiveApplication(parent)
{
    int screenNumber = 0;
    connection = xcb_connect(display.isEmpty() ? nullptr : display.constData(), &screenNumber);
    if (xcb_connection_has_error(connection)) {
        qInfo() << "Application in front: no X server to follow";
        return;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem == 0)
        return;
    root = screens.data->root;
    activeWindowAtom = atom("_NET_ACTIVE_WINDOW");
    pidAtom = atom("_NET_WM_PID");
    if (activeWindowAtom == XCB_NONE || pidAtom == XCB_NONE)
        return;

    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_generic_error_t *error =
        xcb_request_check(connection, xcb_change_window_attributes_checked(connection, root, XCB_CW_EVENT_MASK, &mask));
    if (error) {
        std::free(error);
        return;
    }
    notifier = new QSocketNotifier(xcb_get_file_descriptor(connection), QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &X11ActiveApplication::readEvents);
    readActiveWindow();
}

X11ActiveApplication::~X11ActiveApplication()
{
    delete notifier;
    xcb_disconnect(connection);
}

xcb_atom_t X11ActiveApplication::atom(const char *name) const
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    if (!reply)
        return XCB_NONE;
    const xcb_atom_t result = reply->atom;
    std::free(reply);
    return result;
}

QByteArray X11ActiveApplication::property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type) const
{
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, name, type, 0, kMaxPropertyWords), nullptr);
    if (!reply)
        return QByteArray();
    const QByteArray value(static_cast<const char *>(xcb_get_property_value(reply)),
                           xcb_get_property_value_length(reply));
    std::free(reply);
    return value;
}

void X11ActiveApplication::readEvents()
{
    // Reading the active window's properties waits for replies, and events arriving meanwhile
    // are queued by xcb without the socket telling again: drain the queue until it stays empty.
    xcb_generic_event_t *event = xcb_poll_for_event(connection);
    while (event) {
        bool activeChanged = false;
        for (; event; event = xcb_poll_for_queued_event(connection)) {
            if ((event->response_type & ~0x80) == XCB_PROPERTY_NOTIFY) {
                const auto *notify = reinterpret_cast<xcb_property_notify_event_t *>(event);
                activeChanged |= notify->window == root && notify->atom == activeWindowAtom;
            }
            std::free(event);
        }
        if (activeChanged)
            readActiveWindow();
        event = xcb_poll_for_queued_event(connection);
    }
}

void X11ActiveApplication::readActiveWindow()
{
    ApplicationIdentity application;
    const QByteArray active = property(root, activeWindowAtom, XCB_ATOM_WINDOW);
    if (active.size() == int(sizeof(xcb_window_t))) {
        xcb_window_t window = XCB_NONE;
        std::memcpy(&window, active.constData(), sizeof window);
        if (window != XCB_NONE) {
            // WM_CLASS holds the instance name, then the class name, each ending in a NUL.
            const QList<QByteArray> names = property(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING).split('\0');
            if (names.size() >= 2)
                application.windowClass = QString::fromLocal8Bit(names.at(1));
            const QByteArray pid = property(window, pidAtom, XCB_ATOM_CARDINAL);
            if (pid.size() == int(sizeof(uint32_t))) {
                uint32_t value = 0;
                std::memcpy(&value, pid.constData(), sizeof value);
                application.pid = value;
            }
            application.programName = programNameOf(application.pid);
        }
    }
    if (application == inFront)
        return;
    inFront = application;
    emit changed(inFront);
}
