#pragma once
// A second client on the X display, doing what a window manager and its clients do: windows
// with a class and a process id, and the active one named on the root window.
#include <QByteArray>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

class WindowManagerStandIn {
public:
    WindowManagerStandIn() : connection(xcb_connect(nullptr, nullptr))
    {
        if (!xcb_connection_has_error(connection))
            root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    }
    ~WindowManagerStandIn() { xcb_disconnect(connection); }
    bool connected() const { return root != XCB_NONE; }

    xcb_window_t window(const QByteArray &instance, const QByteArray &windowClass, uint32_t pid)
    {
        const xcb_window_t id = xcb_generate_id(connection);
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, id, root, 0, 0, 10, 10, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        const QByteArray names = instance + '\0' + windowClass + '\0';
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                            uint32_t(names.size()), names.constData());
        if (pid)
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, atom("_NET_WM_PID"),
                                XCB_ATOM_CARDINAL, 32, 1, &pid);
        xcb_flush(connection);
        return id;
    }
    void activate(xcb_window_t window)
    {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, root, atom("_NET_ACTIVE_WINDOW"),
                            XCB_ATOM_WINDOW, 32, 1, &window);
        xcb_flush(connection);
    }

private:
    xcb_atom_t atom(const char *name)
    {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t result = reply ? reply->atom : XCB_NONE;
        std::free(reply);
        return result;
    }

    xcb_connection_t *connection;
    xcb_window_t root = XCB_NONE;
};

