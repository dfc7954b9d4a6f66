#pragma once
// Turns the application in front into the profile it wants, once the application has stayed
// in front for kDwellMs: quick switching (alt-tab through several windows) asks for nothing,
// and a profile already asked for is not asked for again.
#include "controller/ApplicationRules.h"

#include <QObject>
#include <QTimer>
#include <functional>

class ApplicationFollower : public QObject {
    Q_OBJECT
public:
    static constexpr int kDwellMs = 300;
    // Milliseconds of a monotonic clock.
    using Clock = std::function<qint64()>;

    // Without a clock the follower uses the system's monotonic clock.
    explicit ApplicationFollower(Clock clock = Clock(), QObject *parent = nullptr);

    // New rules apply to the application in front at once (after its dwell).
    void setRules(const ApplicationRules &rules);

public slots:
    void applicationActivated(const ApplicationIdentity &application);
    // Asks for the profile when the application in front has dwelt long enough; the dwell
    // timer calls it, and so may anyone who moved the clock.
    void checkDwell();
    // The profile the mouse uses now, however it was chosen: an application wanting it is
    // not asked for again, one wanting another is.
    void profileInUse(int profile);

signals:
    void profileWanted(int profile);

private:
    Clock now;
    ApplicationRules rules;
    QTimer dwellTimer;
    std::optional<ApplicationIdentity> inFront;
    qint64 inFrontSince = 0;
    std::optional<int> lastWanted;
};
