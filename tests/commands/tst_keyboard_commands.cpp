// The keyboard commands, and the shared ones, on the virtual keyboard: command blocks, 64-byte
// data reports, pauses, results, and what each command does when its transfer or its token
// fails. The keyboard's catalogue entry sits at the scanned position, as the device in use.
#include "tests/commands/CommandChecks.h"

#include <QTest>

using namespace rig;

namespace {

uchar *raw(QByteArray &buffer) { return reinterpret_cast<uchar *>(buffer.data()); }

const QByteArray kKeyMatrix = pattern(512, 0x07);
const QByteArray kKeyOnOff = pattern(21, 0xA0);
const QByteArray kMacro = pattern(192, 0x33);
const QByteArray kPicture = pattern(512, 0xC4);
constexpr int kMacroId = 4;
constexpr int kPictureIndex = 2;
constexpr int kColorIndex = 2;
// 8EH reads into a 21-byte buffer; bytes past it must stay as they are.
constexpr int kGuardBytes = 3;

std::vector<std::uint8_t> toVector(const QByteArray &bytes) { return {bytes.begin(), bytes.end()}; }

}  // namespace

class TestKeyboardCommands : public QObject {
    Q_OBJECT

    CommandRig rig{vhid::Model::Keyboard};

    void setRows();
    void getRows();

private slots:
    void init();
    void cleanup() { rig.verifyNoViolations(); }

    void setsOnWire_data() { setRows(); }
    void setsOnWire() { checkSetOnWire(rig); }
    void setsWithoutTransfer_data() { setRows(); }
    void setsWithoutTransfer() { checkSetWithoutTransfer(rig); }
    void setsTokenRefused_data() { setRows(); }
    void setsTokenRefused() { checkSetTokenRefused(rig); }

    void getsOnWire_data() { getRows(); }
    void getsOnWire() { checkGetOnWire(rig); }
    void getsWithoutTransfer_data() { getRows(); }
    void getsWithoutTransfer() { checkGetWithoutTransfer(rig); }
    void getsTokenRefused_data() { getRows(); }
    void getsTokenRefused() { checkGetTokenRefused(rig); }

    void dataPhaseStopsShort();
    void setsAreStoredByTheKeyboard();
};

void TestKeyboardCommands::init()
{
    rig.reset();
    rig.bus().withKeyboard([](vhid::KeyboardMemory &m) {
        m.reportRate = 2;
        m.profile = 6;
        const std::uint8_t options[4] = {1, 2, 3, 4};
        const std::uint8_t sensitivity[4] = {5, 6, 7, 8};
        const std::uint8_t ledType[6] = {9, 10, 11, 12, 13, 14};
        std::copy(std::begin(options), std::end(options), m.options);
        std::copy(std::begin(sensitivity), std::end(sensitivity), m.sensitivity);
        std::copy(std::begin(ledType), std::end(ledType), m.ledType);
        m.mode = 3;
        m.keyMatrix = toVector(kKeyMatrix);
        m.keyOnOff = toVector(kKeyOnOff);
        m.macros[kMacroId] = toVector(kMacro);
        m.pictures[kPictureIndex] = toVector(kPicture);
        m.colors[kColorIndex] = {255, 0, 16};
        m.firmware[0] = 0x02;
        m.firmware[1] = 0x31;
    });
}

