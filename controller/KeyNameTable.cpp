#include "controller/KeyNameTable.h"

#include <QCoreApplication>

namespace {

// The arrow names are stored as UTF-8 and decoded through the translation function, so each
// becomes exactly one character.
QString arrow(const char *utf8)
{
    return QCoreApplication::translate(nullptr, utf8);
}

}  // namespace

KeyNameTable::KeyNameTable()
{
    fill();
}

uchar KeyNameTable::code(const QString &name) const
{
    return codes.value(name, 0);
}

QString KeyNameTable::name(uchar code) const
{
    return codes.key(code);
}

int KeyNameTable::size() const
{
    return codes.size();
}

void KeyNameTable::add(const QString &name, int code)
{
    codes.insert(name, uchar(code));
}

// One name per character from first to last, codes counting up from firstCode.
void KeyNameTable::addRun(char first, char last, int firstCode)
{
    for (char c = first; c <= last; ++c)
        add(QString(QLatin1Char(c)), firstCode + (c - first));
}

void KeyNameTable::fill()
{
    codes.clear();

    addRun('A', 'Z', 0x04);
    addRun('1', '9', 0x1E);
    add("0", 0x27);
    add("Enter", 0x28);
    add("Esc", 0x29);
    add("Back", 0x2A);
    add("Tab", 0x2B);
    add("Space", 0x2C);
    add("- _", 0x2D);
    add("= +", 0x2E);
    add("[ {", 0x2F);
    add("] }", 0x30);
    add("\\ |", 0x31);
    add("; :", 0x33);
    add("' \"", 0x34);
    add("` ~", 0x35);
    add(", <", 0x36);
    add(". >", 0x37);
    add("/ ?", 0x38);
    add("Caps", 0x39);
    for (int f = 1; f <= 12; ++f)
        add(QStringLiteral("F%1").arg(f), 0x3A + f - 1);
    add("Prt", 0x46);
    add("Scr", 0x47);
    add("Pau", 0x48);
    add("Ins", 0x49);
    add("Hom", 0x4A);
    add("PgU", 0x4B);
    add("Del", 0x4C);
    add("End", 0x4D);
    add("PgD", 0x4E);
    add(arrow("\xE2\x96\xBA"), 0x4F);  // right
    add(arrow("\xE2\x97\x84"), 0x50);  // left
    add(arrow("\xE2\x96\xBC"), 0x51);  // down
    add(arrow("\xE2\x96\xB2"), 0x52);  // up
    add("Num", 0x53);
    add("KP /", 0x54);
    add("KP *", 0x55);
    add("KP -", 0x56);
    add("KP +", 0x57);
    add("KP Enter", 0x58);
    for (int k = 1; k <= 6; ++k)
        add(QStringLiteral("KP %1").arg(k), 0x59 + k - 1);
    add("KP 7 ", 0x5F);  // the stored spelling carries a trailing blank
    add("KP 8", 0x60);
    add("KP 9", 0x61);
    add("KP 0", 0x62);
    add("KP .", 0x63);
    add("Eur 2", 0x64);
    add("App", 0x65);
    add("Power", 0x66);
    add("KP =", 0x67);
    for (int f = 13; f <= 24; ++f)
        add(QStringLiteral("F%1").arg(f), 0x68 + f - 13);
    add("Keypad", 0x85);
    add("Int'l 1", 0x87);
    add("Intl'2", 0x88);  // both spellings are in stored macros, for two different keys
    add("Int'l 2", 0x89);
    add("Int'l 4", 0x8A);
    add("Int'l 5", 0x8B);
    add("Lang 1", 0x90);
    add("Lang 2", 0x91);
    add("L Ctrl", 0xE0);
    add("L Shift", 0xE1);
    add("L Alt", 0xE2);
    add("L Win", 0xE3);
    add("R Ctrl", 0xE4);
    add("R Shift", 0xE5);
    add("R Alt", 0xE6);
    add("R Win", 0xE7);
    add("MS-L", 0xF0);
    add("MS-R", 0xF1);
    add("MS-M", 0xF2);
    add("MS-B4", 0xF3);
    add("MS-B5", 0xF4);
}
