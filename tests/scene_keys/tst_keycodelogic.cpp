// The key page's pure functions: codes to menus and back, macro slots, the left-click guard
// and the key matrix.
#include "scenelogic/KeyCodeLogic.h"

#include <QtTest>

using KeyCode = KeyCodeLogic::KeyCode;
using KeyCodes = KeyCodeLogic::KeyCodes;
using Menus = KeyCodeLogic::Menus;

Q_DECLARE_METATYPE(KeyCode)
Q_DECLARE_METATYPE(KeyCodeLogic::Function)

namespace {

KeyCodes codesWithMacroSlots(std::initializer_list<int> usedSlots)
{
    KeyCodes codes = KeyCodeLogic::builtInDefaults();
    int button = 8;
    for (int slot : usedSlots)
        codes[button++ % KeyCodeLogic::kButtonCount] = KeyCodeLogic::macroCode(0, slot);
    return codes;
}

QStringList sixteenEmptyNames()
{
    QStringList names;
    for (int i = 0; i < KeyCodeLogic::kButtonCount; ++i)
        names << QString();
    return names;
}

}  // namespace

class TestKeyCodeLogic : public QObject {
    Q_OBJECT

private slots:
    void codeToMenus_data()
    {
        QTest::addColumn<KeyCode>("code");
        QTest::addColumn<KeyCodeLogic::Function>("function");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("value");

        using F = KeyCodeLogic::Function;
        QTest::newRow("keyboard A") << KeyCode{0, 0, 0x04, 0} << F::Keyboard << "key" << 0x04;
        QTest::newRow("combo two keys, no modifier") << KeyCode{0, 0, 0x04, 0x05} << F::Combo << "comboKey2" << 0x05;
        QTest::newRow("combo R Win alone") << KeyCode{0, 0x80, 0, 0} << F::Combo << "modifier" << 8;
        QTest::newRow("combo lowest bit picks L Shift") << KeyCode{0, 0x06, 0x04, 0} << F::Combo << "modifier" << 2;
        QTest::newRow("empty code is an empty combo") << KeyCode{0, 0, 0, 0} << F::Combo << "modifier" << 0;
        QTest::newRow("mouse left") << KeyCode{1, 0, 0xF0, 0} << F::Mouse << "mouseEntry" << int(KeyCodeLogic::Left);
        QTest::newRow("mouse forward") << KeyCode{1, 0, 0xF4, 0} << F::Mouse << "mouseEntry" << int(KeyCodeLogic::Forward);
        QTest::newRow("mouse button out of range") << KeyCode{1, 0, 0xF7, 0} << F::Mouse << "mouseEntry" << -1;
        QTest::newRow("triple click") << KeyCode{0x0A, 0xF0, 0x21, 3} << F::Mouse << "mouseEntry" << int(KeyCodeLogic::TripleClick);
        QTest::newRow("dpi +") << KeyCode{7, 0, 1, 0} << F::Mouse << "mouseEntry" << int(KeyCodeLogic::DpiUp);
        QTest::newRow("dpi switch") << KeyCode{7, 0, 3, 0} << F::Mouse << "mouseEntry" << int(KeyCodeLogic::DpiSwitch);
        QTest::newRow("dpi 0 is unknown") << KeyCode{7, 0, 0, 0} << F::NoFunction << "mouseEntry" << -1;
        QTest::newRow("scroll up") << KeyCode{4, 0, 1, 0} << F::Mouse << "mouseEntry" << int(KeyCodeLogic::ScrollUp);
        QTest::newRow("scroll down") << KeyCode{4, 0, 2, 0} << F::Mouse << "mouseEntry" << int(KeyCodeLogic::ScrollDown);
        QTest::newRow("wheel 3 is unknown") << KeyCode{4, 0, 3, 0} << F::NoFunction << "mouseEntry" << -1;
        QTest::newRow("media next track") << KeyCode{3, 0, 0xB5, 0} << F::Media << "mediaEntry" << 0;
        QTest::newRow("media favorites, high byte") << KeyCode{3, 0, 0x2A, 0x02} << F::Media << "mediaEntry" << 17;
        QTest::newRow("media mail, little-endian") << KeyCode{3, 0, 0x8A, 0x01} << F::Media << "mediaEntry" << 8;
        QTest::newRow("media usage not in the table") << KeyCode{3, 0, 0x8A, 0x02} << F::Media << "mediaEntry" << -1;
        QTest::newRow("macro 4 repeat on pressed") << KeyCode{9, 2, 4, 0} << F::Macro << "macroSlot" << 3;
        QTest::newRow("macro play mode") << KeyCode{9, 2, 4, 0} << F::Macro << "playMode" << 2;
        QTest::newRow("fire key mouse") << KeyCode{0x0A, 0xF1, 10, 20} << F::FireKey << "fireKey" << 0xF1;
        QTest::newRow("fire speed 10 is step 7") << KeyCode{0x0A, 0xF1, 10, 20} << F::FireKey << "fireSpeedStep" << 7;
        QTest::newRow("fire speed 255 is step 0") << KeyCode{0x0A, 0x04, 255, 3} << F::FireKey << "fireSpeedStep" << 0;
        QTest::newRow("fire speed below 10 is step 7") << KeyCode{0x0A, 0x04, 2, 3} << F::FireKey << "fireSpeedStep" << 7;
        QTest::newRow("fire speed rounds to nearest") << KeyCode{0x0A, 0x04, 63, 3} << F::FireKey << "fireSpeedStep" << 5;
        QTest::newRow("fire count") << KeyCode{0x0A, 0x04, 255, 200} << F::FireKey << "fireCount" << 200;
        QTest::newRow("triple click look-alike is a fire key") << KeyCode{0x0A, 0xF0, 0x21, 4} << F::FireKey << "fireCount" << 4;
        QTest::newRow("led control") << KeyCode{0x0B, 0, 0, 0} << F::LedControl << "mouseEntry" << -1;
        QTest::newRow("unknown type 5") << KeyCode{5, 0, 3, 0} << F::NoFunction << "mouseEntry" << -1;
        QTest::newRow("unknown type FF") << KeyCode{0xFF, 0xFF, 0xFF, 0xFF} << F::NoFunction << "macroSlot" << -1;
    }

