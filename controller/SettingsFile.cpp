#include "controller/SettingsFile.h"

#include "platform/DeviceLock.h"

#include <QCoreApplication>
#include <QDebug>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <optional>
#include <unistd.h>

namespace {

// A second name of the file before the write: the old contents survive the settings object's
// rename and come back with one rename of our own, which needs no free space.
class PreviousVersion {
public:
    explicit PreviousVersion(const QString &path) : path(path)
    {
        if (!QFileInfo::exists(path))
            return;
        saved = QFile::encodeName(path + ".previous");
        ::unlink(saved.constData());  // left from a run that ended in between
        if (::link(QFile::encodeName(path).constData(), saved.constData()) == 0)
            return;
        saved.clear();
        // A file system without hard links: the old contents are kept in memory.
        QFile old(path);
        failed = !old.open(QIODevice::ReadOnly);
        if (!failed)
            contents = old.readAll();
        failed = failed || old.error() != QFileDevice::NoError;
    }
    ~PreviousVersion()
    {
        if (!saved.isEmpty())
            ::unlink(saved.constData());
    }
    PreviousVersion(const PreviousVersion &) = delete;
    PreviousVersion &operator=(const PreviousVersion &) = delete;

    bool isKept() const { return !failed; }

    // Puts the old file back, or removes a file that did not exist before.
    void restore()
    {
        const QByteArray target = QFile::encodeName(path);
        bool restored = false;
        if (!saved.isEmpty())
            restored = ::rename(saved.constData(), target.constData()) == 0;
        else if (contents)
            restored = AtomicWrite::replaceContents(path, *contents).ok();
        else
            restored = ::unlink(target.constData()) == 0;
        // A rename between two names of one file changes nothing: the destructor removes the
        // second name.
        if (!restored)
            qWarning() << "cannot put the previous version of" << path << "back:" << strerror(errno);
    }

private:
    const QString path;
    QByteArray saved;
    std::optional<QByteArray> contents;
    bool failed = false;
};

bool isList(const QVariant &value)
{
    return value.type() == QVariant::List || value.type() == QVariant::StringList;
}

// Equal as the file stores them: a value read back is text where the object may hold a number,
// and a one-item list reads back as its item.
bool sameStoredValue(const QVariant &held, const QVariant &read)
{
    if (held == read)
        return true;
    if (isList(held) || isList(read))
        return held.toStringList() == read.toStringList();
    return held.toString() == read.toString();
}

}  // namespace

SettingsFile::SettingsFile(const QString &path) : QSettings(path, QSettings::IniFormat) {}

SettingsFile::~SettingsFile()
{
    // Changes that cannot be written are dropped, not left pending: the settings object would
    // write them itself, unchecked, as it goes.
    const WriteOutcome outcome = write(SettingsLock::kWaitMs, FailedChanges::Drop);
    if (!outcome)
        qWarning() << "changes to" << fileName() << "were not saved";
}

bool SettingsFile::event(QEvent *event)
{
    // QSettings asks to write itself from the event loop after its first change; here that
    // only marks the change for commit().
    if (event->type() == QEvent::UpdateRequest) {
        changed = true;
        return true;
    }
    return QSettings::event(event);
}

SettingsLock::SettingsLock(int waitMs)
{
    DeviceLock *shared = DeviceLock::shared();
    if (!shared)
        return;
    if (shared->lockWithin(waitMs))
        lock = shared;
    else
        result = shared->openError().isEmpty() ? WriteStatus::Busy : WriteStatus::Failed;
}

SettingsLock::~SettingsLock()
{
    if (lock)
        lock->unlock();
}

WriteOutcome SettingsFile::commit(int lockWaitMs)
{
    return write(lockWaitMs, FailedChanges::Keep);
}

WriteOutcome SettingsFile::write(int lockWaitMs, FailedChanges failed)
{
    QCoreApplication::sendPostedEvents(this, QEvent::UpdateRequest);
    if (!changed)
        return {};
    const SettingsLock lock(lockWaitMs);
    if (lock.status() != WriteStatus::Written)
        return {lock.status()};
    const QString path = fileName();
    if (QFileInfo(path).isSymLink()) {
        // The link gives way to a file of our own with what it showed; the outside file stays.
        QFile shown(path);
        if (!shown.open(QIODevice::ReadOnly))
            return {WriteStatus::Failed};
        const WriteOutcome replaced = AtomicWrite::replaceContents(path, shown.readAll());
        if (!replaced)
            return replaced;
    }
    PreviousVersion previous(path);
    if (!previous.isKept())
        return {WriteStatus::Failed};
    const Values intended = allValues();
    sync();
    if (status() != QSettings::AccessError && fileHoldsAllValues() && AtomicWrite::syncToDisk(path)) {
        changed = false;
        return {};
    }
    previous.restore();
    if (failed == FailedChanges::Keep)
        keepPending(intended);
    return {AtomicWrite::likelyCause(path)};
}

SettingsFile::Values SettingsFile::allValues() const
{
    Values values;
    for (const QString &key : allKeys())
        values.insert(key, value(key));
    return values;
}

void SettingsFile::keepPending(const Values &intended)
{
    // A settings object that counts what it failed to write as written reads the old file
    // again, and the changes are made once more, to be written by the next commit. One that
    // knows of its failure still holds them: reading would be writing, unchecked.
    if (status() != QSettings::AccessError)
        sync();
    for (const QString &key : allKeys()) {
        if (!intended.contains(key))
            remove(key);
    }
    for (auto it = intended.cbegin(); it != intended.cend(); ++it)
        setValue(it.key(), it.value());
    changed = true;
}

bool SettingsFile::fileHoldsAllValues() const
{
    // The settings objects of one process share what they read of a file: the check reads it
    // under another name, which a settings object has never seen.
    QTemporaryFile alias(fileName() + ".check");
    if (!alias.open())
        return false;
    const QByteArray aliasName = QFile::encodeName(alias.fileName());
    alias.close();
    if (::unlink(aliasName.constData()) != 0)
        return false;
    if (::link(QFile::encodeName(fileName()).constData(), aliasName.constData()) != 0
        && !QFile::copy(fileName(), alias.fileName()))
        return false;
    const QSettings onDisk(alias.fileName(), QSettings::IniFormat);
    const QStringList keys = allKeys();
    bool same = onDisk.status() == QSettings::NoError && onDisk.allKeys().size() == keys.size();
    for (int i = 0; same && i < keys.size(); ++i)
        same = onDisk.contains(keys.at(i)) && sameStoredValue(value(keys.at(i)), onDisk.value(keys.at(i)));
    return same;
}
