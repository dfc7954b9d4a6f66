#pragma once
// Whether the program serves the mouse to OpenRGB's network SDK, and on which port: the file
// "./modules/setting/openrgb.ini" beside the other settings. The settings panel and w3ctl
// write it; the running program watches it, so a change from either reaches the server at once.
// The running program shares its own setting object, to which its server reports whether it
// serves: the panel and the commands run there show that, not only the switch.
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

class OpenRgbSetting : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool enabled READ enabled NOTIFY changed)
    Q_PROPERTY(int port READ port NOTIFY changed)
    // Why the running program's server does not serve although the setting is on; empty
    // while it serves, while it is off, and outside the running program.
    Q_PROPERTY(QString problem READ problem NOTIFY problemChanged)
public:
    // Not OpenRGB's own 6742: OpenRGB connects there at start and then leaves out its own
    // detection.
    static constexpr int kDefaultPort = 6743;

    explicit OpenRgbSetting(const QString &path = defaultPath(), QObject *parent = nullptr);
    static QString defaultPath();

    // The running program's setting, or nullptr outside it.
    static OpenRgbSetting *shared();
    static void share(OpenRgbSetting *setting);

    bool enabled() const { return on; }
    int port() const { return portNumber; }
    QString problem() const { return serverProblem; }
    void setProblem(const QString &problem);

    // Stores the switch (and the port, when one is given); false when the file refused it,
    // and the setting stays as it was. Told as a change even when it was so already: the
    // server tries again.
    Q_INVOKABLE bool setEnabled(bool enabled, int port = 0);
    // Whether a port can be served: 1..65535.
    static bool isValidPort(int port);

    // Reads the file again whenever it changes on disk.
    void watch();

signals:
    void changed();
    void problemChanged();

private:
    void reload();
    void readFile();

    const QString path;
    bool on = false;
    int portNumber = kDefaultPort;
    QString serverProblem;
    QFileSystemWatcher watcher;
};
