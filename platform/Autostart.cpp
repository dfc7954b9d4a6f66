#include "Autostart.h"

#include "AutostartEntry.h"
#include "controller/AtomicWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace {

const char *const kEntryName = "w3config.desktop";
const char *const kGroup = "[Desktop Entry]";

QString configHome()
{
    // Relative paths are to be ignored, as the XDG base directory rules say.
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured))
        return configured;
    return QDir::homePath() + QStringLiteral("/.config");
}

// The installed entry with the program started in the background.
QByteArray autostartEntry()
{
    QStringList lines;
    const QStringList installed = QString::fromUtf8(autostartentry::kInstalledDesktopEntry).split('\n');
    for (const QString &line : installed) {
        if (line.startsWith(QLatin1String("Exec=")))
            lines.append(QStringLiteral("Exec=%1 --background").arg(QString::fromUtf8(autostartentry::kInstalledLauncher)));
        else if (!line.isEmpty())
            lines.append(line);
    }
    lines.append(QStringLiteral("X-GNOME-Autostart-enabled=true"));
    return lines.join('\n').toUtf8() + '\n';
}

QString describe(WriteStatus status)
{
    switch (status) {
    case WriteStatus::NotPermitted:
        return QStringLiteral("not permitted");
    case WriteStatus::DiskFull:
        return QStringLiteral("the disk is full");
    case WriteStatus::Busy:
    case WriteStatus::Failed:
    case WriteStatus::Written:
        break;
    }
    return QStringLiteral("the file cannot be written");
}

}  // namespace

Autostart::Autostart(QObject *parent) : QObject(parent) {}

QString Autostart::entryPath()
{
    return configHome() + QStringLiteral("/autostart/") + QString::fromLatin1(kEntryName);
}

bool Autostart::isEnabled() const
{
    QFile entry(entryPath());
    if (!QFileInfo(entry).isFile() || !entry.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    bool inGroup = false;
    bool starts = false;
    while (!entry.atEnd()) {
        const QString line = QString::fromUtf8(entry.readLine()).trimmed();
        if (line.startsWith('['))
            inGroup = line == QLatin1String(kGroup);
        else if (!inGroup)
            continue;
        else if (line == QLatin1String("Hidden=true") || line == QLatin1String("X-GNOME-Autostart-enabled=false"))
            return false;
        else if (line.startsWith(QLatin1String("Exec=")) && line.size() > int(qstrlen("Exec=")))
            starts = true;
    }
    return starts;
}

bool Autostart::setEnabled(bool enabled)
{
    const bool before = isEnabled();
    const bool done = enabled ? writeEntry() : removeEntry();
    const bool after = isEnabled();
    if (after != before)
        emit enabledChanged(after);
    return done;
}

bool Autostart::writeEntry()
{
    const QString path = entryPath();
    const QString folder = QFileInfo(path).path();
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir())
        return refuse(QStringLiteral("cannot make the folder %1").arg(folder));
    if (QFileInfo(path).isDir())
        return refuse(QStringLiteral("%1 is a folder").arg(path));
    const WriteOutcome written = AtomicWrite::replaceContents(path, autostartEntry());
    if (!written)
        return refuse(QStringLiteral("cannot write %1: %2").arg(path, describe(written.status)));
    return true;
}

bool Autostart::removeEntry()
{
    const QString path = entryPath();
    const QFileInfo entry(path);
    if (!entry.exists() && !entry.isSymLink())
        return true;
    if (entry.isDir() && !entry.isSymLink())
        return refuse(QStringLiteral("%1 is a folder").arg(path));
    if (!QFile::remove(path))
        return refuse(QStringLiteral("cannot remove %1").arg(path));
    return true;
}

bool Autostart::refuse(const QString &why)
{
    emit failed(why);
    return false;
}
