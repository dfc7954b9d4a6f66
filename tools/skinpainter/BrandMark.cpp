#include "BrandMark.h"

#include <QPainterPathStroker>
#include <QPolygonF>
#include <QtMath>

namespace brandmark {

namespace {

QPainterPath stroked(const QPainterPath &line, qreal width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setJoinStyle(Qt::MiterJoin);
    stroker.setCapStyle(Qt::FlatCap);
    return stroker.createStroke(line);
}

}  // namespace

QPainterPath emblem(const QRectF &box)
{
    const qreal size = qMin(box.width(), box.height());
    const QPointF centre = box.center();
    const auto at = [&](qreal x, qreal y) { return centre + QPointF(x * size, y * size); };

    QPolygonF hexagon;
    for (int k = 0; k < 6; ++k) {
        const qreal angle = M_PI / 6 + k * M_PI / 3;  // a flat side on the left and right
        hexagon << at(0.44 * qCos(angle), 0.44 * qSin(angle));
    }
    hexagon << hexagon.first();
    QPainterPath ring;
    ring.addPolygon(hexagon);

    QPainterPath letter;
    letter.moveTo(at(-0.25, -0.17));
    letter.lineTo(at(-0.125, 0.2));
    letter.lineTo(at(0, -0.06));
    letter.lineTo(at(0.125, 0.2));
    letter.lineTo(at(0.25, -0.17));

    QPainterPath mark = stroked(ring, size * 0.085).united(stroked(letter, size * 0.1));
    mark.setFillRule(Qt::WindingFill);
    return mark.simplified();
}

}  // namespace brandmark
