// The key name table and the encoding of macro step lines into device macro images.
#include "controller/ControllerContext.h"
#include "controller/KeyNameTable.h"
#include "controller/MacroEncoder.h"

#include <QtTest>

namespace {

constexpr uint kKeyboard = 0;
constexpr uint kMouse = 1;

QString down(const QString &name) { return name + "    [Down]"; }
QString up(const QString &name) { return name + "      [Up]"; }
QString delay(const QString &ms) { return ms + "   [Delay]"; }
QString delay(int ms) { return delay(QString::number(ms)); }

QByteArray hexOf(const QList<uchar> &image)
{
    QByteArray bytes;
    for (uchar b : image)
        bytes.append(char(b));
    return bytes.toHex(' ').toUpper();
}

QList<uchar> imageOf(const QByteArray &hex)
{
    QList<uchar> image;
    for (char b : QByteArray::fromHex(hex))
        image << uchar(b);
    return image;
}

// Header, count two-byte key records (press of A), terminator.
QByteArray keyRecords(int count)
{
    return "00 01 " + QByteArray("01 04 ").repeated(count) + "00 00";
}

}  // namespace

class TestMacroEncoder : public QObject {
    Q_OBJECT
private slots:
    void keyTableHasEveryName();
    void keyTableSpellings_data();
    void keyTableSpellings();
    void encodes_data();
    void encodes();
    void fitsImageToSlot_data();
    void fitsImageToSlot();

private:
    KeyNameTable keys;
};

void TestMacroEncoder::keyTableHasEveryName()
{
    QCOMPARE(keys.size(), 132);
}

void TestMacroEncoder::keyTableSpellings_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("code");
    QTest::newRow("capital letter") << "A" << 0x04;
    QTest::newRow("small letter is no name") << "a" << 0;
    QTest::newRow("zero after nine") << "0" << 0x27;
    QTest::newRow("keypad 7 with its trailing blank") << "KP 7 " << 0x5F;
    QTest::newRow("keypad 7 without the blank") << "KP 7" << 0;
    QTest::newRow("keypad 8 has no blank") << "KP 8" << 0x60;
    QTest::newRow("Intl'2 spelling") << "Intl'2" << 0x88;
    QTest::newRow("Int'l 2 spelling") << "Int'l 2" << 0x89;
    QTest::newRow("backslash is 31 here") << "\\ |" << 0x31;
    QTest::newRow("apostrophe and quote") << "' \"" << 0x34;
    QTest::newRow("right arrow") << QString(QChar(0x25BA)) << 0x4F;
    QTest::newRow("left arrow") << QString(QChar(0x25C4)) << 0x50;
    QTest::newRow("down arrow") << QString(QChar(0x25BC)) << 0x51;
    QTest::newRow("up arrow") << QString(QChar(0x25B2)) << 0x52;
    QTest::newRow("F12") << "F12" << 0x45;
    QTest::newRow("F13") << "F13" << 0x68;
    QTest::newRow("F24") << "F24" << 0x73;
    QTest::newRow("Keypad") << "Keypad" << 0x85;
    QTest::newRow("Lang 2") << "Lang 2" << 0x91;
    QTest::newRow("R Win") << "R Win" << 0xE7;
    QTest::newRow("mouse left") << "MS-L" << 0xF0;
    QTest::newRow("mouse forward") << "MS-B5" << 0xF4;
    QTest::newRow("empty") << "" << 0;
}

void TestMacroEncoder::keyTableSpellings()
{
    QFETCH(QString, name);
    QFETCH(int, code);
    QCOMPARE(int(keys.code(name)), code);
}