void TestKeyboardCommands::setRows()
{
    addSetColumns();
    addSetRow("01H shared", [](Hid_Thread &h) { h.hid_01H_SetReportRate(8); }, commandBlock({0x01, 8}), {}, 0, true,
              false, "cmd Failed 01");
    addSetRow("02H shared", [](Hid_Thread &h) { h.hid_02H_SetCurrentProfile(5); }, commandBlock({0x02, 5}), {}, 0,
              false, true, "cmd Failed 02");
    addSetRow("03H", [](Hid_Thread &h) { h.hid_03H_SetKeyboardoption(1, 2, 3, 4); }, commandBlock({0x03, 1, 2, 3, 4}),
              {}, 0, false, true, "cmd Failed 03");
    addSetRow("04H", [](Hid_Thread &h) { h.hid_04H_SetButtonSensitivity(5, 6, 7, 8); },
              commandBlock({0x04, 5, 6, 7, 8}), {}, 0, true, false, "cmd Failed 04");
    addSetRow("07H", [](Hid_Thread &h) { h.hid_07H_SetControlIndicatorLight(2, 9); }, commandBlock({0x07, 2, 9}), {},
              0, false, true, "cmd Failed 07");
    addSetRow("08H", [](Hid_Thread &h) { h.hid_08H_SetLEDType(1, 2, 3, 4, 5, 6); },
              commandBlock({0x08, 1, 2, 3, 4, 5, 6}), {}, 0, true, false, "cmd Failed 08");
    addSetRow("09H", [](Hid_Thread &h) { h.hid_09H_SetKeyboardMode(3); }, commandBlock({0x09, 3}), {}, 0, true, false,
              "cmd Failed 09");
    addSetRow(
        "0DH",
        [](Hid_Thread &h) {
            QByteArray src512 = pattern(512, 0x11);
            h.hid_0DH_SetKeyMatrix(raw(src512));
        },
        commandBlock({0x0D, 0, 0, 8}), pattern(512, 0x11), 8, true, false, "cmd Failed 0D");
    addSetRow(
        "0EH",
        [](Hid_Thread &h) {
            QByteArray src21 = pattern(21, 0x21);
            h.hid_0EH_SetKeyOnOff(raw(src21));
        },
        commandBlock({0x0E, 0, 0, 21}), pattern(21, 0x21), 1, true, false, "cmd Failed 0E");
    addSetRow(
        "11H",
        [](Hid_Thread &h) {
            QByteArray src192 = pattern(192, 0x31);
            h.hid_11H_SetMacroKey(kMacroId, raw(src192));
        },
        commandBlock({0x11, 0, kMacroId, 3}), pattern(192, 0x31), 3, true, false, "cmd Failed 11");
    addSetRow(
        "12H",
        [](Hid_Thread &h) {
            QByteArray src512 = pattern(512, 0x41);
            h.hid_12H_SetUserPicture(kPictureIndex, 7, raw(src512));
        },
        commandBlock({0x12, 0, kPictureIndex, 8, 7}), pattern(512, 0x41), 8, true, false, "cmd Failed 12");
    addSetRow("13H", [](Hid_Thread &h) { h.hid_13H_SetRecoveryData(); }, QByteArray::fromHex("13ff0000000000ed"), {}, 0,
              false, true, "cmd Failed 13");
    addSetRow("14H", [](Hid_Thread &h) { h.hid_14H_SetColor(2, 255, 0, 16); }, QByteArray::fromHex("140002ff001000da"), {}, 0,
              false, true, "cmd Failed 14");
    // A mouse command goes to the device in use, here in one 64-byte report.
    addSetRow(
        "mouse 12H to the keyboard",
        [](Hid_Thread &h) {
            QByteArray src64 = pattern(64, 0x51);
            h.hid_12H_SetKeyMatrix(raw(src64));
        },
        commandBlock({0x12, 0x01, 0x40, 0x08}), pattern(64, 0x51), 1, true, false, "cmd Failed 12");
}

