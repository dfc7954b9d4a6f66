#include "cli/Commands.h"

#include "actions/ProfileActions.h"

#include "cli/CommandSupport.h"
#include "cli/CommandTable.h"
#include "cli/ProfileInUse.h"
#include "controller/ExportTarget.h"
#include "controller/FileExport.h"
#include "controller/Notices.h"
#include "controller/ProfileCheck.h"
#include "controller/ProfileStore.h"
#include "controller/SystemMouseSettings.h"

#include <QFileInfo>

using namespace cli;

namespace {

QStringList completeProfile(const CompletionRequest &request)
{
    const QStringList profiles = numberWords(1, ProfileStore::kProfileCount);
    const QString action = request.before.value(0);
    const bool takesFile = action == "export" || action == "import";
    switch (request.before.size()) {
    case 0:
        return profiles + QStringList{"export", "import", "reset"};
    case 1:
        return takesFile || action == "reset" ? profiles : QStringList();
    case 2:
        return takesFile ? QStringList{"@files:" + FileExport::kProfileExtension.mid(1)} : QStringList();
    default:
        return {};
    }
}

}  // namespace

const CommandRow &profileCommand()
{
    static const CommandRow row = {
        "profile", "profile [N | export N FILE | import N FILE | reset N]",
         "Show the profile in use, or switch to profile N (1-10) and send all its settings to the mouse.",
         "  profile              show the profile in use\n"
         "  profile N            switch to profile N and send its buttons, lighting, DPI stages,\n"
         "                       report rate and pointer settings to the mouse\n"
         "  profile export N FILE  copy profile N to FILE (a .pf file)\n"
         "  profile import N FILE  replace profile N by FILE; a file that is not a profile is refused\n"
         "  profile reset N      give profile N its factory settings\n"
         "The window keeps its own profile choice while it runs; it starts on profile 1.\n",
        {},
        MouseUse::ForChanges,
        &Commands::profile,
        completeProfile};
    return row;
}

void Commands::profile()
{
    const QStringList arguments = invocation.arguments();
    const QString action = arguments.value(0);
    if (arguments.isEmpty()) {
        showProfile();
    } else if (action == "export" || action == "import") {
        requireArguments(3, 3);
        if (action == "export")
            exportProfile(profileArgument(arguments.at(1)), arguments.at(2));
        else
            importProfile(profileArgument(arguments.at(1)), arguments.at(2));
    } else if (action == "reset") {
        requireArguments(2, 2);
        resetProfile(profileArgument(arguments.at(1)));
    } else {
        requireArguments(1, 1);
        switchProfile(profileArgument(action));
    }
}

void Commands::showProfile()
{
    const int profile = controllers.profiles->currentProfile() + 1;
    output.result(tr("profile %1").arg(profile), {{"profile", profile}, {"profiles", ProfileStore::kProfileCount}});
}

void Commands::switchProfile(int profile)
{
    device();
    // Stored before the mouse is told, so a file that cannot be written changes nothing.
    const WriteOutcome stored = ProfileInUse::save(profile);
    if (!stored) {
        Notices::cannotSave(ProfileInUse::kStatePath, stored.status);
        writeFailure(tr("cannot write %1").arg(ProfileInUse::kStatePath));
    }
    actions.profiles->switchTo(profile);
    controllers.systemMouse->waitUntilApplied(kPointerTimeoutMs);
    output.done(tr("profile %1 in use").arg(profile + 1));
}

void Commands::exportProfile(int profile, const QString &file)
{
    exportTarget(file);  // what the user named must not be a folder, device or pipe either
    prompts.setFileAnswer(exportTarget(FileExport::withExtension(file, FileExport::kProfileExtension)));
    const QString written = controllers.profiles->saveProfile(profile, nullptr, controllers.context);
    if (written.isEmpty())
        throw exportFailure(file);
    output.done(tr("profile %1 exported to %2").arg(profile + 1).arg(written));
}

// The file the user named, where the user is; refused when it is not a regular file or a new
// name, so that no folder, device or pipe is replaced.
QString Commands::exportTarget(const QString &file) const
{
    const QString target = invocation.userFile(file);
    const QString problem = ExportTarget::problem(target);
    if (!problem.isEmpty())
        usageError(tr("cannot export to %1: %2").arg(file, problem));
    return target;
}

CliFailure Commands::exportFailure(const QString &file)
{
    const QString folder = QFileInfo(invocation.userFile(file)).absolutePath();
    QStringList reasons = prompts.takeWarnings();
    if (!QFileInfo(folder).isWritable())
        reasons << tr("the folder %1 is not writable").arg(folder);
    return CliFailure(ExitCode::DeviceError,
                      reasons.isEmpty() ? tr("cannot write %1").arg(file)
                                        : tr("cannot write %1: %2").arg(file, reasons.join(' ')));
}

void Commands::importProfile(int profile, const QString &file)
{
    const QString source = invocation.userFile(file);
    const QString problem = ProfileCheck::problem(source);
    if (!problem.isEmpty())
        usageError(tr("%1 is not a profile: %2").arg(file, problem));
    prompts.setFileAnswer(source);
    controllers.profiles->loadProfile(profile, nullptr);
    const QStringList warnings = prompts.takeWarnings();
    if (!warnings.isEmpty())
        throw CliFailure(ExitCode::DeviceError, warnings.join(' '));
    output.done(tr("profile %1 imported from %2").arg(profile + 1).arg(file));
}

void Commands::resetProfile(int profile)
{
    controllers.profiles->resetProfile(profile);
    const QStringList warnings = prompts.takeWarnings();
    if (!warnings.isEmpty())
        throw CliFailure(ExitCode::DeviceError, warnings.join(' '));
    output.done(tr("profile %1 has its factory settings").arg(profile + 1));
}
