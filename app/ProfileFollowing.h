#pragma once
// The profile that follows the application in front: the desktop's back end feeds the
// follower, the rules file is read at start and again whenever it changes, and a profile the
// follower wants is switched to by sending only what the mouse does not hold yet. A switch
// takes its turn in the mouse's queue (the newest wish replacing one that still waits), and
// is left out, with the reason logged, while the window holds changes that have not reached
// the mouse or no mouse is there.
#include "controller/ApplicationFollower.h"
#include "controller/ApplicationRules.h"
#include "controller/RecentApplications.h"

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>

class ActiveApplication;
class MouseQueue;
class ProfileActions;

class ProfileFollowing : public QObject {
    Q_OBJECT
public:
    // Why no profile may be sent now; empty when one may.
    using Refusal = std::function<QString()>;

    // `inFront` may be none: the rules are still read, nothing comes to the front.
    ProfileFollowing(ProfileActions &profiles, MouseQueue &queue, std::unique_ptr<ActiveApplication> inFront,
        Refusal refusal, const QString &rulesPath = ApplicationRules::defaultPath(),
        ApplicationFollower::Clock clock = {}, QObject *parent = nullptr);
    ~ProfileFollowing() override;

    ApplicationFollower &follower() { return following; }
    RecentApplications &recentApplications() { return recent; }

signals:
    // A followed switch was sent (`profile` counts from 0).
    void switched(int profile);
    // The rules file was read again after a change (accepted or refused): its editors reload.
    void rulesRead();

private:
    struct FileStamp {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;
        bool operator==(const FileStamp &other) const;
    };
    FileStamp stampOfRules() const;
    void watchRules();
    void rulesMayHaveChanged();
    void readRules();
    void switchTo(int profile);
    void switchInTurn();

    ProfileActions &profiles;
    MouseQueue &queue;
    std::unique_ptr<ActiveApplication> inFront;
    Refusal refusal;
    QString rulesPath;
    ApplicationFollower following;
    RecentApplications recent;
    QFileSystemWatcher watcher;
    FileStamp rulesStamp;
    std::optional<int> waiting;
};
