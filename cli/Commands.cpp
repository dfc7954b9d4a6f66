#include "cli/Commands.h"

#include "cli/CommandSupport.h"
#include "cli/CommandTable.h"
#include "controller/ProfileStore.h"
#include "device/DeviceState.h"

using namespace cli;

Commands::Commands(const Invocation &invocation, Output &output, CommandBench &bench)
    : invocation(invocation), output(output), bench(bench), controllers(bench.controllers()), actions(bench.actions())
{
}

ExitCode Commands::run()
{
    bench.takeTurn(invocation.waitMs);
    const CommandRow *row = findCommand(invocation.command());
    if (!row)
        usageError(tr("unknown command \"%1\"").arg(invocation.command()));
    (this->*row->handler)();
    if (!bench.device().finish())
        throw CliFailure(ExitCode::DeviceError, tr("the mouse did not take the last change in time"));
    // Only a command that came to change the mouse changed a profile. A read run by the
    // program is not failed by changes its window could not save.
    if (changing && !controllers.profiles->flush())
        writeFailure(tr("the profile cannot be saved"));
    reportWarnings();
    return ExitCode::Success;
}

// --- Helpers ------------------------------------------------------------------------------

void Commands::usageError(const QString &message) const
{
    throw CliFailure(ExitCode::UsageError, message + "; " + CommandLine::usageHint(invocation.command()));
}

void Commands::writeFailure(const QString &what)
{
    const QStringList reasons = prompts.takeWarnings();
    throw CliFailure(ExitCode::DeviceError, reasons.isEmpty() ? what : what + ": " + reasons.join(' '));
}

void Commands::requireArguments(int low, int high)
{
    const int count = invocation.arguments().size();
    if (count < low)
        usageError(tr("too few arguments"));
    if (count > high)
        usageError(tr("unexpected argument \"%1\"").arg(invocation.arguments().at(high)));
}

CommandDevice &Commands::deviceToRead()
{
    if (!deviceOpened)
        bench.device().openReady(invocation.waitMs);
    deviceOpened = true;
    return bench.device();
}

CommandDevice &Commands::device()
{
    deviceToRead();
    if (changing)
        return bench.device();
    bench.device().mayChange();
    if (!languageIntegrity)
        throw CliFailure(ExitCode::DeviceError, tr("the language file of W3 Config is damaged; the mouse is not "
                                                   "written until the window's language is a sound one"));
    changing = true;
    return bench.device();
}

void Commands::reportWarnings()
{
    for (const QString &warning : prompts.takeWarnings())
        output.error(warning);
}

int Commands::profileArgument(const QString &text) const
{
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || !ProfileStore::isValidProfile(number - 1))
        usageError(tr("profile must be 1-%1, not \"%2\"").arg(ProfileStore::kProfileCount).arg(text));
    return number - 1;
}

int Commands::stepOption(const QString &option, int high) const
{
    bool ok = false;
    const int step = invocation.options.value(option).toInt(&ok);
    if (!ok || step < 0 || step > high)
        usageError(tr("--%1 must be 0-%2").arg(option).arg(high));
    return step;
}

