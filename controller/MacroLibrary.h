#pragma once
// The macro library: one INI file per macro under the macro folder, named after the macro
// with the extension ".bin", and the senders that write a macro into a device macro slot.
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

struct ControllerContext;
class KeyNameTable;
class QWidget;

class MacroLibrary {
    Q_DECLARE_TR_FUNCTIONS(MacroLibrary)
public:
    MacroLibrary(ControllerContext &context, const KeyNameTable &keys,
                 const QString &folder = "./modules/macro/");

    // Creates the next free "Macro. 001", "Macro. 002", ...; an empty name when it cannot.
    QVariant createMacroIni();
    QVariant deleteMacroIni(QVariant name);
    // File names with ".bin", sorted ignoring case.
    QStringList getMacroIniNames() const;
    // Replaces the step lines and re-sends a macro bound on the current device; false when
    // the macro does not exist or the file cannot be written.
    QVariant saveMacroIni(QVariant name, QStringList macros);
    QStringList loadMacroIni(QVariant name) const;
    // [index, repeat]; index -1 when the macro is bound on the other device; empty if missing.
    QVariantList loadMacroIniConfig(QVariant name) const;
    void setMacroIniConfig(QVariant name, QVariantList config);
    // Does nothing when the target name is taken.
    void renameMacroIniFile(QVariant oldName, QVariant newName);
    // Import and export of ".mc" copies through the user's file dialogs.
    void loadMacroIniFromFile(QVariant name, QWidget *dialogParent);
    void saveMacroIniToFile(QVariant name, QWidget *dialogParent);
    // The device image of step lines for the current device type.
    QList<uchar> macroIncode(QStringList macros) const;
    // Encode macro `name` and write it to the mouse's / keyboard's macro number macroId.
    void ui_13H_SetMacroKey(QVariant macroId, QVariant name);
    void ui_11H_SetMacroKey(QVariant macroId, QVariant name);

private:
    // The file of a macro, or an empty path for a name that could leave the folder.
    QString macroPath(const QVariant &name) const;
    bool macroExists(const QVariant &name) const;
    // The image of macro `name`, cut to fit `capacity`, with a warning when it was cut.
    QList<uchar> imageForSlot(const QVariant &name, int capacity, const QString &title,
                              const QString &text) const;
    void resendIfBound(const QVariant &name);

    ControllerContext &context;
    const KeyNameTable &keys;
    QString folder;
};
