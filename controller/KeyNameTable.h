#pragma once
// The names of keys and mouse buttons as macro step lines spell them, each with its one-byte
// key code (USB keyboard usage ID, or 0xF0..0xF4 for the mouse buttons).
#include <QMap>
#include <QString>

class KeyNameTable {
public:
    // Fills the table with its 132 names.
    KeyNameTable();

    // The code of a name, compared exactly (case and blanks count); 0 when the name is absent.
    uchar code(const QString &name) const;
    // The name of a code; empty when no name has it.
    QString name(uchar code) const;
    int size() const;

private:
    void fill();
    void add(const QString &name, int code);
    void addRun(char first, char last, int firstCode);

    QMap<QString, uchar> codes;
};
