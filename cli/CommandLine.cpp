#include "cli/CommandLine.h"

#include "cli/ButtonFunction.h"
#include "cli/CommandTable.h"
#include "cli/Output.h"
#include "cli/ServiceClient.h"
#include "cli/SettingNames.h"

#include <QCoreApplication>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("w3ctl", text);
}

constexpr int kMaxWaitSeconds = 3600;

QString filled(const char *text)
{
    return QString(text)
        .replace("MEDIA_NAMES", ButtonFunction::mediaNames().join(", "))
        .replace("MODIFIERS", ButtonFunction::modifierNames().join(", "))
        .replace("EFFECT_NAMES", SettingNames::effects().join(", "))
        .replace("FIXED_COLORS", SettingNames::fixedColors().join(", "));
}

// What the command's help says about the mouse, from the row.
QString mouseNote(MouseUse use)
{
    switch (use) {
    case MouseUse::Never:
        return tr("Works without the mouse.\n");
    case MouseUse::ForChanges:
        return tr("Shows without the mouse; a change needs it (exit status 2 without one).\n");
    case MouseUse::Always:
        return tr("Needs the mouse (exit status 2 without one).\n");
    }
    return QString();
}

CliFailure usage(const QString &message, const QString &command = QString())
{
    return CliFailure(ExitCode::UsageError, message + "; " + CommandLine::usageHint(command));
}

// "--name=value" or "--name value"; the value of the last occurrence counts.
void takeOption(const QString &argument, const QStringList &arguments, int &i, Invocation &invocation)
{
    const int equals = argument.indexOf('=');
    const QString name = argument.mid(2, equals < 0 ? -1 : equals - 2);
    QString value;
    if (equals >= 0) {
        value = argument.mid(equals + 1);
    } else if (i + 1 < arguments.size()) {
        value = arguments.at(++i);
    } else {
        throw usage(QString(tr("option --%1 needs a value")).arg(name), invocation.command());
    }
    if (name == "wait") {
        bool ok = false;
        const double seconds = value.toDouble(&ok);
        // Written so that NaN, which fails every comparison, is refused too.
        if (!ok || !(seconds >= 0 && seconds <= kMaxWaitSeconds))
            throw usage(tr("--wait takes seconds, 0-%1").arg(kMaxWaitSeconds));
        invocation.waitMs = int(seconds * 1000);
        return;
    }
    invocation.options.insert(name, value);
}

bool isValuedOption(const QString &name)
{
    if (name == "wait")
        return true;
    for (const CommandRow &command : commandTable())
        for (const CommandOption &option : command.options)
            if (option.name == name)
                return true;
    return false;
}

}  // namespace

QStringList CommandLine::commandNames()
{
    QStringList names;
    for (const CommandRow &command : commandTable())
        names << command.name;
    return names;
}

QStringList CommandLine::commandOptions(const QString &command)
{
    QStringList names;
    if (const CommandRow *found = findCommand(command))
        for (const CommandOption &option : found->options)
            names << option.name;
    return names;
}

Invocation CommandLine::parse(const QStringList &arguments)
{
    Invocation invocation;
    bool optionsEnd = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (optionsEnd || !argument.startsWith('-') || argument == "-"
            || (argument.size() > 1 && argument.at(1).isDigit())) {
            invocation.words << argument;
        } else if (argument == "--") {
            optionsEnd = true;
        } else if (argument == "--json") {
            invocation.json = true;
        } else if (argument == "--force") {
            invocation.force = true;
        } else if (argument == "-h" || argument == "--help") {
            invocation.help = true;
        } else if (argument == "--version") {
            invocation.version = true;
        } else if (argument.startsWith("--") && isValuedOption(argument.mid(2).section('=', 0, 0))) {
            takeOption(argument, arguments, i, invocation);
        } else {
            throw usage(QString(tr("unknown option %1")).arg(argument), invocation.command());
        }
    }
    // Asked with --help or not, an unknown command is a usage error.
    if (!invocation.words.isEmpty() && !isCommand(invocation.command()))
        throw usage(QString(tr("unknown command \"%1\"")).arg(invocation.command()));
    if (invocation.help || invocation.version)
        return invocation;
    const QStringList allowed = commandOptions(invocation.command());
    for (auto it = invocation.options.cbegin(); it != invocation.options.cend(); ++it)
        if (!allowed.contains(it.key()))
            throw usage(QString(tr("option --%1 is not one of \"%2\"'s"))
                            .arg(it.key(), invocation.command().isEmpty() ? "w3ctl" : invocation.command()),
                        invocation.command());
    return invocation;
}

