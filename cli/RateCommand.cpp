#include "cli/Commands.h"

#include "actions/SensorActions.h"

#include "cli/CommandSupport.h"
#include "cli/CommandTable.h"
#include "controller/MouseOperations.h"
#include "scenelogic/SensorLogic.h"

using namespace cli;

namespace {

QStringList completeRate(const CompletionRequest &request)
{
    if (!request.before.isEmpty())
        return {};
    QStringList words;
    for (const QString &label : SensorLogic::reportRateLabels())
        words << label.section(' ', 0, 0);
    return words;
}

}  // namespace

const CommandRow &rateCommand()
{
    static const CommandRow row = {
        "rate", "rate [125|250|500|1000]", "Show or set the report rate, in reports per second.", "",
        {},
        MouseUse::ForChanges,
        &Commands::rate,
        completeRate};
    return row;
}

void Commands::rate()
{
    requireArguments(0, 1);
    const QStringList labels = SensorLogic::reportRateLabels();
    if (invocation.arguments().isEmpty()) {
        const int position = SensorLogic::reportRatePosition(controllers.mouse->ui_81H_GetReportRate().toInt());
        output.result(labels.at(position), {{"reportRate", labels.at(position).section(' ', 0, 0).toInt()}});
        return;
    }
    const QString wanted = invocation.arguments().at(0);
    int position = -1;
    for (int i = 0; i < labels.size(); ++i)
        if (labels.at(i).section(' ', 0, 0) == wanted)
            position = i;
    if (position < 0)
        usageError(tr("report rate must be 125, 250, 500 or 1000, not \"%1\"").arg(wanted));
    device();
    actions.sensor->setReportRate(position);
    output.done(tr("report rate %1").arg(labels.at(position)));
}
