#pragma once
// w3ctl's commands, one row each. The rows drive the parser (which options a command takes),
// the help of every level, the manual page (made from the help and `--list`) and the shell
// completion (`--complete`), so none of them is a copy kept by hand.
#include <QList>
#include <QString>
#include <QStringList>

class Commands;
class Controllers;

// Whether a command opens the mouse, which decides when it can exit with 2.
enum class MouseUse {
    Never,       // works on the files alone
    ForChanges,  // shows without the mouse; a change needs it
    Always,
};

// An option a command takes ("--speed 3"), with the values the shell offers for it.
struct CommandOption {
    QString name;  // long name, without "--"
    QStringList values;
};

// The words the shell may offer for the argument being typed (`current`), after the command's
// arguments `before`; a word "@files:EXT" asks for the files with that extension.
struct CompletionRequest {
    QStringList before;
    QString current;
    const Controllers *controllers;  // the data folder's names (buttons, macros)
};
using ArgumentCompleter = QStringList (*)(const CompletionRequest &request);

struct CommandRow {
    const char *name;
    const char *synopsis;  // after "w3ctl [OPTION]... "
    const char *summary;
    const char *details;   // placeholders in capitals are filled by CommandLine::help
    QList<CommandOption> options;
    MouseUse mouse;
    void (Commands::*handler)();
    ArgumentCompleter completeArgument;
};

// Every command in the order the help lists them.
const QList<CommandRow> &commandTable();
const CommandRow *findCommand(const QString &name);

// The rows, each beside its handler in the command's own file.
const CommandRow &statusCommand();
const CommandRow &profileCommand();
const CommandRow &dpiCommand();
const CommandRow &rateCommand();
const CommandRow &buttonCommand();
const CommandRow &lightCommand();
const CommandRow &wheelCommand();
const CommandRow &macroCommand();
const CommandRow &pointerCommand();
const CommandRow &openRgbCommand();
const CommandRow &appCommand();
