#include "actions/PageActions.h"

#include "actions/LightingActions.h"
#include "actions/SensorActions.h"
#include "actions/SettingsActions.h"

PageActions::PageActions(Controllers &controllers)
    : sensor(std::make_unique<SensorActions>(controllers)),
      lighting(std::make_unique<LightingActions>(controllers)),
      settings(std::make_unique<SettingsActions>(controllers))
{
}

PageActions::~PageActions() = default;
