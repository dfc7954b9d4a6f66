#include "actions/LightingActions.h"

#include "controller/Controllers.h"
#include "controller/MouseOperations.h"
#include "controller/ProfileStore.h"
#include "scenelogic/LightingLogic.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uchar kPalette = 0;  // the kind of list the colour command and query take
constexpr int kPaletteValues = 3 * LightingLogic::kColorCount;
constexpr int kMaxColorValue = 255;

// The palette shown until a profile gives its own.
const QVariantList kFactoryPalette = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 0, 255,
                                      0, 255, 255, 255, 255, 0, 255, 255, 255, 255, 127, 0};

// The rounded number `value` holds when it is within 0..max, else `fallback`.
int inRange(const QVariant &value, int max, int fallback)
{
    bool isNumber = false;
    const double number = value.toDouble(&isNumber);
    if (!isNumber || std::isnan(number))
        return fallback;
    const long rounded = std::lround(number);
    return rounded >= 0 && rounded <= max ? int(rounded) : fallback;
}

}  // namespace

bool LightingActions::Effect::operator==(const Effect &other) const
{
    return position == other.position && brightness == other.brightness && speed == other.speed
           && powerOn == other.powerOn;
}

LightingActions::LightingActions(Controllers &controllers, HeldProfile &mouseHolds, QObject *parent)
    : QObject(parent),
      controllers(controllers),
      mouseHolds(mouseHolds),
      colors(kFactoryPalette),
      shown{0, LightingLogic::kDefaultBrightnessStep, LightingLogic::kDefaultSpeedStep, true},
      held(shown)
{
}

void LightingActions::start()
{
    MouseOperations &mouse = *controllers.mouse;
    paletteStored = takePalette(mouse.ui_90H_GetLED8StageColor(kPalette));
    if (paletteStored)
        emit paletteChanged();
    storedEffect = mouse.ui_8DH_GetRGBLedEffect();
    showStored(storedEffect);
    markHeld();
}

// Factory values: 24 colour numbers, then the stored effect list. Without the colour list the
// effect list comes first.
void LightingActions::reset()
{
    const QVariantList defaults = controllers.profiles->loadDefaultProfile(ProfileStore::LightingPage);
    const bool hasColors = takePalette(defaults.mid(0, kPaletteValues));
    if (hasColors) {
        emit paletteChanged();
        sendPalette(colors);
    }
    showStored(hasColors ? defaults.mid(kPaletteValues) : defaults);
}

void LightingActions::apply()
{
    apply(shown.position, shown.brightness, shown.speed, shown.powerOn);
    markHeld();
}

void LightingActions::setPalette(const QVariantList &palette)
{
    if (!takePalette(palette))
        return;
    emit paletteChanged();
    sendPalette(colors);
}

bool LightingActions::pending() const { return heldKnown && shown != held; }

void LightingActions::setEffectPosition(int position)
{
    Effect next = shown;
    next.position = std::clamp(position, 0, LightingLogic::kEffectCount - 1);
    show(next);
}

void LightingActions::setBrightnessStep(int step)
{
    Effect next = shown;
    next.brightness = std::clamp(step, 0, LightingLogic::kMaxStep);
    show(next);
}

void LightingActions::setSpeedStep(int step)
{
    Effect next = shown;
    next.speed = std::clamp(step, 0, LightingLogic::kMaxStep);
    show(next);
}

void LightingActions::setPowerOn(bool on)
{
    Effect next = shown;
    next.powerOn = on;
    show(next);
}

void LightingActions::show(const Effect &next)
{
    if (next == shown)
        return;
    shown = next;
    emit effectChanged();
    emit pendingChanged();
}

void LightingActions::showStored(const QVariantList &stored)
{
    if (!LightingLogic::isStoredSettings(stored))
        return;
    show({inRange(stored.at(0), LightingLogic::kEffectCount - 1, 0),
          inRange(stored.at(1), LightingLogic::kMaxStep, LightingLogic::kDefaultBrightnessStep),
          inRange(stored.at(2), LightingLogic::kMaxStep, LightingLogic::kDefaultSpeedStep),
          LightingLogic::isStoredPowerOn(stored)});
}

// 24 numbers, each kept within 0..255; a list of another length is ignored.
bool LightingActions::takePalette(const QVariantList &list)
{
    if (list.size() != kPaletteValues)
        return false;
    colors.clear();
    for (const QVariant &value : list) {
        bool isNumber = false;
        const double number = value.toDouble(&isNumber);
        colors << (isNumber && !std::isnan(number) ? std::clamp(int(std::lround(number)), 0, kMaxColorValue) : 0);
    }
    return true;
}

void LightingActions::markHeld()
{
    held = shown;
    heldKnown = true;
    emit pendingChanged();
}

void LightingActions::sendPalette(const QVariantList &palette)
{
    controllers.mouse->ui_10H_SetLED8StageColor(kPalette, palette);
    mouseHolds.sent(HeldProfile::Palette, controllers.profiles->currentProfile(), HeldProfile::bytes(palette));
}

void LightingActions::apply(int position, int brightnessStep, int speedStep, bool powerOn)
{
    sendEffect({position, brightnessStep, speedStep, powerOn},
               LightingLogic::storedSettings(position, brightnessStep, speedStep, powerOn));
}

QVariantList LightingActions::commandOf(const Effect &effect)
{
    QVariantList command;
    for (int value : LightingLogic::ledCommand(effect.position, effect.brightness, effect.speed, effect.powerOn))
        command << (value & 0xFF);
    return command;
}

void LightingActions::sendEffect(const Effect &effect, const QVariantList &stored)
{
    const QVariantList command = commandOf(effect);
    controllers.mouse->ui_0DH_SetRGBLedEffect(uchar(command.at(0).toInt()), uchar(command.at(1).toInt()),
                                              uchar(command.at(2).toInt()), stored);
    mouseHolds.sent(HeldProfile::Effect, controllers.profiles->currentProfile(), command);
}

void LightingActions::claimHeldGroups(int profile)
{
    if (paletteStored)
        mouseHolds.claim(HeldProfile::Palette, profile, HeldProfile::bytes(colors));
    if (heldKnown)
        mouseHolds.claim(HeldProfile::Effect, profile, commandOf(held));
}

void LightingActions::sendStored(HeldProfile::Sending sending)
{
    start();
    const int profile = controllers.profiles->currentProfile();
    if (paletteStored && mouseHolds.needs(sending, HeldProfile::Palette, profile, HeldProfile::bytes(colors)))
        sendPalette(colors);
    if (LightingLogic::isStoredSettings(storedEffect)
        && mouseHolds.needs(sending, HeldProfile::Effect, profile, commandOf(shown)))
        sendEffect(shown, storedEffect);
}
