#include "cli/W3ctl.h"

#include "cli/CommandBench.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/Completion.h"
#include "cli/Output.h"
#include "cli/ServiceClient.h"
#include "platform/DataFolder.h"
#include "platform/DeviceLock.h"

#include <QCoreApplication>
#include <QDir>

namespace {

// The device and controller layers write developer lines ("cmd Failed", "Device Connect");
// w3ctl's own output is its results and one-line errors. W3CTL_DEBUG=1 shows them.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg || qEnvironmentVariableIntValue("W3CTL_DEBUG") > 0)
        fprintf(stderr, "%s\n", qPrintable(message));
}

// What w3ctl answers by itself from the command line: the hidden answers for the shell
// completion and the manual page, usage errors, the help and the version. Otherwise nullopt,
// with the parsed invocation.
std::optional<int> answerFromCommandLine(const QStringList &arguments, QTextStream &out, QTextStream &err,
                                         const QDir &userFolder, Invocation &invocation)
{
    if (arguments.value(0) == "--complete") {
        const Controllers controllers;
        for (const QString &word : completeWords(arguments.mid(1), controllers))
            out << word << '\n';
        return int(ExitCode::Success);
    }
    if (arguments.value(0) == "--list") {
        for (const QString &name : CommandLine::commandNames())
            out << name << '\n';
        return int(ExitCode::Success);
    }
    try {
        invocation = CommandLine::parse(arguments);
        invocation.userFolder = userFolder;
    } catch (const CliFailure &failure) {
        Output(out, err, false).error(failure.message);
        return int(failure.code);
    }
    Output output(out, err, invocation.json);
    if (invocation.version) {
        output.plain(CommandLine::version());
        return int(ExitCode::Success);
    }
    if (invocation.help) {
        output.plain(invocation.words.isEmpty() ? CommandLine::help() : CommandLine::help(invocation.command()));
        return int(ExitCode::Success);
    }
    if (invocation.words.isEmpty()) {
        output.error(QCoreApplication::translate("w3ctl", "no command given; %1").arg(CommandLine::usageHint()));
        return int(ExitCode::UsageError);
    }
    return std::nullopt;
}

int runCommand(const Invocation &invocation, CommandBench &bench, QTextStream &out, QTextStream &err)
{
    Output output(out, err, invocation.json);
    try {
        Commands commands(invocation, output, bench);
        return int(commands.run());
    } catch (const CliFailure &failure) {
        output.error(failure.message);
        return int(failure.code);
    }
}

}  // namespace

int runW3ctl(const QStringList &arguments, QTextStream &out, QTextStream &err, const QDir &userFolder,
             const CommandHandover &handover)
{
    Invocation invocation;
    if (const std::optional<int> answered = answerFromCommandLine(arguments, out, err, userFolder, invocation))
        return *answered;
    if (handover)
        if (const std::optional<int> handled = handover(arguments, invocation, out, err))
            return *handled;
    if (!DeviceLock::shared())
        DeviceLock::installShared(std::make_unique<DeviceLock>(DeviceLock::defaultPath()));
    LocalBench bench;
    return runCommand(invocation, bench, out, err);
}

int runW3ctlOn(CommandBench &bench, const QStringList &arguments, QTextStream &out, QTextStream &err,
               const QDir &userFolder)
{
    Invocation invocation;
    if (const std::optional<int> answered = answerFromCommandLine(arguments, out, err, userFolder, invocation))
        return *answered;
    return runCommand(invocation, bench, out, err);
}

int w3ctlMain(int argc, char **argv, const std::function<void()> &prepareDevices)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("w3ctl");
    QCoreApplication::setApplicationVersion(W3CTL_VERSION);
    qInstallMessageHandler(quietMessages);

    // The window's data folder, so both work on the same profiles and macros; the files the
    // user names stay where the user is.
    const QDir userFolder = QDir::current();
    const QString program = QCoreApplication::applicationFilePath();
    const QString folder = DataFolder::choose(program.left(program.lastIndexOf('/')));
    if (!QDir::setCurrent(folder)) {
        fprintf(stderr, "w3ctl: cannot work in the data folder %s\n", qPrintable(folder));
        return 3;
    }
    if (prepareDevices)
        prepareDevices();

    QTextStream out(stdout);
    QTextStream err(stderr);
    return runW3ctl(app.arguments().mid(1), out, err, userFolder, &ServiceClient::runCommand);
}
