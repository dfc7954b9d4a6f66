#pragma once
#include <QString>

// Replaces target by a copy of source through a temporary file in the target's folder: a copy
// that fails leaves the old target as it was. A settings object that cached the old file reads
// the new one, even when both have the same size and time stamp.
bool replaceWithCopy(const QString &source, const QString &target);
