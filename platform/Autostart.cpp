#include "Autostart.h"

#include "AutostartEntry.h"
#include "controller/AtomicWrite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <algorithm>

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

// The characters the desktop entry rules reserve in an Exec argument: such an argument is
// written in double quotes.
const QString kReservedInExec = QStringLiteral(" \t\"'\\><~|&;$*?#()`");
// Inside double quotes these take a backslash before them.
const QString kEscapedInQuotes = QStringLiteral("\"`$\\");

// The program as one Exec argument: quoted where the rules ask for it, "%" doubled (a field
// code otherwise), and each backslash doubled again, as in every string value of the entry.
QString execArgument(const QString &program)
{
    QString argument;
    const bool quoted
        = std::any_of(program.cbegin(), program.cend(), [](QChar c) { return kReservedInExec.contains(c); });
    for (const QChar c : program) {
        if (quoted && kEscapedInQuotes.contains(c))
            argument += '\\';
        argument += c == '%' ? QStringLiteral("%%") : QString(c);
    }
    argument.replace('\\', QLatin1String("\\\\"));
    return quoted ? '"' + argument + '"' : argument;
}

// The installed entry with the program started in the background.
QByteArray autostartEntry(const QString &program)
{
    QStringList lines;
    const QStringList installed = QString::fromUtf8(autostartentry::kInstalledDesktopEntry).split('\n');
    for (const QString &line : installed) {
        if (line.startsWith(QLatin1String("Exec=")))
            lines.append(QStringLiteral("Exec=%1 --background").arg(execArgument(program)));
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

Autostart::Autostart(QObject *parent)
    : Autostart(runningProgram(), parent)
{
}

Autostart::Autostart(const QString &program, QObject *parent)
    : QObject(parent)
    , program(program)
{
}

QString Autostart::runningProgram()
{
    const QString running = QCoreApplication::applicationFilePath();
    // Started through the launcher on the PATH (a link to the program): the entry names the
    // launcher, which stays valid when an update moves the program it points to.
    const QString invoked = QCoreApplication::arguments().value(0);
    const QString launcher = invoked.contains('/') ? invoked : QStandardPaths::findExecutable(invoked);
    const bool throughLauncher = QDir::isAbsolutePath(launcher) && QFileInfo(launcher).isSymLink()
        && QFileInfo(launcher).canonicalFilePath() == QFileInfo(running).canonicalFilePath();
    return throughLauncher ? QDir::cleanPath(launcher) : running;
}

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
    const QFileInfo started(program);
    if (!started.isAbsolute() || !started.isFile() || !started.isExecutable())
        return refuse(QStringLiteral("the program %1 cannot be started").arg(program));
    if (std::any_of(program.cbegin(), program.cend(), [](QChar c) { return c.category() == QChar::Other_Control; }))
        return refuse(QStringLiteral("the program's path %1 holds a control character").arg(program));
    const WriteOutcome written = AtomicWrite::replaceContents(path, autostartEntry(program));
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
