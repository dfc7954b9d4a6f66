#include "cli/SettingNames.h"

#include "scenelogic/LightingLogic.h"


QStringList SettingNames::effects()
{
    return {"static", "twinkling", "breathing", "neon", "wave", "gliding",
            "finger-moving", "vertical-flipping", "yo-yo", "spotlight"};
}

QStringList SettingNames::fixedColors()
{
    return {"red", "green", "blue", "magenta", "cyan", "yellow", "white", "orange"};
}

std::optional<Rgb> SettingNames::color(const QString &text)
{
    const QString trimmed = text.trimmed().toLower();
    const int fixed = fixedColors().indexOf(trimmed);
    if (fixed >= 0)
        return LightingLogic::fixedRgb(fixed);
    return Rgb::fromName(trimmed);
}

int SettingNames::fixedColorId(const Rgb &color)
{
    for (int id = 0; id < LightingLogic::kColorCount; ++id)
        if (LightingLogic::fixedRgb(id) == color)
            return id;
    return -1;
}
