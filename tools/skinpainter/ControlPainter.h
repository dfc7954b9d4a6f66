#pragma once
// The common controls: buttons, check boxes, radio buttons, slider, drop-down, add/delete and
// the palette strip.
#include "SkinStyle.h"

#include <QImage>

namespace controlpainter {

QImage button(const SkinStyle &skin, bool hover);
QImage primaryButton(const SkinStyle &skin, bool hover);
QImage checkBox(const SkinStyle &skin, bool checked);
QImage radioButton(const SkinStyle &skin, bool on);
QImage sliderTrack(const SkinStyle &skin);
QImage sliderKnob(const SkinStyle &skin, bool hover);
QImage dropdown(const SkinStyle &skin, bool hover);
QImage arrowDown(const SkinStyle &skin);
QImage plusButton(const SkinStyle &skin, bool hover);
QImage deleteButton(const SkinStyle &skin, bool hover);
// The colour strip exactly as the scene reads a press on it: one row per pixel height.
QImage paletteStrip();

}  // namespace controlpainter
