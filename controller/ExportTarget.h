#pragma once
// Where an export may write: over a regular file (also one reached through symbolic links) or
// under a new name in an existing folder. A folder, a device node, a pipe, a socket or a
// program's open stream (/dev/stdout) is never replaced by an exported copy: the copy is
// written beside the target and renamed over it.
#include <QString>

namespace ExportTarget {

// Empty when `path` can take an export; otherwise why not, as a sentence.
QString problem(const QString &path);

}  // namespace ExportTarget
