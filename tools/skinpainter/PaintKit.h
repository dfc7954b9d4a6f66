#pragma once
// Drawing helpers shared by every picture: crisp strokes, soft glows, panels and surfaces.
#include "SkinStyle.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace paintkit {

// The pictures are drawn in the scene's units; while a PixelScale lives on this thread every
// new picture has `factor` pixels per unit (2 for the "@2x" pictures) and everything is drawn
// at that resolution, not enlarged afterwards.
class PixelScale {
public:
    explicit PixelScale(int factor);
    ~PixelScale();
    PixelScale(const PixelScale &) = delete;
    PixelScale &operator=(const PixelScale &) = delete;

private:
    int previous;
};
int pixelScale();

// A transparent ARGB image of this size in scene units, at the current pixel scale.
QImage blankImage(int width, int height);
// The image's extent in scene units, whatever its pixel scale.
QRect unitRect(const QImage &image);
// A painter with antialiasing and smooth image scaling switched on.
void prepare(QPainter &painter);

// The rectangle through the pixel centres of the box's edge pixels, so a 1 px pen is crisp.
QRectF strokeBox(const QRect &box);
QPainterPath roundedBox(const QRectF &box, qreal radius);
// Brackets at the four corners of `edge`: legs of length `leg` joined by a curve of `radius`.
QPainterPath cornerBrackets(const QRectF &edge, qreal leg, qreal radius);

// Blurs an image in place (three box passes, close to a Gaussian of about `radius`).
void blur(QImage &image, int radius);

// Paints what `draw` paints, blurred by `radius`, under the painter's current transform.
void paintBlurred(QPainter &painter, int radius, const std::function<void(QPainter &)> &draw);
// A soft halo around a path: stroked with `width` (0 fills it) in `color`, then blurred.
void paintGlow(QPainter &painter, const QPainterPath &path, const QColor &color, int radius,
               qreal width = 0);

// The skin's surface grain (carbon weave or brushed streaks) inside `clip` at this strength.
void paintSurface(QPainter &painter, const QPainterPath &clip, const SkinStyle &skin,
                  qreal strength);

// A layered panel: vertical fill from `top` to `bottom`, a faint inner highlight along the top
// edge and a 1 px stroke.
void paintPanel(QPainter &painter, const QRect &box, qreal radius, const QColor &top,
                const QColor &bottom, const QColor &stroke);

QColor mixed(const QColor &a, const QColor &b, qreal share);  // share of b, 0..1
QColor withAlpha(QColor color, qreal alpha);

// The bold condensed face the pictures use for their few words.
QFont labelFont(qreal pixelSize, int letterSpacing);
// Text as a path whose baseline starts at `origin`.
QPainterPath textPath(const QString &text, const QFont &font, const QPointF &origin);

}  // namespace paintkit
