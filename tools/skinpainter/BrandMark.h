#pragma once
// The product's emblem: an angular W inside a hexagon ring, as one fillable path.
#include <QPainterPath>
#include <QRectF>

namespace brandmark {

QPainterPath emblem(const QRectF &box);

}  // namespace brandmark
