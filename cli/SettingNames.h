#pragma once
// How w3ctl spells the lighting effects and colours.
#include "scenelogic/Rgb.h"

#include <QStringList>
#include <optional>

namespace SettingNames {

// The effect menu, in menu order: "static", "twinkling", ...
QStringList effects();
// The eight fixed colours, by colour id: "red", "green", ...
QStringList fixedColors();
// The colour id of one of the fixed colours; -1 for any other colour.
int fixedColorId(const Rgb &color);
// A colour written as #RRGGBB, RRGGBB or a fixed colour's name; nothing for anything else.
std::optional<Rgb> color(const QString &text);

}  // namespace SettingNames
