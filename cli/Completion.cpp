#include "cli/Completion.h"

#include "cli/CommandTable.h"

namespace {

const QStringList kGlobalOptions = {"--json", "--force", "--wait", "--help", "--version"};
const QStringList kWaitSeconds = {"1", "5", "10", "30"};

QStringList startingWith(const QStringList &words, const QString &typed)
{
    QStringList kept;
    for (const QString &word : words)
        if (word.startsWith(typed) || word.startsWith("@files:"))
            kept << word;
    return kept;
}

const CommandOption *findOption(const CommandRow *command, const QString &word)
{
    if (!command || !word.startsWith("--"))
        return nullptr;
    for (const CommandOption &option : command->options)
        if (word.mid(2) == option.name)
            return &option;
    return nullptr;
}

QStringList optionWords(const CommandRow *command)
{
    QStringList words;
    if (command)
        for (const CommandOption &option : command->options)
            words << "--" + option.name;
    return words + kGlobalOptions;
}

}  // namespace

QStringList completeWords(const QStringList &words, const Controllers &controllers)
{
    const QString current = words.value(words.size() - 1);
    const CommandRow *command = nullptr;
    QStringList arguments;
    QString previous;
    for (int i = 0; i + 1 < words.size(); ++i) {
        const QString &word = words.at(i);
        previous = word;
        if (word == "--wait" || findOption(command, word)) {
            if (i + 2 < words.size())
                previous = words.at(++i);  // the option's value is taken
        } else if (word.startsWith('-')) {
            continue;
        } else if (!command) {
            command = findCommand(word);
            if (!command)
                return {};
        } else {
            arguments << word;
        }
    }
    if (previous == "--wait" && words.size() >= 2)
        return startingWith(kWaitSeconds, current);
    if (const CommandOption *option = findOption(command, previous); option && words.size() >= 2)
        return startingWith(option->values, current);
    if (current.startsWith('-'))
        return startingWith(optionWords(command), current);
    if (!command) {
        QStringList names;
        for (const CommandRow &row : commandTable())
            names << row.name;
        return startingWith(names + kGlobalOptions, current);
    }
    return startingWith(command->completeArgument({arguments, current, &controllers}), current);
}
