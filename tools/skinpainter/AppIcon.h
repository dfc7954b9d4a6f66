#pragma once
// The application icon: a dark tile with the mouse seen from above, lit in the Carbon accent.
// One geometry, drawn as a PNG and written as scalable SVG text.
#include <QIcon>
#include <QImage>
#include <QString>
#include <QVector>

namespace appicon {

constexpr int kDesignSize = 256;  // the SVG's view box and the PNG's size

QImage png();
// The icon drawn at `pixels` × `pixels`, at that resolution.
QImage png(int pixels);
QString svg();

// The sizes a tray, a window list and a message box ask for, each at 1× and 2×.
const QVector<int> &iconSizes();
// Every size of iconSizes(), drawn at its own resolution, so that no size is a scaled copy.
QIcon icon();

}  // namespace appicon