    void codeToMenus()
    {
        QFETCH(KeyCode, code);
        QFETCH(KeyCodeLogic::Function, function);
        QFETCH(QString, field);
        QFETCH(int, value);
        KeyCodeLogic logic;
        const QVariantMap menus = logic.menusOf(KeyCodeLogic::toVariant(code));
        QCOMPARE(menus.value("function").toInt(), int(function));
        QCOMPARE(menus.value(field).toInt(), value);
    }

    void mouseMenuCodes_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<KeyCode>("code");
        QTest::newRow("LEFT") << int(KeyCodeLogic::Left) << KeyCode{1, 0, 0xF0, 0};
        QTest::newRow("RIGHT") << int(KeyCodeLogic::Right) << KeyCode{1, 0, 0xF1, 0};
        QTest::newRow("MIDDLE") << int(KeyCodeLogic::Middle) << KeyCode{1, 0, 0xF2, 0};
        QTest::newRow("BACKWARD") << int(KeyCodeLogic::Backward) << KeyCode{1, 0, 0xF3, 0};
        QTest::newRow("FORWARD") << int(KeyCodeLogic::Forward) << KeyCode{1, 0, 0xF4, 0};
        QTest::newRow("TRIPLE CLICK") << int(KeyCodeLogic::TripleClick) << KeyCode{0x0A, 0xF0, 0x21, 0x03};
        QTest::newRow("DPI +") << int(KeyCodeLogic::DpiUp) << KeyCode{7, 0, 1, 0};
        QTest::newRow("DPI -") << int(KeyCodeLogic::DpiDown) << KeyCode{7, 0, 2, 0};
        QTest::newRow("DPI SWITCH") << int(KeyCodeLogic::DpiSwitch) << KeyCode{7, 0, 3, 0};
        QTest::newRow("SCROLL UP") << int(KeyCodeLogic::ScrollUp) << KeyCode{4, 0, 1, 0};
        QTest::newRow("SCROLL DOWN") << int(KeyCodeLogic::ScrollDown) << KeyCode{4, 0, 2, 0};
        QTest::newRow("past the menu") << int(KeyCodeLogic::MouseEntryCount) << KeyCode{0, 0, 0, 0};
    }

    // Every menu entry gives its code, and that code shows the same entry again.
    void mouseMenuCodes()
    {
        QFETCH(int, entry);
        QFETCH(KeyCode, code);
        QCOMPARE(KeyCodeLogic::mouseCode(KeyCodeLogic::MouseEntry(entry)), code);
        if (entry < KeyCodeLogic::MouseEntryCount)
            QCOMPARE(KeyCodeLogic::menusForCode(code).mouseEntry, entry);
    }

    void mediaTableRoundTrips()
    {
        const int usages[] = {0x00B5, 0x00B6, 0x00B7, 0x00CD, 0x00E2, 0x00E9, 0x00EA, 0x0183, 0x018A,
                              0x0192, 0x0194, 0x0221, 0x0223, 0x0224, 0x0225, 0x0226, 0x0227, 0x022A};
        QCOMPARE(KeyCodeLogic::mediaEntryCount(), 18);
        for (int entry = 0; entry < 18; ++entry) {
            const KeyCode code = KeyCodeLogic::mediaCode(entry);
            QCOMPARE(code, (KeyCode{3, 0, usages[entry] & 0xFF, usages[entry] >> 8}));
            QCOMPARE(KeyCodeLogic::menusForCode(code).mediaEntry, entry);
        }
        QCOMPARE(KeyCodeLogic::mediaCode(18), KeyCodeLogic::noCode());
    }

    void menusToCodes_data()
    {
        QTest::addColumn<KeyCode>("built");
        QTest::addColumn<KeyCode>("expected");
        QTest::newRow("keyboard") << KeyCodeLogic::keyboardCode(0x2C) << KeyCode{0, 0, 0x2C, 0};
        QTest::newRow("combo R Win alone") << KeyCodeLogic::comboCode(8, 0, 0) << KeyCode{0, 0x80, 0, 0};
        QTest::newRow("combo L Ctrl A B") << KeyCodeLogic::comboCode(1, 4, 5) << KeyCode{0, 0x01, 4, 5};
        QTest::newRow("combo without modifier") << KeyCodeLogic::comboCode(0, 4, 0) << KeyCode{0, 0, 4, 0};
        QTest::newRow("macro slot 3 always repeat") << KeyCodeLogic::macroCode(1, 3) << KeyCode{9, 1, 4, 0};
        QTest::newRow("fire step 7") << KeyCodeLogic::fireCode(0xF0, 7, 10) << KeyCode{0x0A, 0xF0, 10, 10};
        QTest::newRow("fire step 0") << KeyCodeLogic::fireCode(0x04, 0, 255) << KeyCode{0x0A, 0x04, 255, 255};
        QTest::newRow("fire step 3") << KeyCodeLogic::fireCode(0x04, 3, 0) << KeyCode{0x0A, 0x04, 150, 0};
        QTest::newRow("led control") << KeyCodeLogic::ledCode() << KeyCode{0x0B, 0, 0, 0};
    }

    void menusToCodes()
    {
        QFETCH(KeyCode, built);
        QFETCH(KeyCode, expected);
        QCOMPARE(built, expected);
    }

    void fireSpeedStepsRoundTrip()
    {
        for (int step = 0; step < KeyCodeLogic::kFireSpeedSteps; ++step)
            QCOMPARE(KeyCodeLogic::fireSpeedStep(KeyCodeLogic::fireSpeedByte(step)), step);
    }

    void lowestSetBit_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("position");
        QTest::newRow("none") << 0 << 0;
        QTest::newRow("bit 0") << 0x01 << 1;
        QTest::newRow("bit 7") << 0x80 << 8;
        QTest::newRow("several") << 0xA4 << 3;
    }

    void lowestSetBit()
    {
        QFETCH(int, byte);
        QFETCH(int, position);
        QCOMPARE(KeyCodeLogic::lowestSetBit(byte), position);
    }

    void freeMacroSlot_data()
    {
        QTest::addColumn<KeyCodes>("codes");
        QTest::addColumn<int>("slot");
        QTest::newRow("none used") << KeyCodeLogic::builtInDefaults() << 0;
        QTest::newRow("slots 0..2 used") << codesWithMacroSlots({0, 1, 2}) << 3;
        QTest::newRow("gap is filled first") << codesWithMacroSlots({0, 2}) << 1;
        QTest::newRow("all twelve used") << codesWithMacroSlots({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}) << -1;
        KeyCodes withByte3 = KeyCodeLogic::builtInDefaults();
        withByte3[3] = {9, 0, 1, 7};
        QTest::newRow("macro code with byte 3 set uses no slot") << withByte3 << 0;
    }

    void freeMacroSlot()
    {
        QFETCH(KeyCodes, codes);
        QFETCH(int, slot);
        QCOMPARE(KeyCodeLogic::freeMacroSlot(codes), slot);
    }

    void lastLeftClick_data()
    {
        QTest::addColumn<KeyCodes>("codes");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("last");
        const KeyCodes defaults = KeyCodeLogic::builtInDefaults();
        QTest::newRow("only button 0 holds LEFT") << defaults << 0 << true;
        QTest::newRow("button 1 holds RIGHT") << defaults << 1 << false;
        KeyCodes twoLefts = defaults;
        twoLefts[4] = KeyCodeLogic::mouseCode(KeyCodeLogic::Left);
        QTest::newRow("another named button holds LEFT") << twoLefts << 0 << false;
        KeyCodes hiddenLeft = defaults;
        hiddenLeft[12] = KeyCodeLogic::mouseCode(KeyCodeLogic::Left);
        QTest::newRow("an unnamed button does not count") << hiddenLeft << 0 << true;
    }

    void lastLeftClick()
    {
        QFETCH(KeyCodes, codes);
        QFETCH(int, button);
        QFETCH(bool, last);
        QCOMPARE(KeyCodeLogic::holdsLastLeftClick(codes, button, KeyCodeLogic::builtInButtons()), last);
    }

    void defaultsAndMatrix()
    {
        QVariantList profile;
        for (int i = 0; i < 64; ++i)
            profile << QString::number(i);
        const KeyCodes codes = KeyCodeLogic::defaultsFromValues(profile);
        QCOMPARE(codes[15], (KeyCode{60, 61, 62, 63}));
        const std::vector<int> matrix = KeyCodeLogic::keyMatrix(codes);
        QCOMPARE(int(matrix.size()), 64);
        for (int i = 0; i < 64; ++i)
            QCOMPARE(matrix[i], i);

        profile.removeLast();
        QCOMPARE(KeyCodeLogic::defaultsFromValues(profile), KeyCodeLogic::builtInDefaults());
        QCOMPARE(KeyCodeLogic::builtInDefaults()[9], (KeyCode{3, 0, 0x8A, 0x01}));
    }

    void namedButtons_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QVariantList>("buttons");
        QTest::newRow("before a language") << QStringList() << QVariantList{0, 1, 2, 3, 4, 5, 6, 14, 15};
        QStringList some = sixteenEmptyNames();
        some[0] = "LEFT";
        some[2] = "MIDDLE";
        some[15] = "SCROLL DOWN";
        QTest::newRow("named slots in slot order") << some << QVariantList{0, 2, 15};
        QTest::newRow("a language without names") << sixteenEmptyNames() << QVariantList{0, 1, 2, 3, 4, 5, 6, 14, 15};
    }

    void namedButtons()
    {
        QFETCH(QStringList, names);
        QFETCH(QVariantList, buttons);
        QCOMPARE(KeyCodeLogic().buttons(names), buttons);
    }

    // Script arrays of arrays and profile texts both reach the functions.
    void variantsFromTheScene()
    {
        KeyCodeLogic logic;
        QVariantList codes;
        for (const KeyCode &code : codesWithMacroSlots({0, 1}))
            codes << QVariant(KeyCodeLogic::toVariant(code));
        QCOMPARE(logic.macroSlot({"9", "0", "12", "0"}), 11);
        QCOMPARE(logic.matrix(codes).size(), 64);
        QVERIFY(logic.isLeftClick({1.0, 0.0, 240.0, 0.0}));
    }
};

QTEST_GUILESS_MAIN(TestKeyCodeLogic)
#include "tst_keycodelogic.moc"
