#pragma once
// The product pictures: the mouse from above for the key page and for the lighting page.
#include "SkinStyle.h"

#include <QImage>

namespace mousepainter {

// Buttons outlined so the key page can point at them.
QImage keyDefinePicture(const SkinStyle &skin);
// Neutral body with the light zones in white, ready to be tinted.
QImage colorPicture(const SkinStyle &skin);
// The light zones alone, white on transparent, with their halo.
QImage glowMask();

}  // namespace mousepainter
