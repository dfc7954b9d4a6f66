#pragma once
// Starting W3 Config with the desktop: the XDG autostart entry "w3config.desktop" in
// $XDG_CONFIG_HOME/autostart (~/.config/autostart when that is unset or not an absolute path),
// which starts the installed program in the background. The entry is written whole or not at
// all; a folder that cannot hold it gives a reason, never a half-written entry.
#include <QObject>
#include <QString>

class Autostart : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool enabled READ isEnabled NOTIFY enabledChanged)
public:
    explicit Autostart(QObject *parent = nullptr);

    // Where the entry belongs, for the environment as it is now.
    static QString entryPath();

    // The entry is there and the desktop will start it (not hidden or switched off by the
    // desktop's own start-up settings).
    bool isEnabled() const;

public slots:
    // Writes or removes the entry. False, after failed() told why, when that was not possible.
    bool setEnabled(bool enabled);

signals:
    void enabledChanged(bool enabled);
    void failed(const QString &why);

private:
    bool writeEntry();
    bool removeEntry();
    bool refuse(const QString &why);
};
