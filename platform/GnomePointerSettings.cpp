// GIO before Qt: GLib's headers use "signals" as a member name, which Qt defines as a macro.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

#include "platform/GnomePointerSettings.h"

#include "platform/PointerSpeedScale.h"
#include "platform/ProgramPointerSettings.h"

#include <cstring>

namespace {

const char *const kSpeedKey = "speed";
const char *const kAccelProfileKey = "accel-profile";
const char *const kDoubleClickKey = "double-click";
const char *const kFlatProfile = "flat";
const char *const kAdaptiveProfile = "adaptive";

struct KeyType {
    const char *key;
    const char *type;
};
// accel-profile is an enumeration, stored and set as its nick (a string).
const KeyType kKeys[] = {{kSpeedKey, "d"}, {kAccelProfileKey, "s"}, {kDoubleClickKey, "i"}};

bool hasKey(GSettingsSchema *schema, const KeyType &expected)
{
    if (!g_settings_schema_has_key(schema, expected.key))
        return false;
    GSettingsSchemaKey *key = g_settings_schema_get_key(schema, expected.key);
    const bool typeMatches = g_variant_type_equal(g_settings_schema_key_get_value_type(key),
                                                  G_VARIANT_TYPE(expected.type));
    g_settings_schema_key_unref(key);
    return typeMatches;
}

// GSettings treats an out-of-range value as a programming error; check it first.
bool inRange(GSettingsSchema *schema, const char *keyName, GVariant *value)
{
    g_variant_ref_sink(value);
    GSettingsSchemaKey *key = g_settings_schema_get_key(schema, keyName);
    const bool accepted = g_settings_schema_key_range_check(key, value);
    g_settings_schema_key_unref(key);
    g_variant_unref(value);
    return accepted;
}

}  // namespace

const char *const GnomePointerSettings::kMouseSchema = "org.gnome.desktop.peripherals.mouse";

std::unique_ptr<GnomePointerSettings> GnomePointerSettings::open(const char *schemaId)
{
    GSettingsSchemaSource *source = g_settings_schema_source_get_default();
    if (!source)
        return nullptr;
    GSettingsSchema *schema = g_settings_schema_source_lookup(source, schemaId, TRUE);
    if (!schema)
        return nullptr;
    for (const KeyType &key : kKeys) {
        if (!hasKey(schema, key)) {
            g_settings_schema_unref(schema);
            return nullptr;
        }
    }
    GSettings *settings = g_settings_new_full(schema, nullptr, nullptr);
    return std::unique_ptr<GnomePointerSettings>(new GnomePointerSettings(schema, settings));
}

GnomePointerSettings::GnomePointerSettings(GSettingsSchema *schema, GSettings *settings)
    : schema(schema), settings(settings)
{
}

GnomePointerSettings::~GnomePointerSettings()
{
    g_object_unref(settings);
    g_settings_schema_unref(schema);
}

bool GnomePointerSettings::writeDouble(const char *key, double value)
{
    if (!inRange(schema, key, g_variant_new_double(value))
        || !g_settings_set_double(settings, key, value))
        return false;
    g_settings_sync();
    return g_settings_get_double(settings, key) == value;
}

bool GnomePointerSettings::writeInt(const char *key, int value)
{
    if (!inRange(schema, key, g_variant_new_int32(value))
        || !g_settings_set_int(settings, key, value))
        return false;
    g_settings_sync();
    return g_settings_get_int(settings, key) == value;
}

bool GnomePointerSettings::writeString(const char *key, const char *value)
{
    if (!inRange(schema, key, g_variant_new_string(value))
        || !g_settings_set_string(settings, key, value))
        return false;
    g_settings_sync();
    gchar *stored = g_settings_get_string(settings, key);
    const bool matches = std::strcmp(stored, value) == 0;
    g_free(stored);
    return matches;
}

bool GnomePointerSettings::setPointerSpeed(int systemSpeed)
{
    return writeDouble(kSpeedKey, pointerspeed::libinputSpeed(systemSpeed));
}

bool GnomePointerSettings::setWheelScrollLines(int lines)
{
    return programpointer::setWheelScrollLines(lines);
}

bool GnomePointerSettings::setDoubleClickTime(int ms)
{
    const bool programSet = programpointer::setDoubleClickInterval(ms);
    return writeInt(kDoubleClickKey, ms) && programSet;
}

bool GnomePointerSettings::readMouse(int values[MouseValueCount])
{
    gchar *profile = g_settings_get_string(settings, kAccelProfileKey);
    values[Threshold1] = kUsualThreshold1;
    values[Threshold2] = kUsualThreshold2;
    values[AccelerationLevel] = std::strcmp(profile, kFlatProfile) == 0 ? 0 : 1;
    g_free(profile);
    return true;
}

bool GnomePointerSettings::writeMouse(const int values[MouseValueCount])
{
    return writeString(kAccelProfileKey,
                       values[AccelerationLevel] == 0 ? kFlatProfile : kAdaptiveProfile);
}
