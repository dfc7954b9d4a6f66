#pragma once
// The text colour palette strip, its preset colours, the brightness alpha and the positions of
// the two slider kinds. Plain static functions for C++, the same as Q_INVOKABLE for the scene.
#include <QColor>
#include <QObject>
#include <QVariantList>

class ScenePalette : public QObject {
    Q_OBJECT
public:
    static constexpr int kBrightnessSteps = 8;   // steps 0..7
    static constexpr int kSliderPositions = 8;   // Slider: 0..7
    static constexpr int kSlider11Positions = 11;  // Slider_11: 0..10

    // Colour of the vertical strip at height y of a strip `height` pixels tall: eight equal
    // bands black, red, yellow, green, cyan, blue, magenta, white, black. y is clamped to the
    // strip; a height below 2 reads as the top.
    static QColor stripColor(double y, int height);
    // Alpha of the highlight text colour for a brightness step: 45 + step × 210 / 7, the step
    // clamped to 0..7.
    static int alphaForStep(int step);
    // Slider position for a release at x on a track `width` pixels wide: ceil(x / (width − 1) × 7),
    // x clamped to the track, so 0..7.
    static int sliderPosition(double x, int width);
    // Slider_11 position: max(0, ceil(11 × x / (width − 1)) − 1), x clamped to the track, so 0..10.
    static int slider11Position(double x, int width);
    // The seven built-in text colour presets, each {r, g, b}.
    static QVector<QColor> builtInPresets();

    Q_INVOKABLE QColor colorAt(double y, int height) const { return stripColor(y, height); }
    Q_INVOKABLE int brightnessAlpha(int step) const { return alphaForStep(step); }
    Q_INVOKABLE int slider(double x, int width) const { return sliderPosition(x, width); }
    Q_INVOKABLE int slider11(double x, int width) const { return slider11Position(x, width); }
    // [[r, g, b], ...] of the built-in presets.
    Q_INVOKABLE QVariantList presets() const;
    // "#AARRGGBB" of an RGB colour at a brightness step.
    Q_INVOKABLE QColor withBrightness(int r, int g, int b, int step) const;
};
