#pragma once
#include "controller/AtomicWrite.h"

#include <QString>

// Replaces target by a copy of source (see AtomicWrite): a copy that fails leaves the old
// target as it was, a link at target is replaced and not written through. A settings object
// that cached the old file reads the new one, even when both have the same size and time
// stamp. A source that cannot be read, or is larger than kMaxCopySize, fails as Failed.
WriteOutcome replaceWithCopy(const QString &source, const QString &target);

// Far above any settings, profile or macro file.
constexpr qint64 kMaxCopySize = 16 * 1024 * 1024;
