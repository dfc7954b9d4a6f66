#include "PaintKit.h"

#include <QRandomGenerator>
#include <QtMath>
#include <vector>

namespace paintkit {

namespace {

thread_local int currentScale = 1;

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

// At one pixel per unit whatever the pixel scale: the brush that tiles it is scaled
// explicitly, as brushes ignore an image's own pixel ratio.
QImage carbonWeaveTile(int scale)
{
    // Twill of 4 px cells: alternate cells carry their fibres across or along, lit from the top.
    const int cell = 4;
    QImage tile(2 * cell * scale, 2 * cell * scale, QImage::Format_ARGB32_Premultiplied);
    tile.fill(Qt::transparent);
    QPainter painter(&tile);
    painter.scale(scale, scale);
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

QImage brushedStreaks(const QSize &unitSize)
{
    // Fixed seed: the same pictures on every build.
    QRandomGenerator random(0x57334u);
    const QSize size = unitSize * currentScale;
    QImage noise(size, QImage::Format_ARGB32_Premultiplied);
    noise.setDevicePixelRatio(currentScale);
    for (int y = 0; y < size.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(noise.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int level = int(random.bounded(256));
            line[x] = qRgba(level, level, level, 255);
        }
    }
    // Long horizontal smearing turns the noise into brushed streaks.
    boxPassRows(noise, 24 * currentScale);
    boxPassRows(noise, 24 * currentScale);
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

PixelScale::PixelScale(int factor)
    : previous(currentScale)
{
    currentScale = factor;
}

PixelScale::~PixelScale()
{
    currentScale = previous;
}

int pixelScale()
{
    return currentScale;
}

QImage blankImage(int width, int height)
{
    QImage image(width * currentScale, height * currentScale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(currentScale);
    image.fill(Qt::transparent);
    return image;
}

QRect unitRect(const QImage &image)
{
    const int scale = qRound(image.devicePixelRatio());
    return QRect(0, 0, image.width() / scale, image.height() / scale);
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
    // The layer covers the device pixel for pixel; the blur spreads as far in scene units at
    // every pixel scale.
    const QPaintDevice *device = painter.device();
    const qreal ratio = device->devicePixelRatioF();
    QImage layer(device->width(), device->height(), QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(ratio);
    layer.fill(Qt::transparent);
    {
        QPainter layerPainter(&layer);
        prepare(layerPainter);
        layerPainter.setTransform(painter.transform());
        draw(layerPainter);
    }
    blur(layer, qRound(radius * ratio));
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
        QBrush weave(carbonWeaveTile(currentScale));
        weave.setTransform(QTransform().rotate(45).scale(1.0 / currentScale, 1.0 / currentScale));
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
