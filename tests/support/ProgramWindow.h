#pragma once
// The window of the program run as a process, seen from another X client: found by the
// process id the window carries, and closed as the window system closes a window.
#include <QtGlobal>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

// The top-level window of the process, once it is on screen; None before that.
inline Window shownWindowOf(Display *display, qint64 pid)
{
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return None;
    Window found = None;
    for (unsigned int i = 0; i < count && found == None; ++i) {
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char *value = nullptr;
        XWindowAttributes attributes {};
        const bool ownedByPid = XGetWindowProperty(display, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type,
                                    &format, &items, &after, &value)
                == Success
            && value && items == 1 && qint64(*reinterpret_cast<unsigned long *>(value)) == pid;
        if (value)
            XFree(value);
        if (ownedByPid && XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable)
            found = children[i];
    }
    if (children)
        XFree(children);
    return found;
}

// What a window manager sends when the user closes a window.
inline void askToClose(Display *display, Window window)
{
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}
