#include "app/ElsewhereChanges.h"

#include "actions/PageActions.h"
#include "actions/ProfileActions.h"
#include "controller/Controllers.h"
#include "controller/ProfileStore.h"
#include "platform/DeviceLock.h"

#include <QDebug>
#include <QFileInfo>

ElsewhereChanges::ElsewhereChanges(Controllers &controllers, PageActions &actions, QObject *parent)
    : QObject(parent)
    , controllers(controllers)
    , actions(actions)
{
    if (const DeviceLock *lock = DeviceLock::shared())
        seenMark = lock->mouseChangeMark();
    connect(&watcher, &QFileSystemWatcher::directoryChanged, this, &ElsewhereChanges::watchMark);
    connect(&watcher, &QFileSystemWatcher::fileChanged, this, &ElsewhereChanges::watchMark);
    watchMark();
}

// The folder tells of a mark made for the first time, the file of one written over.
void ElsewhereChanges::watchMark()
{
    if (const DeviceLock *lock = DeviceLock::shared()) {
        const QString mark = lock->mouseChangeMarkPath();
        const QString folder = QFileInfo(mark).absolutePath();
        if (!watcher.directories().contains(folder))
            watcher.addPath(folder);
        if (QFileInfo::exists(mark) && !watcher.files().contains(mark))
            watcher.addPath(mark);
        if (lock->mouseChangeMark() != seenMark)
            emit markMayHaveChanged();
    }
}

bool ElsewhereChanges::catchUp()
{
    const DeviceLock *lock = DeviceLock::shared();
    if (!lock)
        return false;
    const QByteArray mark = lock->mouseChangeMark();
    if (mark == seenMark)
        return false;
    seenMark = mark;
    actions.profiles->forgetWhatMouseHolds();
    readProfilesAgain();
    return true;
}

// What this program has not written yet goes first, so that reading the files again loses
// nothing; a page that holds the user's changes keeps them.
void ElsewhereChanges::readProfilesAgain()
{
    ProfileStore &profiles = *controllers.profiles;
    if (!profiles.flush()) {
        qWarning() << "w3ctl changed the profiles, but this program's own changes cannot be written first:"
                   << "the profiles are not read again";
        return;
    }
    profiles.reopen();
    actions.readAgainKeepingChanges();
}
