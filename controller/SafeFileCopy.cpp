#include "controller/SafeFileCopy.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr qint64 kCopyChunk = 64 * 1024;

bool copyContents(QFile &in, QSaveFile &out)
{
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(kCopyChunk);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            return false;
        if (out.write(chunk) != chunk.size())
            return false;
    }
    return true;
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

bool replaceWithCopy(const QString &source, const QString &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QFileInfo before(target);
    const QDateTime previousTime = before.exists() ? before.lastModified() : QDateTime();
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    // Without commit() the temporary file is discarded and the target stays untouched.
    if (!copyContents(in, out) || !out.commit())
        return false;
    markChanged(target, previousTime);
    return true;
}
