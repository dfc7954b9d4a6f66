#pragma once
// The lighting page's commands: the palette, which reaches the mouse at once, and the effect
// that APPLY sends. The page, w3ctl and a profile sent whole use these.
#include <QObject>
#include <QVariantList>

class Controllers;

class LightingActions : public QObject {
    Q_OBJECT
public:
    explicit LightingActions(Controllers &controllers, QObject *parent = nullptr);

    // Red, green and blue of the eight palette colours.
    Q_INVOKABLE void sendPalette(const QVariantList &palette);
    // position is the effect's place in the page's list.
    Q_INVOKABLE void apply(int position, int brightnessStep, int speedStep, bool powerOn);

    // What the mouse holds of the lighting page, sent again: the palette, then the effect.
    void sendStored();

private:
    // stored is what the profile keeps of the effect.
    void sendEffect(int position, int brightnessStep, int speedStep, bool powerOn, const QVariantList &stored);

    Controllers &controllers;
};
