#include "controller/DecodableNames.h"

#include <QDebug>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <memory>
#include <unistd.h>

namespace {

bool roundTrips(const QByteArray &native)
{
    return QFile::encodeName(QFile::decodeName(native)) == native;
}

QList<QByteArray> nativeEntries(const QString &folder)
{
    QList<QByteArray> names;
    const std::unique_ptr<DIR, int (*)(DIR *)> dir(::opendir(QFile::encodeName(folder).constData()),
                                                   &::closedir);
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir.get()))
        names << QByteArray(entry->d_name);
    return names;
}

// A name for `native` that decodes: its decodable text, numbered when that name is taken.
QString freeDecodableName(const QDir &dir, const QByteArray &native, const QString &suffix)
{
    const QString text = QString::fromUtf8(native);  // undecodable bytes become U+FFFD
    const QString base = text.left(text.size() - suffix.size());
    QString candidate = base + suffix;
    for (int n = 2; QFile::exists(dir.filePath(candidate)); ++n)
        candidate = QStringLiteral("%1 (%2)%3").arg(base).arg(n).arg(suffix);
    return candidate;
}

}  // namespace

bool DecodableNames::comesBack(const QString &name)
{
    return QFile::decodeName(QFile::encodeName(name)) == name;
}

bool DecodableNames::isFitForNewName(const QString &name)
{
    // Format characters include the direction overrides, which make a name read as another.
    const auto hidden = [](QChar c) {
        const QChar::Category category = c.category();
        return category == QChar::Other_Control || category == QChar::Other_Format
               || category == QChar::Separator_Line || category == QChar::Separator_Paragraph;
    };
    return std::none_of(name.cbegin(), name.cend(), hidden) && !name.trimmed().isEmpty() && comesBack(name);
}

int DecodableNames::giveDecodableNames(const QString &folder, const QString &suffix)
{
    const QDir dir(folder);
    const QByteArray nativeSuffix = QFile::encodeName(suffix);
    int renamed = 0;
    for (const QByteArray &native : nativeEntries(folder)) {
        if (!native.endsWith(nativeSuffix) || roundTrips(native))
            continue;
        const QString target = dir.filePath(freeDecodableName(dir, native, suffix));
        const QByteArray source = QFile::encodeName(dir.path()) + '/' + native;
        // link() never replaces an existing file, unlike rename().
        if (::link(source.constData(), QFile::encodeName(target).constData()) != 0
            || ::unlink(source.constData()) != 0) {
            qWarning() << "cannot give" << source << "a decodable name:" << std::strerror(errno);
            continue;
        }
        ++renamed;
    }
    return renamed;
}
