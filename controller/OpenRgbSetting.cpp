#include "controller/OpenRgbSetting.h"

#include "controller/SettingsFile.h"

#include <QDebug>
#include <QFileInfo>

namespace {

const QString kEnabledKey = QStringLiteral("server/enabled");
const QString kPortKey = QStringLiteral("server/port");
constexpr int kHighestPort = 65535;

}  // namespace

OpenRgbSetting::OpenRgbSetting(const QString &path, QObject *parent)
    : QObject(parent)
    , path(path)
{
    reload();
    connect(&watcher, &QFileSystemWatcher::directoryChanged, this, &OpenRgbSetting::reload);
    connect(&watcher, &QFileSystemWatcher::fileChanged, this, &OpenRgbSetting::reload);
}

QString OpenRgbSetting::defaultPath()
{
    return QStringLiteral("./modules/setting/openrgb.ini");
}

bool OpenRgbSetting::isValidPort(int port)
{
    return port >= 1 && port <= kHighestPort;
}

bool OpenRgbSetting::setEnabled(bool enabled, int port)
{
    if (port != 0 && !isValidPort(port))
        return false;
    SettingsFile file(path);
    file.setValue(kEnabledKey, enabled);
    if (port != 0)
        file.setValue(kPortKey, port);
    const WriteOutcome outcome = file.commit();
    if (!outcome) {
        qWarning() << "The OpenRGB server setting could not be written to" << path;
        return false;
    }
    reload();
    return true;
}

void OpenRgbSetting::watch()
{
    // The file is replaced whole when written: its folder tells of that.
    const QString folder = QFileInfo(path).absolutePath();
    if (!watcher.directories().contains(folder))
        watcher.addPath(folder);
}

// A port out of range in the file serves on the default one.
void OpenRgbSetting::reload()
{
    const QSettings file(path, QSettings::IniFormat);
    // Only a plain "true" opens a port: anything else written by hand leaves the server off.
    const bool nowOn = file.value(kEnabledKey).toString() == QLatin1String("true");
    const int stored = file.value(kPortKey, kDefaultPort).toInt();
    const int nowPort = isValidPort(stored) ? stored : kDefaultPort;
    if (nowOn == on && nowPort == portNumber)
        return;
    on = nowOn;
    portNumber = nowPort;
    emit changed();
}
