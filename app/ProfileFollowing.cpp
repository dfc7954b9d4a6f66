#include "app/ProfileFollowing.h"

#include "actions/ProfileActions.h"
#include "app/MouseQueue.h"
#include "platform/ActiveApplication.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QPointer>

bool ProfileFollowing::FileStamp::operator==(const FileStamp &other) const
{
    return exists == other.exists && size == other.size && modified == other.modified;
}

ProfileFollowing::ProfileFollowing(ProfileActions &profiles, MouseQueue &queue,
    std::unique_ptr<ActiveApplication> inFront, Refusal refusal, const QString &rulesPath,
    ApplicationFollower::Clock clock, QObject *parent)
    : QObject(parent)
    , profiles(profiles)
    , queue(queue)
    , inFront(std::move(inFront))
    , refusal(std::move(refusal))
    , rulesPath(QFileInfo(rulesPath).absoluteFilePath())
    , following(std::move(clock))
{
    connect(&following, &ApplicationFollower::profileWanted, this, &ProfileFollowing::switchTo);
    connect(&profiles, &ProfileActions::heldByMouseChanged, &following, [this](int held) {
        if (held >= 0)
            following.profileInUse(held);
    });
    connect(&watcher, &QFileSystemWatcher::directoryChanged, this, &ProfileFollowing::rulesMayHaveChanged);
    connect(&watcher, &QFileSystemWatcher::fileChanged, this, &ProfileFollowing::rulesMayHaveChanged);
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

// One turn is asked for however often the application in front changes meanwhile: the newest
// wish is the one sent.
void ProfileFollowing::switchTo(int profile)
{
    const bool turnAsked = waiting.has_value();
    waiting = profile;
    if (!turnAsked)
        queue.push({QString(), MouseQueue::kNoLimit,
            [self = QPointer<ProfileFollowing>(this)] {
                if (self)
                    self->switchInTurn();
            },
            {}});
}

void ProfileFollowing::switchInTurn()
{
    if (!waiting)
        return;
    const int profile = *waiting;
    waiting.reset();
    const QString reason = refusal ? refusal() : QString();
    if (!reason.isEmpty()) {
        qInfo().noquote() << QString("Profile %1 is not followed: %2").arg(profile + 1).arg(reason);
        // Asked for again when an application next comes to the front.
        following.profileInUse(profiles.heldByMouse());
        return;
    }
    profiles.switchSendingDifferences(profile);
    emit switched(profile);
}
