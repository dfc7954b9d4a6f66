#include "cli/CommandLine.h"

#include "cli/ButtonFunction.h"
#include "cli/Output.h"
#include "cli/SettingNames.h"

#include <QCoreApplication>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("w3ctl", text);
}

constexpr int kMaxWaitSeconds = 3600;

struct CommandHelp {
    const char *name;
    const char *synopsis;  // after "w3ctl [OPTION]... "
    const char *summary;
    const char *details;
    QStringList options;
};

const QList<CommandHelp> &commands()
{
    static const QList<CommandHelp> table = {
        {"status", "status",
         "Show the mouse: found or not, proven or demo, product, firmware, sensor, profile, DPI stage and report rate.",
         "Exits with 2 (and still prints the status) when no mouse is found.\n", {}},
        {"profile", "profile [N | export N FILE | import N FILE | reset N]",
         "Show the profile in use, or switch to profile N (1-10) and send all its settings to the mouse.",
         "  profile              show the profile in use\n"
         "  profile N            switch to profile N and send its buttons, lighting, DPI stages,\n"
         "                       report rate and pointer settings to the mouse\n"
         "  profile export N FILE  copy profile N to FILE (a .pf file)\n"
         "  profile import N FILE  replace profile N by FILE; a file that is not a profile is refused\n"
         "  profile reset N      give profile N its factory settings\n"
         "The window keeps its own profile choice while it runs; it starts on profile 1.\n", {}},
        {"dpi", "dpi [stage N | set V1,V2,... | colors C1,C2,...]",
         "Show the DPI stages, choose the stage in use, set the stage values or their indicator colours.",
         "  dpi                  show the sensor, its stages, the stage in use and the values it takes;\n"
         "                       a stored value the sensor lacks shows as its nearest value, marked \"~\"\n"
         "  dpi stage N          use stage N (1 to the number of stages; a stage set to 0 is unused)\n"
         "  dpi set V1,V2,...    set the stages in order; each value must be one of the sensor's\n"
         "                       values (see `w3ctl dpi`), 0 leaves a stage unused; stages not\n"
         "                       given are unused; one stage at least keeps a value, and when the\n"
         "                       stage in use is left unused the nearest used stage takes its place\n"
         "  dpi colors C1,C2,... set the indicator colour of the stages in order: #RRGGBB or one of\n"
         "                       FIXED_COLORS (a mouse whose light shows only\n"
         "                       these takes only these); stages not given keep theirs\n", {}},
        {"rate", "rate [125|250|500|1000]", "Show or set the report rate, in reports per second.", "", {}},
        {"button", "button [NAME|N [FUNCTION]]",
         "Show the buttons' functions, or give button NAME or N a function.",
         "Buttons are numbered as the window's key page numbers them (`w3ctl button` lists them);\n"
         "their English names and the names the window shows work too.\n"
         "Functions:\n"
         "  key:KEY                a keyboard key: key:A, key:F5, key:Enter, \"key:L Ctrl\", key:0x04\n"
         "  mouse:BUTTON           left, right, middle, backward, forward or triple-click\n"
         "  media:NAME             MEDIA_NAMES\n"
         "  combo:[MOD+]KEY[+KEY]  MOD one of MODIFIERS; e.g. combo:ctrl+shift+a\n"
         "  macro:NAME[:COUNT|:always|:held]  macro NAME, played COUNT times (NORMAL PLAY; default:\n"
         "                         the macro's own count), always repeated (ALWAYS REPEAT) or\n"
         "                         repeated while the button is pressed (REPEAT ON PRESSED)\n"
         "  fire:BUTTON|KEY:SPEED:COUNT  repeat fire; SPEED 0 (slow) to 7 (fast), COUNT 0-255\n"
         "  led                    the lighting control key\n"
         "  dpi:+  dpi:-  dpi:switch  scroll:up  scroll:down\n"
         "  none                   no function\n"
         "  default                the button's factory function\n"
         "Taking the left click away from the last button that has it is refused unless --force\n"
         "is given.\n", {}},
        {"light", "light [EFFECT | on | off] [--brightness 0-7] [--speed 0-7] [--colors #RRGGBB,...]",
         "Show the lighting, or set the effect, its brightness, speed and colours.",
         "Effects: EFFECT_NAMES.\n"
         "  --brightness STEP  brightness step 0-7 (used by the effects that have a brightness)\n"
         "  --speed STEP       speed step 0 (slow) to 7 (fast) (used by the effects that have a speed)\n"
         "  --colors LIST      up to eight colours, separated by commas, for the effects that show\n"
         "                     colours: #RRGGBB or one of FIXED_COLORS;\n"
         "                     colours not given stay as they are\n"
         "Steps not given stay as they are. `light off` switches the light off and `light on`\n"
         "switches it on again with the effect it had. Options without an effect change the\n"
         "effect in use and leave the light on or off as it is.\n",
         {"brightness", "speed", "colors"}},
        {"wheel", "wheel [normal|reversed]", "Show or set the wheel direction.", "", {}},
        {"macro", "macro [list | show NAME | import FILE [NAME] | export NAME FILE]",
         "List, show, import or export macros.",
         "  macro list           the macros, each with its device slot and play count\n"
         "  macro show NAME      the steps of macro NAME\n"
         "  macro import FILE [NAME]  import a .mc file as macro NAME (default: the file's name);\n"
         "                       an existing macro of that name is replaced\n"
         "  macro export NAME FILE  copy macro NAME to FILE (a .mc file)\n", {}},
        {"pointer", "pointer [--speed 0-10] [--scroll-lines 0-10] [--double-click 0-10] [--acceleration on|off]",
         "Show or set the desktop's pointer settings kept in the profile.",
         "  --speed STEP         pointer speed step 0-10\n"
         "  --scroll-lines STEP  wheel scroll lines step 0-10 (1 to 11 lines)\n"
         "  --double-click STEP  double-click speed step 0-10 (900 to 200 ms)\n"
         "  --acceleration on|off  pointer acceleration (kept by the desktop, not the profile)\n",
         {"speed", "scroll-lines", "double-click", "acceleration"}},
    };
    return table;
}

