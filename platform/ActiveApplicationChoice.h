#pragma once
// Which back end tells the application in front on this desktop, chosen once at start from
// the session's environment, in this order:
//   1. a Wayland session of KDE Plasma: the KWin script;
//   2. a Wayland session of GNOME: the GNOME Shell extension, which the user enables;
//   3. a Wayland session whose compositor lists its toplevels (wlroots: sway and others);
//   4. an X11 session (DISPLAY, not Wayland): the root window's active window.
// Elsewhere no application is known in front.
#include "platform/ActiveApplication.h"

#include <QDBusConnection>
#include <QProcessEnvironment>
#include <memory>

struct ActiveApplicationChoice {
    std::unique_ptr<ActiveApplication> backEnd;  // null when none fits this desktop
    QString logLine;                             // names the back end, or says there is none
    bool userSwitchesOn = false;                 // tells nothing until the user switches on a helper
};

// `bus` carries the callbacks of the KWin script and the GNOME Shell extension.
ActiveApplicationChoice chooseActiveApplication(const QProcessEnvironment &environment, const QDBusConnection &bus);
