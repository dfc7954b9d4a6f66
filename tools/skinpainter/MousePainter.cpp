#include "MousePainter.h"

#include "BrandMark.h"
#include "MouseLayout.h"
#include "PaintKit.h"

using namespace paintkit;
namespace ml = mouselayout;

namespace mousepainter {

namespace {

struct BodyTones {
    QColor top;      // lit nose
    QColor bottom;   // shaded tail
    QColor seam;     // the dark gaps between parts
    QColor rim;      // light along the outline
    QColor outline;  // button outlines
};

BodyTones skinTones(const SkinStyle &skin)
{
    return {skin.shellTop, skin.shellBottom, QColor(0, 0, 0, 200), skin.accentAt(0.45),
            mixed(skin.strokeBright, skin.accent, 0.35)};
}

BodyTones neutralTones()
{
    return {QColor("#4A4D52"), QColor("#1C1D20"), QColor(0, 0, 0, 200), QColor(255, 255, 255, 70),
            QColor("#6E7278")};
}

QImage blankPicture()
{
    return blankImage(ml::kPictureSize.width(), ml::kPictureSize.height());
}

void paintShadow(QPainter &painter)
{
    paintBlurred(painter, 16, [](QPainter &layer) {
        layer.translate(0, 7);
        layer.fillPath(ml::body(), QColor(0, 0, 0, 200));
    });
}

// A shaped part lit from the upper left: a vertical fill plus a soft sheen.
void paintPart(QPainter &painter, const QPainterPath &part, const QColor &top, const QColor &bottom,
               const QPointF &sheenAt, qreal sheenRadius, int sheenAlpha)
{
    const QRectF box = part.boundingRect();
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    painter.fillPath(part, fill);
    QRadialGradient sheen(sheenAt, sheenRadius);
    sheen.setColorAt(0, QColor(255, 255, 255, sheenAlpha));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    painter.fillPath(part, sheen);
}

// The body curves away at its edges: darken them and light the ridge along the middle.
void paintDome(QPainter &painter)
{
    const QPainterPath body = ml::body();
    painter.save();
    painter.setClipPath(body);
    paintBlurred(painter, 22, [&](QPainter &layer) {
        layer.strokePath(body, QPen(QColor(0, 0, 0, 190), 34));
    });
    QRadialGradient ridge(QPointF(150, 150), 120);
    ridge.setColorAt(0, QColor(255, 255, 255, 22));
    ridge.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setTransform(QTransform().translate(150, 150).scale(0.55, 1.6).translate(-150, -150), true);
    painter.fillRect(QRectF(0, -60, 300, 420), ridge);
    painter.restore();
}

// A glossy line just inside the nose, where the shells catch the light.
void paintGloss(QPainter &painter)
{
    const QPointF middle = ml::body().boundingRect().center();
    const QTransform inset = QTransform()
                                 .translate(middle.x(), middle.y())
                                 .scale(0.985, 0.99)
                                 .translate(-middle.x(), -middle.y());
    QLinearGradient fade(0, 18, 0, 130);
    fade.setColorAt(0, QColor(255, 255, 255, 90));
    fade.setColorAt(1, QColor(255, 255, 255, 0));
    painter.save();
    painter.setClipPath(ml::leftShell().united(ml::rightShell()));
    painter.strokePath(inset.map(ml::body()), QPen(QBrush(fade), 1.2));
    painter.restore();
}

void paintBody(QPainter &painter, const BodyTones &tones)
{
    paintShadow(painter);
    const QPainterPath body = ml::body();
    // The base shows through the seams between the parts.
    painter.fillPath(body, mixed(tones.bottom, QColor(Qt::black), 0.45));

    const QColor shellTop = mixed(tones.top, QColor(Qt::white), 0.05);
    paintPart(painter, ml::leftShell(), shellTop, tones.top, QPointF(95, 70), 80, 34);
    paintPart(painter, ml::rightShell(), shellTop, tones.top, QPointF(205, 70), 80, 22);

    // The palm starts a few pixels behind the shells, leaving a dark seam between them.
    const QPainterPath palm = ml::palm();
    const QPainterPath palmPart = palm.intersected(palm.translated(0, 3));
    paintPart(painter, palmPart, tones.top, tones.bottom, QPointF(150, 200), 130, 26);
    paintDome(painter);
    paintGloss(painter);
}

void paintRimLight(QPainter &painter, const QColor &rim)
{
    const QPainterPath body = ml::body();
    painter.save();
    painter.setClipPath(body);
    paintBlurred(painter, 4, [&](QPainter &layer) {
        layer.strokePath(body, QPen(rim, 4));
    });
    painter.restore();
    painter.strokePath(body, QPen(withAlpha(rim, rim.alphaF() * 1.4), 1));
}

void paintWheel(QPainter &painter, const BodyTones &tones)
{
    painter.fillPath(roundedBox(ml::wheelSlot(), 12), QColor("#07090C"));
    const QRectF wheel = ml::wheel();
    QLinearGradient drum(wheel.topLeft(), wheel.topRight());
    drum.setColorAt(0, QColor("#15171A"));
    drum.setColorAt(0.45, mixed(tones.top, QColor(Qt::white), 0.12));
    drum.setColorAt(1, QColor("#101214"));
    const QPainterPath wheelShape = roundedBox(wheel, 8);
    painter.fillPath(wheelShape, drum);
    // Rubber ribs, fading towards the ends where the drum turns away.
    painter.save();
    painter.setClipPath(wheelShape);
    for (qreal y = wheel.top() + 4.5; y < wheel.bottom() - 3; y += 4) {
        const qreal fromMiddle = qAbs(y - wheel.center().y()) / (wheel.height() / 2);
        painter.setPen(QPen(QColor(0, 0, 0, int(150 * (1 - fromMiddle * 0.6))), 1));
        painter.drawLine(QPointF(wheel.left(), y), QPointF(wheel.right(), y));
    }
    QLinearGradient ends(wheel.topLeft(), wheel.bottomLeft());
    ends.setColorAt(0, QColor(0, 0, 0, 170));
    ends.setColorAt(0.3, QColor(0, 0, 0, 0));
    ends.setColorAt(0.7, QColor(0, 0, 0, 0));
    ends.setColorAt(1, QColor(0, 0, 0, 170));
    painter.fillRect(wheel, ends);
    painter.restore();
}

void paintSmallButton(QPainter &painter, const QRectF &box, qreal radius, const BodyTones &tones)
{
    const QPainterPath shape = roundedBox(box, radius);
    painter.fillPath(roundedBox(box.adjusted(-1.5, -1.5, 1.5, 1.5), radius + 1.5), tones.seam);
    paintPart(painter, shape, mixed(tones.top, QColor(Qt::white), 0.12), tones.bottom,
              box.topLeft() + QPointF(box.width() * 0.35, 2), box.width(), 40);
}

void paintDpiMarks(QPainter &painter, const QColor &ink)
{
    // Raised and lowered chevrons say which way each DPI button steps.
    const auto chevron = [&](const QRectF &box, bool up) {
        const QPointF c = box.center();
        const qreal dy = up ? 2 : -2;
        QPainterPath mark;
        mark.moveTo(c + QPointF(-4, dy));
        mark.lineTo(c + QPointF(0, -dy));
        mark.lineTo(c + QPointF(4, dy));
        painter.strokePath(mark, QPen(ink, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    };
    chevron(ml::dpiUp(), true);
    chevron(ml::dpiDown(), false);
}

void paintControls(QPainter &painter, const BodyTones &tones)
{
    paintWheel(painter, tones);
    paintSmallButton(painter, ml::dpiUp(), 5, tones);
    paintSmallButton(painter, ml::dpiDown(), 5, tones);
    paintSmallButton(painter, ml::sideForward(), 6, tones);
    paintSmallButton(painter, ml::sideBackward(), 6, tones);
}

// Crisp outlines round every button, so each reads as its own part.
void paintButtonOutlines(QPainter &painter, const SkinStyle &skin, const BodyTones &tones)
{
    QPainterPath outlines;
    outlines.addPath(ml::leftShell());
    outlines.addPath(ml::rightShell());
    outlines.addPath(roundedBox(ml::wheel(), 8));
    outlines.addPath(roundedBox(ml::dpiUp(), 5));
    outlines.addPath(roundedBox(ml::dpiDown(), 5));
    outlines.addPath(roundedBox(ml::sideForward(), 6));
    outlines.addPath(roundedBox(ml::sideBackward(), 6));
    paintGlow(painter, outlines, skin.accentAt(skin.glowAlpha * 0.45), 3, 2);
    painter.strokePath(outlines, QPen(tones.outline, 1));
}

QPainterPath logoMark()
{
    return brandmark::emblem(ml::logoBox());
}

QPainterPath lightZones()
{
    QPainterPath zones;
    zones.addPath(logoMark());
    zones.addPath(ml::wheelRing());
    QPainterPathStroker stroker;
    stroker.setWidth(4);
    stroker.setCapStyle(Qt::RoundCap);
    zones.addPath(stroker.createStroke(ml::sideStrip()));
    return zones;
}

void paintEngravedLogo(QPainter &painter)
{
    const QPainterPath mark = logoMark();
    painter.fillPath(mark.translated(0, 1), QColor(255, 255, 255, 24));
    painter.fillPath(mark, QColor(0, 0, 0, 120));
}

}  // namespace

QImage keyDefinePicture(const SkinStyle &skin)
{
    QImage image = blankPicture();
    QPainter painter(&image);
    prepare(painter);
    const BodyTones tones = skinTones(skin);
    paintBody(painter, tones);
    paintSurface(painter, ml::palm(), skin, 0.22);
    paintControls(painter, tones);
    paintDpiMarks(painter, withAlpha(skin.text, 0.8));
    paintEngravedLogo(painter);
    paintRimLight(painter, tones.rim);
    paintButtonOutlines(painter, skin, tones);
    return image;
}

QImage colorPicture(const SkinStyle &)
{
    QImage image = blankPicture();
    QPainter painter(&image);
    prepare(painter);
    const BodyTones tones = neutralTones();
    paintBody(painter, tones);
    paintControls(painter, tones);
    paintDpiMarks(painter, QColor(255, 255, 255, 110));
    paintRimLight(painter, tones.rim);
    // The zones in plain white: the scene tints them with the lighting colour.
    const QPainterPath zones = lightZones();
    painter.fillPath(zones, QColor(245, 245, 245));
    return image;
}

QImage glowMask()
{
    QImage image = blankPicture();
    QPainter painter(&image);
    prepare(painter);
    const QPainterPath zones = lightZones();
    // The wide halo is drawn here once: blurring it on the page's canvas at every colour change
    // held the window for most of a second.
    paintGlow(painter, zones, QColor(255, 255, 255, 150), 22, 10);
    paintGlow(painter, zones, QColor(255, 255, 255, 200), 10, 6);
    paintGlow(painter, zones, QColor(255, 255, 255, 230), 3, 2);
    painter.fillPath(zones, Qt::white);
    return image;
}

}  // namespace mousepainter
