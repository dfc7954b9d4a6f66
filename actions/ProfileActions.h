#pragma once
// The profile menu's rules: which of the ten profiles the program works on, and a profile sent
// to the mouse whole. The window's profile menu, w3ctl's `profile` command and the session bus
// switch profiles through here, so every page's unit reads the new profile the same way.
#include "actions/HeldProfile.h"

#include <QObject>

class Controllers;
class KeyActions;
class LightingActions;
class SensorActions;

class ProfileActions : public QObject {
    Q_OBJECT
    // The profile in use, 0..9.
    Q_PROPERTY(int current READ current NOTIFY profileSelected)
    // The profile the mouse holds, 0..9; -1 while unknown or when the mouse holds a mix.
    Q_PROPERTY(int heldByMouse READ heldByMouse NOTIFY heldByMouseChanged)

public:
    ProfileActions(Controllers &controllers, HeldProfile &mouseHolds, KeyActions &keys, LightingActions &lighting,
                   SensorActions &sensor, QObject *parent = nullptr);

    int current() const;
    int heldByMouse() const { return mouseHolds.profile(); }
    // The program works on `profile` from now on and every page's unit reads it, also when it
    // is the profile in use (read again after a LOAD or RESET). The mouse gets its values when
    // they are applied or sent. False for a profile out of range.
    Q_INVOKABLE bool select(int profile);
    // The profile in use sent to the mouse as the pages' APPLY send it, after each unit read it:
    // buttons, lighting, then the sensor page.
    void sendWhole();
    // `profile` made the one in use and sent whole. False for a profile out of range.
    bool switchTo(int profile);
    // As switchTo(), sending only the commands of the settings the mouse does not hold yet:
    // the mouse ends as a whole switch leaves it. Nothing is sent for the profile it holds.
    bool switchSendingDifferences(int profile);
    // The mouse was plugged in again or another one was: the next switch sends everything.
    void forgetWhatMouseHolds() { mouseHolds.forget(); }

signals:
    void profileSelected(int profile);
    void heldByMouseChanged(int profile);

private:
    void send(HeldProfile::Sending sending);
    // A page sent from the profile in use: every group still holding that profile's values
    // counts as sent from it, so the mouse holds the profile once no group differs.
    void claimHeldGroups(int fromProfile);

    Controllers &controllers;
    HeldProfile &mouseHolds;
    KeyActions &keys;
    LightingActions &lighting;
    SensorActions &sensor;
    bool sendingProfile = false;
};