QString CommandLine::help()
{
    QString text = tr("Usage: w3ctl [OPTION]... COMMAND [ARGUMENT]...\n"
                      "Read and change the settings of the W3 gaming mouse from the command line.\n"
                      "w3ctl works on the same profiles and macros as the W3 Config window, through the\n"
                      "same rules. While W3 Config runs, each command runs in it; otherwise w3ctl waits\n"
                      "for the window while it talks to the mouse.\n"
                      "\n"
                      "Commands:\n");
    for (const CommandRow &command : commandTable())
        text += QString("  %1\n      %2\n").arg(command.synopsis, tr(command.summary));
    text += tr("\n"
               "Run `w3ctl COMMAND --help` for a command's arguments.\n"
               "\n"
               "Options:\n"
               "      --json         print the result of a read command as JSON\n"
               "      --force        take the left click away from the last button that has it\n"
               "      --wait SECONDS  how long to wait for the mouse while another program uses it\n"
               "                     (default 5)\n"
               "  -h, --help         show this help, or a command's help, and exit\n"
               "      --version      show the version and exit\n"
               "\n"
               "Exit status:\n"
               "  0  success\n"
               "  1  usage error: an unknown command or option, or a value the setting does not take\n"
               "  2  no W3 mouse found\n"
               "  3  device error: the mouse stayed busy, failed the handshake or was not written,\n"
               "     or a settings file could not be written (a full disk, for one)\n"
               "Errors are written to standard error as one line.\n"
               "\n"
               "Beside the running W3 Config:\n"
               "  While W3 Config runs (it owns org.w3config.W3Config1 on the session bus), a command\n"
               "  runs in it, on the window's own pages and mouse: the window, its tray and the bus\n"
               "  show the change at once, and w3ctl prints and ends as it does alone. The command\n"
               "  waits its turn (--wait) while the window talks to the mouse, another command runs\n"
               "  or the window holds changes not applied, then gives up with exit status 3.\n"
               "  w3ctl never starts W3 Config for this, and works alone beside one that works on\n"
               "  another data folder; when it does not answer within %1 s, w3ctl says so and\n"
               "  works alone. The help, the version and the shell completion are w3ctl's own.\n"
               "\n"
               "Examples:\n"
               "  $ w3ctl dpi stage 2\n"
               "  $ w3ctl profile 3\n"
               "  $ w3ctl light breathing --speed 6 --colors '#ff0000,#00ff00'\n"
               "  $ w3ctl button 4 key:F5\n"
               "  $ w3ctl profile export 2 ~/backup.pf\n"
               "  $ w3ctl --json status\n"
               "\n"
               "Files:\n"
               "  FILE arguments are read and written relative to the current directory.\n"
               "  The data folder of W3 Config: the program's folder when it can be written, else\n"
               "  $XDG_DATA_HOME/w3config. The profile w3ctl works on is kept in\n"
               "  modules/setting/w3ctl.ini there. The device lock is\n"
               "  $XDG_RUNTIME_DIR/w3config-device.lock, or .w3config-device.lock in the data folder\n"
               "  without a runtime folder.\n"
               "\n"
               "Environment:\n"
               "  W3_DEVICE_LOCK     the device lock file to use instead\n"
               "  W3CTL_DEBUG=1      also print the device layer's developer messages\n"
               "  W3_VIRTUAL_DEVICE=none  w3ctl-virtual only: run with no mouse plugged in\n"
               "  W3_VIRTUAL_WIRE_LOG=FILE  w3ctl-virtual only: append what crosses the virtual bus\n"
               "                     to FILE\n")
                .arg(ServiceClient::kAnswerTimeoutMs / 1000);
    return text;
}

QString CommandLine::help(const QString &command)
{
    const CommandRow *found = findCommand(command);
    if (!found)
        return help();
    return QString("Usage: w3ctl [OPTION]... %1\n%2\n\n%3%4")
        .arg(found->synopsis, tr(found->summary), filled(found->details), mouseNote(found->mouse));
}

// The build's own version: the running program answers for w3ctl too, under its own name.
QString CommandLine::version()
{
    return QString("w3ctl %1\n").arg(W3CTL_VERSION);
}

QString CommandLine::usageHint(const QString &command)
{
    return command.isEmpty() || !isCommand(command) ? QString(tr("see `w3ctl --help`"))
                                                     : QString(tr("see `w3ctl %1 --help`")).arg(command);
}
