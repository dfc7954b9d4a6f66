#pragma once
// A small tmpfs mounted over a folder, with the folder's files copied onto it, that a test can
// fill to the last byte. Mounting needs root: without it (or where mounting is not permitted)
// `skipReason()` says why and nothing is mounted.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QString>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

class TmpfsFolder {
public:
    static constexpr qint64 kPage = 4096;

    TmpfsFolder(const QString &folder, qint64 bytes) : folder(folder)
    {
        if (::geteuid() != 0) {
            reason = "needs root to mount a tmpfs (CI runs as root)";
            return;
        }
        QHash<QString, QByteArray> files;
        for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
            QFile file(folder + "/" + name);
            if (file.open(QIODevice::ReadOnly))
                files.insert(name, file.readAll());
        }
        const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
        if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) != 0) {
            reason = QString("mounting a tmpfs is not permitted here: %1").arg(strerror(errno));
            return;
        }
        mounted = true;
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            QFile file(folder + "/" + it.key());
            if (!file.open(QIODevice::WriteOnly) || file.write(it.value()) != it.value().size() || !file.flush())
                reason = "cannot copy " + it.key() + " onto the tmpfs";
        }
    }
    ~TmpfsFolder()
    {
        if (mounted)
            ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
    }
    TmpfsFolder(const TmpfsFolder &) = delete;
    TmpfsFolder &operator=(const TmpfsFolder &) = delete;

    // Empty when mounted with its files; else why the test cannot run.
    QString skipReason() const { return reason; }

    // Fills the tmpfs with a filler file until `leftBytes` (a multiple of a page) stay free.
    bool fillLeaving(qint64 leftBytes)
    {
        const QByteArray path = QFile::encodeName(folder + "/.filler");
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0)
            return false;
        const QByteArray page(int(kPage), 'x');
        qint64 size = 0;
        while (::write(fd, page.constData(), size_t(page.size())) == page.size())
            size += page.size();
        // A last partial write may have taken part of a page: the filler ends on a page.
        const bool filled = errno == ENOSPC && ::ftruncate(fd, size - leftBytes) == 0;
        ::close(fd);
        return filled && size >= leftBytes;
    }

private:
    const QString folder;
    QString reason;
    bool mounted = false;
};
