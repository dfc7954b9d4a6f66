// The key usage table as a whole, and the reports that key and button events give.
#include "CaptureRecorder.h"
#include "capture/CaptureDispatcher.h"
#include "capture/KeyUsageTable.h"

#include <QSet>
#include <QtTest>

#include <linux/input-event-codes.h>

namespace {

// The Keyboard/Keypad usage page, usage by usage, with the Linux key of each usage. Both the
// US backslash (0x31) and the non-US hash key (0x32) are the key Linux calls KEY_BACKSLASH.
QHash<int, int> linuxKeyOfUsage()
{
    QHash<int, int> keys;
    const int letters[] = {KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I,
                           KEY_J, KEY_K, KEY_L, KEY_M, KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R,
                           KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z};
    for (int i = 0; i < 26; ++i)
        keys[0x04 + i] = letters[i];
    const int digits[] = {KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9, KEY_0};
    for (int i = 0; i < 10; ++i)
        keys[0x1E + i] = digits[i];
    const int block[] = {KEY_ENTER,     KEY_ESC,        KEY_BACKSPACE,  KEY_TAB,
                         KEY_SPACE,     KEY_MINUS,      KEY_EQUAL,      KEY_LEFTBRACE,
                         KEY_RIGHTBRACE, KEY_BACKSLASH, KEY_BACKSLASH,  KEY_SEMICOLON,
                         KEY_APOSTROPHE, KEY_GRAVE,     KEY_COMMA,      KEY_DOT,
                         KEY_SLASH,     KEY_CAPSLOCK};  // 0x28 to 0x39
    for (int i = 0; i < int(sizeof block / sizeof *block); ++i)
        keys[0x28 + i] = block[i];
    const int functionKeys[] = {KEY_F1, KEY_F2, KEY_F3, KEY_F4,  KEY_F5,  KEY_F6,
                                KEY_F7, KEY_F8, KEY_F9, KEY_F10, KEY_F11, KEY_F12};
    for (int i = 0; i < 12; ++i)
        keys[0x3A + i] = functionKeys[i];
    const int control[] = {KEY_SYSRQ,  KEY_SCROLLLOCK, KEY_PAUSE, KEY_INSERT, KEY_HOME,
                           KEY_PAGEUP, KEY_DELETE,     KEY_END,   KEY_PAGEDOWN, KEY_RIGHT,
                           KEY_LEFT,   KEY_DOWN,       KEY_UP,    KEY_NUMLOCK};  // 0x46 to 0x53
    for (int i = 0; i < int(sizeof control / sizeof *control); ++i)
        keys[0x46 + i] = control[i];
    const int keypad[] = {KEY_KPSLASH, KEY_KPASTERISK, KEY_KPMINUS, KEY_KPPLUS, KEY_KPENTER,
                          KEY_KP1,     KEY_KP2,        KEY_KP3,     KEY_KP4,    KEY_KP5,
                          KEY_KP6,     KEY_KP7,        KEY_KP8,     KEY_KP9,    KEY_KP0,
                          KEY_KPDOT,   KEY_102ND,      KEY_COMPOSE};  // 0x54 to 0x65
    for (int i = 0; i < int(sizeof keypad / sizeof *keypad); ++i)
        keys[0x54 + i] = keypad[i];
    const int highFunctionKeys[] = {KEY_F13, KEY_F14, KEY_F15, KEY_F16, KEY_F17, KEY_F18,
                                    KEY_F19, KEY_F20, KEY_F21, KEY_F22, KEY_F23, KEY_F24};
    for (int i = 0; i < 12; ++i)
        keys[0x68 + i] = highFunctionKeys[i];
    const int modifiers[] = {KEY_LEFTCTRL,  KEY_LEFTSHIFT,  KEY_LEFTALT,  KEY_LEFTMETA,
                             KEY_RIGHTCTRL, KEY_RIGHTSHIFT, KEY_RIGHTALT, KEY_RIGHTMETA};
    for (int i = 0; i < 8; ++i)
        keys[0xE0 + i] = modifiers[i];
    return keys;
}

// The Linux keys of the reported positions of scan-code set 1: a plain position's key code is
// its scan code, Pause (plain 0x45) is KEY_PAUSE, 0x6E is F23; extended positions are listed.
QSet<int> reportedLinuxKeys()
{
    QSet<int> keys;
    const auto addRange = [&keys](int first, int last) {
        for (int position = first; position <= last; ++position)
            keys.insert(position);
    };
    addRange(0x01, 0x35);
    addRange(0x37, 0x44);
    addRange(0x46, 0x53);
    addRange(0x56, 0x58);
    keys.insert(KEY_PAUSE);
    keys.insert(KEY_F23);
    for (int extended : {KEY_KPENTER, KEY_RIGHTCTRL, KEY_KPSLASH, KEY_RIGHTSHIFT, KEY_SYSRQ,
                         KEY_RIGHTALT, KEY_NUMLOCK, KEY_HOME, KEY_UP, KEY_PAGEUP, KEY_LEFT,
                         KEY_RIGHT, KEY_END, KEY_DOWN, KEY_PAGEDOWN, KEY_INSERT, KEY_DELETE,
                         KEY_LEFTMETA, KEY_COMPOSE})
        keys.insert(extended);
    return keys;
}

}  // namespace

