#pragma once
// Writes of the program's own files that end with either the old file intact or the new one
// complete: the new contents go to a fresh file in the same folder, reach the disk and are read
// back before they take the file's name. A symbolic link at that name is replaced by the file,
// never written through.
#include <QByteArray>
#include <QString>

enum class WriteStatus {
    Written,
    NotPermitted,  // the user may not write the file or its folder
    DiskFull,      // no room left on the file system (or the user's quota is used up)
    Busy,          // another program kept the settings lock
    Failed,        // anything else: an input/output error, a lock file that cannot be opened
};

struct WriteOutcome {
    WriteStatus status = WriteStatus::Written;
    int error = 0;  // the errno of what failed, when known
    bool ok() const { return status == WriteStatus::Written; }
    explicit operator bool() const { return ok(); }
};

namespace AtomicWrite {

// Replaces the file at `path` by `contents`. A new file gets the mode 0644, a replaced one
// keeps its mode.
WriteOutcome replaceContents(const QString &path, const QByteArray &contents);

// The status of a write that failed with `error` (an errno value).
WriteStatus statusOf(int error);

// Why a write to `path` failed when the writer gave no reason: the user's permissions, then
// the free space of its file system.
WriteStatus likelyCause(const QString &path);

// Flushes the data of the file at `path` to the disk.
bool syncToDisk(const QString &path);

}  // namespace AtomicWrite
