#pragma once
// The settings panel's list as the application configuration stores it: its items by name,
// read and written through the program's configuration. The choices that the program in the
// background follows without a scene (keep running, notices, the language of the tray and the
// notices) are held here as well: read from the stored list at start, then set by the panel
// as the user changes them.
#include <QObject>
#include <QString>
#include <QStringList>
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
        KeepRunning = 32,       // 1 = closing the window returns to the background
        NotificationsOff = 33,  // 0 = desktop notices on changes the window does not show
        ItemCount = 34
    };
    Q_ENUM(Item)

    Q_PROPERTY(bool keepRunning READ keepRunning WRITE setKeepRunning NOTIFY keepRunningChanged)
    Q_PROPERTY(bool notificationsOn READ notificationsOn WRITE setNotificationsOn NOTIFY notificationsOnChanged)
    Q_PROPERTY(QString languageCode READ languageCode WRITE setLanguageCode NOTIFY languageChanged)
    // The desktop shows no tray icons: the window tells once how to get them.
    Q_PROPERTY(bool trayMissing READ trayMissing WRITE setTrayMissing NOTIFY trayMissingChanged)

    explicit SettingsActions(Controllers &controllers, QObject *parent = nullptr);

    // The stored list; empty when nothing is stored (the built-in defaults hold).
    Q_INVOKABLE QVariantList load() const;
    Q_INVOKABLE bool save(const QVariantList &items);

    // The background choices and the language as stored; the defaults without a stored list.
    void readStoredChoices();

    bool keepRunning() const { return keepRunningOn; }
    void setKeepRunning(bool on);
    bool notificationsOn() const { return noticesOn; }
    void setNotificationsOn(bool on);
    QString languageCode() const { return language; }
    void setLanguageCode(const QString &code);
    // String `index` of the current language, `fallback` where it has none.
    QString text(int index, const QString &fallback) const;

    bool trayMissing() const { return noTray; }
    void setTrayMissing(bool missing);
    // Whether the missing tray is still to be told: told once, ever.
    Q_INVOKABLE bool trayNoticeDue() const;
    Q_INVOKABLE void rememberTrayNotice();

signals:
    void keepRunningChanged(bool on);
    void notificationsOnChanged(bool on);
    void languageChanged();
    void trayMissingChanged();

private:
    Controllers &controllers;
    bool keepRunningOn = false;
    bool noticesOn = true;
    bool noTray = false;
    QString language;
    QStringList strings;  // of `language`: entry 0 the font family, entries 1.. the texts
};
