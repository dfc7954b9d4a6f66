#pragma once
// One w3ctl command line run in-process, with what it printed.
#include "cli/W3ctl.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

struct CliRun {
    int code = -1;
    QString out;
    QString err;

    static CliRun of(const QStringList &arguments)
    {
        CliRun run;
        QTextStream out(&run.out), err(&run.err);
        run.code = runW3ctl(arguments, out, err);
        return run;
    }
};
