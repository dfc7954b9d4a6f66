#pragma once
// The lighting page's state and commands: the palette, which reaches the mouse at once, and
// the effect that APPLY sends. The page shows this state; w3ctl and a profile sent whole use
// the same commands, so all send the same blocks in the same order.
#include "actions/HeldProfile.h"

#include <QObject>
#include <QVariantList>

class Controllers;

class LightingActions : public QObject {
    Q_OBJECT
    // Red, green and blue of the eight palette colours.
    Q_PROPERTY(QVariantList palette READ palette NOTIFY paletteChanged)
    // The effect's place in the page's list.
    Q_PROPERTY(int effectPosition READ effectPosition WRITE setEffectPosition NOTIFY effectChanged)
    Q_PROPERTY(int brightnessStep READ brightnessStep WRITE setBrightnessStep NOTIFY effectChanged)
    Q_PROPERTY(int speedStep READ speedStep WRITE setSpeedStep NOTIFY effectChanged)
    Q_PROPERTY(bool powerOn READ powerOn WRITE setPowerOn NOTIFY effectChanged)
    // The effect shown differs from the one the mouse holds.
    Q_PROPERTY(bool pending READ pending NOTIFY pendingChanged)

public:
    LightingActions(Controllers &controllers, HeldProfile &mouseHolds, QObject *parent = nullptr);

    // Reads the profile in use.
    Q_INVOKABLE void start();
    Q_INVOKABLE void refresh() { start(); }
    Q_INVOKABLE void discard() { start(); }
    // The factory values: the palette reaches the mouse at once, the effect pends.
    Q_INVOKABLE void reset();
    // Sends the effect shown.
    Q_INVOKABLE void apply();
    // Sends the palette at once; a list of other than 24 values is ignored.
    Q_INVOKABLE void setPalette(const QVariantList &palette);

    QVariantList palette() const { return colors; }
    int effectPosition() const { return shown.position; }
    int brightnessStep() const { return shown.brightness; }
    int speedStep() const { return shown.speed; }
    bool powerOn() const { return shown.powerOn; }
    bool pending() const;
    void setEffectPosition(int position);
    void setBrightnessStep(int step);
    void setSpeedStep(int step);
    void setPowerOn(bool on);

    // The commands, as w3ctl gives them.
    Q_INVOKABLE void sendPalette(const QVariantList &palette);
    Q_INVOKABLE void apply(int position, int brightnessStep, int speedStep, bool powerOn);

    // What the mouse holds of the lighting page, sent again: start(), then the palette and the
    // effect the profile has; the stored effect list is kept as it is (an older one has no
    // power entry). Only what the mouse does not hold yet, when so asked.
    void sendStored(HeldProfile::Sending sending = HeldProfile::Sending::Everything);
    // The palette and the effect count as sent from `profile` where the mouse holds what the
    // profile holds (as read or last applied).
    void claimHeldGroups(int profile);

signals:
    void paletteChanged();
    void effectChanged();
    void pendingChanged();

private:
    struct Effect {
        int position;
        int brightness;
        int speed;
        bool powerOn;
        bool operator==(const Effect &other) const;
        bool operator!=(const Effect &other) const { return !(*this == other); }
    };

    void show(const Effect &next);
    // Shows a stored effect list; values out of range show the slider defaults.
    void showStored(const QVariantList &stored);
    bool takePalette(const QVariantList &list);
    // stored is what the profile keeps of the effect.
    void sendEffect(const Effect &effect, const QVariantList &stored);
    void markHeld();

    static QVariantList commandOf(const Effect &effect);

    Controllers &controllers;
    HeldProfile &mouseHolds;
    QVariantList colors;
    Effect shown;
    Effect held;
    bool heldKnown = false;
    QVariantList storedEffect;  // the profile's effect list as start() read it
    bool paletteStored = false;
};
