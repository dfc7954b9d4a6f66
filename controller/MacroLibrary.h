#pragma once
// The macro library: one INI file per macro under the macro folder, named after the macro
// with the extension ".bin", and the senders that write a macro into a device macro slot.
#include "controller/AtomicWrite.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

struct ControllerContext;
class KeyNameTable;
class QWidget;

class MacroLibrary {
    Q_DECLARE_TR_FUNCTIONS(MacroLibrary)
public:
    // The most step lines a macro file may hold: a 192-byte keyboard image holds 95 records,
    // and a mouse image 63 records of a key and a folded delay line each; with a wide margin.
    static constexpr int kMaxSteps = 1024;
    // Far above a macro of kMaxSteps lines.
    static constexpr qint64 kMaxFileSize = 1024 * 1024;

    // Why a name cannot become a macro's new name; the window and w3ctl say it in their words.
    enum class NameProblem { None, Empty, Taken, NotAFileName };

    MacroLibrary(ControllerContext &context, const KeyNameTable &keys,
                 const QString &folder = "./modules/macro/");

    // Creates the next free "Macro. 001", "Macro. 002", ...; an empty name when it cannot.
    QVariant createMacroIni();
    QVariant deleteMacroIni(QVariant name);
    // File names with ".bin", sorted ignoring case. A macro file whose name is not valid text
    // is first given the nearest name that is, so that it can be opened and deleted.
    QStringList getMacroIniNames() const;
    // Replaces the step lines and re-sends a macro bound on the current device (or bound before
    // device ids were stored); false when the macro does not exist, there are more than
    // kMaxSteps lines, or the file cannot be written.
    QVariant saveMacroIni(QVariant name, QStringList macros);
    // The step lines; empty when the macro is missing or its step count is beyond kMaxSteps.
    QStringList loadMacroIni(QVariant name) const;
    // [index, repeat]; index -1 when the macro is bound on the other device; empty if missing.
    QVariantList loadMacroIniConfig(QVariant name) const;
    // False, after telling the user, when the file cannot be written (it stays as it was).
    bool setMacroIniConfig(QVariant name, QVariantList config);
    // A new name must not be empty or blank, must not be another macro's, and must be a plain
    // file name: no "/", "\\", control, direction or other invisible characters, "." or "..",
    // and it comes back unchanged from the file system.
    NameProblem nameProblem(const QString &newName) const;
    // Does nothing unless the old macro exists and the new name has no problem.
    void renameMacroIniFile(QVariant oldName, QVariant newName);
    // Import and export of ".mc" copies through the user's file dialogs. An import that is not
    // a macro file is refused with a message; the macro stays as it was. The import's outcome
    // is that of writing the macro file (Written when there was nothing to write); a failure
    // has been told to the user.
    WriteOutcome loadMacroIniFromFile(QVariant name, QWidget *dialogParent);
    // The export adds ".mc" to a name typed without it and says why a write failed or why the
    // name cannot take the copy (a folder, a device); it returns the path written, or "".
    QString saveMacroIniToFile(QVariant name, QWidget *dialogParent);
    // The device image of step lines for the current device type.
    QList<uchar> macroIncode(QStringList macros) const;
    // Encode macro `name` and write it to the mouse's / keyboard's macro number macroId.
    void ui_13H_SetMacroKey(QVariant macroId, QVariant name);
    void ui_11H_SetMacroKey(QVariant macroId, QVariant name);

private:
    // The file of a macro, or an empty path for a name that could leave the folder.
    QString macroPath(const QVariant &name) const;
    bool macroExists(const QVariant &name) const;
    // The step lines, or nothing when the step count is beyond kMaxSteps.
    std::optional<QStringList> readSteps(const QVariant &name) const;
    // The image of macro `name`, cut to fit `capacity`, with a warning when it was cut;
    // nothing for a malformed macro file.
    std::optional<QList<uchar>> imageForSlot(const QVariant &name, int capacity,
                                             const QString &title, const QString &text) const;
    void resendIfBound(const QVariant &name);

    ControllerContext &context;
    const KeyNameTable &keys;
    QString folder;
};
