#include "cli/Commands.h"

#include "actions/LightingActions.h"

#include "cli/CommandSupport.h"
#include "cli/CommandTable.h"
#include "cli/SettingNames.h"
#include "controller/AppConfig.h"
#include "controller/MouseOperations.h"
#include "controller/ProfileStore.h"

using namespace cli;

namespace {

const QStringList kEffectNames = SettingNames::effects();

QStringList completeLight(const CompletionRequest &request)
{
    return request.before.isEmpty() ? SettingNames::effects() + QStringList{"on", "off"} : QStringList();
}

}  // namespace

const CommandRow &lightCommand()
{
    static const CommandRow row = {
        "light", "light [EFFECT | on | off] [--brightness 0-7] [--speed 0-7] [--colors #RRGGBB,...]",
         "Show the lighting, or set the effect, its brightness, speed and colours.",
         "Effects: EFFECT_NAMES.\n"
         "  --brightness STEP  brightness step 0-7 (used by the effects that have a brightness)\n"
         "  --speed STEP       speed step 0 (slow) to 7 (fast) (used by the effects that have a speed)\n"
         "  --colors LIST      up to eight colours, separated by commas, for the effects that show\n"
         "                     colours: #RRGGBB or one of FIXED_COLORS;\n"
         "                     colours not given stay as they are\n"
         "Steps not given stay as they are. `light off` switches the light off and `light on`\n"
         "switches it on again with the effect it had. Options without an effect change the\n"
         "effect in use and leave the light on or off as it is.\n",
        {{"brightness", numberWords(0, LightingLogic::kMaxStep)}, {"speed", numberWords(0, LightingLogic::kMaxStep)}, {"colors", {}}},
        MouseUse::ForChanges,
        &Commands::light,
        completeLight};
    return row;
}

// The lighting page's state as its refresh shows it: the stored positions (the defaults
// without them) and the palette (the factory's when the profile has none).
Commands::LightState Commands::storedLight()
{
    MouseOperations &mouse = *controllers.mouse;
    const QVariantList stored = mouse.ui_8DH_GetRGBLedEffect();
    LightState light;
    if (LightingLogic::isStoredSettings(stored)) {
        light.position = std::clamp(stored.at(0).toInt(), 0, LightingLogic::kEffectCount - 1);
        light.brightness = stored.at(1).toInt();
        light.speed = stored.at(2).toInt();
    }
    light.powerOn = LightingLogic::isStoredPowerOn(stored);
    light.palette = numbers(mouse.ui_90H_GetLED8StageColor(0));
    if (light.palette.size() != kColorValues)
        light.palette = numbers(controllers.profiles->loadDefaultProfile(ProfileStore::LightingPage)).mid(0, kColorValues);
    while (light.palette.size() < kColorValues)
        light.palette << 0;
    light.colorCount = std::clamp(controllers.appConfig->loadDeviceApConfig().value(0).toInt(), 1,
                                  LightingLogic::kColorCount);
    return light;
}

void Commands::showLight(const LightState &light)
{
    QStringList colors;
    for (int i = 0; i < light.colorCount; ++i)
        colors << Rgb{light.palette.at(3 * i), light.palette.at(3 * i + 1), light.palette.at(3 * i + 2)}.name();
    output.result(tr("effect:     %1\nlight:      %2\nbrightness: %3\nspeed:      %4\ncolors:     %5")
                      .arg(kEffectNames.at(light.position), light.powerOn ? "on" : "off")
                      .arg(light.brightness)
                      .arg(light.speed)
                      .arg(colors.join(',')),
                  {{"effect", kEffectNames.at(light.position)}, {"on", light.powerOn},
                   {"brightness", light.brightness}, {"speed", light.speed},
                   {"colors", QJsonArray::fromStringList(colors)}});
}

// --colors: the palette's first entries replaced, in order.
void Commands::takeLightColors(LightState &light) const
{
    const QStringList items = invocation.options.value("colors").split(',');
    if (items.size() > light.colorCount)
        usageError(tr("the mouse shows %1 colours, not %2").arg(light.colorCount).arg(items.size()));
    for (int i = 0; i < items.size(); ++i) {
        const std::optional<Rgb> color = SettingNames::color(items.at(i));
        if (!color)
            usageError(tr("\"%1\" is not a colour #RRGGBB").arg(items.at(i)));
        light.palette[3 * i] = color->red;
        light.palette[3 * i + 1] = color->green;
        light.palette[3 * i + 2] = color->blue;
    }
}

void Commands::light()
{
    requireArguments(0, 1);
    LightState light = storedLight();
    if (invocation.arguments().isEmpty() && invocation.options.isEmpty()) {
        showLight(light);
        return;
    }
    // Options alone change the effect in use and leave the light on or off.
    const QString wanted = invocation.arguments().value(0).toLower();
    if (wanted == "off" && !invocation.options.isEmpty())
        usageError(tr("light off takes no options"));
    if (!wanted.isEmpty() && wanted != "on" && wanted != "off" && !kEffectNames.contains(wanted))
        usageError(tr("unknown effect \"%1\"; one of: %2, on, off").arg(wanted, kEffectNames.join(", ")));
    if (!wanted.isEmpty())
        light.powerOn = wanted != "off";
    if (kEffectNames.contains(wanted))
        light.position = kEffectNames.indexOf(wanted);
    if (invocation.has("brightness"))
        light.brightness = stepOption("brightness", LightingLogic::kMaxStep);
    if (invocation.has("speed"))
        light.speed = stepOption("speed", LightingLogic::kMaxStep);
    if (invocation.has("colors"))
        takeLightColors(light);

    device();
    // The page sends a colour change at once and the effect on APPLY.
    if (invocation.has("colors"))
        actions.lighting->sendPalette(variants(light.palette));
    actions.lighting->apply(light.position, light.brightness, light.speed, light.powerOn);
    const QString effect = kEffectNames.at(light.position);
    QString done = light.powerOn ? tr("light %1").arg(effect) : tr("light off");
    if (!light.powerOn && !invocation.options.isEmpty())
        done += tr("; %1 shows the new settings after `light on`").arg(effect);
    output.done(done);
}
