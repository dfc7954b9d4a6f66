#pragma once
// The page actions, one unit per page, built on the program's controllers: the window's
// pages, w3ctl and the tests call the same rules.
#include <memory>

class Controllers;
class LightingActions;
class SensorActions;
class SettingsActions;

class PageActions {
public:
    explicit PageActions(Controllers &controllers);
    ~PageActions();

    std::unique_ptr<SensorActions> sensor;
    std::unique_ptr<LightingActions> lighting;
    std::unique_ptr<SettingsActions> settings;
};
