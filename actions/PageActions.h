#pragma once
// The page actions, one unit per page, built on one set of controllers: the window's pages,
// w3ctl and the tests drive the same units.
#include <memory>

class ApplicationLinks;
class Controllers;
class HeldProfile;
class KeyActions;
class LightingActions;
class MacroActions;
class ProfileActions;
class SensorActions;
class SettingsActions;

class PageActions {
public:
    explicit PageActions(Controllers &controllers);
    ~PageActions();

    // A page holds changes that have not reached the mouse.
    bool pending() const;
    // Every page that holds no changes of the user's reads the profile in use (and the mouse)
    // again: after another front end or program changed them.
    void readAgainKeepingChanges();

    // What the mouse holds, as every unit's sends left it.
    std::unique_ptr<HeldProfile> mouseHolds;
    std::unique_ptr<KeyActions> keys;
    std::unique_ptr<MacroActions> macros;
    std::unique_ptr<SensorActions> sensor;
    std::unique_ptr<LightingActions> lighting;
    std::unique_ptr<SettingsActions> settings;
    std::unique_ptr<ProfileActions> profiles;
    // The profiles' links to applications (the file of the program's working folder).
    std::unique_ptr<ApplicationLinks> applications;
};
