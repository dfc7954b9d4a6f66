// The mouse and shared commands on the virtual mouse: command blocks, data reports, pauses,
// results, and what each command does when its transfer or its token fails.
#include "tests/commands/CommandChecks.h"

#include <QTest>

using namespace rig;

namespace {

uchar *raw(QByteArray &buffer) { return reinterpret_cast<uchar *>(buffer.data()); }

const QByteArray kStageColors = pattern(24, 0x30);
const QByteArray kColorIds = bytes({0x10, 0x32, 0x54, 0x76});
const QByteArray kDpiCodes = pattern(8, 0x02);
const QByteArray kKeyMatrix = pattern(64, 0x40);
const QByteArray kMacro = pattern(128, 0x80);
constexpr int kMacroId = 3;
constexpr int kLedType = 1;

std::vector<std::uint8_t> toVector(const QByteArray &bytes) { return {bytes.begin(), bytes.end()}; }

}  // namespace

class TestMouseCommands : public QObject {
    Q_OBJECT

    CommandRig rig{vhid::Model::Mouse};

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

    void firmwareVersionText_data();
    void firmwareVersionText();
    void dataPhaseStopsShort_data();
    void dataPhaseStopsShort();
    void setsReachDeviceInCallOrder();
    void missingBufferIsRefused();
};

void TestMouseCommands::init()
{
    rig.reset();
    rig.bus().withMouse([](vhid::MouseMemory &m) {
        m.reportRate = 4;
        m.profile = 7;
        m.sensorType = 3;
        m.functionRate = 2;
        m.functionOption1 = 0xC1;
        m.functionOption2 = 0x22;
        m.ledInstruct[kLedType] = {9, 8, 7};
        m.dpiStage = 5;
        m.ledEffect[0] = 6;
        m.ledEffect[1] = 200;
        m.ledEffect[2] = 3;
        m.colors[0] = toVector(kStageColors);
        m.colors[2] = toVector(kColorIds);
        m.dpiMaxStage = 6;
        m.dpiCodes = toVector(kDpiCodes);
        m.keyMatrix = toVector(kKeyMatrix);
        m.macros[kMacroId] = toVector(kMacro);
        m.firmware[0] = 0x1B;
        m.firmware[1] = 0x05;
    });
}

void TestMouseCommands::setRows()
{
    addSetColumns();
    //                  call                                             block                          payload          reports pause  after8 text
    addSetRow("01H", [](Hid_Thread &h) { h.hid_01H_SetReportRate(8); }, commandBlock({0x01, 8}), {}, 0, true, false, "cmd Failed 01");
    addSetRow("02H", [](Hid_Thread &h) { h.hid_02H_SetCurrentProfile(5); }, commandBlock({0x02, 5}), {}, 0, false, true,
              "cmd Failed 02");
    addSetRow("03H", [](Hid_Thread &h) { h.hid_03H_SetFunctionOption(3, 2, 0xC1, 0x22); },
              commandBlock({0x03, 3, 2, 0xC1, 0x22}), {}, 0, true, true, "cmd Failed 03");
    addSetRow("07H", [](Hid_Thread &h) { h.hid_07H_SetLEDInstructFunction(1, 9, 8, 7); },
              commandBlock({0x07, 1, 9, 8, 7}), {}, 0, false, false, "cmd Failed 07");
    addSetRow("0BH", [](Hid_Thread &h) { h.hid_0BH_SetCurrentDPIStage(3); }, QByteArray::fromHex("0b030000000000f1"), {}, 0,
              true, false, "cmd Failed 0B");
    addSetRow("0DH", [](Hid_Thread &h) { h.hid_0DH_SetRGBLedEffect(6, 200, 3); }, commandBlock({0x0D, 6, 200, 3}), {}, 0,
              true, false, "cmd Failed 0D");
    addSetRow(
        "10H palette",
        [](Hid_Thread &h) {
            QByteArray src24 = pattern(24, 0x10);
            h.hid_10H_SetLED8StageColor(0, raw(src24));
        },
        commandBlock({0x10, 0, 24}), pattern(24, 0x10), 1, true, false, "cmd Failed 10");
    // Type 2 sends only the 4 packed bytes: the rest of the caller's 24 stays home.
    addSetRow(
        "10H colour ids",
        [](Hid_Thread &h) {
            QByteArray src24 = pattern(24, 0x10);
            h.hid_10H_SetLED8StageColor(2, raw(src24));
        },
        commandBlock({0x10, 2, 4}), pattern(4, 0x10), 1, true, false, "cmd Failed 10");
    addSetRow(
        "11H",
        [](Hid_Thread &h) {
            QByteArray src8 = pattern(8, 0x20);
            h.hid_11H_SetDPISet(6, raw(src8));
        },
        commandBlock({0x11, 6, 8}), pattern(8, 0x20), 1, true, false, "cmd Failed 11");
    addSetRow(
        "12H",
        [](Hid_Thread &h) {
            QByteArray src64 = pattern(64, 0x40);
            h.hid_12H_SetKeyMatrix(raw(src64));
        },
        commandBlock({0x12, 0x01, 0x40, 0x08}), pattern(64, 0x40), 2, true, false, "cmd Failed 12");
    addSetRow(
        "13H",
        [](Hid_Thread &h) {
            QByteArray src128 = pattern(128, 0x80);
            h.hid_13H_SetMacroKey(kMacroId, raw(src128));
        },
        commandBlock({0x13, kMacroId, 0x80}), pattern(128, 0x80), 4, true, false, "cmd Failed 13");
}