const CommandHelp *find(const QString &name)
{
    for (const CommandHelp &command : commands())
        if (name == command.name)
            return &command;
    return nullptr;
}


QString filled(const char *text)
{
    return QString(text)
        .replace("MEDIA_NAMES", ButtonFunction::mediaNames().join(", "))
        .replace("MODIFIERS", ButtonFunction::modifierNames().join(", "))
        .replace("EFFECT_NAMES", SettingNames::effects().join(", "))
        .replace("FIXED_COLORS", SettingNames::fixedColors().join(", "));
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
    for (const CommandHelp &command : commands())
        if (command.options.contains(name))
            return true;
    return false;
}

}  // namespace

QStringList CommandLine::commandNames()
{
    QStringList names;
    for (const CommandHelp &command : commands())
        names << command.name;
    return names;
}

QStringList CommandLine::commandOptions(const QString &command)
{
    const CommandHelp *found = find(command);
    return found ? found->options : QStringList();
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
                      "same rules, and waits for the window while it talks to the mouse.\n"
                      "\n"
                      "Commands:\n");
    for (const CommandHelp &command : commands())
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
               "  W3_VIRTUAL_DEVICE=none  w3ctl-virtual only: run with no mouse plugged in\n");
    return text;
}

QString CommandLine::help(const QString &command)
{
    const CommandHelp *found = find(command);
    if (!found)
        return help();
    return QString("Usage: w3ctl [OPTION]... %1\n%2\n\n%3")
        .arg(found->synopsis, tr(found->summary), filled(found->details));
}

QString CommandLine::version()
{
    return QString("w3ctl %1\n").arg(QCoreApplication::applicationVersion());
}

QString CommandLine::usageHint(const QString &command)
{
    return command.isEmpty() || !isCommand(command) ? QString(tr("see `w3ctl --help`"))
                                                     : QString(tr("see `w3ctl %1 --help`")).arg(command);
}