class TestCaptureKeys : public QObject {
    Q_OBJECT

private slots:
    void tableMatchesUsagePage_data();
    void tableMatchesUsagePage();
    void trickyKeys_data();
    void trickyKeys();
    void keysWithoutRowAreAbsent_data();
    void keysWithoutRowAreAbsent();

    void heldKeyReportsOnePressAndOneRelease();
    void releaseOfKeyNeverSeenPressedIsDropped();
    void stateFollowsKeysBeforeRegistration();
    void laterRegistrationReplacesEarlier();
    void unknownKeysAreNotReported();
    void buttonsReportEveryPressAndRelease();
};

void TestCaptureKeys::tableMatchesUsagePage_data()
{
    QTest::addColumn<bool>("iso");
    QTest::newRow("ANSI") << false;
    QTest::newRow("ISO") << true;
}

void TestCaptureKeys::tableMatchesUsagePage()
{
    QFETCH(bool, iso);
    const KeyUsageTable table(iso);
    const QHash<int, int> usagePage = linuxKeyOfUsage();
    QSet<int> keys;
    QSet<int> usages;
    for (const KeyUsageTable::Row &row : table.rows()) {
        const QByteArray where = "Linux key " + QByteArray::number(row.linuxKey);
        QVERIFY2(usagePage.contains(row.usage), where.constData());
        QVERIFY2(usagePage.value(row.usage) == row.linuxKey, where.constData());
        QCOMPARE(table.usage(row.linuxKey), row.usage);
        keys.insert(row.linuxKey);
        usages.insert(row.usage);
    }
    QCOMPARE(keys, reportedLinuxKeys());
    QCOMPARE(keys.size(), 105);
    QCOMPARE(usages.size(), 105);
    for (int key = 0; key < 256; ++key) {
        if (!keys.contains(key))
            QVERIFY2(table.usage(key) == 0, QByteArray::number(key).constData());
    }
}

