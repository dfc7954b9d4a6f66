#include "ControlPainter.h"

#include "PaintKit.h"
#include "scenelogic/ScenePalette.h"

using namespace paintkit;

namespace controlpainter {

namespace {

const QRect kButtonBox(3, 3, 134, 30);
constexpr qreal kButtonRadius = 10;

// The small square plate of the add and delete buttons, check boxes and the like.
void paintSmallPlate(QPainter &painter, const SkinStyle &skin, const QRect &box, qreal radius,
                     const QColor &lit, bool hover)
{
    const QPainterPath shape = roundedBox(strokeBox(box), radius);
    if (hover)
        paintGlow(painter, shape, withAlpha(lit, skin.glowAlpha), 4, 2);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, hover ? mixed(skin.panelRaised, lit, 0.14) : skin.panelRaised);
    fill.setColorAt(1, hover ? mixed(skin.panel, lit, 0.06) : mixed(skin.panel, skin.backgroundTop, 0.4));
    painter.fillPath(shape, fill);
    painter.strokePath(shape, QPen(hover ? withAlpha(lit, 0.9) : skin.strokeBright, 1));
}

void paintGlyph(QPainter &painter, const QPainterPath &glyph, const QColor &color, bool glowing)
{
    if (glowing)
        paintGlow(painter, glyph, withAlpha(color, 0.55), 3, 2.5);
    painter.strokePath(glyph, QPen(color, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

}  // namespace

QImage button(const SkinStyle &skin, bool hover)
{
    QImage image = blankImage(140, 36);
    QPainter painter(&image);
    prepare(painter);
    const QPainterPath shape = roundedBox(strokeBox(kButtonBox), kButtonRadius);
    if (hover) {
        paintGlow(painter, shape, skin.glow(), 5, 2);
        paintPanel(painter, kButtonBox, kButtonRadius, mixed(skin.panelRaised, skin.accent, 0.10),
                   mixed(skin.panel, skin.accent, 0.04), skin.accentAt(0.9));
    } else {
        paintPanel(painter, kButtonBox, kButtonRadius, withAlpha(skin.panelRaised, 0.8),
                   withAlpha(skin.panel, 0.8), skin.strokeBright);
    }
    return image;
}

QImage primaryButton(const SkinStyle &skin, bool hover)
{
    QImage image = blankImage(140, 36);
    QPainter painter(&image);
    prepare(painter);
    const QPainterPath shape = roundedBox(strokeBox(kButtonBox), kButtonRadius);
    paintGlow(painter, shape, skin.accentAt(hover ? skin.glowAlpha * 1.6 : skin.glowAlpha), hover ? 6 : 5, 2);
    // A deep accent fill keeps light label text readable; the rim carries the full accent.
    const QColor base = mixed(skin.panel, skin.accent, hover ? 0.50 : 0.36);
    paintPanel(painter, kButtonBox, kButtonRadius, mixed(base, QColor(Qt::white), 0.10),
               mixed(base, QColor(Qt::black), 0.25), skin.accent);
    painter.save();
    painter.setClipPath(shape);
    QRadialGradient shine(QPointF(70, 3), 70, QPointF(70, 3));
    shine.setColorAt(0, QColor(255, 255, 255, hover ? 60 : 36));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    painter.fillRect(kButtonBox, shine);
    painter.restore();
    return image;
}

QImage checkBox(const SkinStyle &skin, bool checked)
{
    QImage image = blankImage(20, 20);
    QPainter painter(&image);
    prepare(painter);
    const QRect box(2, 2, 16, 16);
    const QPainterPath shape = roundedBox(strokeBox(box), 4);
    if (checked)
        paintGlow(painter, shape, skin.glow(), 3, 2);
    painter.fillPath(shape, checked ? mixed(skin.panel, skin.accent, 0.22)
                                    : mixed(skin.panel, skin.backgroundTop, 0.5));
    painter.strokePath(shape, QPen(checked ? skin.accent : skin.strokeBright, 1));
    if (checked) {
        QPainterPath tick;
        tick.moveTo(5.8, 10.2);
        tick.lineTo(8.7, 13.1);
        tick.lineTo(14.3, 7.2);
        paintGlyph(painter, tick, skin.accent, true);
    }
    return image;
}

QImage radioButton(const SkinStyle &skin, bool on)
{
    QImage image = blankImage(20, 20);
    QPainter painter(&image);
    prepare(painter);
    QPainterPath ring;
    ring.addEllipse(QPointF(10, 10), 7.5, 7.5);
    if (on)
        paintGlow(painter, ring, skin.glow(), 3, 2);
    painter.fillPath(ring, on ? mixed(skin.panel, skin.accent, 0.12) : mixed(skin.panel, skin.backgroundTop, 0.5));
    painter.strokePath(ring, QPen(on ? skin.accent : skin.strokeBright, 1));
    if (on) {
        QPainterPath dot;
        dot.addEllipse(QPointF(10, 10), 3.5, 3.5);
        paintGlow(painter, dot, skin.accentAt(0.8), 3);
        painter.fillPath(dot, skin.accent);
    }
    return image;
}

QImage sliderTrack(const SkinStyle &skin)
{
    QImage image = blankImage(240, 8);
    QPainter painter(&image);
    prepare(painter);
    const QRect groove(0, 1, 240, 6);
    const QPainterPath shape = roundedBox(strokeBox(groove), 3);
    QLinearGradient well(0, groove.top(), 0, groove.bottom());
    well.setColorAt(0, QColor(0, 0, 0, 150));
    well.setColorAt(1, mixed(skin.panel, skin.backgroundTop, 0.5));
    painter.fillPath(shape, well);
    painter.strokePath(shape, QPen(skin.stroke, 1));
    // A faint accent thread along the groove hints at the glow of the knob.
    QLinearGradient thread(0, 0, 240, 0);
    thread.setColorAt(0, skin.accentAt(0.45));
    thread.setColorAt(1, skin.accentAt(0.12));
    painter.setPen(QPen(QBrush(thread), 1));
    painter.drawLine(QPointF(4, 4.5), QPointF(236, 4.5));
    return image;
}

QImage sliderKnob(const SkinStyle &skin, bool hover)
{
    QImage image = blankImage(20, 20);
    QPainter painter(&image);
    prepare(painter);
    QPainterPath knob;
    knob.addEllipse(QPointF(10, 10), 7.5, 7.5);
    paintGlow(painter, knob, skin.accentAt(hover ? 0.7 : skin.glowAlpha), 3, 2);
    QRadialGradient body(QPointF(8, 6.5), 10);
    body.setColorAt(0, mixed(skin.panelRaised, QColor(Qt::white), 0.22));
    body.setColorAt(1, skin.panel);
    painter.fillPath(knob, body);
    painter.strokePath(knob, QPen(skin.accent, hover ? 1.6 : 1.2));
    QPainterPath core;
    core.addEllipse(QPointF(10, 10), 2.5, 2.5);
    painter.fillPath(core, hover ? skin.accent : skin.accentAt(0.75));
    return image;
}

QImage dropdown(const SkinStyle &skin, bool hover)
{
    QImage image = blankImage(200, 32);
    QPainter painter(&image);
    prepare(painter);
    const QRect box(1, 1, 198, 30);
    if (hover)
        paintGlow(painter, roundedBox(strokeBox(box), 10), skin.accentAt(skin.glowAlpha * 0.8), 4, 2);
    paintPanel(painter, box, 10, hover ? mixed(skin.panelRaised, skin.accent, 0.06) : skin.panelRaised,
               mixed(skin.panel, skin.backgroundTop, 0.35), hover ? skin.accentAt(0.85) : skin.strokeBright);
    // The arrow's well at the right end, parted by a short rule.
    painter.setPen(QPen(hover ? skin.accentAt(0.45) : skin.stroke, 1));
    painter.drawLine(QPointF(170.5, 7), QPointF(170.5, 25));
    return image;
}

QImage arrowDown(const SkinStyle &skin)
{
    QImage image = blankImage(12, 12);
    QPainter painter(&image);
    prepare(painter);
    QPainterPath chevron;
    chevron.moveTo(2.5, 4.5);
    chevron.lineTo(6, 8);
    chevron.lineTo(9.5, 4.5);
    painter.strokePath(chevron, QPen(skin.accent, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    return image;
}

QImage plusButton(const SkinStyle &skin, bool hover)
{
    QImage image = blankImage(28, 28);
    QPainter painter(&image);
    prepare(painter);
    paintSmallPlate(painter, skin, QRect(2, 2, 24, 24), 7, skin.accent, hover);
    QPainterPath plus;
    plus.moveTo(14, 8.5);
    plus.lineTo(14, 19.5);
    plus.moveTo(8.5, 14);
    plus.lineTo(19.5, 14);
    paintGlyph(painter, plus, hover ? skin.accent : skin.text, hover);
    return image;
}

QImage deleteButton(const SkinStyle &skin, bool hover)
{
    QImage image = blankImage(28, 28);
    QPainter painter(&image);
    prepare(painter);
    paintSmallPlate(painter, skin, QRect(2, 2, 24, 24), 7, skin.danger, hover);
    // A bin: lid, handle and body with two ribs.
    QPainterPath bin;
    bin.moveTo(8.5, 9.5);
    bin.lineTo(19.5, 9.5);
    bin.moveTo(12, 9.5);
    bin.lineTo(12.5, 7.5);
    bin.lineTo(15.5, 7.5);
    bin.lineTo(16, 9.5);
    bin.moveTo(10, 9.5);
    bin.lineTo(11, 20.5);
    bin.lineTo(17, 20.5);
    bin.lineTo(18, 9.5);
    bin.moveTo(13, 12.5);
    bin.lineTo(13, 17.5);
    bin.moveTo(15, 12.5);
    bin.lineTo(15, 17.5);
    const QColor ink = hover ? skin.danger : skin.text;
    if (hover)
        paintGlow(painter, bin, withAlpha(ink, 0.5), 3, 2.5);
    painter.strokePath(bin, QPen(ink, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    return image;
}

QImage paletteStrip()
{
    const int scale = pixelScale();
    QImage image(24 * scale, 200 * scale, QImage::Format_ARGB32);
    image.setDevicePixelRatio(scale);
    for (int y = 0; y < image.height(); ++y) {
        const QRgb row = ScenePalette::stripColor(y, image.height()).rgba();
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        std::fill(line, line + image.width(), row);
    }
    return image;
}

}  // namespace controlpainter
