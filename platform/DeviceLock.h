#pragma once
// The per-user lock that keeps two programs (the window and w3ctl) from talking to the mouse
// at the same time: an advisory flock on a lock file, taken without blocking. Holds nest
// within one process, so a program may hold the lock around a whole command while each
// transfer takes and gives it back as well. Locks of two DeviceLock objects on the same file
// exclude each other like those of two processes.
#include <QByteArray>
#include <QString>
#include <memory>
#include <mutex>

class DeviceLock {
public:
    // "$XDG_RUNTIME_DIR/w3config-device.lock"; without a runtime folder ".w3config-device.lock"
    // in the working directory, which is the data folder. W3_DEVICE_LOCK names another file.
    static QString defaultPath();

    explicit DeviceLock(const QString &path);
    ~DeviceLock();
    DeviceLock(const DeviceLock &) = delete;
    DeviceLock &operator=(const DeviceLock &) = delete;

    // Takes the lock, or one more hold of it, without waiting; false when another holds it
    // or the lock file cannot be opened.
    bool tryLock();
    // Tries again every pollMs until timeoutMs have passed; gives up at once when the lock
    // file cannot be opened.
    bool lockWithin(int timeoutMs, int pollMs = 50);
    // Gives back one hold; the last one releases the lock. Without a hold it does nothing.
    void unlock();
    bool isHeld() const;
    QString path() const { return lockPath; }
    // Why the lock file could not be opened by the last attempt; empty when it could (a lock
    // that was not taken is then held by another).
    QString openError() const;

    // A program that changed what the mouse holds and ends leaves a new mark beside the lock
    // file, so that a program that keeps track of what it sent to the mouse knows to forget it.
    // False when the mark could not be written.
    bool markMouseChanged();
    // The last mark; empty when there is none.
    QByteArray mouseChangeMark() const;
    // The file that holds the mark, beside the lock file.
    QString mouseChangeMarkPath() const;

    // The lock device transfers take; none (transfers take no lock) until a program installs one.
    // Install it at start, before any transfer: it then lives until the process ends.
    static DeviceLock *shared();
    static void installShared(std::unique_ptr<DeviceLock> lock);

private:
    static constexpr qint64 kMaxMarkBytes = 64;
    bool openFile();

    const QString lockPath;
    mutable std::mutex mutex;
    int fd = -1;
    int holds = 0;
    QString openFailure;
};
