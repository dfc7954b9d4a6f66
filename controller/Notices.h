#pragma once
// Warnings about the program's own files, titled with the window title. Some are shown at most
// once per run for the same subject (a folder that cannot be written, a damaged language file).
#include "controller/AtomicWrite.h"

#include <QString>

namespace Notices {

// The window title, or the application's name when the configuration has none.
QString title();

// Shows the warning.
void warn(const QString &text);

// Shows the warning unless one about `subject` was shown before; true when it was shown.
bool warnOnce(const QString &subject, const QString &text);

// Tells the user that settings cannot be saved to `file` and why, naming its folder, once per
// folder and reason.
void cannotSave(const QString &file, WriteStatus why = WriteStatus::NotPermitted);

}  // namespace Notices
