#include "cli/Commands.h"

#include "cli/CommandSupport.h"
#include "cli/CommandTable.h"
#include "controller/MouseOperations.h"

using namespace cli;

namespace {

QStringList completeWheel(const CompletionRequest &request)
{
    return request.before.isEmpty() ? QStringList{"normal", "reversed"} : QStringList();
}

}  // namespace

const CommandRow &wheelCommand()
{
    static const CommandRow row = {
        "wheel", "wheel [normal|reversed]", "Show or set the wheel direction.", "",
        {},
        MouseUse::ForChanges,
        &Commands::wheel,
        completeWheel};
    return row;
}

void Commands::wheel()
{
    requireArguments(0, 1);
    if (invocation.arguments().isEmpty()) {
        const bool swapped = controllers.mouse->getScrollPinSwap();
        output.result(swapped ? "reversed" : "normal", {{"reversed", swapped}});
        return;
    }
    const QString direction = invocation.arguments().at(0);
    if (direction != "normal" && direction != "reversed")
        usageError(tr("wheel direction must be normal or reversed"));
    device();
    controllers.mouse->setScrollPinSwap(direction == "reversed");
    output.done(tr("wheel %1").arg(direction));
}
