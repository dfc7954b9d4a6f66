#include "platform/LinuxPointerSettings.h"

#include "platform/KWinPointerDevices.h"
#include "platform/PlasmaPointerSettings.h"
#include "platform/PointerModules.h"

#include <QDBusConnection>
#include <QDebug>
#include <QStringList>

namespace {

const QStringList kGnomeSchemaDesktops{"GNOME", "GNOME-Classic", "GNOME-Flashback", "Unity",
                                       "Budgie", "X-Cinnamon", "Cinnamon", "Pantheon"};
const char *const kPlasmaDesktop = "KDE";

bool namesAny(const QString &currentDesktop, const QStringList &desktops)
{
    for (const QString &name : currentDesktop.split(':', Qt::SkipEmptyParts)) {
        if (desktops.contains(name, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

std::unique_ptr<PointerSettings> createPlasma()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    std::unique_ptr<KWinPointerDevices> kwin;
    if (KWinPointerDevices::serviceRegistered(bus))
        kwin = std::make_unique<KWinPointerDevices>(bus);
    qInfo().noquote() << "Pointer settings: KDE Plasma (kcminputrc, kdeglobals"
                      << (kwin ? "and KWin's input devices)" : "without KWin)");
    return std::make_unique<PlasmaPointerSettings>(bus, std::move(kwin));
}

}  // namespace

LinuxPointerBackend chooseLinuxPointerBackend(const QString &currentDesktop,
                                              bool gnomeSchemaInstalled)
{
    if (namesAny(currentDesktop, {kPlasmaDesktop}))
        return LinuxPointerBackend::Plasma;
    if (gnomeSchemaInstalled && namesAny(currentDesktop, kGnomeSchemaDesktops))
        return LinuxPointerBackend::GSettings;
    return LinuxPointerBackend::X11;
}

namespace {

// Whether GNOME's schema could be the choice: opening it loads GIO and starts a settings
// client with its own thread and session-bus connection, megabytes spent for nothing on any
// other desktop.
bool mayUseGnomeSchema(const QString &currentDesktop)
{
    return chooseLinuxPointerBackend(currentDesktop, true) == LinuxPointerBackend::GSettings;
}

}  // namespace

std::unique_ptr<PointerSettings> PointerSettings::create()
{
    const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    std::unique_ptr<PointerSettings> gnome;
    if (mayUseGnomeSchema(desktop))
        gnome = pointermodules::load("w3pointer-gsettings.so");
    switch (chooseLinuxPointerBackend(desktop, gnome != nullptr)) {
    case LinuxPointerBackend::Plasma:
        return createPlasma();
    case LinuxPointerBackend::GSettings:
        qInfo().noquote() << "Pointer settings: GSettings (the desktop's mouse schema)";
        return gnome;
    case LinuxPointerBackend::X11:
        break;
    }
    // An X server in a Wayland session serves only its own clients (Xwayland): its pointer
    // control would change nothing the user moves.
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qInfo().noquote() << "Pointer settings: none on this Wayland desktop";
        return pointermodules::unavailable();
    }
    qInfo().noquote() << "Pointer settings: X server pointer control";
    std::unique_ptr<PointerSettings> x11 = pointermodules::load("w3pointer-x11.so");
    return x11 ? std::move(x11) : pointermodules::unavailable();
}
