#pragma once
// What a w3ctl command works on: the controllers, the page actions over them and the mouse.
// w3ctl alone builds its own (LocalBench); the running program lends its window's, so that the
// window, the tray and the bus see what the command changed.
#include "actions/PageActions.h"
#include "cli/CommandDevice.h"
#include "cli/DeviceSession.h"
#include "controller/Controllers.h"

class CommandBench {
public:
    virtual ~CommandBench() = default;

    virtual Controllers &controllers() = 0;
    virtual PageActions &actions() = 0;
    virtual CommandDevice &device() = 0;
    // Takes the command's turn at the mouse and the settings files (up to waitMs) and brings
    // the profiles up to what the files hold.
    virtual void takeTurn(int waitMs) = 0;
};

// w3ctl on its own: its own controllers on the data folder, the profile it keeps in
// w3ctl.ini, the mouse opened under the per-user device lock.
class LocalBench : public CommandBench {
public:
    LocalBench();
    ~LocalBench() override;

    Controllers &controllers() override { return ownControllers; }
    PageActions &actions() override { return ownActions; }
    CommandDevice &device() override { return session; }
    void takeTurn(int waitMs) override;

private:
    Controllers ownControllers;
    PageActions ownActions{ownControllers};
    DeviceSession session{*ownControllers.appConfig};
};
