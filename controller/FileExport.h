#pragma once
// Copies of the program's files that the user places somewhere (profile ".pf", macro ".mc"):
// where the file dialogs start, the extension of a name typed without it, and a message that
// says why a copy could not be written.
#include <QString>

class QWidget;
struct ControllerContext;

namespace FileExport {

inline const QString kProfileExtension = QStringLiteral(".pf");
inline const QString kMacroExtension = QStringLiteral(".mc");

// The user's documents folder, or the home folder where there is none.
QString startFolder();

// `chosen` with `extension` (".pf") added unless it already ends with it (any letter case).
QString withExtension(const QString &chosen, const QString &extension);

// Why a copy to `target` failed, in the current language, as far as the file system tells.
QString writeProblem(const QString &target, const ControllerContext &context);

// Asks for a target (starting at `suggestedName` in the start folder), adds the extension,
// asks before replacing a file the dialog did not show under that name, copies `source` there
// and says why when that fails. The path written, or "" (cancelled or failed).
QString exportCopy(const QString &source, QWidget *dialogParent, const QString &filter,
                   const QString &extension, const QString &suggestedName,
                   const ControllerContext &context);

}  // namespace FileExport
