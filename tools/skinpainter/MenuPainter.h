#pragma once
// The function menu, the profile menu and the page panels.
#include "SkinStyle.h"

#include <QImage>

namespace menupainter {

enum class State { Normal, Hover, Selected };
enum class TabIcon { Key, Macro, Color, Sensor };

QImage functionTab(const SkinStyle &skin, State state);
QImage tabIcon(const SkinStyle &skin, TabIcon icon);
QImage profileRow(const SkinStyle &skin, State state);
QImage pagePanel(const SkinStyle &skin);
QImage settingsSheet(const SkinStyle &skin);

}  // namespace menupainter
