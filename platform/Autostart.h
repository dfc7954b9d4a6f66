#pragma once
// Starting W3 Config with the desktop: the XDG autostart entry "w3config.desktop" in
// $XDG_CONFIG_HOME/autostart (~/.config/autostart when that is unset or not an absolute path),
// which starts the running program (or the launcher it was started through) in the background. The entry is written
// whole or not at all; a folder that cannot hold it gives a reason, never a half-written entry.
#include <QObject>
#include <QString>

class Autostart : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool enabled READ isEnabled NOTIFY enabledChanged)
public:
    explicit Autostart(QObject *parent = nullptr);
    // An entry that starts `program` (an absolute path); a program that is not there or
    // cannot be run is refused when the entry is written.
    explicit Autostart(const QString &program, QObject *parent = nullptr);

    // The program the user started: the launcher on the PATH when it was started through it.
    static QString runningProgram();

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

    const QString program;
};
