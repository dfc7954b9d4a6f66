#include "actions/LightingActions.h"

#include "controller/Controllers.h"
#include "controller/MouseOperations.h"
#include "scenelogic/LightingLogic.h"

namespace {

constexpr uchar kPalette = 0;  // the kind of list the colour command and query take
constexpr int kPaletteValues = 3 * LightingLogic::kColorCount;

}  // namespace

LightingActions::LightingActions(Controllers &controllers, QObject *parent) : QObject(parent), controllers(controllers) {}

void LightingActions::sendPalette(const QVariantList &palette)
{
    controllers.mouse->ui_10H_SetLED8StageColor(kPalette, palette);
}

void LightingActions::apply(int position, int brightnessStep, int speedStep, bool powerOn)
{
    sendEffect(position, brightnessStep, speedStep, powerOn,
               LightingLogic::storedSettings(position, brightnessStep, speedStep, powerOn));
}

void LightingActions::sendEffect(int position, int brightnessStep, int speedStep, bool powerOn,
                                 const QVariantList &stored)
{
    const QList<int> command = LightingLogic::ledCommand(position, brightnessStep, speedStep, powerOn);
    controllers.mouse->ui_0DH_SetRGBLedEffect(uchar(command.at(0)), uchar(command.at(1)), uchar(command.at(2)), stored);
}

void LightingActions::sendStored()
{
    MouseOperations &mouse = *controllers.mouse;
    const QVariantList palette = mouse.ui_90H_GetLED8StageColor(kPalette);
    if (palette.size() == kPaletteValues)
        sendPalette(palette);
    const QVariantList stored = mouse.ui_8DH_GetRGBLedEffect();
    if (!LightingLogic::isStoredSettings(stored))
        return;
    // The profile keeps its list as it is (an older one has no power entry).
    sendEffect(stored.at(0).toInt(), stored.at(1).toInt(), stored.at(2).toInt(), LightingLogic::isStoredPowerOn(stored),
               stored);
}
