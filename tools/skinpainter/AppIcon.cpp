#include "AppIcon.h"

#include "MouseLayout.h"
#include "PaintKit.h"

#include <QPixmap>
#include <QTextStream>

using namespace paintkit;

namespace appicon {

namespace {

const QColor kTileTop("#222B37");
const QColor kTileBottom("#0B0E12");
const QColor kTileStroke("#3A4A5C");
const QColor kAccent("#00FFFF");
const QColor kShellTop("#2A3440");
const QColor kShellBottom("#12161C");
constexpr qreal kGlowAlpha = 0.55;
constexpr qreal kOutlineWidth = 9;
constexpr qreal kDetailWidth = 7;
const QRectF kTile(12, 12, 232, 232);
constexpr qreal kTileRadius = 52;

struct Art {
    QPainterPath tile;
    QPainterPath body;
    QPainterPath seams;   // stroked: the split between the shells and the shell ends
    QPainterPath wheel;   // filled
    QPainterPath mark;    // filled: "W3" on the palm
};

// The mouse outline of the skins, scaled into the tile.
QTransform mouseToTile()
{
    const qreal scale = 0.47;
    const QSizeF size = QSizeF(mouselayout::kPictureSize) * scale;
    return QTransform()
        .translate((kDesignSize - size.width()) / 2, (kDesignSize - size.height()) / 2 - 2)
        .scale(scale, scale);
}

Art art()
{
    const QTransform place = mouseToTile();
    Art parts;
    parts.tile = roundedBox(kTile, kTileRadius);
    parts.body = place.map(mouselayout::body());

    QPainterPath seams;
    seams.moveTo(150, 30);
    seams.lineTo(150, 60);
    seams.moveTo(150, 150);
    seams.lineTo(150, 158);
    seams.moveTo(45, 148);
    seams.cubicTo(90, 150, 120, 158, 150, 158);
    seams.cubicTo(180, 158, 210, 150, 255, 148);
    parts.seams = place.map(seams);

    QPainterPath wheel;
    wheel.addRoundedRect(QRectF(139, 66, 22, 64), 11, 11);
    parts.wheel = place.map(wheel);

    QFont font = labelFont(48, 0);
    font.setStretch(QFont::Unstretched);
    QPainterPath mark = textPath(QStringLiteral("W3"), font, QPointF(0, 0));
    const QRectF box = mark.boundingRect();
    const QPointF palm = place.map(QPointF(150, 282));
    mark.translate(palm - box.center());
    parts.mark = mark;
    return parts;
}

QString number(qreal value)
{
    return QString::number(qRound(value * 100) / 100.0, 'g', 7);
}

QString svgPathData(const QPainterPath &path)
{
    QString data;
    for (int k = 0; k < path.elementCount(); ++k) {
        const QPainterPath::Element e = path.elementAt(k);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            data += QStringLiteral("M%1 %2").arg(number(e.x), number(e.y));
            break;
        case QPainterPath::LineToElement:
            data += QStringLiteral("L%1 %2").arg(number(e.x), number(e.y));
            break;
        case QPainterPath::CurveToElement: {
            const QPainterPath::Element c2 = path.elementAt(k + 1);
            const QPainterPath::Element end = path.elementAt(k + 2);
            data += QStringLiteral("C%1 %2 %3 %4 %5 %6")
                        .arg(number(e.x), number(e.y), number(c2.x), number(c2.y), number(end.x), number(end.y));
            k += 2;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break;  // consumed with its curve
        }
    }
    return data;
}

QString hex(const QColor &color)
{
    return color.name(QColor::HexRgb).toUpper();
}

}  // namespace

QImage png()
{
    return png(kDesignSize);
}

QImage png(int pixels)
{
    const Art parts = art();
    // Drawn in design units at the pixel ratio of the wanted size, so that the glow spreads as
    // far at every size.
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(qreal(pixels) / kDesignSize);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    prepare(painter);

    QLinearGradient tileFill(kTile.topLeft(), kTile.bottomLeft());
    tileFill.setColorAt(0, kTileTop);
    tileFill.setColorAt(1, kTileBottom);
    painter.fillPath(parts.tile, tileFill);
    painter.strokePath(parts.tile, QPen(kTileStroke, 2));

    painter.save();
    painter.setClipPath(parts.tile);
    paintGlow(painter, parts.body, withAlpha(kAccent, kGlowAlpha), 22, kOutlineWidth * 2);
    painter.restore();

    QLinearGradient shell(parts.body.boundingRect().topLeft(), parts.body.boundingRect().bottomLeft());
    shell.setColorAt(0, kShellTop);
    shell.setColorAt(1, kShellBottom);
    painter.fillPath(parts.body, shell);
    painter.strokePath(parts.seams, QPen(withAlpha(kAccent, 0.8), kDetailWidth * 0.7, Qt::SolidLine, Qt::RoundCap));
    painter.fillPath(parts.wheel, kAccent);
    painter.strokePath(parts.body, QPen(kAccent, kOutlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.fillPath(parts.mark, kAccent);
    painter.end();
    image.setDevicePixelRatio(1);
    return image;
}

const QVector<int> &iconSizes()
{
    static const QVector<int> sizes = {16, 22, 24, 32, 44, 48, 64, 96, 128, 256};
    return sizes;
}

QIcon icon()
{
    QIcon drawn;
    for (const int pixels : iconSizes())
        drawn.addPixmap(QPixmap::fromImage(png(pixels)));
    return drawn;
}

QString svg()
{
    const Art parts = art();
    QString text;
    QTextStream out(&text);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kDesignSize << "\" height=\"" << kDesignSize
        << "\" viewBox=\"0 0 " << kDesignSize << ' ' << kDesignSize << "\">\n"
        << "  <title>W3 Config</title>\n"
        << "  <defs>\n"
        << "    <linearGradient id=\"tile\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">\n"
        << "      <stop offset=\"0\" stop-color=\"" << hex(kTileTop) << "\"/>\n"
        << "      <stop offset=\"1\" stop-color=\"" << hex(kTileBottom) << "\"/>\n"
        << "    </linearGradient>\n"
        << "    <linearGradient id=\"shell\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">\n"
        << "      <stop offset=\"0\" stop-color=\"" << hex(kShellTop) << "\"/>\n"
        << "      <stop offset=\"1\" stop-color=\"" << hex(kShellBottom) << "\"/>\n"
        << "    </linearGradient>\n"
        << "    <filter id=\"glow\" x=\"-30%\" y=\"-30%\" width=\"160%\" height=\"160%\">\n"
        << "      <feGaussianBlur stdDeviation=\"9\"/>\n"
        << "    </filter>\n"
        << "    <clipPath id=\"inside\"><path d=\"" << svgPathData(parts.tile) << "\"/></clipPath>\n"
        << "  </defs>\n"
        << "  <path d=\"" << svgPathData(parts.tile) << "\" fill=\"url(#tile)\" stroke=\"" << hex(kTileStroke)
        << "\" stroke-width=\"2\"/>\n"
        << "  <g clip-path=\"url(#inside)\">\n"
        << "    <path d=\"" << svgPathData(parts.body) << "\" fill=\"none\" stroke=\"" << hex(kAccent)
        << "\" stroke-opacity=\"" << kGlowAlpha << "\" stroke-width=\"" << kOutlineWidth * 2
        << "\" filter=\"url(#glow)\"/>\n"
        << "  </g>\n"
        << "  <path d=\"" << svgPathData(parts.body) << "\" fill=\"url(#shell)\"/>\n"
        << "  <path d=\"" << svgPathData(parts.seams) << "\" fill=\"none\" stroke=\"" << hex(kAccent)
        << "\" stroke-opacity=\"0.8\" stroke-width=\"" << number(kDetailWidth * 0.7)
        << "\" stroke-linecap=\"round\"/>\n"
        << "  <path d=\"" << svgPathData(parts.wheel) << "\" fill=\"" << hex(kAccent) << "\"/>\n"
        << "  <path d=\"" << svgPathData(parts.body) << "\" fill=\"none\" stroke=\"" << hex(kAccent)
        << "\" stroke-width=\"" << kOutlineWidth << "\" stroke-linejoin=\"round\"/>\n"
        << "  <path d=\"" << svgPathData(parts.mark) << "\" fill=\"" << hex(kAccent) << "\" fill-rule=\""
        << (parts.mark.fillRule() == Qt::OddEvenFill ? "evenodd" : "nonzero") << "\"/>\n"
        << "</svg>\n";
    return text;
}

}  // namespace appicon
