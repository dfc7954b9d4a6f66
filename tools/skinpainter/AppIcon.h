#pragma once
// The application icon: a dark tile with the mouse seen from above, lit in the Carbon accent.
// One geometry, drawn as a PNG and written as scalable SVG text.
#include <QImage>
#include <QString>

namespace appicon {

constexpr int kDesignSize = 256;  // the SVG's view box and the PNG's size

QImage png();
QString svg();

}  // namespace appicon
