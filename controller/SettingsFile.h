#pragma once
// An INI settings file of the program's own (a profile, the configuration, w3ctl's state, a
// macro) that is written only by commit(), never from the event loop behind the caller's
// back. A commit holds the per-user device lock, so a read-merge-write of another program
// cannot come in between; it ends with the file complete and read back, or with the old file
// restored and the reason returned.
#include "controller/AtomicWrite.h"

#include <QMap>
#include <QSettings>

class DeviceLock;

// The per-user device lock, held for as long as the object lives, by every writer of the
// program's settings files. Holds nest, so a w3ctl command holding it for its whole run
// takes it again at once. Without an installed lock (a test of one process) it holds nothing.
class SettingsLock {
public:
    static constexpr int kWaitMs = 5000;

    explicit SettingsLock(int waitMs = kWaitMs);
    ~SettingsLock();
    SettingsLock(const SettingsLock &) = delete;
    SettingsLock &operator=(const SettingsLock &) = delete;

    // Written when held; Busy when another program kept it; Failed when the lock file
    // cannot be opened.
    WriteStatus status() const { return result; }

private:
    DeviceLock *lock = nullptr;
    WriteStatus result = WriteStatus::Written;
};

class SettingsFile : public QSettings {
public:
    explicit SettingsFile(const QString &path);
    // Commits what is pending; what cannot be written is dropped.
    ~SettingsFile() override;

    // Writes the changes made since the last commit that succeeded; nothing to write is
    // Written. Changes that could not be written stay to be written by the next commit. With
    // lockWaitMs 0 it does not wait for the lock (Busy).
    WriteOutcome commit(int lockWaitMs = SettingsLock::kWaitMs);

protected:
    bool event(QEvent *event) override;

private:
    using Values = QMap<QString, QVariant>;
    enum class FailedChanges { Keep, Drop };

    WriteOutcome write(int lockWaitMs, FailedChanges failed);

    Values allValues() const;
    // Whether the file on disk holds exactly what this object holds.
    bool fileHoldsAllValues() const;
    // After a failed write: the object holds `intended` again, as changes still to be written.
    void keepPending(const Values &intended);

    bool changed = false;
};
