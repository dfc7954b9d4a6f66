#include "scenelogic/LightingLogic.h"

#include <algorithm>
#include <cmath>

namespace {

// Effect numbers (menu position + 1).
enum Effect {
    Static = 1,
    Twinkling,
    Breathing,
    Neon,
    Wave,
    Gliding,
    FingerMoving,
    VerticalFlipping,
    YoYo,
    Spotlight,
};

const QList<int> kLabelIndices = {13, 88, 14, 20, 15, 89, 90, 91, 92, 24};
const QList<int> kSpeedEffects = {Breathing, Neon, Wave, VerticalFlipping, YoYo, Spotlight};
const QList<int> kBrightnessEffects = {Static, Twinkling, Wave, FingerMoving, VerticalFlipping, YoYo, Spotlight};
const QList<int> kColorEffects = {Static, Breathing, YoYo, Spotlight};

// Brightness: step s > 0 gives 10 + 35 s, so step 7 is full 255.
constexpr int kBrightnessBase = 10;
constexpr int kBrightnessPerStep = 35;

// Speed code ranges: the code is `low` at the fastest step and low + span at the slowest.
struct SpeedRange {
    int low;
    int span;
};

SpeedRange speedRange(int effect)
{
    switch (effect) {
    case Breathing:
    case Neon:
    case Wave:
        return {1, 9};
    case VerticalFlipping:
        return {10, 10};
    case YoYo:
        return {5, 10};
    case Spotlight:
        return {20, 10};
    default:
        return {0, 0};
    }
}

int clampStep(int step)
{
    return std::clamp(step, 0, LightingLogic::kMaxStep);
}

// Stored list items: position, brightness step, speed step, then the on/off item.
constexpr int kStoredPosition = 0;
constexpr int kStoredPower = 3;
constexpr int kStoredPositionsLength = 3;

const QList<Rgb> kFixedColors = {
    {255, 0, 0},   {0, 255, 0},   {0, 0, 255},     {255, 0, 255},
    {0, 255, 255}, {255, 255, 0}, {255, 255, 255}, {255, 127, 0},
};

}  // namespace

QList<int> LightingLogic::effectLabelIndices()
{
    return kLabelIndices;
}

int LightingLogic::effectNumber(int position)
{
    return position + 1;
}

bool LightingLogic::usesSpeed(int effect)
{
    return kSpeedEffects.contains(effect);
}

bool LightingLogic::usesBrightness(int effect)
{
    return kBrightnessEffects.contains(effect);
}

bool LightingLogic::usesColors(int effect)
{
    return kColorEffects.contains(effect);
}

int LightingLogic::option1(int effect, int brightnessStep)
{
    const int step = clampStep(brightnessStep);
    if (!usesBrightness(effect) || step == 0)
        return 0;
    return kBrightnessBase + kBrightnessPerStep * step;
}

int LightingLogic::option2(int effect, int speedStep)
{
    if (!usesSpeed(effect))
        return 0;
    const SpeedRange range = speedRange(effect);
    const int slowness = kMaxStep - clampStep(speedStep);
    return range.low + int(std::lround(double(slowness) * range.span / kMaxStep));
}

QList<int> LightingLogic::ledCommand(int position, int brightnessStep, int speedStep, bool powerOn)
{
    if (!powerOn)
        return {kLightOff, 0, 0};
    const int effect = effectNumber(position);
    return {effect, option1(effect, brightnessStep), option2(effect, speedStep)};
}

QVariantList LightingLogic::storedSettings(int position, int brightnessStep, int speedStep, bool powerOn)
{
    return {position, brightnessStep, speedStep, powerOn ? 1 : 0};
}

bool LightingLogic::isStoredSettings(const QVariantList &stored)
{
    return stored.size() >= kStoredPositionsLength;
}

bool LightingLogic::isStoredPowerOn(const QVariantList &stored)
{
    if (stored.size() > kStoredPower)
        return stored.at(kStoredPower).toInt() != 0;
    return isStoredSettings(stored) && stored.at(kStoredPosition).toInt() != 0;
}

Rgb LightingLogic::fixedRgb(int id)
{
    return id >= 0 && id < kFixedColors.size() ? kFixedColors.at(id) : Rgb{};
}
