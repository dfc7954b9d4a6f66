#include "FramePainter.h"

#include "BrandMark.h"
#include "PaintKit.h"
#include "WindowRegions.h"

#include <QtMath>

using namespace paintkit;

namespace framepainter {

namespace {

constexpr int kBarHeight = 56;
constexpr int kButtonSize = 32;

QPainterPath windowShape()
{
    return roundedBox(strokeBox(QRect(QPoint(0, 0), regions::kWindow)), regions::kRadius);
}

// A horizontal accent line that fades out towards both ends, with its glow.
void paintAccentRule(QPainter &painter, const SkinStyle &skin, qreal y, qreal left, qreal right,
                     qreal alpha)
{
    QLinearGradient fade(left, 0, right, 0);
    fade.setColorAt(0, skin.accentAt(0));
    fade.setColorAt(0.5, skin.accentAt(alpha));
    fade.setColorAt(1, skin.accentAt(0));
    QPainterPath rule;
    rule.moveTo(left, y);
    rule.lineTo(right, y);
    paintBlurred(painter, 6, [&](QPainter &layer) {
        layer.strokePath(rule, QPen(QBrush(fade), 3));
    });
    painter.strokePath(rule, QPen(QBrush(fade), 1));
}

// A bar of the window: the body, its grain, and its edge line towards the page area.
QImage bar(const SkinStyle &skin, bool atTop)
{
    QImage image = blankImage(regions::kWindow.width(), kBarHeight);
    QPainter painter(&image);
    prepare(painter);
    // The bar keeps the window's rounded corners on its outer side only: its box runs on past
    // the inner edge by one radius.
    const int overhang = regions::kRadius + 1;
    const QRect box = atTop ? QRect(0, 0, regions::kWindow.width(), kBarHeight + overhang)
                            : QRect(0, -overhang, regions::kWindow.width(), kBarHeight + overhang);
    const QPainterPath shape = roundedBox(strokeBox(box), regions::kRadius);
    QLinearGradient fill(0, 0, 0, kBarHeight);
    fill.setColorAt(atTop ? 0 : 1, mixed(skin.panelRaised, skin.backgroundTop, 0.15));
    fill.setColorAt(atTop ? 1 : 0, mixed(skin.panel, skin.backgroundTop, 0.45));
    painter.fillPath(shape, fill);
    paintSurface(painter, shape, skin, 0.35);
    // The outer window edge, so the bar reads as part of the frame even above a user background.
    painter.strokePath(shape, QPen(withAlpha(skin.strokeBright, 0.5), 1));

    const qreal edgeY = atTop ? kBarHeight - 0.5 : 0.5;
    painter.setPen(QPen(skin.stroke, 1));
    painter.drawLine(QPointF(0, edgeY), QPointF(regions::kWindow.width(), edgeY));
    paintAccentRule(painter, skin, edgeY, 250, 750, atTop ? 0.9 : 0.55);
    return image;
}

// The round plate behind both top-bar buttons; lit when hovered.
void paintButtonPlate(QPainter &painter, const SkinStyle &skin, const QColor &hoverColor, bool hover)
{
    const QRectF plate = strokeBox(QRect(3, 3, kButtonSize - 6, kButtonSize - 6));
    const QPainterPath shape = roundedBox(plate, 8);
    if (hover)
        paintGlow(painter, shape, withAlpha(hoverColor, 0.45), 5, 2);
    painter.fillPath(shape, hover ? mixed(skin.panelRaised, hoverColor, 0.14) : withAlpha(skin.panel, 0.7));
    painter.strokePath(shape, QPen(hover ? withAlpha(hoverColor, 0.85) : skin.stroke, 1));
}

void paintLineArt(QPainter &painter, const QPainterPath &art, const QColor &color, bool glowing)
{
    if (glowing)
        paintGlow(painter, art, withAlpha(color, 0.6), 4, 2.5);
    painter.strokePath(art, QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

QPainterPath gearPath(const QPointF &centre)
{
    // Eight teeth on a ring, with a hub hole.
    QPainterPath gear;
    const int teeth = 8;
    const qreal outer = 8.2, inner = 6.0;
    for (int k = 0; k < teeth * 4; ++k) {
        const qreal angle = (k - 0.5) * M_PI * 2 / (teeth * 4);
        const bool onTooth = (k % 4) == 0 || (k % 4) == 1;
        const qreal radius = onTooth ? outer : inner;
        const QPointF point = centre + QPointF(qCos(angle) * radius, qSin(angle) * radius);
        if (k == 0)
            gear.moveTo(point);
        else
            gear.lineTo(point);
    }
    gear.closeSubpath();
    gear.addEllipse(centre, 2.6, 2.6);
    return gear;
}

}  // namespace

QImage background(const SkinStyle &skin)
{
    QImage image = blankImage(regions::kWindow.width(), regions::kWindow.height());
    QPainter painter(&image);
    prepare(painter);
    const QPainterPath shape = windowShape();
    QLinearGradient fill(0, 0, 0, regions::kWindow.height());
    fill.setColorAt(0, skin.backgroundTop);
    fill.setColorAt(1, skin.backgroundBottom);
    painter.fillPath(shape, fill);
    paintSurface(painter, shape, skin, 0.16);

    // A faint pool of accent light behind the page area, and darker edges, give depth.
    painter.save();
    painter.setClipPath(shape);
    const QPointF middle = QRectF(regions::kPageArea).center();
    QRadialGradient pool(middle, 520);
    pool.setColorAt(0, skin.accentAt(0.045));
    pool.setColorAt(1, skin.accentAt(0));
    painter.fillRect(QRect(QPoint(), regions::kWindow), pool);
    QRadialGradient vignette(middle, 640);
    vignette.setColorAt(0.55, QColor(0, 0, 0, 0));
    vignette.setColorAt(1, QColor(0, 0, 0, 110));
    painter.fillRect(QRect(QPoint(), regions::kWindow), vignette);
    painter.restore();
    return image;
}

QImage decoration(const SkinStyle &skin)
{
    QImage image = blankImage(regions::kWindow.width(), regions::kWindow.height());
    QPainter painter(&image);
    prepare(painter);
    painter.strokePath(windowShape(), QPen(skin.stroke, 1));

    // Column dividers between the menus and the page area, fading at both ends.
    for (const qreal x : {regions::kFunctionMenu.right() + 5.5, regions::kProfileMenu.left() - 5.5}) {
        QLinearGradient fade(0, regions::kPageArea.top(), 0, regions::kPageArea.bottom());
        fade.setColorAt(0, withAlpha(skin.stroke, 0));
        fade.setColorAt(0.5, skin.stroke);
        fade.setColorAt(1, withAlpha(skin.stroke, 0));
        painter.setPen(QPen(QBrush(fade), 1));
        painter.drawLine(QPointF(x, regions::kPageArea.top()), QPointF(x, regions::kPageArea.bottom()));
    }

    // Accent brackets at the four corners of the window, drawn along the rounded edge.
    const qreal leg = 34, inset = 0.5 + 1, r = regions::kRadius - 1;
    const QRectF inner = QRectF(QPointF(), regions::kWindow).adjusted(inset, inset, -inset, -inset);
    const QPainterPath brackets = cornerBrackets(inner, leg, r);
    paintGlow(painter, brackets, skin.glow(), 5, 3);
    painter.strokePath(brackets, QPen(skin.accentAt(0.85), 1.5, Qt::SolidLine, Qt::FlatCap));
    return image;
}

QImage topBar(const SkinStyle &skin)
{
    return bar(skin, true);
}

QImage bottomBar(const SkinStyle &skin)
{
    return bar(skin, false);
}

QImage wordmark(const SkinStyle &skin)
{
    QImage image = blankImage(220, 40);
    QPainter painter(&image);
    prepare(painter);
    const QPainterPath mark = brandmark::emblem(QRectF(4, 6, 28, 28));
    paintGlow(painter, mark, skin.glow(), 5);
    painter.fillPath(mark, skin.accent);

    const QFont strong = labelFont(19, 1);
    QPainterPath w3 = textPath(QStringLiteral("W3"), strong, QPointF(42, 27));
    const QTransform slant = QTransform().translate(0, 27).shear(-0.18, 0).translate(0, -27);
    w3 = slant.map(w3);
    paintGlow(painter, w3, skin.glow(), 4);
    painter.fillPath(w3, skin.accent);
    const QPainterPath config =
        slant.map(textPath(QStringLiteral("CONFIG"), labelFont(17, 4), QPointF(w3.boundingRect().right() + 9, 27)));
    QLinearGradient metal(0, 12, 0, 28);
    metal.setColorAt(0, QColor("#E6EAF0"));
    metal.setColorAt(1, mixed(QColor("#8A939E"), skin.accent, 0.08));
    painter.fillPath(config, metal);
    return image;
}

QImage webLogo(const SkinStyle &skin, bool hover)
{
    QImage image = blankImage(180, 40);
    QPainter painter(&image);
    prepare(painter);
    const QRectF pill = strokeBox(QRect(2, 4, 176, 32));
    const QPainterPath pillShape = roundedBox(pill, 10);
    if (hover)
        paintGlow(painter, pillShape, skin.glow(), 5, 2);
    painter.fillPath(pillShape, hover ? mixed(skin.panelRaised, skin.accent, 0.10) : withAlpha(skin.panel, 0.75));
    painter.strokePath(pillShape, QPen(hover ? skin.accentAt(0.9) : skin.stroke, 1));

    const QPainterPath mark = brandmark::emblem(QRectF(12, 9, 22, 22));
    if (hover)
        paintGlow(painter, mark, skin.glow(), 4);
    painter.fillPath(mark, hover ? skin.accent : mixed(skin.accent, skin.text, 0.45));

    const QColor ink = hover ? QColor("#F2F5F8") : skin.text;
    const QPainterPath name = textPath(QStringLiteral("W3 GEAR"), labelFont(13, 3), QPointF(44, 25));
    painter.fillPath(name, ink);
    // A small arrow says the logo leads out to the web.
    QPainterPath arrow;
    arrow.moveTo(154, 16.5);
    arrow.lineTo(161, 16.5);
    arrow.lineTo(161, 23.5);
    arrow.moveTo(161, 16.5);
    arrow.lineTo(153.5, 24);
    painter.strokePath(arrow, QPen(hover ? skin.accent : withAlpha(skin.text, 0.7), 1.4, Qt::SolidLine,
                                   Qt::RoundCap, Qt::RoundJoin));
    return image;
}

QImage settingsButton(const SkinStyle &skin, bool hover)
{
    QImage image = blankImage(kButtonSize, kButtonSize);
    QPainter painter(&image);
    prepare(painter);
    paintButtonPlate(painter, skin, skin.accent, hover);
    paintLineArt(painter, gearPath(QPointF(16, 16)), hover ? skin.accent : skin.text, hover);
    return image;
}

QImage closeButton(const SkinStyle &skin, bool hover)
{
    QImage image = blankImage(kButtonSize, kButtonSize);
    QPainter painter(&image);
    prepare(painter);
    paintButtonPlate(painter, skin, skin.danger, hover);
    QPainterPath cross;
    cross.moveTo(11.5, 11.5);
    cross.lineTo(20.5, 20.5);
    cross.moveTo(20.5, 11.5);
    cross.lineTo(11.5, 20.5);
    paintLineArt(painter, cross, hover ? skin.danger : skin.text, hover);
    return image;
}

}  // namespace framepainter
