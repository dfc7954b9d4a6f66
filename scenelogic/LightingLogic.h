#pragma once
// Light effects: the effect menu, which controls each effect uses, the option formulas of
// the 0DH command, the stored settings list with the light's on/off state, and the eight
// fixed colours of the colour-id mode. Plain static functions, also callable from the scene
// as the singleton "Lighting".
#include <QList>
#include "scenelogic/Rgb.h"

#include <QObject>
#include <QVariantList>

class LightingLogic : public QObject {
    Q_OBJECT
    Q_PROPERTY(int effectCount READ effectCount CONSTANT)
    Q_PROPERTY(int maxStep READ maxStep CONSTANT)
    Q_PROPERTY(int defaultSpeedStep READ defaultSpeedStep CONSTANT)
    Q_PROPERTY(int defaultBrightnessStep READ defaultBrightnessStep CONSTANT)
    Q_PROPERTY(int colorCount READ colorCount CONSTANT)
public:
    static constexpr int kEffectCount = 10;
    static constexpr int kLightOff = 0;  // effect number of the light switched off
    static constexpr int kMaxStep = 7;   // speed and brightness sliders: steps 0..7
    static constexpr int kDefaultSpeedStep = 4;
    static constexpr int kDefaultBrightnessStep = 7;
    static constexpr int kColorCount = 8;

    static int effectCount() { return kEffectCount; }
    static int maxStep() { return kMaxStep; }
    static int defaultSpeedStep() { return kDefaultSpeedStep; }
    static int defaultBrightnessStep() { return kDefaultBrightnessStep; }
    static int colorCount() { return kColorCount; }

    // String-list index of the label of each effect menu position.
    Q_INVOKABLE static QList<int> effectLabelIndices();
    // Device effect number of a menu position: position + 1.
    Q_INVOKABLE static int effectNumber(int position);

    Q_INVOKABLE static bool usesSpeed(int effect);
    Q_INVOKABLE static bool usesBrightness(int effect);
    Q_INVOKABLE static bool usesColors(int effect);

    // Brightness 0..255 of a slider step: 0 stays 0, then 45..255; 0 for effects without it.
    Q_INVOKABLE static int option1(int effect, int brightnessStep);
    // Speed code of a slider step, falling as the step rises; 0 for effects without speed.
    Q_INVOKABLE static int option2(int effect, int speedStep);

    // The 0DH command for the page's state: [effect, option1, option2]; all zero when the
    // light is switched off.
    Q_INVOKABLE static QList<int> ledCommand(int position, int brightnessStep, int speedStep, bool powerOn);

    // What the profile keeps: [position, brightness step, speed step, on (1) or off (0)],
    // ints in a QVariantList as the view takes them.
    Q_INVOKABLE static QVariantList storedSettings(int position, int brightnessStep, int speedStep, bool powerOn);
    // Whether a stored list means the light is on. Lists of three items, written before the
    // on/off item existed, count as on exactly when their position is not 0; when the
    // list is too short to tell, it counts as off.
    Q_INVOKABLE static bool isStoredPowerOn(const QVariantList &stored);
    // Whether a stored list holds the three positions the page needs.
    Q_INVOKABLE static bool isStoredSettings(const QVariantList &stored);

    // Fixed colour of a colour id 0..7 (red, green, blue, magenta, cyan, yellow, white,
    // orange); black for other ids. The scene takes it as "#rrggbb".
    static Rgb fixedRgb(int id);
    Q_INVOKABLE static QString fixedColor(int id) { return fixedRgb(id).name(); }
};
