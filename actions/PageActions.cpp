#include "actions/PageActions.h"

#include "actions/HeldProfile.h"
#include "actions/ApplicationLinks.h"
#include "actions/KeyActions.h"
#include "actions/LightingActions.h"
#include "actions/MacroActions.h"
#include "actions/ProfileActions.h"
#include "actions/SensorActions.h"
#include "actions/SettingsActions.h"

PageActions::PageActions(Controllers &controllers)
    : mouseHolds(std::make_unique<HeldProfile>()),
      keys(std::make_unique<KeyActions>(controllers, *mouseHolds)),
      macros(std::make_unique<MacroActions>(controllers, *keys)),
      sensor(std::make_unique<SensorActions>(controllers, *mouseHolds)),
      lighting(std::make_unique<LightingActions>(controllers, *mouseHolds)),
      settings(std::make_unique<SettingsActions>(controllers)),
      profiles(std::make_unique<ProfileActions>(controllers, *mouseHolds, *keys, *lighting, *sensor)),
      applications(std::make_unique<ApplicationLinks>())
{
}

PageActions::~PageActions() = default;

bool PageActions::pending() const
{
    return keys->pending() || lighting->pending() || sensor->pending();
}

void PageActions::readAgainKeepingChanges()
{
    if (!keys->pending())
        keys->refresh();
    if (!lighting->pending())
        lighting->refresh();
    if (!sensor->pending())
        sensor->refresh();
}
