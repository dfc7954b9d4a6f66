#pragma once
// The profile menu's rules: which of the ten profiles the program works on, and a profile sent
// to the mouse whole. The window's profile menu, w3ctl's `profile` command and the session bus
// switch profiles through here, so every page's unit reads the new profile the same way.
#include <QObject>

class Controllers;
class KeyActions;
class LightingActions;
class SensorActions;

class ProfileActions : public QObject {
    Q_OBJECT
    // The profile in use, 0..9.
    Q_PROPERTY(int current READ current NOTIFY profileSelected)

public:
    ProfileActions(Controllers &controllers, KeyActions &keys, LightingActions &lighting, SensorActions &sensor,
                   QObject *parent = nullptr);

    int current() const;
    // The program works on `profile` from now on and every page's unit reads it, also when it
    // is the profile in use (read again after a LOAD or RESET). The mouse gets its values when
    // they are applied or sent. False for a profile out of range.
    Q_INVOKABLE bool select(int profile);
    // The profile in use sent to the mouse as the pages' APPLY send it, after each unit read it:
    // buttons, lighting, then the sensor page.
    void sendWhole();
    // `profile` made the one in use and sent whole. False for a profile out of range.
    bool switchTo(int profile);

signals:
    void profileSelected(int profile);

private:
    Controllers &controllers;
    KeyActions &keys;
    LightingActions &lighting;
    SensorActions &sensor;
};
