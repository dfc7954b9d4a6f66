// The mouse operations on the virtual mouse: the profile file on disk and the bytes the
// mouse receives after each setter, the getters, profile switching and the wheel swap.
#include "controller/ControllerContext.h"
#include "controller/MouseOperations.h"
#include "controller/ProfileStore.h"
#include "device/DeviceState.h"
#include "device/Scrambler.h"
#include "tests/device/DeviceRig.h"
#include "tests/support/ModulesSandbox.h"
#include "tests/support/RecordingPrompts.h"
#include "SettingsFiles.h"

#include <QtTest>
#include <memory>

using namespace settingsfiles;

namespace {

const QString kProfile1 = "./modules/setting/p1.bin";
const QString kProfile4 = "./modules/setting/p4.bin";

QVariantList numbers(int count, int start = 0)
{
    QVariantList list;
    for (int i = 0; i < count; ++i)
        list << start + i;
    return list;
}

QVariantList zeros(int count)
{
    QVariantList list;
    for (int i = 0; i < count; ++i)
        list << 0;
    return list;
}

// Payload bytes of the data reports the mouse received, report IDs removed.
Bytes receivedPayload()
{
    Bytes payload;
    for (const vhid::Record &record : recordsOf(Op::Write, Model::Mouse))
        payload.insert(payload.end(), record.bytes.begin() + 1, record.bytes.end());
    return payload;
}

// Codes of every command block sent to the mouse, also those it refused.
Bytes attemptedCodes()
{
    Bytes codes;
    for (const vhid::Record &record : recordsOf(Op::SendFeature, Model::Mouse)) {
        std::uint8_t plain[8];
        std::copy_n(record.bytes.begin() + 1, 8, plain);
        if (encodeEnabled)
            scrambler::descramble(plain, secrecyCode.data());
        codes.push_back(plain[0]);
    }
    return codes;
}

}  // namespace

class TestMouseOperations : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void reportRate();
    void profileSwitch();
    void keyMatrix();
    void shortKeyMatrixFillsZeros();
    void dpiStage();
    void dpiSet();
    void stageColors_data();
    void stageColors();
    void ledEffect();
    void scrollSwap_data();
    void scrollSwap();
    void scrollSwapNotSentWhenReadFails();
    void emptyProfileDefaults();
    void deviceReads();
    void deviceReadsWithoutMouse();
    void foolProofing();

private:
    void flush() { profiles->current().sync(); }
    void settle() { QVERIFY(rig->hid->waitUntilIdle(3000)); }

    std::unique_ptr<ModulesSandbox> sandbox;
    std::unique_ptr<DeviceRig> rig;
    std::unique_ptr<ProfileStore> profiles;
    ControllerContext context;
    std::unique_ptr<MouseOperations> mouse;
};

void TestMouseOperations::init()
{
    sandbox = std::make_unique<ModulesSandbox>();
    resetDeviceState();
    vhid::Bus::instance().reset();
    vhid::Bus::instance().plug(Model::Mouse);
    rig = std::make_unique<DeviceRig>();
    rig->detect();
    QVERIFY(deviceReady);
    settle();
    vhid::Bus::instance().clearRecords();
    profiles = std::make_unique<ProfileStore>();
    context.hidThread = rig->hid.get();
    mouse = std::make_unique<MouseOperations>(context, *profiles);
}

void TestMouseOperations::cleanup()
{
    mouse.reset();
    rig.reset();
    profiles.reset();
    sandbox.reset();
}

void TestMouseOperations::reportRate()
{
    mouse->ui_01H_SetReportRate(8);
    flush();
    QCOMPARE(entry(kProfile1, "sensor", "reportRate_W3"), QString("8"));
    settle();
    QCOMPARE(firstCommand(Model::Mouse, 0x01).plainBlock, commandBlock({0x01, 8}));
    QCOMPARE(mouse->ui_81H_GetReportRate(), QVariant(8));
}

