#include "cli/SettingNames.h"

#include "scenelogic/LightingLogic.h"

#include <QRegularExpression>

QStringList SettingNames::effects()
{
    return {"static", "twinkling", "breathing", "neon", "wave", "gliding",
            "finger-moving", "vertical-flipping", "yo-yo", "spotlight"};
}

QStringList SettingNames::fixedColors()
{
    return {"red", "green", "blue", "magenta", "cyan", "yellow", "white", "orange"};
}

std::optional<QColor> SettingNames::color(const QString &text)
{
    const QString trimmed = text.trimmed().toLower();
    const int fixed = fixedColors().indexOf(trimmed);
    if (fixed >= 0)
        return LightingLogic::fixedColor(fixed);
    static const QRegularExpression hex("^#?([0-9a-f]{6})$");
    const QRegularExpressionMatch match = hex.match(trimmed);
    if (!match.hasMatch())
        return std::nullopt;
    return QColor("#" + match.captured(1));
}

int SettingNames::fixedColorId(const QColor &color)
{
    for (int id = 0; id < LightingLogic::kColorCount; ++id)
        if (LightingLogic::fixedColor(id).rgb() == color.rgb())
            return id;
    return -1;
}
