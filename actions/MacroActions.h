#pragma once
// The macro page's rules: the macro library as a list of names with one chosen macro whose
// steps the page shows; creating, renaming and deleting macros, and who plays a macro: its
// users in every profile. A deleted macro's buttons play their factory function again. The
// key page's codes stand for the profile in use, so a button changed but not yet applied
// counts.
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>

class Controllers;
class KeyActions;

class MacroActions : public QObject {
    Q_OBJECT
    Q_PROPERTY(QStringList names READ names NOTIFY namesChanged)
    // The chosen macro; empty for none.
    Q_PROPERTY(QString selected READ selected NOTIFY selectedChanged)
    // Recording hears only the keys pressed while this window is active (the desktop keeps its
    // input devices to itself): the page says so.
    Q_PROPERTY(bool keysOnlyInWindow READ keysOnlyInWindow NOTIFY keysOnlyInWindowChanged)

public:
    MacroActions(Controllers &controllers, KeyActions &keys, QObject *parent = nullptr);

    QStringList names() const;
    QString selected() const { return chosen; }
    bool keysOnlyInWindow() const { return onlyInWindow; }
    void setKeysOnlyInWindow(bool only);

    // The library read afresh with no macro chosen.
    Q_INVOKABLE void start();
    // The macro list changed on disk (an import): the chosen macro stays chosen while it exists.
    Q_INVOKABLE void refresh();
    // Chooses macro `name` (empty: none); a name not in the library chooses none.
    Q_INVOKABLE void select(const QString &name);

    // The next free "Macro. 001", "Macro. 002"..., chosen at once; empty when it cannot be made.
    Q_INVOKABLE QString create();
    // Why `newName` cannot be a macro's new name: the library's MacroLibrary::NameProblem.
    Q_INVOKABLE int nameProblem(const QString &newName) const;
    // A refused name changes nothing; a renamed chosen macro stays chosen under its new name.
    Q_INVOKABLE void rename(const QString &oldName, const QString &newName);

    // The chosen macro's step lines as stored; none without a chosen macro.
    Q_INVOKABLE QStringList steps() const;
    // Stores the chosen macro's steps (a bound macro is sent again); false when they were not
    // stored.
    Q_INVOKABLE bool save(const QStringList &lines);

    // [{profile, button}, ...] of the buttons that play macro `name`.
    Q_INVOKABLE QVariantList users(const QString &name) const;
    // Unbinds the macro (its buttons get their factory code, the key page's too) and deletes
    // its file; a deleted chosen macro leaves none chosen. False when the file stays.
    Q_INVOKABLE bool remove(const QString &name);

signals:
    void namesChanged();
    void selectedChanged();
    void keysOnlyInWindowChanged();
    void slotReleased(int slot);

private:
    void choose(const QString &name);

    Controllers &controllers;
    KeyActions &keys;
    QString chosen;
    bool onlyInWindow = false;
};
