#include "platform/PrivateRuntimeFolder.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t kOwnerOnly = S_IRWXU;
constexpr mode_t kOthersBits = S_IRWXG | S_IRWXO;

void tell(QString *whyNot, const QString &reason)
{
    if (whyNot)
        *whyNot = reason;
}

bool statWithoutFollowing(const QString &path, struct stat &info, QString *whyNot)
{
    if (::lstat(QFile::encodeName(path).constData(), &info) == 0)
        return true;
    tell(whyNot, QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    return false;
}

QString fallbackFolder()
{
    return QDir::tempPath() + QStringLiteral("/w3config-%1").arg(::getuid());
}

// Made with mode 0700 unless it exists; whatever is there is checked by the caller.
bool makeFolder(const QString &folder, QString *whyNot)
{
    const QByteArray name = QFile::encodeName(folder);
    if (::mkdir(name.constData(), kOwnerOnly) == 0) {
        // The umask may have taken bits the owner needs; the folder is new and ours.
        if (::chmod(name.constData(), kOwnerOnly) == 0)
            return true;
    } else if (errno == EEXIST) {
        return true;
    }
    tell(whyNot, QStringLiteral("%1: %2").arg(folder, QString::fromLocal8Bit(std::strerror(errno))));
    return false;
}

}  // namespace

namespace PrivateRuntimeFolder {

bool isPrivate(const QString &folder, QString *whyNot)
{
    struct stat info {};
    if (!statWithoutFollowing(folder, info, whyNot))
        return false;
    if (!S_ISDIR(info.st_mode)) {
        tell(whyNot, QStringLiteral("%1 is not a folder").arg(folder));
        return false;
    }
    if (info.st_uid != ::getuid()) {
        tell(whyNot, QStringLiteral("%1 belongs to another user (uid %2)").arg(folder).arg(info.st_uid));
        return false;
    }
    if ((info.st_mode & kOthersBits) != 0 || (info.st_mode & kOwnerOnly) != kOwnerOnly) {
        tell(whyNot, QStringLiteral("%1 has mode %2, not 0700")
                         .arg(folder)
                         .arg(info.st_mode & 07777, 4, 8, QLatin1Char('0')));
        return false;
    }
    return true;
}

QString path(QString *whyNot)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivate(runtime))
        return runtime;
    const QString folder = fallbackFolder();
    if (makeFolder(folder, whyNot) && isPrivate(folder, whyNot))
        return folder;
    return {};
}

bool isOwnSocket(const QString &path, QString *whyNot)
{
    struct stat info {};
    if (!statWithoutFollowing(path, info, whyNot))
        return false;
    if (!S_ISSOCK(info.st_mode)) {
        tell(whyNot, QStringLiteral("%1 is not a socket").arg(path));
        return false;
    }
    if (info.st_uid != ::getuid()) {
        tell(whyNot, QStringLiteral("%1 belongs to another user (uid %2)").arg(path).arg(info.st_uid));
        return false;
    }
    return true;
}

}  // namespace PrivateRuntimeFolder
