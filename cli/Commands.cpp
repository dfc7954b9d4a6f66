#include "cli/Commands.h"

#include "cli/CommandSupport.h"
#include "cli/CommandTable.h"
#include "cli/ProfileInUse.h"
#include "cli/WindowLanguage.h"
#include "controller/ProfileStore.h"
#include "device/DeviceState.h"

using namespace cli;


Commands::Commands(const Invocation &invocation, Output &output)
    : invocation(invocation), output(output), session(std::make_unique<DeviceSession>(*controllers.appConfig))
{
    // The mouse's branch of the controller answers from the profile before the mouse is opened.
    controllers.setHidThread(&session->hid());
    controllers.profiles->setCurrentProfile(ProfileInUse::load());
    loadWindowLanguage(controllers);
    prompts.takeWarnings();  // a damaged language is reported when the mouse is needed
}

Commands::~Commands()
{
    session->finish();
    controllers.setHidThread(nullptr);
    controllers.profiles->flush();
}

ExitCode Commands::run()
{
    // The settings files are read afresh under the lock every writer of them takes, so what
    // this command writes back is built on what another program wrote before it.
    session->lock(invocation.waitMs);
    controllers.profiles->reopen();
    controllers.profiles->setCurrentProfile(ProfileInUse::load());
    const CommandRow *row = findCommand(invocation.command());
    if (!row)
        usageError(tr("unknown command \"%1\"").arg(invocation.command()));
    (this->*row->handler)();
    if (!session->finish())
        throw CliFailure(ExitCode::DeviceError, tr("the mouse did not take the last change in time"));
    if (!controllers.profiles->flush())
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

DeviceSession &Commands::device()
{
    if (deviceOpened)
        return *session;
    session->openReady(invocation.waitMs);
    if (!languageIntegrity)
        throw CliFailure(ExitCode::DeviceError, tr("the language file of W3 Config is damaged; the mouse is not "
                                                   "written until the window's language is a sound one"));
    deviceOpened = true;
    return *session;
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