void TestMacroEncoder::encodes_data()
{
    QTest::addColumn<uint>("device");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("image");

    const uint mouse = kMouse;
    const uint keyboard = kKeyboard;
    QTest::newRow("worked example") << mouse
        << QStringList{down("A"), delay(100), up("A"), delay(3000)}
        << QByteArray("00 01 0A 04 81 04 96 01 00 00");
    QTest::newRow("empty macro") << mouse << QStringList{} << QByteArray("00 01 00 00");
    QTest::newRow("mouse button 5") << mouse << QStringList{down("MS-B5")} << QByteArray("00 01 01 F4 00 00");
    QTest::newRow("name with trailing blank") << mouse << QStringList{down("KP 7 "), up("KP 7 ")}
        << QByteArray("00 01 01 5F 81 5F 00 00");

    // Mouse delay boundaries.
    QTest::newRow("1270 folds to 127") << mouse << QStringList{down("A"), delay(1270)}
        << QByteArray("00 01 7F 04 00 00");
    QTest::newRow("1271 is a medium record") << mouse << QStringList{down("A"), delay(1271)}
        << QByteArray("00 01 01 04 40 01 00 00");
    QTest::newRow("5100 is the longest medium record") << mouse << QStringList{down("A"), delay(5100)}
        << QByteArray("00 01 01 04 FF 01 00 00");
    QTest::newRow("5101 is a long record") << mouse << QStringList{down("A"), delay(5101)}
        << QByteArray("00 01 01 04 00 01 00 FF 00 00");
    QTest::newRow("release keeps its bit when folding") << mouse << QStringList{up("A"), delay(500)}
        << QByteArray("00 01 B2 04 00 00");
    QTest::newRow("below 10 ms folds as one unit") << mouse << QStringList{down("A"), delay(5)}
        << QByteArray("00 01 01 04 00 00");
    QTest::newRow("first line uses the long record") << mouse << QStringList{delay(100)}
        << QByteArray("00 01 00 01 00 05 00 00");
    QTest::newRow("below 20 ms on the long record is one unit") << mouse << QStringList{delay(5)}
        << QByteArray("00 01 00 01 00 01 00 00");
    QTest::newRow("after another delay: long record") << mouse
        << QStringList{down("A"), delay(3000), delay(100)}
        << QByteArray("00 01 01 04 96 01 00 01 00 05 00 00");
    QTest::newRow("previous delay line counts even when skipped") << mouse
        << QStringList{down("A"), delay("abc"), delay(100)}
        << QByteArray("00 01 01 04 00 01 00 05 00 00");
    QTest::newRow("skipped key line after a key folds into that key") << mouse
        << QStringList{down("A"), down("Nope"), delay(100)}
        << QByteArray("00 01 0A 04 00 00");
    QTest::newRow("no key record to fold into: header untouched") << mouse
        << QStringList{down("Nope"), delay(100)}
        << QByteArray("00 01 00 01 00 05 00 00");
    QTest::newRow("no key record to fold into: delay record untouched") << mouse
        << QStringList{down("A"), delay(3000), up("Nope"), delay(100)}
        << QByteArray("00 01 01 04 96 01 00 01 00 05 00 00");
    QTest::newRow("mouse delay beyond 16 bits keeps the longest") << mouse
        << QStringList{delay(2000000)} << QByteArray("00 01 00 01 FF FF 00 00");

    // Keyboard delays.
    QTest::newRow("keyboard 1000 ms") << keyboard << QStringList{delay(1000)}
        << QByteArray("00 01 7F 00 00 64 00 00");
    QTest::newRow("keyboard 9 ms") << keyboard << QStringList{delay(9)}
        << QByteArray("00 01 7F 00 00 00 00 00");
    QTest::newRow("keyboard never folds") << keyboard << QStringList{down("A"), delay(100), up("A")}
        << QByteArray("00 01 01 04 7F 00 00 0A 81 04 00 00");
    QTest::newRow("keyboard delay beyond 16 bits keeps the longest") << keyboard
        << QStringList{delay(700000)} << QByteArray("00 01 7F 00 FF FF 00 00");
    QTest::newRow("no device: delays write nothing") << uint(ControllerContext::kNoDevice)
        << QStringList{down("A"), delay(100)} << QByteArray("00 01 01 04 00 00");

    // Skipped input.
    QTest::newRow("unknown names, tags and delays") << mouse
        << QStringList{down("a"), up("KP 7"), "A    [Hold]", "A", delay("abc"), delay(0),
                       delay("-100"), delay("")}
        << QByteArray("00 01 00 00");
}

void TestMacroEncoder::encodes()
{
    QFETCH(uint, device);
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, image);
    QCOMPARE(hexOf(encodeMacro(lines, device, keys)), image);
}

void TestMacroEncoder::fitsImageToSlot_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<QByteArray>("fitted");

    QTest::newRow("fits exactly") << keyRecords(62) << 128 << keyRecords(62);
    QTest::newRow("130 bytes cut to 128 with terminator") << keyRecords(63) << 128 << keyRecords(62);
    QTest::newRow("long record that would split stays out")
        << QByteArray("00 01 " + QByteArray("01 04 ").repeated(61) + "00 01 01 00 01 04 00 00") << 128
        << keyRecords(61);
    QTest::newRow("long record that fits is kept")
        << QByteArray("00 01 " + QByteArray("01 04 ").repeated(60) + "00 01 01 00 01 04 00 00") << 128
        << QByteArray("00 01 " + QByteArray("01 04 ").repeated(60) + "00 01 01 00 00 00");
    QTest::newRow("keyboard delay records")
        << QByteArray("00 01 " + QByteArray("7F 00 00 64 ").repeated(48) + "00 00") << 192
        << QByteArray("00 01 " + QByteArray("7F 00 00 64 ").repeated(47) + "00 00");
    QTest::newRow("keyboard 194 bytes") << keyRecords(95) << 192 << keyRecords(94);
}

void TestMacroEncoder::fitsImageToSlot()
{
    QFETCH(QByteArray, image);
    QFETCH(int, capacity);
    QFETCH(QByteArray, fitted);
    const QList<uchar> result = fitMacroImage(imageOf(image), capacity);
    QVERIFY(result.size() <= capacity);
    QCOMPARE(hexOf(result), fitted);
}

QTEST_GUILESS_MAIN(TestMacroEncoder)
#include "tst_macroencoder.moc"
