#include "MenuPainter.h"

#include "PaintKit.h"

#include <QtMath>

using namespace paintkit;

namespace menupainter {

namespace {

constexpr int kIconSize = 36;
const QRectF kMouseBody(10.5, 4.5, 15, 27);
constexpr qreal kSplitY = 14.5;

// Fill and stroke of a menu entry in each state.
void paintEntry(QPainter &painter, const SkinStyle &skin, const QRect &box, qreal radius, State state)
{
    const QRectF edge = strokeBox(box);
    const QPainterPath shape = roundedBox(edge, radius);
    switch (state) {
    case State::Normal:
        paintPanel(painter, box, radius, withAlpha(skin.panel, 0.55), withAlpha(skin.panel, 0.35),
                   withAlpha(skin.stroke, 0.7));
        break;
    case State::Hover:
        paintPanel(painter, box, radius, skin.panelRaised, mixed(skin.panel, skin.panelRaised, 0.5),
                   skin.strokeBright);
        break;
    case State::Selected: {
        paintGlow(painter, shape, skin.accentAt(skin.glowAlpha * 0.6), 6, 2);
        paintPanel(painter, box, radius, mixed(skin.panelRaised, skin.accent, 0.08),
                   mixed(skin.panel, skin.accent, 0.05), skin.accentAt(0.55));
        break;
    }
    }
}

// The accent bar on an entry's inner edge, with its glow and a wash of accent light fading
// towards the middle, clipped to the entry.
void paintAccentEdge(QPainter &painter, const SkinStyle &skin, const QRectF &bar, const QPainterPath &clip,
                     qreal washAlpha)
{
    painter.save();
    painter.setClipPath(clip);
    QLinearGradient wash(bar.center().x() < clip.boundingRect().center().x()
                             ? QPointF(clip.boundingRect().left(), 0)
                             : QPointF(clip.boundingRect().right(), 0),
                         QPointF(clip.boundingRect().center().x(), 0));
    wash.setColorAt(0, skin.accentAt(washAlpha));
    wash.setColorAt(1, skin.accentAt(0));
    painter.fillPath(clip, wash);
    paintGlow(painter, roundedBox(bar, 1.5), skin.glow(), 6, 3);
    painter.fillPath(roundedBox(bar, 1.5), skin.accent);
    painter.restore();
}

QPen artPen(const SkinStyle &skin, qreal width = 1.8)
{
    return QPen(skin.accent, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPainterPath keyArt()
{
    // A small mouse with its left button lit: the button assignment page.
    QPainterPath art;
    art.addRoundedRect(kMouseBody, 7.5, 7.5);
    art.moveTo(18, kMouseBody.top());
    art.lineTo(18, kSplitY);
    art.moveTo(kMouseBody.left(), kSplitY);
    art.lineTo(kMouseBody.right(), kSplitY);
    return art;
}

QPainterPath macroArt()
{
    // A recorded sequence: three steps and a play mark.
    QPainterPath art;
    for (int k = 0; k < 3; ++k) {
        const qreal y = 10.5 + k * 7.5;
        art.moveTo(6.5, y);
        art.lineTo(k == 1 ? 17.5 : 21.5, y);
    }
    art.moveTo(24.5, 17.5);
    art.lineTo(31.5, 22);
    art.lineTo(24.5, 26.5);
    art.closeSubpath();
    return art;
}

QPainterPath colorArt()
{
    // Three overlapping light circles.
    QPainterPath art;
    const qreal r = 7.5;
    art.addEllipse(QPointF(18, 12.5), r, r);
    art.addEllipse(QPointF(13.3, 20.8), r, r);
    art.addEllipse(QPointF(22.7, 20.8), r, r);
    return art;
}

QPainterPath sensorArt()
{
    // A crosshair: the sensor and its resolution.
    QPainterPath art;
    art.addEllipse(QPointF(18, 18), 10, 10);
    const qreal in = 5, out = 14.5;
    art.moveTo(18, 18 - out); art.lineTo(18, 18 - in);
    art.moveTo(18, 18 + in); art.lineTo(18, 18 + out);
    art.moveTo(18 - out, 18); art.lineTo(18 - in, 18);
    art.moveTo(18 + in, 18); art.lineTo(18 + out, 18);
    return art;
}

void paintCornerTicks(QPainter &painter, const SkinStyle &skin, const QRectF &edge, qreal leg)
{
    const QPainterPath ticks = cornerBrackets(edge, leg, 10);
    paintGlow(painter, ticks, skin.accentAt(skin.glowAlpha * 0.8), 4, 2.5);
    painter.strokePath(ticks, QPen(skin.accentAt(0.75), 1.2, Qt::SolidLine, Qt::FlatCap));
}

}  // namespace

QImage functionTab(const SkinStyle &skin, State state)
{
    QImage image = blankImage(150, 96);
    QPainter painter(&image);
    prepare(painter);
    const QRect box(8, 4, 138, 88);
    paintEntry(painter, skin, box, 10, state);
    if (state == State::Selected) {
        const QRectF edge = strokeBox(box);
        paintAccentEdge(painter, skin, QRectF(box.right() - 3, box.top() + 14, 3, box.height() - 28),
                        roundedBox(edge, 10), 0.22);
    }
    return image;
}

QImage tabIcon(const SkinStyle &skin, TabIcon icon)
{
    QImage image = blankImage(kIconSize, kIconSize);
    QPainter painter(&image);
    prepare(painter);
    QPainterPath art;
    switch (icon) {
    case TabIcon::Key: art = keyArt(); break;
    case TabIcon::Macro: art = macroArt(); break;
    case TabIcon::Color: art = colorArt(); break;
    case TabIcon::Sensor: art = sensorArt(); break;
    }
    paintGlow(painter, art, skin.glow(), 4, 3);
    painter.strokePath(art, artPen(skin));
    if (icon == TabIcon::Key) {
        // The lit button.
        QPainterPath body;
        body.addRoundedRect(kMouseBody, 7.5, 7.5);
        QPainterPath leftHalf;
        leftHalf.addRect(QRectF(kMouseBody.left(), kMouseBody.top(), 18 - kMouseBody.left(),
                                kSplitY - kMouseBody.top()));
        painter.fillPath(body.intersected(leftHalf), skin.accentAt(0.55));
    } else if (icon == TabIcon::Sensor) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(skin.accent);
        painter.drawEllipse(QPointF(18, 18), 2, 2);
    }
    return image;
}

QImage profileRow(const SkinStyle &skin, State state)
{
    QImage image = blankImage(110, 38);
    QPainter painter(&image);
    prepare(painter);
    const QRect box(3, 2, 104, 34);
    paintEntry(painter, skin, box, 8, state);
    if (state == State::Selected)
        paintAccentEdge(painter, skin, QRectF(box.left(), box.top() + 7, 2, box.height() - 14),
                        roundedBox(strokeBox(box), 8), 0.22);
    return image;
}

QImage pagePanel(const SkinStyle &skin)
{
    QImage image = blankImage(710, 472);
    QPainter painter(&image);
    prepare(painter);
    const QRect box = unitRect(image);
    const QPainterPath shape = roundedBox(strokeBox(box), 10);
    paintPanel(painter, box, 10, withAlpha(skin.panelRaised, 0.94), withAlpha(skin.panel, 0.94), skin.stroke);
    paintSurface(painter, shape, skin, 0.18);
    paintCornerTicks(painter, skin, strokeBox(box).adjusted(2, 2, -2, -2), 22);
    return image;
}

QImage settingsSheet(const SkinStyle &skin)
{
    QImage image = blankImage(710, 472);
    QPainter painter(&image);
    prepare(painter);
    const QRect box = unitRect(image);
    const QRectF edge = strokeBox(box);
    const QPainterPath shape = roundedBox(edge, 10);
    paintPanel(painter, box, 10, mixed(skin.panelRaised, QColor(Qt::white), 0.02), skin.panel, skin.strokeBright);
    paintSurface(painter, shape, skin, 0.2);

    // Heading band with its rule, and the accent edge on the side the sheet slides in from.
    painter.save();
    painter.setClipPath(shape);
    QLinearGradient band(0, 0, 0, 48);
    band.setColorAt(0, skin.accentAt(0.10));
    band.setColorAt(1, skin.accentAt(0.02));
    painter.fillRect(QRectF(0, 0, box.width(), 48), band);
    painter.restore();
    QLinearGradient rule(0, 0, box.width(), 0);
    rule.setColorAt(0, skin.accentAt(0.7));
    rule.setColorAt(0.6, withAlpha(skin.strokeBright, 0.6));
    rule.setColorAt(1, withAlpha(skin.strokeBright, 0));
    painter.setPen(QPen(QBrush(rule), 1));
    painter.drawLine(QPointF(16, 47.5), QPointF(box.width() - 16, 47.5));
    paintAccentEdge(painter, skin, QRectF(0, 20, 3, box.height() - 40), shape, 0.05);
    return image;
}

}  // namespace menupainter
