#pragma once
// Pointer parameters in GNOME's mouse schema (org.gnome.desktop.peripherals.mouse), through
// GIO's GSettings in this process; the desktops that share the schema apply them at once.
// - Speed: "speed" (-1..1, the libinput scale of PointerSpeedScale.h).
// - Acceleration: "accel-profile": level 0 is 'flat', level 1 or 2 'adaptive'; 'default'
//   (libinput's choice, adaptive for mice) reads as level 1. GNOME has no thresholds, so
//   readMouse reports 6 and 10.
// - Double-click time: "double-click" (milliseconds), and this program's own interval.
// - Wheel scroll lines: GNOME has no such setting; the value reaches this program only.
// A setter returns after the settings service has the value (the first write connects to
// the session bus and may start the service: call setters off the GUI thread) and true only
// when the value reads back as written. readMouse reads the local store and is quick.
#include "platform/PointerSettings.h"

#include <memory>

typedef struct _GSettings GSettings;
typedef struct _GSettingsSchema GSettingsSchema;

class GnomePointerSettings : public PointerSettings {
public:
    static const char *const kMouseSchema;

    // The settings of schemaId when the schema is installed with each key this class uses,
    // of the expected type; null otherwise.
    static std::unique_ptr<GnomePointerSettings> open(const char *schemaId = kMouseSchema);
    ~GnomePointerSettings() override;
    GnomePointerSettings(const GnomePointerSettings &) = delete;
    GnomePointerSettings &operator=(const GnomePointerSettings &) = delete;

    bool setPointerSpeed(int systemSpeed) override;
    bool setWheelScrollLines(int lines) override;
    bool setDoubleClickTime(int ms) override;
    bool readMouse(int values[MouseValueCount]) override;
    bool writeMouse(const int values[MouseValueCount]) override;

private:
    GnomePointerSettings(GSettingsSchema *schema, GSettings *settings);

    bool writeDouble(const char *key, double value);
    bool writeInt(const char *key, int value);
    bool writeString(const char *key, const char *value);

    GSettingsSchema *const schema;
    GSettings *const settings;
};
