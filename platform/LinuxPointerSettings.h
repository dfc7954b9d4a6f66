#pragma once
// Linux pointer parameters: the GNOME mouse schema where installed, the X server's core
// pointer control otherwise, and this program's own Qt settings (see PointerSettings.h).
#include "platform/PointerSettings.h"

#include <QString>
#include <QStringList>

class LinuxPointerSettings : public PointerSettings {
public:
    LinuxPointerSettings();

    bool setPointerSpeed(int systemSpeed) override;
    bool setWheelScrollLines(int lines) override;
    bool setDoubleClickTime(int ms) override;
    bool readMouse(int values[MouseValueCount]) override;
    bool writeMouse(const int values[MouseValueCount]) override;

    // The GNOME speed (-1..1) of a speed on the 1..20 scale; 10 is neutral (0).
    static double gnomeSpeed(int systemSpeed);

private:
    // Runs the gsettings tool on the mouse schema; true when it ran cleanly (exit 0 and no
    // warning: a desktop without a settings daemon prints one and keeps nothing).
    bool runGsettings(const QStringList &arguments, QString *output = nullptr) const;
    bool setGnome(const QString &key, const QString &value) const;

    bool setXPointerSpeed(int systemSpeed) const;
    bool readXMouse(int values[MouseValueCount]) const;
    bool writeXMouse(const int values[MouseValueCount]) const;

    // Whether the GNOME mouse schema is installed; asked once.
    bool hasGnomeSchema = false;
};
