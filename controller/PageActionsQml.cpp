#include "controller/PageActionsQml.h"

#include "actions/KeyActions.h"
#include "actions/MacroActions.h"
#include "actions/PageActions.h"

#include <QtQml>

void registerPageActions(PageActions &actions)
{
    const char *module = "W3.Actions";
    qmlRegisterSingletonInstance(module, 1, 0, "KeyActions", actions.keys.get());
    qmlRegisterSingletonInstance(module, 1, 0, "MacroActions", actions.macros.get());
}
