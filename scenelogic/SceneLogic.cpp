#include "scenelogic/SceneLogic.h"

#include "scenelogic/KeyCodeLogic.h"
#include "scenelogic/LightingLogic.h"
#include "scenelogic/ScenePalette.h"
#include "scenelogic/SensorLogic.h"

#include <QQmlEngine>

namespace {

template <typename T>
void registerSingleton(const char *name)
{
    qmlRegisterSingletonType<T>("W3.Logic", 1, 0, name, [](QQmlEngine *, QJSEngine *) -> QObject * {
        return new T;
    });
}

}  // namespace

void registerSceneLogic()
{
    static const bool registered = [] {
        registerSingleton<ScenePalette>("Palette");
        registerSingleton<KeyCodeLogic>("KeyCodes");
        registerSingleton<SensorLogic>("Sensor");
        registerSingleton<LightingLogic>("Lighting");
        return true;
    }();
    (void)registered;
}
