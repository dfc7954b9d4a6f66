#include "platform/InputSource.h"

#include "platform/EvdevInputSource.h"
#include "platform/OwnWindowInputSource.h"
#include "platform/X11RecordInputSource.h"

#include <QGuiApplication>

std::unique_ptr<InputSource> InputSource::create(const Handlers &handlers)
{
    // Every source is watched on the event loop of the application's thread.
    if (!QCoreApplication::instance())
        return nullptr;
    // RECORD sees the whole desktop only where the window is an X11 client itself; under
    // Wayland an X server is at most a guest that sees its own clients.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (auto source = X11RecordInputSource::create(handlers))
            return source;
    }
    if (auto source = EvdevInputSource::create(handlers))
        return source;
    return OwnWindowInputSource::create(handlers);
}
