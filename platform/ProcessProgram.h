#pragma once
// The program a process runs, by its file name, as the desktop back ends name the application
// in front.
#include <QString>

// The file name of the program process `pid` runs (its executable, or the kernel's short
// name when the executable cannot be read); empty for 0 or a process that is gone.
QString programNameOf(qint64 pid);