void TestMouseCommands::getRows()
{
    addGetColumns();
    const uchar s = kSeed;
    addGetRow(
        "80H",
        [](Hid_Thread &h, uchar) {
            QString version = "previous";
            h.hid_80H_GetFWVersion(version);
            return version.toLatin1();
        },
        commandBlock({0x80}), 0, "1b.05", "unknown", "previous");
    addGetRow(
        "81H",
        [](Hid_Thread &h, uchar seed) {
            uchar rate = seed;
            h.hid_81H_GetReportRate(rate);
            return bytes({rate});
        },
        commandBlock({0x81}), 0, bytes({4}), bytes({s}), bytes({s}));
    addGetRow(
        "82H",
        [](Hid_Thread &h, uchar seed) {
            uchar profile = seed;
            h.hid_82H_GetCurrentProfile(profile);
            return bytes({profile});
        },
        commandBlock({0x82}), 0, bytes({7}), bytes({s}), bytes({s}));
    addGetRow(
        "83H",
        [](Hid_Thread &h, uchar seed) {
            uchar type = seed, option1 = seed, option2 = seed;
            h.hid_83H_GetFunctionOption(type, option1, option2);
            return bytes({type, option1, option2});
        },
        commandBlock({0x83}), 0, bytes({3, 0xC1, 0x22}), bytes({0, 0, 0}), bytes({s, s, s}));
    addGetRow(
        "87H",
        [](Hid_Thread &h, uchar seed) {
            uchar option1 = seed, option2 = seed, option3 = seed;
            const bool answered = h.hid_87H_GetLEDInstructFunction(kLedType, option1, option2, option3);
            return bytes({answered, option1, option2, option3});
        },
        commandBlock({0x87, kLedType}), 0, bytes({1, 9, 8, 7}), bytes({0, s, s, s}), bytes({0, s, s, s}));
    addGetRow(
        "8BH",
        [](Hid_Thread &h, uchar seed) {
            uchar stage = seed;
            h.hid_8BH_GetCurrentDPIStage(stage);
            return bytes({stage});
        },
        commandBlock({0x8B}), 0, bytes({5}), bytes({0}), bytes({s}));
    addGetRow(
        "8DH",
        [](Hid_Thread &h, uchar seed) {
            uchar effect = seed, option1 = seed, option2 = seed;
            h.hid_8DH_GetRGBLedEffect(effect, option1, option2);
            return bytes({effect, option1, option2});
        },
        commandBlock({0x8D}), 0, bytes({6, 200, 3}), bytes({0, 0, 0}), bytes({s, s, s}));
    addGetRow(
        "90H palette",
        [](Hid_Thread &h, uchar seed) {
            QByteArray src24 = filled(24, seed);
            h.hid_90H_GetLED8StageColor(0, raw(src24));
            return src24;
        },
        commandBlock({0x90, 0}), 1, kStageColors, filled(24, s), filled(24, s));
    addGetRow(
        "90H colour ids",
        [](Hid_Thread &h, uchar seed) {
            QByteArray src24 = filled(24, seed);
            h.hid_90H_GetLED8StageColor(2, raw(src24));
            return src24;
        },
        commandBlock({0x90, 2}), 1, kColorIds + filled(20, s), filled(24, s), filled(24, s));
    addGetRow(
        "91H",
        [](Hid_Thread &h, uchar seed) {
            uchar maxStage = seed;
            QByteArray src8 = filled(8, seed);
            const bool answered = h.hid_91H_GetDPISet(maxStage, raw(src8));
            return bytes({answered, maxStage}) + src8;
        },
        commandBlock({0x91}), 1, bytes({1, 6}) + kDpiCodes, bytes({0, s}) + filled(8, s), bytes({0, s}) + filled(8, s));
    addGetRow(
        "92H",
        [](Hid_Thread &h, uchar seed) {
            QByteArray src64 = filled(64, seed);
            h.hid_92H_GetKeyMatrix(raw(src64));
            return src64;
        },
        commandBlock({0x92, 0x01}), 2, kKeyMatrix, filled(64, s), filled(64, s));
    addGetRow(
        "93H",
        [](Hid_Thread &h, uchar seed) {
            QByteArray src128 = filled(128, seed);
            h.hid_93H_GetMacroKey(kMacroId, raw(src128));
            return src128;
        },
        commandBlock({0x93, kMacroId}), 4, kMacro, filled(128, s), filled(128, s));
}