void TestMouseOperations::profileSwitch()
{
    mouse->ui_02H_SetCurrentProfile(0);  // the profile in use: nothing happens
    mouse->ui_02H_SetCurrentProfile(3);
    QCOMPARE(profiles->currentProfile(), 3);
    mouse->ui_01H_SetReportRate(2);
    profiles->current().setValue("sensor/stage_W3", 6);
    flush();
    QCOMPARE(entry(kProfile4, "sensor", "reportRate_W3"), QString("2"));
    QCOMPARE(entry(kProfile1, "sensor", "stage_W3"), QString("2"));
    mouse->ui_02H_SetCurrentProfile(12);  // no such profile
    QCOMPARE(profiles->currentProfile(), 3);
    settle();
    // The mouse gets no profile command.
    QCOMPARE(receivedCodes(Model::Mouse), Bytes{0x01});
}

void TestMouseOperations::keyMatrix()
{
    const QVariantList codes = numbers(64, 100);
    mouse->ui_12H_SetKeyMatrix(codes);
    flush();
    const QStringList keys = section(kProfile1, "keydefine_W3");
    QCOMPARE(keys.size(), 17);  // 16 keys and scrollswap
    QCOMPARE(entry(kProfile1, "keydefine_W3", "0"), QString("100, 101, 102, 103"));
    QCOMPARE(entry(kProfile1, "keydefine_W3", "15"), QString("160, 161, 162, 163"));
    QCOMPARE(mouse->getKeydefine(7), (QVariantList{"128", "129", "130", "131"}));
    settle();
    QCOMPARE(firstCommand(Model::Mouse, 0x12).plainBlock, commandBlock({0x12, 0x01, 0x40, 0x08}));
    Bytes expected;
    for (int i = 0; i < 64; ++i)
        expected.push_back(std::uint8_t(100 + i));
    QCOMPARE(receivedPayload(), expected);
    QCOMPARE(recordsOf(Op::Write, Model::Mouse).size(), size_t(2));
}

void TestMouseOperations::shortKeyMatrixFillsZeros()
{
    QVariantList codes{1, 0, 0x1F0, 0};  // 0x1F0: the low 8 bits go to the mouse
    codes << QVariant("7") << 0;
    mouse->ui_12H_SetKeyMatrix(codes);
    settle();
    Bytes expected(64, 0);
    expected[0] = 1;
    expected[2] = 0xF0;
    expected[4] = 7;
    QCOMPARE(receivedPayload(), expected);
    QCOMPARE(mouse->getKeydefine(1), (QVariantList{"7", "0", "0", "0"}));
    QCOMPARE(mouse->getKeydefine(15), (QVariantList{"0", "0", "0", "0"}));
}

void TestMouseOperations::dpiStage()
{
    mouse->ui_0BH_SetCurrentDPIStage(3);
    flush();
    QCOMPARE(entry(kProfile1, "sensor", "stage_W3"), QString("3"));
    QCOMPARE(mouse->ui_8BH_GetCurrentDPIStage(), QVariant(3));
    settle();
    QCOMPARE(firstCommand(Model::Mouse, 0x0B).plainBlock, commandBlock({0x0B, 3}));
}

void TestMouseOperations::dpiSet()
{
    const QVariantList values{400, 800, 1600, 0, 0, 0, 0, 0};
    mouse->ui_11H_SetDPISet(5, QVariantList{2, 4, 0x48, 0x80, 0x80}, values);
    flush();
    QCOMPARE(entry(kProfile1, "sensor", "dpi_W3"), QString("400, 800, 1600, 0, 0, 0, 0, 0"));
    QCOMPARE(mouse->ui_91H_GetDPISet(), (QVariantList{"400", "800", "1600", "0", "0", "0", "0", "0"}));
    settle();
    QCOMPARE(firstCommand(Model::Mouse, 0x11).plainBlock, commandBlock({0x11, 5, 8}));
    Bytes expected(32, 0);
    expected[0] = 2;
    expected[1] = 4;
    expected[2] = 0x48;
    expected[3] = 0x80;
    expected[4] = 0x80;
    QCOMPARE(receivedPayload(), expected);
}

