#pragma once
// The window frame: background, decoration overlay, top and bottom bars, wordmark, web logo
// and the two top-bar buttons.
#include "SkinStyle.h"

#include <QImage>

namespace framepainter {

QImage background(const SkinStyle &skin);
QImage decoration(const SkinStyle &skin);
QImage topBar(const SkinStyle &skin);
QImage bottomBar(const SkinStyle &skin);
QImage wordmark(const SkinStyle &skin);
QImage webLogo(const SkinStyle &skin, bool hover);
QImage settingsButton(const SkinStyle &skin, bool hover);
QImage closeButton(const SkinStyle &skin, bool hover);

}  // namespace framepainter
