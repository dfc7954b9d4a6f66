#include "actions/PageActions.h"

#include "actions/LightingActions.h"
#include "actions/SensorActions.h"

PageActions::PageActions(Controllers &controllers)
    : sensor(std::make_unique<SensorActions>(controllers)), lighting(std::make_unique<LightingActions>(controllers))
{
}

PageActions::~PageActions() = default;
