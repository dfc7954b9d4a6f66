#pragma once
// A value of an INI file as QSettings writes text without a text codec: printable ASCII, what
// is not escaped as \xHHHH, quoted where it holds a separator, a leading '@' doubled. Lets a
// file of the program's own be read and written whole, as it is on disk, where QSettings would
// share one cached copy of it across the process.
#include <QByteArray>
#include <QString>
#include <optional>

namespace IniText {

// The text that `value` (all of the line after its '=') stands for; nothing when it is cut
// short (a quote left open, a backslash at its end), is a list (an unquoted comma) or is a
// typed value ("@ByteArray(...)").
std::optional<QString> unescaped(const QByteArray &value);

// `text` as a value that QSettings, and unescaped(), read back as the same text.
QByteArray escaped(const QString &text);

}  // namespace IniText
