#include "platform/InputSource.h"

#include "platform/EvdevInputSource.h"
#include "platform/OwnWindowInputSource.h"
#include "platform/X11RecordInputSource.h"

#include <QCoreApplication>

std::unique_ptr<InputSource> InputSource::create(const Handlers &handlers)
{
    // Every source is watched on the event loop of the application's thread.
    if (!QCoreApplication::instance())
        return nullptr;
    if (auto source = X11RecordInputSource::create(handlers))
        return source;
    if (auto source = EvdevInputSource::create(handlers))
        return source;
    return OwnWindowInputSource::create(handlers);
}
