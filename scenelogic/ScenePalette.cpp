#include "scenelogic/ScenePalette.h"

#include <QVector>
#include <QtGlobal>
#include <cmath>

namespace {

constexpr double kBandShare = 0.125;  // eight equal bands

int scaled(double share)
{
    return int(std::lround(255.0 * share));
}

int clampedByte(int value)
{
    return qBound(0, value, 255);
}

// Clamped to 0..span where span = width − 1; a track too narrow to measure counts as 0.
double clampedRatio(double x, int width)
{
    const int span = width - 1;
    if (span <= 0)
        return 0.0;
    return qBound(0.0, x, double(span)) / span;
}

}  // namespace

QColor ScenePalette::stripColor(double y, int height)
{
    const int span = height - 1;
    const double ratio = span > 0 ? qBound(0.0, y, double(span)) / span : 0.0;
    const double r = ratio / kBandShare;
    const int level = int(std::floor(r));
    const double c = r - level;
    switch (level) {
    case 0: return QColor(scaled(c), 0, 0);
    case 1: return QColor(255, scaled(c), 0);
    case 2: return QColor(255 - scaled(c), 255, 0);
    case 3: return QColor(0, 255, scaled(c));
    case 4: return QColor(0, 255 - scaled(c), 255);
    case 5: return QColor(scaled(c), 0, 255);
    case 6: return QColor(255, scaled(c), 255);
    case 7: return QColor(255 - scaled(c), 255 - scaled(c), 255 - scaled(c));
    default: return QColor(0, 0, 0);
    }
}

int ScenePalette::alphaForStep(int step)
{
    const int maxStep = kBrightnessSteps - 1;
    return 45 + qBound(0, step, maxStep) * 210 / maxStep;
}

int ScenePalette::sliderPosition(double x, int width)
{
    return int(std::ceil(clampedRatio(x, width) * (kSliderPositions - 1)));
}

int ScenePalette::slider11Position(double x, int width)
{
    return qMax(0, int(std::ceil(kSlider11Positions * clampedRatio(x, width))) - 1);
}

QVector<QColor> ScenePalette::builtInPresets()
{
    return {QColor(0, 255, 255),   QColor(255, 200, 150), QColor(255, 180, 0),   QColor(200, 200, 100),
            QColor(200, 170, 255), QColor(255, 180, 180), QColor(160, 190, 160)};
}

QVariantList ScenePalette::presets() const
{
    QVariantList list;
    for (const QColor &color : builtInPresets())
        list.append(QVariant(QVariantList{color.red(), color.green(), color.blue()}));
    return list;
}

QColor ScenePalette::withBrightness(int r, int g, int b, int step) const
{
    return QColor(clampedByte(r), clampedByte(g), clampedByte(b), alphaForStep(step));
}
