#include "cli/CommandBench.h"

#include "cli/ProfileInUse.h"
#include "cli/WindowLanguage.h"
#include "controller/ProfileStore.h"

LocalBench::LocalBench()
{
    // The mouse's branch of the controller answers from the profile before the mouse is opened.
    ownControllers.setHidThread(&session.hid());
    ownControllers.profiles->setCurrentProfile(ProfileInUse::load());
    loadWindowLanguage(ownControllers);
}

LocalBench::~LocalBench()
{
    session.finish();
    ownControllers.setHidThread(nullptr);
    ownControllers.profiles->flush();
}

void LocalBench::takeTurn(int waitMs)
{
    // The settings files are read afresh under the lock every writer of them takes, so what
    // the command writes back is built on what another program wrote before it.
    session.lock(waitMs);
    ownControllers.profiles->reopen();
    ownControllers.profiles->setCurrentProfile(ProfileInUse::load());
}
