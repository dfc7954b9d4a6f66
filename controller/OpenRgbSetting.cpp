#include "controller/OpenRgbSetting.h"

#include "controller/SettingsFile.h"

#include <QDebug>
#include <QFileInfo>

namespace {

const QString kEnabledKey = QStringLiteral("server/enabled");
const QString kPortKey = QStringLiteral("server/port");
constexpr int kHighestPort = 65535;

OpenRgbSetting *sharedSetting = nullptr;

}  // namespace

OpenRgbSetting::OpenRgbSetting(const QString &path, QObject *parent)
    : QObject(parent)
    , path(path)
{
    reload();
    connect(&watcher, &QFileSystemWatcher::directoryChanged, this, &OpenRgbSetting::reload);
    connect(&watcher, &QFileSystemWatcher::fileChanged, this, &OpenRgbSetting::reload);
}

OpenRgbSetting *OpenRgbSetting::shared()
{
    return sharedSetting;
}

void OpenRgbSetting::share(OpenRgbSetting *setting)
{
    sharedSetting = setting;
}

void OpenRgbSetting::setProblem(const QString &problem)
{
    if (serverProblem == problem)
        return;
    serverProblem = problem;
    emit problemChanged();
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
    readFile();
    emit changed();
    return true;
}

void OpenRgbSetting::watch()
{
    // The file is replaced whole when written: its folder tells of that.
    const QString folder = QFileInfo(path).absolutePath();
    if (!watcher.directories().contains(folder))
        watcher.addPath(folder);
}

void OpenRgbSetting::reload()
{
    const bool wasOn = on;
    const int wasPort = portNumber;
    readFile();
    if (on != wasOn || portNumber != wasPort)
        emit changed();
}

// A port out of range in the file serves on the default one.
void OpenRgbSetting::readFile()
{
    const QSettings file(path, QSettings::IniFormat);
    const int stored = file.value(kPortKey, kDefaultPort).toInt();
    // Only a plain "true" opens a port: anything else written by hand leaves the server off.
    on = file.value(kEnabledKey).toString() == QLatin1String("true");
    portNumber = isValidPort(stored) ? stored : kDefaultPort;
}
