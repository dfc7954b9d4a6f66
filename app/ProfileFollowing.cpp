#include "app/ProfileFollowing.h"

#include "actions/ProfileActions.h"
#include "device/Hid_Thread.h"
#include "platform/DeviceLock.h"
#include "platform/ActiveApplication.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

namespace {
// How often a switch that waits for the mouse looks again.
constexpr int kIdlePollMs = 20;
}

bool ProfileFollowing::FileStamp::operator==(const FileStamp &other) const
{
    return exists == other.exists && size == other.size && modified == other.modified;
}

ProfileFollowing::ProfileFollowing(ProfileActions &profiles, Hid_Thread &device,
                                   std::unique_ptr<ActiveApplication> inFront, Refusal refusal,
                                   const QString &rulesPath, ApplicationFollower::Clock clock, QObject *parent)
    : QObject(parent),
      profiles(profiles),
      device(device),
      inFront(std::move(inFront)),
      refusal(std::move(refusal)),
      rulesPath(QFileInfo(rulesPath).absoluteFilePath()),
      following(std::move(clock))
{
    idleWait.setSingleShot(true);
    idleWait.setInterval(kIdlePollMs);
    connect(&idleWait, &QTimer::timeout, this, &ProfileFollowing::switchWhenIdle);
    connect(&following, &ApplicationFollower::profileWanted, this, &ProfileFollowing::switchTo);
    connect(&profiles, &ProfileActions::heldByMouseChanged, &following, [this](int held) {
        if (held >= 0)
            following.profileInUse(held);
    });
    connect(&watcher, &QFileSystemWatcher::directoryChanged, this, &ProfileFollowing::rulesMayHaveChanged);
    connect(&watcher, &QFileSystemWatcher::fileChanged, this, &ProfileFollowing::rulesMayHaveChanged);
    if (const DeviceLock *lock = DeviceLock::shared())
        changeMark = lock->mouseChangeMark();
    if (profiles.heldByMouse() >= 0)
        following.profileInUse(profiles.heldByMouse());
    watchRules();
    readRules();
    if (this->inFront) {
        connect(this->inFront.get(), &ActiveApplication::changed, &recent, &RecentApplications::seen);
        connect(this->inFront.get(), &ActiveApplication::changed, &following, &ApplicationFollower::applicationActivated);
        const ApplicationIdentity now = this->inFront->current();
        recent.seen(now);
        following.applicationActivated(now);
    }
}

ProfileFollowing::~ProfileFollowing() = default;

ProfileFollowing::FileStamp ProfileFollowing::stampOfRules() const
{
    const QFileInfo file(rulesPath);
    return file.exists() ? FileStamp{true, file.size(), file.lastModified()} : FileStamp{};
}

// The folder tells of a file written anew in one piece (a rename), the file of a change in place.
void ProfileFollowing::watchRules()
{
    const QString folder = QFileInfo(rulesPath).absolutePath();
    if (!watcher.directories().contains(folder) && !watcher.addPath(folder))
        qWarning().noquote() << "Changes of the application rules in" << folder << "are not followed";
    if (QFileInfo::exists(rulesPath) && !watcher.files().contains(rulesPath))
        watcher.addPath(rulesPath);
}

// The folder also holds the profiles, written at every change: the rules are read again only
// when their own file changed.
void ProfileFollowing::rulesMayHaveChanged()
{
    watchRules();
    if (stampOfRules() == rulesStamp)
        return;
    readRules();
}

void ProfileFollowing::readRules()
{
    rulesStamp = stampOfRules();
    const ApplicationRules rules = ApplicationRules::read(rulesPath);
    if (rules.status() == ApplicationRules::ReadStatus::Malformed) {
        qWarning().noquote() << "The application rules in" << rulesPath << "are refused:" << rules.reason()
                             << "- the rules read before still hold";
    } else {
        qInfo().noquote() << "Application rules:" << (rules.enabled() ? "following" : "not following")
                          << rules.rules().size() << "applications";
        following.setRules(rules);
    }
    emit rulesRead();
}

void ProfileFollowing::switchTo(int profile)
{
    waiting = profile;
    switchWhenIdle();
}

// A command waiting for the mouse runs the window's events: a switch started then would cut
// into that command's sequence, so the switch waits until the mouse is idle.
void ProfileFollowing::switchWhenIdle()
{
    if (!waiting)
        return;
    if (device.isBusy()) {
        idleWait.start();
        return;
    }
    const int profile = *waiting;
    waiting.reset();
    const QString reason = refusal ? refusal() : QString();
    if (!reason.isEmpty()) {
        qInfo().noquote() << QString("Profile %1 is not followed: %2").arg(profile + 1).arg(reason);
        // Asked for again when an application next comes to the front.
        following.profileInUse(profiles.heldByMouse());
        return;
    }
    forgetWhenChangedElsewhere();
    profiles.switchSendingDifferences(profile);
    emit switched(profile);
}

void ProfileFollowing::forgetWhenChangedElsewhere()
{
    const DeviceLock *lock = DeviceLock::shared();
    if (!lock)
        return;
    const QByteArray mark = lock->mouseChangeMark();
    if (mark == changeMark)
        return;
    changeMark = mark;
    profiles.forgetWhatMouseHolds();
}
