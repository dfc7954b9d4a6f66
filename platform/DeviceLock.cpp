#include "platform/DeviceLock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <atomic>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const char *const kLockName = "w3config-device.lock";
const char *const kDataFolderLock = ".w3config-device.lock";

// Never destroyed: a write on the pool may give its hold back after main has returned.
std::atomic<DeviceLock *> sharedLock{nullptr};

}  // namespace

QString DeviceLock::defaultPath()
{
    const QString named = qEnvironmentVariable("W3_DEVICE_LOCK");
    if (!named.isEmpty())
        return named;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime + "/" + kLockName;
    return QDir::current().absoluteFilePath(kDataFolderLock);
}

DeviceLock::DeviceLock(const QString &path) : lockPath(path) {}

DeviceLock::~DeviceLock()
{
    if (fd >= 0)
        ::close(fd);  // closing the file releases a lock still held
}

bool DeviceLock::openFile()
{
    if (fd >= 0)
        return true;
    fd = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    openFailure = fd >= 0 ? QString() : QString::fromLocal8Bit(strerror(errno));
    return fd >= 0;
}

bool DeviceLock::tryLock()
{
    std::lock_guard<std::mutex> guard(mutex);
    if (holds > 0) {
        ++holds;
        return true;
    }
    if (!openFile() || ::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return false;
    holds = 1;
    return true;
}

bool DeviceLock::lockWithin(int timeoutMs, int pollMs)
{
    QElapsedTimer waited;
    waited.start();
    while (!tryLock()) {
        if (waited.elapsed() >= timeoutMs || !openError().isEmpty())
            return false;
        QThread::msleep(ulong(pollMs));
    }
    return true;
}

void DeviceLock::unlock()
{
    std::lock_guard<std::mutex> guard(mutex);
    if (holds == 0)
        return;
    if (--holds == 0 && ::flock(fd, LOCK_UN) != 0) {
        // A lock that cannot be released explicitly goes with its file.
        ::close(fd);
        fd = -1;
    }
}

QString DeviceLock::openError() const
{
    std::lock_guard<std::mutex> guard(mutex);
    return openFailure;
}

bool DeviceLock::isHeld() const
{
    std::lock_guard<std::mutex> guard(mutex);
    return holds > 0;
}

namespace {
QString markPath(const QString &lockPath) { return lockPath + QStringLiteral(".changed"); }
}

// The time, the process and its count of marks make each mark differ from the one before.
bool DeviceLock::markMouseChanged()
{
    static std::atomic<quint64> marksMade{0};
    QFile mark(markPath(lockPath));
    if (!mark.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray text = QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + ' '
                            + QByteArray::number(QCoreApplication::applicationPid()) + ' '
                            + QByteArray::number(++marksMade);
    return mark.write(text) == text.size();
}

QByteArray DeviceLock::mouseChangeMark() const
{
    QFile mark(markPath(lockPath));
    return mark.open(QIODevice::ReadOnly) ? mark.read(kMaxMarkBytes) : QByteArray();
}

QString DeviceLock::mouseChangeMarkPath() const
{
    return markPath(lockPath);
}

DeviceLock *DeviceLock::shared()
{
    return sharedLock.load();
}

void DeviceLock::installShared(std::unique_ptr<DeviceLock> lock)
{
    delete sharedLock.exchange(lock.release());
}
