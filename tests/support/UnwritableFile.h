#pragma once
// A file the test process may read but not write, given back as it was when the object ends:
// immutable (chattr +i) for root, who writes any other file, read-only (0444) for anyone else.
// Where the file system keeps no such flag `skipReason()` says why and nothing is changed.
#include <QFile>
#include <QString>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

class UnwritableFile {
public:
    explicit UnwritableFile(const QString &path)
        : name(QFile::encodeName(path))
    {
        if (::geteuid() == 0)
            makeImmutable();
        else
            makeReadOnly();
    }
    ~UnwritableFile()
    {
        if (immutable)
            setImmutable(false);
        if (readOnlyFrom != kNoMode)
            ::chmod(name.constData(), readOnlyFrom);
    }
    UnwritableFile(const UnwritableFile &) = delete;
    UnwritableFile &operator=(const UnwritableFile &) = delete;

    // Empty when the file cannot be written; else why the test cannot run.
    QString skipReason() const { return reason; }
    // What the system says to a write of the file.
    QString systemReason() const { return QString::fromLocal8Bit(strerror(immutable ? EPERM : EACCES)); }

private:
    static constexpr mode_t kNoMode = mode_t(-1);

    void makeImmutable()
    {
        immutable = setImmutable(true);
        if (!immutable)
            reason = QString("the file cannot be made immutable here: %1").arg(strerror(errno));
    }
    void makeReadOnly()
    {
        struct stat status { };
        if (::stat(name.constData(), &status) != 0 || ::chmod(name.constData(), 0444) != 0) {
            reason = QString("the file cannot be made read-only: %1").arg(strerror(errno));
            return;
        }
        readOnlyFrom = status.st_mode & 07777;
    }
    bool setImmutable(bool on) const
    {
        const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return false;
        int flags = 0;
        bool set = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        set = set && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        const int error = errno;
        ::close(fd);
        errno = error;
        return set;
    }

    const QByteArray name;
    bool immutable = false;
    mode_t readOnlyFrom = kNoMode;
    QString reason;
};
