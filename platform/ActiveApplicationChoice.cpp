#include "platform/ActiveApplicationChoice.h"

#include "platform/X11ActiveApplication.h"

#include <QDebug>

namespace {

// An X11 session: an X display and no Wayland compositor (whose X server would show only the
// windows of X programs).
bool isX11Session()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

std::unique_ptr<ActiveApplication> makeX11()
{
    auto x11 = std::make_unique<X11ActiveApplication>();
    if (!x11->isAvailable())
        return nullptr;
    return x11;
}

struct BackEnd {
    const char *name;
    bool (*fits)();
    std::unique_ptr<ActiveApplication> (*make)();
};

// In the order they are tried.
const BackEnd kBackEnds[] = {
    {"X11 (_NET_ACTIVE_WINDOW)", isX11Session, makeX11},
};

}  // namespace

std::unique_ptr<ActiveApplication> chooseActiveApplication()
{
    for (const BackEnd &backEnd : kBackEnds) {
        if (!backEnd.fits())
            continue;
        if (std::unique_ptr<ActiveApplication> made = backEnd.make()) {
            qInfo().noquote() << "The application in front comes from" << backEnd.name;
            return made;
        }
        qInfo().noquote() << backEnd.name << "does not answer";
    }
    qInfo() << "No way to tell the application in front in this session: profiles follow no application";
    return nullptr;
}
