#include "platform/OpenGlSupport.h"

#include <QDir>
#include <QGuiApplication>

#include <X11/Xlib.h>
#include <unistd.h>

namespace {

constexpr const char *kXcbGlIntegration = "QT_XCB_GL_INTEGRATION";

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

bool softwareRasteriserRequested()
{
    const QByteArray alwaysSoftware = qgetenv("LIBGL_ALWAYS_SOFTWARE");
    if (!alwaysSoftware.isEmpty() && alwaysSoftware != "0" && alwaysSoftware.toLower() != "false")
        return true;
    const QByteArray gallium = qgetenv("GALLIUM_DRIVER");
    return gallium == "llvmpipe" || gallium == "softpipe" || gallium == "swr";
}

// "host:0" and "localhost:10.0" (ssh -X) reach an X server over the network: OpenGL there
// is indirect or emulated, never this machine's graphics processor.
bool remoteXDisplay()
{
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return false;
    const QByteArray display = qgetenv("DISPLAY");
    const int colon = display.lastIndexOf(':');
    if (colon <= 0)
        return false;
    const QByteArray host = display.left(colon);
    return host != "unix" && !host.startsWith('/');
}

bool canOpen(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0;
}

// A render node the user may open (Mesa's hardware drivers, and NVIDIA's with its DRM module),
// or NVIDIA's control node. Display adapters that only drive a screen (simpledrm, bochs and
// QXL in virtual machines) have a card node but no render node, and Mesa emulates OpenGL there.
bool graphicsDeviceAvailable(const QString &deviceFolder)
{
    const QDir dri(deviceFolder + QStringLiteral("/dri"));
    const QStringList nodes = dri.entryList({QStringLiteral("renderD*")}, QDir::System | QDir::Files);
    for (const QString &node : nodes) {
        if (canOpen(dri.filePath(node)))
            return true;
    }
    return canOpen(deviceFolder + QStringLiteral("/nvidiactl"));
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

bool openGlRunsOnGraphicsProcessor(const QString &deviceFolder)
{
    return !softwareRasteriserRequested() && !remoteXDisplay() && graphicsDeviceAvailable(deviceFolder);
}

void keepWindowSystemFromOpenGl()
{
    qputenv(kXcbGlIntegration, "none");
}
