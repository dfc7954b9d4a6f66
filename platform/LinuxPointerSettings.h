#pragma once
// The choice of the Linux pointer settings back end (see PointerSettings.h), made once at
// start from what the session offers.
#include <QString>

enum class LinuxPointerBackend { GSettings, Plasma, X11 };

// currentDesktop is XDG_CURRENT_DESKTOP (a colon-separated list). Plasma for KDE; GNOME's
// schema for GNOME and the desktops that share it (Unity, Budgie, Cinnamon, Pantheon) where
// the schema and its keys are installed; the X server otherwise.
LinuxPointerBackend chooseLinuxPointerBackend(const QString &currentDesktop,
                                              bool gnomeSchemaInstalled);
