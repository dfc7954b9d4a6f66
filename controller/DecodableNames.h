#pragma once
// File names as the program can use them. Qt reaches a file only through a name that decodes to
// text and encodes back to the same bytes; a name that does not (not valid UTF-8) is invisible
// to Qt's directory listings and cannot be opened, renamed or deleted through Qt.
#include <QString>

namespace DecodableNames {

// Whether `name` encodes to a file name that decodes back unchanged (a lone surrogate does not).
bool comesBack(const QString &name);

// Whether the program may give a file this new name: it comes back unchanged, shows at least
// one character that is not a space, and holds no control or format characters (tabs, line
// breaks, direction overrides, zero-width characters and the like).
bool isFitForNewName(const QString &name);

// Gives every file of `folder` whose name ends in `suffix` and does not decode a name that does:
// each undecodable byte becomes U+FFFD, and " (2)", " (3)", ... is added before the suffix when
// that name is taken. The contents stay as they are; no file is overwritten. Returns how many
// files were renamed.
int giveDecodableNames(const QString &folder, const QString &suffix);

}  // namespace DecodableNames