void TestCaptureKeys::trickyKeys_data()
{
    QTest::addColumn<int>("linuxKey");
    QTest::addColumn<bool>("iso");
    QTest::addColumn<int>("usage");
    QTest::newRow("Enter") << KEY_ENTER << false << 0x28;
    QTest::newRow("keypad Enter") << KEY_KPENTER << false << 0x58;
    QTest::newRow("Pause") << KEY_PAUSE << false << 0x48;
    QTest::newRow("Num Lock") << KEY_NUMLOCK << false << 0x53;
    QTest::newRow("Scroll Lock") << KEY_SCROLLLOCK << false << 0x47;
    QTest::newRow("keypad *") << KEY_KPASTERISK << false << 0x55;
    QTest::newRow("Print Screen") << KEY_SYSRQ << false << 0x46;
    QTest::newRow("backslash ANSI") << KEY_BACKSLASH << false << 0x31;
    QTest::newRow("backslash ISO") << KEY_BACKSLASH << true << 0x32;
    QTest::newRow("grave") << KEY_GRAVE << false << 0x35;
    QTest::newRow("ISO key") << KEY_102ND << false << 0x64;
    QTest::newRow("F11") << KEY_F11 << false << 0x44;
    QTest::newRow("F12") << KEY_F12 << false << 0x45;
    QTest::newRow("F23") << KEY_F23 << false << 0x72;
    QTest::newRow("left Ctrl") << KEY_LEFTCTRL << false << 0xE0;
    QTest::newRow("left Shift") << KEY_LEFTSHIFT << false << 0xE1;
    QTest::newRow("left Alt") << KEY_LEFTALT << false << 0xE2;
    QTest::newRow("left Windows") << KEY_LEFTMETA << false << 0xE3;
    QTest::newRow("right Ctrl") << KEY_RIGHTCTRL << false << 0xE4;
    QTest::newRow("right Shift") << KEY_RIGHTSHIFT << false << 0xE5;
    QTest::newRow("right Alt") << KEY_RIGHTALT << false << 0xE6;
    QTest::newRow("menu") << KEY_COMPOSE << false << 0x65;
    QTest::newRow("keypad /") << KEY_KPSLASH << false << 0x54;
    QTest::newRow("keypad -") << KEY_KPMINUS << false << 0x56;
    QTest::newRow("keypad +") << KEY_KPPLUS << false << 0x57;
    QTest::newRow("keypad 7") << KEY_KP7 << false << 0x5F;
    QTest::newRow("keypad 1") << KEY_KP1 << false << 0x59;
    QTest::newRow("keypad 0") << KEY_KP0 << false << 0x62;
    QTest::newRow("keypad .") << KEY_KPDOT << false << 0x63;
}

void TestCaptureKeys::trickyKeys()
{
    QFETCH(int, linuxKey);
    QFETCH(bool, iso);
    QFETCH(int, usage);
    QCOMPARE(int(KeyUsageTable(iso).usage(linuxKey)), usage);
}

void TestCaptureKeys::keysWithoutRowAreAbsent_data()
{
    QTest::addColumn<int>("linuxKey");
    QTest::newRow("right Windows") << KEY_RIGHTMETA;
    QTest::newRow("Japanese Ro / Brazilian /?") << KEY_RO;
    QTest::newRow("Yen") << KEY_YEN;
    QTest::newRow("Henkan") << KEY_HENKAN;
    QTest::newRow("Muhenkan") << KEY_MUHENKAN;
    QTest::newRow("Katakana/Hiragana") << KEY_KATAKANAHIRAGANA;
    QTest::newRow("Zenkaku/Hankaku") << KEY_ZENKAKUHANKAKU;
    QTest::newRow("Brazilian keypad .") << KEY_KPCOMMA;
    QTest::newRow("keypad =") << KEY_KPEQUAL;
    QTest::newRow("F13") << KEY_F13;
    QTest::newRow("volume mute") << KEY_MUTE;
    QTest::newRow("reserved") << KEY_RESERVED;
    QTest::newRow("negative") << -1;
    QTest::newRow("beyond the table") << KEY_OK;
}

void TestCaptureKeys::keysWithoutRowAreAbsent()
{
    QFETCH(int, linuxKey);
    QCOMPARE(int(KeyUsageTable(false).usage(linuxKey)), 0);
    QCOMPARE(int(KeyUsageTable(true).usage(linuxKey)), 0);
}

