#include "platform/ActiveApplicationChoice.h"

#include "platform/BusActiveApplication.h"
#include "platform/KWinScriptActiveApplication.h"
#include "platform/WlrootsActiveApplication.h"
#include "platform/X11ActiveApplication.h"

#include <functional>

namespace {

const char *const kGnomeExtensionUuid = "w3config-focus@w3config.org";

bool isWayland(const QProcessEnvironment &environment)
{
    return environment.value(QStringLiteral("XDG_SESSION_TYPE")) == QLatin1String("wayland")
        || !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
}

// XDG_CURRENT_DESKTOP is a list ("ubuntu:GNOME").
bool desktopIs(const QProcessEnvironment &environment, const QString &name)
{
    const QStringList desktops = environment.value(QStringLiteral("XDG_CURRENT_DESKTOP")).split(QLatin1Char(':'));
    return desktops.contains(name, Qt::CaseInsensitive);
}

// Keeps a back end that reached what it follows; drops one that did not.
template <typename BackEnd>
std::unique_ptr<ActiveApplication> ifAvailable(std::unique_ptr<BackEnd> backEnd)
{
    if (!backEnd->isAvailable())
        return nullptr;
    return backEnd;
}

struct Candidate {
    QString logLine;
    std::function<bool(const QProcessEnvironment &)> fits;
    std::function<std::unique_ptr<ActiveApplication>(const QProcessEnvironment &, const QDBusConnection &)> make;
    bool userSwitchesOn = false;
};

const std::vector<Candidate> &candidates()
{
    static const std::vector<Candidate> list = {
        {QStringLiteral("Application in front: the KWin script (KDE Plasma on Wayland)"),
         [](const QProcessEnvironment &environment) {
             return isWayland(environment) && desktopIs(environment, QStringLiteral("KDE"));
         },
         [](const QProcessEnvironment &, const QDBusConnection &bus) {
             return ifAvailable(std::make_unique<KWinScriptActiveApplication>(
                 bus, KWinScriptActiveApplication::installedScriptPath()));
         }},
        {QStringLiteral("Application in front: the GNOME Shell extension %1 (GNOME on Wayland; the user enables it)")
             .arg(QLatin1String(kGnomeExtensionUuid)),
         [](const QProcessEnvironment &environment) {
             return isWayland(environment) && desktopIs(environment, QStringLiteral("GNOME"));
         },
         [](const QProcessEnvironment &, const QDBusConnection &bus) {
             return ifAvailable(std::make_unique<BusActiveApplication>(bus));
         },
         true},
        {QStringLiteral("Application in front: the compositor's list of toplevels (wlroots)"), &isWayland,
         [](const QProcessEnvironment &environment, const QDBusConnection &) {
             return ifAvailable(std::make_unique<WlrootsActiveApplication>(
                 environment.value(QStringLiteral("WAYLAND_DISPLAY")).toLocal8Bit()));
         }},
        {QStringLiteral("Application in front: the X11 active window"),
         [](const QProcessEnvironment &environment) {
             return !isWayland(environment) && !environment.value(QStringLiteral("DISPLAY")).isEmpty();
         },
         [](const QProcessEnvironment &environment, const QDBusConnection &) {
             return ifAvailable(std::make_unique<X11ActiveApplication>(
                 environment.value(QStringLiteral("DISPLAY")).toLocal8Bit()));
         }},
    };
    return list;
}

}  // namespace

ActiveApplicationChoice chooseActiveApplication(const QProcessEnvironment &environment, const QDBusConnection &bus)
{
    for (const Candidate &candidate : candidates()) {
        if (!candidate.fits(environment))
            continue;
        if (std::unique_ptr<ActiveApplication> backEnd = candidate.make(environment, bus))
            return {std::move(backEnd), candidate.logLine, candidate.userSwitchesOn};
    }
    return {nullptr, QStringLiteral("Application in front: not known on this desktop")};
}
