#include "MouseLayout.h"

#include <QtMath>

namespace mouselayout {

namespace {

constexpr qreal kAxis = 150;          // the mouse is symmetric about this column
constexpr qreal kShellEndSide = 146;  // where the shells end at the flanks...
constexpr qreal kShellEndMiddle = 156;  // ...and at the middle, behind the wheel
constexpr qreal kGroove = 1.5;        // half the gap between the two shells

QPointF mirrored(const QPointF &point)
{
    return QPointF(2 * kAxis - point.x(), point.y());
}

QPainterPath shellLine()
{
    // The curved seam where the shells end, lower in the middle than at the flanks.
    QPainterPath region;
    region.moveTo(0, 0);
    region.lineTo(300, 0);
    region.lineTo(300, kShellEndSide);
    region.cubicTo(220, kShellEndSide + 2, 180, kShellEndMiddle, kAxis, kShellEndMiddle);
    region.cubicTo(120, kShellEndMiddle, 80, kShellEndSide + 2, 0, kShellEndSide);
    region.closeSubpath();
    return region;
}

QPainterPath halfPlane(bool left)
{
    QPainterPath half;
    half.addRect(left ? QRectF(0, 0, kAxis - kGroove, 400) : QRectF(kAxis + kGroove, 0, 150, 400));
    return half;
}

QPainterPath slotCutout()
{
    QPainterPath cut;
    cut.addRoundedRect(wheelSlot().adjusted(-2, -2, 2, 2), 13, 13);
    return cut;
}

}  // namespace

const QVector<ButtonCentre> &buttonCentres()
{
    static const QVector<ButtonCentre> centres = {
        {0, {100, 100}}, {1, {200, 100}}, {2, {150, 105}}, {14, {150, 78}}, {15, {150, 132}},
        {5, {150, 170}}, {6, {150, 196}}, {4, {46, 170}},  {3, {46, 222}},
    };
    return centres;
}

QPointF centreOf(int slot)
{
    for (const ButtonCentre &button : buttonCentres()) {
        if (button.slot == slot)
            return button.centre;
    }
    return {};
}

QPainterPath body()
{
    // Right half from the nose down to the tail, then the mirror image back up.
    const QVector<QPointF> right = {
        {150, 18},  {198, 18},  {236, 38},  {247, 88},    // nose to the front of the flank
        {256, 132}, {258, 186}, {258, 228},                // flank, widest behind the middle
        {258, 300}, {250, 352}, {212, 374},                // towards the tail
        {188, 387}, {166, 388}, {150, 388},                // tail
    };
    QPainterPath path;
    path.moveTo(right[0]);
    for (int k = 1; k + 2 < right.size(); k += 3)
        path.cubicTo(right[k], right[k + 1], right[k + 2]);
    for (int k = right.size() - 2; k - 2 >= 0; k -= 3)
        path.cubicTo(mirrored(right[k]), mirrored(right[k - 1]), mirrored(right[k - 2]));
    path.closeSubpath();
    return path;
}

QPainterPath leftShell()
{
    return body().intersected(shellLine()).intersected(halfPlane(true)).subtracted(slotCutout());
}

QPainterPath rightShell()
{
    return body().intersected(shellLine()).intersected(halfPlane(false)).subtracted(slotCutout());
}

QPainterPath palm()
{
    return body().subtracted(shellLine());
}

QRectF wheelSlot()
{
    return QRectF(kAxis - 15, 64, 30, 82);
}

QRectF wheel()
{
    // Its ends are the scroll up and scroll down positions.
    return QRectF(kAxis - 9, 74, 18, 62);
}

QRectF dpiUp()
{
    return QRectF(kAxis - 12, centreOf(5).y() - 9, 24, 18);
}

QRectF dpiDown()
{
    return QRectF(kAxis - 12, centreOf(6).y() - 9, 24, 18);
}

QRectF sideForward()
{
    const QPointF c = centreOf(4);
    return QRectF(c.x() - 6, c.y() - 23, 12, 46);
}

QRectF sideBackward()
{
    const QPointF c = centreOf(3);
    return QRectF(c.x() - 6, c.y() - 23, 12, 46);
}

QRectF logoBox()
{
    return QRectF(kAxis - 22, 278, 44, 44);
}

QPainterPath wheelRing()
{
    QPainterPath outer, inner;
    outer.addRoundedRect(wheelSlot().adjusted(-1, -1, 1, 1), 14, 14);
    inner.addRoundedRect(wheelSlot().adjusted(2, 2, -2, -2), 11, 11);
    return outer.subtracted(inner);
}

QPainterPath sideStrip()
{
    // A line following the outline a few pixels inside it, along the rear flanks and round the tail.
    const QPainterPath outline = body();
    const qreal inset = 7;
    const qreal fromY = 248;
    QPainterPath strip;
    bool started = false;
    const int samples = 600;
    for (int k = 0; k <= samples; ++k) {
        const qreal t = qreal(k) / samples;
        const QPointF point = outline.pointAtPercent(t);
        if (point.y() < fromY)
            continue;
        // The outline runs clockwise on screen, so the inward normal is the tangent turned right.
        const qreal angle = qDegreesToRadians(outline.angleAtPercent(t));
        const QPointF inward(qSin(angle), qCos(angle));
        const QPointF onStrip = point + inward * inset;
        if (!started) {
            strip.moveTo(onStrip);
            started = true;
        } else {
            strip.lineTo(onStrip);
        }
    }
    return strip;
}

}  // namespace mouselayout
