#include "controller/PageActionsQml.h"

#include "actions/ApplicationLinks.h"
#include "actions/KeyActions.h"
#include "actions/LightingActions.h"
#include "actions/MacroActions.h"
#include "actions/PageActions.h"
#include "actions/ProfileActions.h"
#include "actions/SensorActions.h"
#include "actions/SettingsActions.h"
#include "controller/OpenRgbSetting.h"
#include "platform/Autostart.h"

#include <QQmlEngine>

namespace {

PageActions *current = nullptr;

// The engine must not delete the units: their view owns them.
QObject *owned(QObject *unit)
{
    QQmlEngine::setObjectOwnership(unit, QQmlEngine::CppOwnership);
    return unit;
}

template <typename T>
void registerUnit(const char *name, T *(*unit)(PageActions &))
{
    static T *(*pick)(PageActions &) = unit;
    qmlRegisterSingletonType<T>("W3.Actions", 1, 0, name,
                                [](QQmlEngine *, QJSEngine *) -> QObject * { return owned(pick(*current)); });
}

}  // namespace

void registerPageActions(PageActions &actions)
{
    current = &actions;
    static const bool registered = [] {
        registerUnit<KeyActions>("KeyActions", [](PageActions &a) { return a.keys.get(); });
        registerUnit<MacroActions>("MacroActions", [](PageActions &a) { return a.macros.get(); });
        registerUnit<SensorActions>("SensorActions", [](PageActions &a) { return a.sensor.get(); });
        registerUnit<LightingActions>("LightingActions", [](PageActions &a) { return a.lighting.get(); });
        registerUnit<SettingsActions>("SettingsActions", [](PageActions &a) { return a.settings.get(); });
        registerUnit<ProfileActions>("ProfileActions", [](PageActions &a) { return a.profiles.get(); });
        registerUnit<ApplicationLinks>("ApplicationLinks", [](PageActions &a) { return a.applications.get(); });
        // The desktop's autostart entry is the setting itself: one object reads and writes it.
        qmlRegisterSingletonType<Autostart>("W3.Actions", 1, 0, "Autostart", [](QQmlEngine *, QJSEngine *) -> QObject * {
            static Autostart autostart;
            return owned(&autostart);
        });
        // The OpenRGB server's switch is its file: the panel writes it, the program follows it
        // and tells through the program's own setting whether it serves.
        qmlRegisterSingletonType<OpenRgbSetting>(
            "W3.Actions", 1, 0, "OpenRgbSetting", [](QQmlEngine *, QJSEngine *) -> QObject * {
                if (OpenRgbSetting *running = OpenRgbSetting::shared())
                    return owned(running);
                static OpenRgbSetting setting;
                setting.watch();
                return owned(&setting);
            });
        return true;
    }();
    Q_UNUSED(registered)
}
