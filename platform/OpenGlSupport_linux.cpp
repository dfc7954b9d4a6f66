#include "platform/OpenGlSupport.h"

#include <QGuiApplication>

#include <X11/Xlib.h>

namespace {

// An X server without the GLX extension (some remote and virtual displays) has no OpenGL.
bool xServerHasGlx()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    int opcode = 0, event = 0, error = 0;
    const bool hasGlx = XQueryExtension(display, "GLX", &opcode, &event, &error);
    XCloseDisplay(display);
    return hasGlx;
}

}  // namespace

bool windowSystemOffersOpenGl()
{
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb"))
        return xServerHasGlx();
    // Wayland and the direct-rendering platforms bring EGL; the headless ones bring nothing.
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal")
           && platform != QLatin1String("vnc");
}
