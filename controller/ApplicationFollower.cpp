#include "controller/ApplicationFollower.h"

#include <QElapsedTimer>

namespace {

ApplicationFollower::Clock monotonicClock()
{
    return [] {
        static QElapsedTimer started = [] {
            QElapsedTimer timer;
            timer.start();
            return timer;
        }();
        return started.elapsed();
    };
}

}  // namespace

ApplicationFollower::ApplicationFollower(Clock clock, QObject *parent)
    : QObject(parent), now(clock ? std::move(clock) : monotonicClock())
{
    dwellTimer.setSingleShot(true);
    connect(&dwellTimer, &QTimer::timeout, this, &ApplicationFollower::checkDwell);
}

void ApplicationFollower::setRules(const ApplicationRules &newRules)
{
    rules = newRules;
    checkDwell();
}

void ApplicationFollower::applicationActivated(const ApplicationIdentity &application)
{
    // The same window told again (a desktop repeats its events) keeps its dwell.
    if (inFront && *inFront == application)
        return;
    inFront = application;
    inFrontSince = now();
    dwellTimer.start(kDwellMs);
}

void ApplicationFollower::checkDwell()
{
    if (!inFront)
        return;
    const qint64 dwelt = now() - inFrontSince;
    if (dwelt < kDwellMs) {
        dwellTimer.start(int(kDwellMs - dwelt));
        return;
    }
    const std::optional<int> wanted = rules.profileFor(*inFront);
    if (!wanted || wanted == lastWanted)
        return;
    lastWanted = wanted;
    emit profileWanted(*wanted);
}

void ApplicationFollower::profileInUse(int profile)
{
    lastWanted = profile;
}