void TestCaptureKeys::heldKeyReportsOnePressAndOneRelease()
{
    CaptureRecorder recorder;
    CaptureDispatcher dispatcher;
    dispatcher.setKeyCallback(&CaptureRecorder::onKey, &recorder);
    for (int repeat = 0; repeat < 5; ++repeat)
        dispatcher.onKey(KEY_A, true);
    dispatcher.onKey(KEY_A, false);
    dispatcher.onKey(KEY_A, false);
    QCOMPARE(recorder.keys, (QList<KeyReport>{{0x04, true}, {0x04, false}}));
}

void TestCaptureKeys::releaseOfKeyNeverSeenPressedIsDropped()
{
    CaptureRecorder recorder;
    CaptureDispatcher dispatcher;
    dispatcher.setKeyCallback(&CaptureRecorder::onKey, &recorder);
    dispatcher.onKey(KEY_LEFTSHIFT, false);
    dispatcher.onKey(KEY_LEFTSHIFT, true);
    QCOMPARE(recorder.keys, (QList<KeyReport>{{0xE1, true}}));
}

void TestCaptureKeys::stateFollowsKeysBeforeRegistration()
{
    CaptureRecorder recorder;
    CaptureDispatcher dispatcher;
    dispatcher.onKey(KEY_B, true);
    dispatcher.setKeyCallback(&CaptureRecorder::onKey, &recorder);
    dispatcher.onKey(KEY_B, true);  // a repeat of the key seen down
    dispatcher.onKey(KEY_B, false);
    QCOMPARE(recorder.keys, (QList<KeyReport>{{0x05, false}}));
}

void TestCaptureKeys::laterRegistrationReplacesEarlier()
{
    CaptureRecorder first;
    CaptureRecorder second;
    CaptureDispatcher dispatcher;
    dispatcher.setKeyCallback(&CaptureRecorder::onKey, &first);
    dispatcher.setMouseCallback(&CaptureRecorder::onButton, &first);
    dispatcher.setKeyCallback(&CaptureRecorder::onKey, &second);
    dispatcher.setMouseCallback(&CaptureRecorder::onButton, &second);
    dispatcher.onKey(KEY_C, true);
    dispatcher.onButton(PointerButton::Left, true, 1, 2);
    QVERIFY(first.keys.isEmpty());
    QVERIFY(first.buttons.isEmpty());
    QCOMPARE(second.keys.size(), 1);
    QCOMPARE(second.buttons.size(), 1);
}

void TestCaptureKeys::unknownKeysAreNotReported()
{
    CaptureRecorder recorder;
    CaptureDispatcher dispatcher;
    dispatcher.setKeyCallback(&CaptureRecorder::onKey, &recorder);
    dispatcher.onKey(KEY_RIGHTMETA, true);
    dispatcher.onKey(KEY_RIGHTMETA, false);
    dispatcher.onKey(KEY_MAX + 1, true);
    QVERIFY(recorder.keys.isEmpty());
}

void TestCaptureKeys::buttonsReportEveryPressAndRelease()
{
    CaptureRecorder recorder;
    CaptureDispatcher dispatcher;
    dispatcher.onButton(PointerButton::Left, true, 5, 5);  // before registration: unreported
    dispatcher.setMouseCallback(&CaptureRecorder::onButton, &recorder);
    dispatcher.onButton(PointerButton::Left, false, 10, 20);
    dispatcher.onButton(PointerButton::Right, true, 11, 21);
    dispatcher.onButton(PointerButton::Right, true, 12, 22);
    dispatcher.onButton(PointerButton::Middle, false, -3, 4);
    const QList<ButtonReport> expected{{0xF0, false, {10, 20}},
                                       {0xF1, true, {11, 21}},
                                       {0xF1, true, {12, 22}},
                                       {0xF2, false, {-3, 4}}};
    QCOMPARE(recorder.buttons, expected);
}

QTEST_GUILESS_MAIN(TestCaptureKeys)
#include "tst_capture_keys.moc"
