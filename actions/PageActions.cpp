#include "actions/PageActions.h"

#include "actions/KeyActions.h"
#include "actions/MacroActions.h"

PageActions::PageActions(Controllers &controllers)
    : keys(std::make_unique<KeyActions>(controllers)),
      macros(std::make_unique<MacroActions>(controllers, *keys))
{
}

PageActions::~PageActions() = default;