void TestKeyboardCommands::getRows()
{
    addGetColumns();
    const uchar s = kSeed;
    addGetRow(
        "80H shared",
        [](Hid_Thread &h, uchar) {
            QString version = "previous";
            h.hid_80H_GetFWVersion(version);
            return version.toLatin1();
        },
        commandBlock({0x80}), 0, "2.31", "unknown", "previous");
    addGetRow(
        "81H shared",
        [](Hid_Thread &h, uchar seed) {
            uchar rate = seed;
            h.hid_81H_GetReportRate(rate);
            return bytes({rate});
        },
        commandBlock({0x81}), 0, bytes({2}), bytes({s}), bytes({s}));
    addGetRow(
        "82H shared",
        [](Hid_Thread &h, uchar seed) {
            uchar profile = seed;
            h.hid_82H_GetCurrentProfile(profile);
            return bytes({profile});
        },
        commandBlock({0x82}), 0, bytes({6}), bytes({s}), bytes({s}));
    addGetRow(
        "83H",
        [](Hid_Thread &h, uchar seed) {
            uchar b1 = seed, b2 = seed, b3 = seed, b4 = seed;
            h.hid_83H_GetKeyboardoption(b1, b2, b3, b4);
            return bytes({b1, b2, b3, b4});
        },
        commandBlock({0x83}), 0, bytes({1, 2, 3, 4}), filled(4, s), filled(4, s));
    addGetRow(
        "84H",
        [](Hid_Thread &h, uchar seed) {
            uchar s1 = seed, s2 = seed, s3 = seed, s4 = seed;
            h.hid_84H_GetButtonSensitivity(s1, s2, s3, s4);
            return bytes({s1, s2, s3, s4});
        },
        commandBlock({0x84}), 0, bytes({5, 6, 7, 8}), filled(4, s), filled(4, s));
    addGetRow(
        "88H",
        [](Hid_Thread &h, uchar seed) {
            uchar effect = seed, speed = seed, light = seed, color = seed, direction = seed;
            h.hid_88H_GetLEDType(effect, speed, light, color, direction);
            return bytes({effect, speed, light, color, direction});
        },
        commandBlock({0x88}), 0, bytes({10, 11, 12, 13, 14}), filled(5, s), filled(5, s));
    addGetRow(
        "89H",
        [](Hid_Thread &h, uchar seed) {
            uchar mode = seed;
            h.hid_89H_GetKeyboardMode(mode);
            return bytes({mode});
        },
        commandBlock({0x89}), 0, bytes({3}), bytes({s}), bytes({s}));
    addGetRow(
        "8DH",
        [](Hid_Thread &h, uchar seed) {
            QByteArray src512 = filled(512, seed);
            h.hid_8DH_GetKeyMatrix(raw(src512));
            return src512;
        },
        QByteArray::fromHex("8d00000000000072"), 8, kKeyMatrix, filled(512, s), filled(512, s));
    addGetRow(
        "8EH",
        [](Hid_Thread &h, uchar seed) {
            QByteArray src21 = filled(21 + kGuardBytes, seed);
            h.hid_8EH_GetKeyOnOff(raw(src21));
            return src21;
        },
        commandBlock({0x8E}), 1, kKeyOnOff + filled(kGuardBytes, s), filled(21 + kGuardBytes, s),
        filled(21 + kGuardBytes, s));
    addGetRow(
        "91H",
        [](Hid_Thread &h, uchar seed) {
            QByteArray src192 = filled(192, seed);
            h.hid_91H_GetMacroKey(kMacroId, raw(src192));
            return src192;
        },
        commandBlock({0x91, 0, kMacroId}), 3, kMacro, filled(192, s), filled(192, s));
    addGetRow(
        "92H",
        [](Hid_Thread &h, uchar seed) {
            QByteArray src512 = filled(512, seed);
            h.hid_92H_GetUserPicture(kPictureIndex, raw(src512));
            return src512;
        },
        commandBlock({0x92, 0, kPictureIndex}), 8, kPicture, filled(512, s), filled(512, s));
    addGetRow(
        "94H",
        [](Hid_Thread &h, uchar seed) {
            uchar r = seed, g = seed, b = seed;
            h.hid_94H_GetColor(kColorIndex, r, g, b);
            return bytes({r, g, b});
        },
        commandBlock({0x94, 0, kColorIndex}), 0, bytes({255, 0, 16}), filled(3, s), filled(3, s));
}

// Reports that arrived before the keyboard stopped sending replace the caller's bytes; the
// rest keep theirs.
void TestKeyboardCommands::dataPhaseStopsShort()
{
    vhid::Faults stalls;
    stalls.dataReportsBeforeStall = 3;
    rig.bus().setFaults(vhid::Model::Keyboard, stalls);
    QByteArray src512 = filled(512, kSeed);
    rig.hid.hid_8DH_GetKeyMatrix(raw(src512));
    QCOMPARE(src512.toHex(' '), (kKeyMatrix.left(192) + filled(320, kSeed)).toHex(' '));
    QVERIFY(rig.hid.waitUntilIdle(0));
}

// What the Sets send is what the keyboard keeps: a read after each write gives it back.
void TestKeyboardCommands::setsAreStoredByTheKeyboard()
{
    QByteArray picture = pattern(512, 0x99);
    rig.hid.hid_12H_SetUserPicture(5, 1, raw(picture));
    rig.hid.hid_14H_SetColor(7, 1, 2, 3);
    rig.hid.hid_08H_SetLEDType(20, 21, 22, 23, 24, 25);

    QByteArray readBack = filled(512, 0);
    rig.hid.hid_92H_GetUserPicture(5, raw(readBack));
    QCOMPARE(readBack.toHex(' '), picture.toHex(' '));
    uchar r = 0, g = 0, b = 0;
    rig.hid.hid_94H_GetColor(7, r, g, b);
    QCOMPARE(bytes({r, g, b}).toHex(' '), bytes({1, 2, 3}).toHex(' '));
    uchar effect = 0, speed = 0, light = 0, color = 0, direction = 0;
    rig.hid.hid_88H_GetLEDType(effect, speed, light, color, direction);
    QCOMPARE(bytes({effect, speed, light, color, direction}).toHex(' '), bytes({21, 22, 23, 24, 25}).toHex(' '));
}

QTEST_GUILESS_MAIN(TestKeyboardCommands)
#include "tst_keyboard_commands.moc"
