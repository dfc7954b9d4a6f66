#pragma once
// The application in front on an X11 desktop: the window manager names the active window in
// the root window's _NET_ACTIVE_WINDOW; that window's WM_CLASS and _NET_WM_PID identify it.
// Followed by property changes on the root window, read from the X connection's socket.
#include "platform/ActiveApplication.h"

#include <xcb/xcb.h>

class QSocketNotifier;

class X11ActiveApplication : public ActiveApplication {
    Q_OBJECT
public:
    // Connects to `display` (the environment's when empty).
    explicit X11ActiveApplication(const QByteArray &display = QByteArray(), QObject *parent = nullptr);
    ~X11ActiveApplication() override;

    // False when no X server could be reached or it has no window manager hints to follow.
    bool isAvailable() const { return notifier != nullptr; }
    ApplicationIdentity current() const override { return inFront; }

private:
    void readEvents();
    void readActiveWindow();
    xcb_atom_t atom(const char *name) const;
    QByteArray property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type) const;

    xcb_connection_t *connection = nullptr;
    xcb_window_t root = XCB_NONE;
    xcb_atom_t activeWindowAtom = XCB_NONE;
    xcb_atom_t pidAtom = XCB_NONE;
    QSocketNotifier *notifier = nullptr;
    ApplicationIdentity inFront;
};
