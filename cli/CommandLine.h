#pragma once
// w3ctl's command line: the global options, the command words and each command's options,
// and the help texts of every level (complete enough for help2man).
#include <QDir>
#include <QMap>
#include <QString>
#include <QStringList>

struct Invocation {
    static constexpr int kDefaultWaitMs = 5000;

    bool json = false;
    bool force = false;
    bool help = false;
    bool version = false;
    int waitMs = kDefaultWaitMs;
    QStringList words;                // the command and its arguments
    QMap<QString, QString> options;   // command options by long name, without "--"
    QDir userFolder;                  // where the user's relative file names start

    QString command() const { return words.value(0); }
    QStringList arguments() const { return words.mid(1); }
    bool has(const QString &option) const { return options.contains(option); }
    // A file the user named, as an absolute path.
    QString userFile(const QString &name) const { return userFolder.absoluteFilePath(name); }
};

class CommandLine {
public:
    // The invocation of `arguments` (without the program name); CliFailure with exit code 1
    // for an unknown option, a missing value or an option the command does not take.
    static Invocation parse(const QStringList &arguments);

    static QStringList commandNames();
    // The options a command takes (long names without "--").
    static QStringList commandOptions(const QString &command);
    static bool isCommand(const QString &name) { return commandNames().contains(name); }

    // The program's help, or one command's.
    static QString help();
    static QString help(const QString &command);
    static QString version();
    // "unknown command" and friends point here.
    static QString usageHint(const QString &command = QString());
};
