#include "cli/CommandTable.h"

const QList<CommandRow> &commandTable()
{
    static const QList<CommandRow> table = {statusCommand(), profileCommand(), dpiCommand(),
                                            rateCommand(),   buttonCommand(),  lightCommand(),
                                            wheelCommand(),  macroCommand(),   pointerCommand(),
                                            openRgbCommand(), appCommand()};
    return table;
}

const CommandRow *findCommand(const QString &name)
{
    for (const CommandRow &row : commandTable())
        if (name == row.name)
            return &row;
    return nullptr;
}
