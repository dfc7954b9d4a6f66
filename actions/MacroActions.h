#pragma once
// The macro page's rules about who plays a macro: its users in every profile, and deleting a
// macro, after which its buttons play their factory function again. The key page's codes
// stand for the profile in use, so a button changed but not yet applied counts.
#include <QObject>
#include <QStringList>
#include <QVariantList>

class Controllers;
class KeyActions;

class MacroActions : public QObject {
    Q_OBJECT
    Q_PROPERTY(QStringList names READ names NOTIFY namesChanged)

public:
    MacroActions(Controllers &controllers, KeyActions &keys, QObject *parent = nullptr);

    QStringList names() const;
    // [{profile, button}, ...] of the buttons that play macro `name`.
    Q_INVOKABLE QVariantList users(const QString &name) const;
    // Unbinds the macro (its buttons get their factory code, the key page's too) and deletes
    // its file. False when the file stays.
    Q_INVOKABLE bool remove(const QString &name);
    // The macro list changed on disk (created, renamed, imported).
    Q_INVOKABLE void refresh() { emit namesChanged(); }

signals:
    void namesChanged();
    void slotReleased(int slot);

private:
    Controllers &controllers;
    KeyActions &keys;
};
