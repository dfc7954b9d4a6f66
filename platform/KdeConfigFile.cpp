#include "platform/KdeConfigFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

constexpr int kLockTimeoutMs = 2000;

// The line without its end ("\n", and a "\r" before it).
QByteArray content(const QByteArray &line)
{
    QByteArray text = line;
    if (text.endsWith('\n'))
        text.chop(1);
    if (text.endsWith('\r'))
        text.chop(1);
    return text;
}

bool isGroupHeader(const QByteArray &text)
{
    return text.trimmed().startsWith('[');
}

// "[A][B][C]" (with any trailing "[$i]"-style markers dropped) as {"A", "B", "C"}.
QStringList groupPath(const QByteArray &header)
{
    QStringList path;
    QString rest = QString::fromUtf8(header.trimmed());
    while (rest.startsWith('[')) {
        const int close = rest.indexOf(']');
        if (close < 0)
            break;
        const QString part = rest.mid(1, close - 1);
        if (!part.startsWith('$'))
            path << part;
        rest = rest.mid(close + 1);
    }
    return path;
}

QByteArray header(const QStringList &group)
{
    QByteArray text;
    for (const QString &part : group)
        text += '[' + part.toUtf8() + ']';
    return text;
}

// The key of an entry line ("key=value", "key[de]=value", "key[$e]=value"); empty for others.
QString entryKey(const QByteArray &text)
{
    const int equals = text.indexOf('=');
    if (equals <= 0 || text.trimmed().startsWith('#'))
        return QString();
    return QString::fromUtf8(text.left(equals).trimmed());
}

QString entryValue(const QByteArray &text)
{
    return QString::fromUtf8(text.mid(text.indexOf('=') + 1).trimmed());
}

}  // namespace

struct KdeConfigFile::Position {
    int groupHeader = -1;     // line of the header; -1 without the group
    int afterLastEntry = -1;  // where a new key goes: after the group's last non-blank line
    int keyLine = -1;         // line of the key; -1 without it
};

KdeConfigFile KdeConfigFile::inUserConfig(const QString &fileName)
{
    return KdeConfigFile(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                         + '/' + fileName);
}

KdeConfigFile::KdeConfigFile(QString path) : filePath(std::move(path)) {}

KdeConfigFile::Position KdeConfigFile::find(const QList<QByteArray> &lines,
                                            const QStringList &group, const QString &key)
{
    Position position;
    bool inGroup = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray text = content(lines[i]);
        if (isGroupHeader(text)) {
            inGroup = groupPath(text) == group;
            if (inGroup && position.groupHeader < 0) {
                position.groupHeader = i;
                position.afterLastEntry = i + 1;
            }
            continue;
        }
        if (!inGroup)
            continue;
        if (!text.trimmed().isEmpty())
            position.afterLastEntry = i + 1;
        if (entryKey(text) == key)
            position.keyLine = i;  // the last one wins, as in KConfig
    }
    return position;
}

bool KdeConfigFile::readLines(QList<QByteArray> *lines) const
{
    QFile file(filePath);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    while (!file.atEnd())
        lines->append(file.readLine());
    return file.error() == QFileDevice::NoError;
}

bool KdeConfigFile::writeLines(const QList<QByteArray> &lines) const
{
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const QByteArray &line : lines) {
        if (file.write(line) != line.size()) {
            file.cancelWriting();
            return false;
        }
    }
    return file.commit();
}

QString KdeConfigFile::value(const QStringList &group, const QString &key) const
{
    QList<QByteArray> lines;
    if (!readLines(&lines))
        return QString();
    const Position position = find(lines, group, key);
    if (position.keyLine < 0)
        return QString();
    return entryValue(content(lines[position.keyLine]));
}

bool KdeConfigFile::setValue(const QStringList &group, const QString &key, const QString &value)
{
    if (!QDir().mkpath(QFileInfo(filePath).absolutePath()))
        return false;
    QLockFile lock(filePath + ".lock");
    if (!lock.tryLock(kLockTimeoutMs))
        return false;
    QList<QByteArray> lines;
    if (!readLines(&lines))
        return false;

    const bool crlf = !lines.isEmpty() && lines.first().endsWith("\r\n");
    const QByteArray end = crlf ? "\r\n" : "\n";
    const QByteArray entry = key.toUtf8() + '=' + value.toUtf8();
    const Position position = find(lines, group, key);
    if (position.keyLine >= 0) {
        const QByteArray &old = lines[position.keyLine];
        const QByteArray oldEnd = old.mid(content(old).size());
        lines[position.keyLine] = entry + oldEnd;
    } else {
        if (!lines.isEmpty() && !lines.last().endsWith('\n'))
            lines.last() += end;
        if (position.groupHeader >= 0) {
            lines.insert(position.afterLastEntry, entry + end);
        } else {
            if (!lines.isEmpty())
                lines.append(end);
            lines.append(header(group) + end);
            lines.append(entry + end);
        }
    }
    return writeLines(lines);
}
