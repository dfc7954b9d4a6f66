#include "PaintKit.h"

#include <QRandomGenerator>
#include <QtMath>
#include <vector>

namespace paintkit {

namespace {

// One horizontal box pass over premultiplied ARGB rows (running sum, edges clamped).
void boxPassRows(QImage &image, int radius)
{
    const int width = image.width();
    std::vector<int> sums(4);
    std::vector<QRgb> row(width);
    const int span = 2 * radius + 1;
    for (int y = 0; y < image.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        std::copy(line, line + width, row.begin());
        auto at = [&](int x) { return row[qBound(0, x, width - 1)]; };
        int a = 0, r = 0, g = 0, b = 0;
        for (int x = -radius; x <= radius; ++x) {
            const QRgb p = at(x);
            a += qAlpha(p); r += qRed(p); g += qGreen(p); b += qBlue(p);
        }
        for (int x = 0; x < width; ++x) {
            line[x] = qRgba(r / span, g / span, b / span, a / span);
            const QRgb out = at(x - radius), in = at(x + radius + 1);
            a += qAlpha(in) - qAlpha(out);
            r += qRed(in) - qRed(out);
            g += qGreen(in) - qGreen(out);
            b += qBlue(in) - qBlue(out);
        }
    }
}

QImage transposed(const QImage &image)
{
    return image.transformed(QTransform(0, 1, 1, 0, 0, 0));
}

QImage carbonWeaveTile()
{
    // Twill of 4 px cells: alternate cells carry their fibres across or along, lit from the top.
    const int cell = 4;
    QImage tile = blankImage(2 * cell, 2 * cell);
    QPainter painter(&tile);
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column) {
            const QRect box(column * cell, row * cell, cell, cell);
            const bool across = (row + column) % 2 == 0;
            QLinearGradient shade(box.topLeft(), across ? box.bottomLeft() : box.topRight());
            shade.setColorAt(0, QColor(255, 255, 255, 150));
            shade.setColorAt(1, QColor(0, 0, 0, 200));
            painter.fillRect(box, shade);
        }
    }
    return tile;
}

QImage brushedStreaks(const QSize &size)
{
    // Fixed seed: the same pictures on every build.
    QRandomGenerator random(0x57334u);
    QImage noise(size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < size.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(noise.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int level = int(random.bounded(256));
            line[x] = qRgba(level, level, level, 255);
        }
    }
    // Long horizontal smearing turns the noise into brushed streaks.
    boxPassRows(noise, 24);
    boxPassRows(noise, 24);
    // Stretch the contrast the smearing took away.
    for (int y = 0; y < size.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(noise.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int level = qBound(0, (qRed(line[x]) - 128) * 6 + 128, 255);
            line[x] = qRgba(level, level, level, 255);
        }
    }
    return noise;
}

}  // namespace

QImage blankImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void prepare(QPainter &painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

QRectF strokeBox(const QRect &box)
{
    return QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5);
}

QPainterPath roundedBox(const QRectF &box, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(box, radius, radius);
    return path;
}

QPainterPath cornerBrackets(const QRectF &edge, qreal leg, qreal radius)
{
    QPainterPath brackets;
    const auto corner = [&](const QPointF &at, qreal sx, qreal sy) {
        brackets.moveTo(at + QPointF(sx * leg, 0));
        brackets.lineTo(at + QPointF(sx * radius, 0));
        brackets.quadTo(at, at + QPointF(0, sy * radius));
        brackets.lineTo(at + QPointF(0, sy * leg));
    };
    corner(edge.topLeft(), 1, 1);
    corner(edge.topRight(), -1, 1);
    corner(edge.bottomLeft(), 1, -1);
    corner(edge.bottomRight(), -1, -1);
    return brackets;
}

