#include "actions/PageActions.h"

#include "actions/ApplicationLinks.h"
#include "actions/KeyActions.h"
#include "actions/LightingActions.h"
#include "actions/MacroActions.h"
#include "actions/ProfileActions.h"
#include "actions/SensorActions.h"
#include "actions/SettingsActions.h"

PageActions::PageActions(Controllers &controllers)
    : keys(std::make_unique<KeyActions>(controllers)),
      macros(std::make_unique<MacroActions>(controllers, *keys)),
      sensor(std::make_unique<SensorActions>(controllers)),
      lighting(std::make_unique<LightingActions>(controllers)),
      settings(std::make_unique<SettingsActions>(controllers)),
      profiles(std::make_unique<ProfileActions>(controllers, *keys, *lighting, *sensor)),
      applications(std::make_unique<ApplicationLinks>())
{
}

PageActions::~PageActions() = default;
