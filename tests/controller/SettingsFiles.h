#pragma once
// Reading settings files as they lie on disk, bypassing the settings objects' caches.
#include <QFile>
#include <QSettings>
#include <QString>
#include <QStringList>

namespace settingsfiles {

// The "entry=value" lines of one INI section, as the file holds them.
inline QStringList section(const QString &path, const QString &name)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList lines;
    bool inside = false;
    for (const QString &raw : QString::fromUtf8(file.readAll()).split('\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith('[')) {
            inside = line == "[" + name + "]";
            continue;
        }
        if (inside && !line.isEmpty())
            lines << line;
    }
    return lines;
}

// The value text of one entry on disk, or a null string when absent.
inline QString entry(const QString &path, const QString &sectionName, const QString &key)
{
    for (const QString &line : section(path, sectionName)) {
        if (line.startsWith(key + "="))
            return line.mid(key.size() + 1);
    }
    return QString();
}

inline QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeText(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

}  // namespace settingsfiles
