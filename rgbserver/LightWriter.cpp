#include "rgbserver/LightWriter.h"

#include "actions/LightingActions.h"

#include <QPointer>
#include <QTimer>

namespace openrgb {

namespace {

constexpr int kChannels = 3;

QList<Color> colorsOf(const QVariantList &palette)
{
    QList<Color> colors;
    for (int i = 0; i + kChannels - 1 < palette.size(); i += kChannels)
        colors.append(
            {quint8(palette.at(i).toInt()), quint8(palette.at(i + 1).toInt()), quint8(palette.at(i + 2).toInt())});
    return colors;
}

QVariantList paletteOf(const QList<Color> &colors)
{
    QVariantList palette;
    for (const Color &color : colors)
        palette << int(color.red) << int(color.green) << int(color.blue);
    return palette;
}

}  // namespace

LightWriter::LightWriter(LightingActions &lighting, QObject *parent)
    : QObject(parent)
    , lighting(lighting)
    , takeTurn([this](std::function<void()> work) { QTimer::singleShot(0, this, std::move(work)); })
{
}

LightState LightWriter::state(int colorCount) const
{
    if (wanted)
        return *wanted;
    return {lighting.effectPosition(), lighting.brightnessStep(), lighting.speedStep(), lighting.powerOn(),
        colorsOf(lighting.palette()), colorCount};
}

void LightWriter::want(const LightState &next, bool effect, bool palette)
{
    wanted = next;
    effectWanted = effectWanted || effect;
    paletteWanted = paletteWanted || palette;
    // Sent in a turn of its own: a transfer waiting for the mouse serves events, and a wish
    // arriving then only replaces the one to send next.
    if (turnAsked)
        return;
    turnAsked = true;
    takeTurn([self = QPointer<LightWriter>(this)] {
        if (self)
            self->flush();
    });
}

void LightWriter::flush()
{
    turnAsked = false;
    if (writing)
        return;
    writing = true;
    while (wanted) {
        const LightState next = *wanted;
        const bool effect = effectWanted;
        const bool palette = paletteWanted;
        wanted.reset();
        effectWanted = false;
        paletteWanted = false;
        send(next, effect, palette);
    }
    writing = false;
}

void LightWriter::send(const LightState &next, bool effect, bool palette)
{
    if (palette)
        lighting.setPalette(paletteOf(next.palette));
    if (!effect)
        return;
    lighting.setEffectPosition(next.position);
    lighting.setBrightnessStep(next.brightness);
    lighting.setSpeedStep(next.speed);
    lighting.setPowerOn(next.on);
    lighting.apply();
}

}  // namespace openrgb