void TestMouseOperations::stageColors_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QVariantList>("colors");
    QTest::addColumn<Bytes>("payload");
    QTest::addColumn<QString>("stored");

    Bytes ids(32, 0);
    const std::uint8_t packed[] = {0x10, 0x32, 0x54, 0x76};
    std::copy(packed, packed + 4, ids.begin());
    QTest::newRow("type 2 packs colour ids") << 2 << numbers(8) << ids << "0, 1, 2, 3, 4, 5, 6, 7";

    Bytes palette(32, 0);
    for (int i = 0; i < 24; ++i)
        palette[size_t(i)] = std::uint8_t(i * 10);
    QVariantList list;
    for (int i = 0; i < 24; ++i)
        list << i * 10;
    QString text;
    for (int i = 0; i < 24; ++i)
        text += (i ? ", " : "") + QString::number(i * 10);
    QTest::newRow("type 0 palette") << 0 << list << palette << text;
}

void TestMouseOperations::stageColors()
{
    QFETCH(int, type);
    QFETCH(QVariantList, colors);
    QFETCH(Bytes, payload);
    QFETCH(QString, stored);
    mouse->ui_10H_SetLED8StageColor(uchar(type), colors);
    flush();
    QCOMPARE(entry(kProfile1, "color_W3", "type" + QString::number(type)), stored);
    QVariantList asNumbers;
    for (const QVariant &c : colors)
        asNumbers << c.toUInt();
    QCOMPARE(mouse->ui_90H_GetLED8StageColor(uchar(type)), asNumbers);
    settle();
    QCOMPARE(firstCommand(Model::Mouse, 0x10).plainBlock, commandBlock({0x10, type, type == 2 ? 4 : 24}));
    QCOMPARE(receivedPayload(), payload);
}

void TestMouseOperations::ledEffect()
{
    mouse->ui_0DH_SetRGBLedEffect(3, 200, 7, QVariantList{2, 6, 3});
    flush();
    QCOMPARE(entry(kProfile1, "color_W3", "ledEffect"), QString("2, 6, 3"));
    QCOMPARE(mouse->ui_8DH_GetRGBLedEffect(), (QVariantList{2u, 6u, 3u}));
    QCOMPARE(mouse->ui_8DH_GetRGBLedEffect().at(0).type(), QVariant::UInt);
    settle();
    QCOMPARE(firstCommand(Model::Mouse, 0x0D).plainBlock, commandBlock({0x0D, 3, 200, 7}));
}

void TestMouseOperations::scrollSwap_data()
{
    QTest::addColumn<bool>("swap");
    QTest::addColumn<int>("option1Before");
    QTest::addColumn<int>("option1Sent");
    QTest::newRow("on") << true << 0x80 << 0xC0;
    QTest::newRow("off") << false << 0xC1 << 0x81;
}

void TestMouseOperations::scrollSwap()
{
    QFETCH(bool, swap);
    QFETCH(int, option1Before);
    QFETCH(int, option1Sent);
    vhid::Bus::instance().withMouse([&](vhid::MouseMemory &m) {
        m.sensorType = 3;
        m.functionOption1 = std::uint8_t(option1Before);
        m.functionOption2 = 0x5A;
        m.reportRate = 4;
    });
    mouse->setScrollPinSwap(swap);
    flush();
    QCOMPARE(entry(kProfile1, "keydefine_W3", "scrollswap"), swap ? QString("true") : QString("false"));
    QCOMPARE(mouse->getScrollPinSwap(), swap);
    settle();
    QCOMPARE(receivedCodes(Model::Mouse), (Bytes{0x83, 0x81, 0x03}));
    QCOMPARE(firstCommand(Model::Mouse, 0x03).plainBlock, commandBlock({0x03, 3, 4, option1Sent, 0x5A}));
}

void TestMouseOperations::scrollSwapNotSentWhenReadFails()
{
    vhid::Faults faults;
    faults.refuseFeatureReports = true;
    vhid::Bus::instance().setFaults(Model::Mouse, faults);
    mouse->setScrollPinSwap(true);
    settle();
    QVERIFY(mouse->getScrollPinSwap());
    // Type 0 and rate 0 from a failed read must never be written into the mouse.
    const Bytes codes = attemptedCodes();
    QVERIFY(!codes.empty());
    QVERIFY(std::find(codes.begin(), codes.end(), 0x03) == codes.end());
}