void TestMouseCommands::firmwareVersionText_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("text");
    QTest::newRow("one digit, minor below 0x10") << 0x01 << 0x0A << "1.0A";
    QTest::newRow("two digits") << 0x1B << 0x05 << "1b.05";
    QTest::newRow("zeros") << 0x00 << 0x00 << "0.00";
    QTest::newRow("largest") << 0xFF << 0xFF << "ff.FF";
}

void TestMouseCommands::firmwareVersionText()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(QString, text);
    rig.bus().withMouse([&](vhid::MouseMemory &m) {
        m.firmware[0] = std::uint8_t(major);
        m.firmware[1] = std::uint8_t(minor);
    });
    QString version;
    rig.hid.hid_80H_GetFWVersion(version);
    QCOMPARE(version, text);
}

// The device stops sending during the data phase: the caller keeps its own bytes wherever no
// report arrived, and 91H tells the failure and leaves both outputs alone.
void TestMouseCommands::dataPhaseStopsShort_data()
{
    QTest::addColumn<int>("reportsBeforeStall");
    QTest::addColumn<GetCall>("call");
    QTest::addColumn<QByteArray>("expected");
    const uchar s = kSeed;
    const GetCall macro = [](Hid_Thread &h, uchar seed) {
        QByteArray src128 = filled(128, seed);
        h.hid_93H_GetMacroKey(kMacroId, raw(src128));
        return src128;
    };
    const GetCall dpiSet = [](Hid_Thread &h, uchar seed) {
        uchar maxStage = seed;
        QByteArray src8 = filled(8, seed);
        const bool answered = h.hid_91H_GetDPISet(maxStage, raw(src8));
        return bytes({answered, maxStage}) + src8;
    };
    QTest::newRow("93H, nothing arrives") << 0 << macro << filled(128, s);
    QTest::newRow("93H, one of four arrives") << 1 << macro << kMacro.left(32) + filled(96, s);
    QTest::newRow("93H, three of four arrive") << 3 << macro << kMacro.left(96) + filled(32, s);
    QTest::newRow("91H, reply but no data") << 0 << dpiSet << bytes({0, s}) + filled(8, s);
}

void TestMouseCommands::dataPhaseStopsShort()
{
    QFETCH(int, reportsBeforeStall);
    QFETCH(GetCall, call);
    QFETCH(QByteArray, expected);
    vhid::Faults stalls;
    stalls.dataReportsBeforeStall = reportsBeforeStall;
    rig.bus().setFaults(vhid::Model::Mouse, stalls);
    QCOMPARE(call(rig.hid, kSeed).toHex(' '), expected.toHex(' '));
    QVERIFY(rig.hid.waitUntilIdle(0));
}

// The second Set waits for the first transfer to give the token back, then sends.
void TestMouseCommands::setsReachDeviceInCallOrder()
{
    rig.hid.hid_0BH_SetCurrentDPIStage(3);
    rig.hid.hid_01H_SetReportRate(1);
    rig.hid.hid_0BH_SetCurrentDPIStage(4);
    QVERIFY(rig.hid.waitUntilIdle(10000));
    const std::vector<vhid::Record> sends = rig.commandRecords(vhid::Op::SendFeature);
    QCOMPARE(int(sends.size()), 3);
    QCOMPARE(toVector(commandBlock({0x0B, 3})), sends[0].plainBlock);
    QCOMPARE(toVector(commandBlock({0x01, 1})), sends[1].plainBlock);
    QCOMPARE(toVector(commandBlock({0x0B, 4})), sends[2].plainBlock);
    // Each waited out the settle pause of the one before.
    QVERIFY(msBetween(sends[0].at, sends[1].at) >= kPauseThresholdMs);
    QVERIFY(msBetween(sends[1].at, sends[2].at) >= kPauseThresholdMs);
    uchar stage = 0;
    rig.hid.hid_8BH_GetCurrentDPIStage(stage);
    QCOMPARE(int(stage), 4);
}

// A caller that passes no buffer gets the command's failure text and nothing is sent.
void TestMouseCommands::missingBufferIsRefused()
{
    QTest::ignoreMessage(QtDebugMsg, "cmd Failed 12");
    rig.hid.hid_12H_SetKeyMatrix(nullptr);
    QTest::ignoreMessage(QtDebugMsg, "cmd Failed");
    uchar maxStage = kSeed;
    QVERIFY(!rig.hid.hid_91H_GetDPISet(maxStage, nullptr));
    QCOMPARE(maxStage, kSeed);
    QVERIFY(rig.hid.waitUntilIdle(0));
    QCOMPARE(rig.commandTraffic(), 0);
}

QTEST_GUILESS_MAIN(TestMouseCommands)
#include "tst_mouse_commands.moc"
