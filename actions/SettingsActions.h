#pragma once
// The settings panel's list as the application configuration stores it: its items by name,
// read and written through the program's configuration.
#include <QObject>
#include <QVariantList>

class Controllers;

class SettingsActions : public QObject {
    Q_OBJECT
public:
    // Where each setting sits in the stored list.
    enum Item {
        Version = 0,
        Skin = 1,            // 1 or 2
        SoundOff = 2,        // 0 = sound on
        AnimationOff = 3,    // 0 = the slow, animated switches
        Language = 4,        // position in the language menu
        CustomBackground = 5,
        BackgroundPath = 6,
        LargerText = 7,
        PresetColors = 8,    // red, green, blue of each preset, one after the other
        Preset = 29,
        Brightness = 30,
        WebAddress = 31,
        ItemCount = 32
    };
    Q_ENUM(Item)

    explicit SettingsActions(Controllers &controllers, QObject *parent = nullptr);

    // The stored list; empty when nothing is stored (the built-in defaults hold).
    Q_INVOKABLE QVariantList load() const;
    Q_INVOKABLE bool save(const QVariantList &items);

private:
    Controllers &controllers;
};