void TestMouseOperations::emptyProfileDefaults()
{
    profiles.reset();
    QVERIFY(QFile::remove(kProfile1));
    profiles = std::make_unique<ProfileStore>();
    mouse = std::make_unique<MouseOperations>(context, *profiles);
    QCOMPARE(mouse->ui_81H_GetReportRate(), QVariant(0));
    QCOMPARE(mouse->ui_8BH_GetCurrentDPIStage(), QVariant(0));
    QVERIFY(mouse->ui_91H_GetDPISet().isEmpty());
    QVERIFY(mouse->ui_90H_GetLED8StageColor(0).isEmpty());
    QVERIFY(mouse->ui_90H_GetLED8StageColor(2).isEmpty());
    QVERIFY(mouse->ui_8DH_GetRGBLedEffect().isEmpty());
    QVERIFY(mouse->getKeydefine(0).isEmpty());
    QVERIFY(!mouse->getScrollPinSwap());
    QVERIFY(!QFile::exists(kProfile1));  // reading creates nothing
}

void TestMouseOperations::deviceReads()
{
    std::vector<std::uint8_t> matrix(64), macro(128);
    for (int i = 0; i < 64; ++i)
        matrix[size_t(i)] = std::uint8_t(255 - i);
    for (int i = 0; i < 128; ++i)
        macro[size_t(i)] = std::uint8_t(i);
    vhid::Bus::instance().withMouse([&](vhid::MouseMemory &m) {
        m.keyMatrix = matrix;
        m.macros[3] = macro;
        m.sensorType = 2;
        m.dpiMaxStage = 5;
        m.ledInstruct[0] = {0, 1, 1};
    });
    const QVariantList readMatrix = mouse->ui_92H_GetKeyMatrix();
    QCOMPARE(readMatrix.size(), 64);
    QCOMPARE(readMatrix.at(0), QVariant(255));
    QCOMPARE(readMatrix.at(63), QVariant(192));
    const QVariantList readMacro = mouse->ui_93H_GetMacroKey(3);
    QCOMPARE(readMacro.size(), 128);
    QCOMPARE(readMacro.at(127), QVariant(127));
    QCOMPARE(mouse->getSensorType(), QVariant(2));
    QCOMPARE(int(mouse->ui_91H_SyncDPI()), 5);
    QVERIFY(mouse->chkIsLogoLedWork());
    vhid::Bus::instance().withMouse([](vhid::MouseMemory &m) { m.ledInstruct[0] = {1, 0, 0}; });
    QVERIFY(!mouse->chkIsLogoLedWork());
}

void TestMouseOperations::deviceReadsWithoutMouse()
{
    vhid::Bus::instance().unplug(Model::Mouse);
    QCOMPARE(mouse->ui_92H_GetKeyMatrix(), zeros(64));
    QCOMPARE(mouse->ui_93H_GetMacroKey(1), zeros(128));
    QCOMPARE(mouse->getSensorType(), QVariant(0));
    QCOMPARE(int(mouse->ui_91H_SyncDPI()), 8);
    QVERIFY(!mouse->chkIsLogoLedWork());
    // Without a device object at all nothing crashes and the same answers come back.
    context.hidThread = nullptr;
    QCOMPARE(int(mouse->ui_91H_SyncDPI()), 8);
    QCOMPARE(mouse->ui_81H_GetReportRate(), QVariant(0));
    mouse->ui_0BH_SetCurrentDPIStage(4);
    QCOMPARE(mouse->ui_8BH_GetCurrentDPIStage(), QVariant(4));
}

void TestMouseOperations::foolProofing()
{
    RecordingPrompts prompts;
    QVERIFY(mouse->getMsgAns_FoolProofing());
    QCOMPARE(prompts.confirmations.at(0).title, QString());  // no language loaded yet
    context.msgStrings = QStringList{"0", "1", "2", "3", "Left button", "Really?"};
    prompts.confirmAnswer = false;
    QVERIFY(!mouse->getMsgAns_FoolProofing());
    QCOMPARE(prompts.confirmations.at(1).title, QString("Left button"));
    QCOMPARE(prompts.confirmations.at(1).text, QString("Really?"));
}

QTEST_MAIN(TestMouseOperations)
#include "tst_mouse_operations.moc"