void blur(QImage &image, int radius)
{
    if (radius < 1)
        return;
    const int pass = qMax(1, radius / 2);
    for (int k = 0; k < 3; ++k)
        boxPassRows(image, pass);
    image = transposed(image);
    for (int k = 0; k < 3; ++k)
        boxPassRows(image, pass);
    image = transposed(image);
}

void paintBlurred(QPainter &painter, int radius, const std::function<void(QPainter &)> &draw)
{
    const QPaintDevice *device = painter.device();
    QImage layer = blankImage(device->width(), device->height());
    {
        QPainter layerPainter(&layer);
        prepare(layerPainter);
        layerPainter.setTransform(painter.transform());
        draw(layerPainter);
    }
    blur(layer, radius);
    painter.save();
    painter.resetTransform();
    painter.drawImage(0, 0, layer);
    painter.restore();
}

void paintGlow(QPainter &painter, const QPainterPath &path, const QColor &color, int radius,
               qreal width)
{
    paintBlurred(painter, radius, [&](QPainter &layer) {
        if (width > 0) {
            layer.strokePath(path, QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        } else {
            layer.fillPath(path, color);
        }
    });
}

void paintSurface(QPainter &painter, const QPainterPath &clip, const SkinStyle &skin,
                  qreal strength)
{
    painter.save();
    painter.setClipPath(clip, Qt::IntersectClip);
    // Streaks read stronger than the weave at the same strength.
    const qreal kindShare = skin.surface == SkinStyle::Surface::CarbonWeave ? 1.0 : 0.55;
    painter.setOpacity(painter.opacity() * strength * kindShare);
    if (skin.surface == SkinStyle::Surface::CarbonWeave) {
        QBrush weave(carbonWeaveTile());
        weave.setTransform(QTransform().rotate(45));
        painter.setCompositionMode(QPainter::CompositionMode_Overlay);
        painter.fillPath(clip, weave);
    } else {
        const QRect area = clip.boundingRect().toAlignedRect();
        painter.setCompositionMode(QPainter::CompositionMode_Overlay);
        painter.drawImage(area.topLeft(), brushedStreaks(area.size()));
    }
    painter.restore();
}

void paintPanel(QPainter &painter, const QRect &box, qreal radius, const QColor &top,
                const QColor &bottom, const QColor &stroke)
{
    const QRectF edge = strokeBox(box);
    const QPainterPath shape = roundedBox(edge, radius);
    QLinearGradient fill(edge.topLeft(), edge.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    painter.fillPath(shape, fill);

    // A hairline of light just inside the top edge lifts the panel off what lies beneath.
    painter.save();
    painter.setClipPath(shape);
    QLinearGradient sheen(edge.topLeft(), edge.topLeft() + QPointF(0, qMin(24.0, edge.height())));
    sheen.setColorAt(0, QColor(255, 255, 255, 16));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    painter.fillRect(edge, sheen);
    painter.strokePath(roundedBox(edge.adjusted(1, 1, -1, -1), qMax(0.0, radius - 1)),
                       QPen(QColor(255, 255, 255, 10), 1));
    painter.restore();

    painter.strokePath(shape, QPen(stroke, 1));
}

QColor mixed(const QColor &a, const QColor &b, qreal share)
{
    const auto blend = [share](qreal x, qreal y) { return x + (y - x) * share; };
    return QColor::fromRgbF(blend(a.redF(), b.redF()), blend(a.greenF(), b.greenF()),
                            blend(a.blueF(), b.blueF()), blend(a.alphaF(), b.alphaF()));
}

QColor withAlpha(QColor color, qreal alpha)
{
    color.setAlphaF(alpha);
    return color;
}

QFont labelFont(qreal pixelSize, int letterSpacing)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qRound(pixelSize));
    font.setBold(true);
    font.setStretch(QFont::SemiCondensed);
    font.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QPainterPath textPath(const QString &text, const QFont &font, const QPointF &origin)
{
    QPainterPath path;
    path.addText(origin, font, text);
    return path;
}

}  // namespace paintkit
