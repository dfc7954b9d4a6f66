#pragma once
// Whether the program serves the mouse to OpenRGB's network SDK, and on which port: the file
// "./modules/setting/openrgb.ini" beside the other settings. The settings panel and w3ctl
// write it; the running program watches it, so a change from either reaches the server at once.
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

class OpenRgbSetting : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool enabled READ enabled NOTIFY changed)
    Q_PROPERTY(int port READ port NOTIFY changed)
public:
    // Not OpenRGB's own 6742: OpenRGB connects there at start and then leaves out its own
    // detection.
    static constexpr int kDefaultPort = 6743;

    explicit OpenRgbSetting(const QString &path = defaultPath(), QObject *parent = nullptr);
    static QString defaultPath();

    bool enabled() const { return on; }
    int port() const { return portNumber; }

    // Stores the switch (and the port, when one is given); false when the file refused it,
    // and the setting stays as it was.
    Q_INVOKABLE bool setEnabled(bool enabled, int port = 0);
    // Whether a port can be served: 1..65535.
    static bool isValidPort(int port);

    // Reads the file again whenever it changes on disk.
    void watch();

signals:
    void changed();

private:
    void reload();

    const QString path;
    bool on = false;
    int portNumber = kDefaultPort;
    QFileSystemWatcher watcher;
};
