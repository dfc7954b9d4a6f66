#pragma once
// Pointer parameters where KDE Plasma keeps them, as its own mouse settings page does:
// - Speed: kcminputrc [Mouse] "XLbInptPointerAcceleration" (-1..1, the libinput scale of
//   PointerSpeedScale.h), read by Plasma's X11 session; and, on Wayland, KWin's
//   "pointerAcceleration" on every mouse (KWin stores it in kcminputrc's [Libinput] groups).
// - Acceleration: kcminputrc [Mouse] "X11LibInputXAccelProfileFlat" (true for level 0) and
//   KWin's flat or adaptive profile on every mouse. readMouse reads the kcminputrc entry
//   (absent: adaptive, libinput's choice for mice) and reports thresholds 6 and 10, since
//   libinput has none.
// - Double-click time: kdeglobals [KDE] "DoubleClickInterval"; wheel scroll lines:
//   kdeglobals [KDE] "WheelScrollLines". Both also reach this program's own Qt settings, and
//   running KDE programs are told to reload their mouse settings.
// Setters write files and talk to KWin: call them off the GUI thread. readMouse reads one
// file and is quick.
#include "platform/KWinPointerDevices.h"
#include "platform/KdeConfigFile.h"
#include "platform/PointerSettings.h"

#include <QDBusConnection>
#include <memory>

class PlasmaPointerSettings : public PointerSettings {
public:
    // The configuration files in the user's configuration folder; kwin null where KWin
    // offers no input devices.
    PlasmaPointerSettings(QDBusConnection bus, std::unique_ptr<KWinPointerDevices> kwin);

    bool setPointerSpeed(int systemSpeed) override;
    bool setWheelScrollLines(int lines) override;
    bool setDoubleClickTime(int ms) override;
    bool readMouse(int values[MouseValueCount]) override;
    bool writeMouse(const int values[MouseValueCount]) override;

private:
    // Tells running KDE programs that the mouse settings in kdeglobals changed.
    void announceMouseSettingsChange();

    QDBusConnection bus;
    std::unique_ptr<KWinPointerDevices> kwin;
    KdeConfigFile inputConfig;
    KdeConfigFile globals;
};
