#pragma once
// Whether a file handed in for import can stand in for a profile file: a regular file of a
// profile's size in the settings format, holding profile entries whose lists have their lengths.
#include <QString>

namespace ProfileCheck {

// Far above a full profile (mouse and keyboard entries and five 512-byte pictures: ~20 KiB).
constexpr qint64 kMaxFileSize = 1024 * 1024;

// Empty when the file is a usable profile; otherwise why it is not, for the user.
QString problem(const QString &path);

}  // namespace ProfileCheck
