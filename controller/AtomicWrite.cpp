#include "controller/AtomicWrite.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <vector>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

constexpr mode_t kNewFileMode = 0644;
constexpr size_t kReadBackChunk = 64 * 1024;
// Below this much free space a write that failed without a reason is put down to a full disk:
// far more than any settings file needs, far less than a disk in use has free.
constexpr unsigned long long kNearlyFullBytes = 64 * 1024;

// 0 when every byte reached the file, else the errno of the write that failed.
int writeAll(int fd, const QByteArray &contents)
{
    const char *data = contents.constData();
    qint64 left = contents.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += written;
        left -= written;
    }
    return 0;
}

// Whether the file holds exactly `contents`, read back through the descriptor.
bool holdsExactly(int fd, const QByteArray &contents)
{
    struct stat status {};
    if (::fstat(fd, &status) != 0 || status.st_size != contents.size())
        return false;
    std::vector<char> chunk(kReadBackChunk);
    qint64 offset = 0;
    while (offset < contents.size()) {
        const ssize_t got = ::pread(fd, chunk.data(), chunk.size(), off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0 || std::memcmp(chunk.data(), contents.constData() + offset, size_t(got)) != 0)
            return false;
        offset += got;
    }
    return true;
}

// The mode the new file takes: that of the regular file it replaces, else kNewFileMode.
mode_t modeFor(const QByteArray &target)
{
    struct stat status {};
    if (::lstat(target.constData(), &status) == 0 && S_ISREG(status.st_mode))
        return status.st_mode & 07777;
    return kNewFileMode;
}

// The rename itself reaches the disk with the folder's entry.
void syncFolder(const QString &path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0)
        qWarning() << "cannot flush the folder of" << path << "to disk:" << strerror(errno);
    if (fd >= 0)
        ::close(fd);
}

// Writes, flushes and checks the new file; 0 or the errno of what failed.
int fillNewFile(int fd, const QByteArray &contents, mode_t mode)
{
    if (const int error = writeAll(fd, contents))
        return error;
    if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)
        return errno;
    return holdsExactly(fd, contents) ? 0 : EIO;
}

}  // namespace

WriteStatus AtomicWrite::statusOf(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return WriteStatus::NotPermitted;
    case ENOSPC:
    case EDQUOT:
        return WriteStatus::DiskFull;
    default:
        return WriteStatus::Failed;
    }
}

WriteOutcome AtomicWrite::replaceContents(const QString &path, const QByteArray &contents)
{
    const QByteArray target = QFile::encodeName(path);
    QByteArray temporary = target + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        return {statusOf(error), error};
    }
    int error = fillNewFile(fd, contents, modeFor(target));
    if (::close(fd) != 0 && error == 0)
        error = errno;
    // rename() replaces a link at the target by the file; it never writes where the link points.
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        return {statusOf(error), error};
    }
    syncFolder(path);
    return {};
}

WriteStatus AtomicWrite::likelyCause(const QString &path)
{
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    if (!folder.isWritable() || (file.exists() && !file.isWritable()))
        return WriteStatus::NotPermitted;
    struct statvfs space {};
    if (::statvfs(QFile::encodeName(folder.absoluteFilePath()).constData(), &space) == 0
        && (unsigned long long)space.f_bavail * space.f_frsize < kNearlyFullBytes)
        return WriteStatus::DiskFull;
    return WriteStatus::Failed;
}

bool AtomicWrite::syncToDisk(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}
