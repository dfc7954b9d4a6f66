#include "controller/SafeFileCopy.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <optional>

namespace {

// The whole source, or nothing when it cannot be read or is too large to be a settings file.
std::optional<QByteArray> readSource(const QString &source)
{
    QFile in(source);
    if (!QFileInfo(source).isFile() || in.size() > kMaxCopySize || !in.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray contents = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return std::nullopt;
    return contents;
}

// A settings object caches a file it read and reads it again only when its size or its
// modification time (in milliseconds) changed; a copy made within the same millisecond
// as the last flush must still look changed.
void markChanged(const QString &target, const QDateTime &previousTime)
{
    if (!previousTime.isValid() || QFileInfo(target).lastModified() > previousTime)
        return;
    QFile file(target);
    if (!file.open(QIODevice::ReadWrite)
        || !file.setFileTime(previousTime.addMSecs(1), QFileDevice::FileModificationTime))
        qDebug() << "cannot update the modification time of" << target;
}

}  // namespace

WriteOutcome replaceWithCopy(const QString &source, const QString &target)
{
    const std::optional<QByteArray> contents = readSource(source);
    if (!contents)
        return {WriteStatus::Failed};
    const QFileInfo before(target);
    const QDateTime previousTime = before.exists() ? before.lastModified() : QDateTime();
    const WriteOutcome outcome = AtomicWrite::replaceContents(target, *contents);
    if (outcome)
        markChanged(target, previousTime);
    return outcome;
}
