// The keyboard operations: profile entries on disk and the bytes the virtual keyboard
// receives. The scan searches only catalogue position 1, so the keyboard is reached by a
// catalogue that lists it there; the device-id branches run with the id set directly.
#include "controller/ControllerContext.h"
#include "controller/KeyboardOperations.h"
#include "controller/MouseOperations.h"
#include "controller/ProfileStore.h"
#include "device/DeviceState.h"
#include "tests/device/DeviceRig.h"
#include "tests/support/ModulesSandbox.h"
#include "SettingsFiles.h"

#include <QtTest>
#include <memory>

using namespace settingsfiles;

namespace {

const QString kProfile1 = "./modules/setting/p1.bin";

QVariantList numbers(int count, int start = 0)
{
    QVariantList list;
    for (int i = 0; i < count; ++i)
        list << (start + i) % 256;
    return list;
}

Bytes receivedPayload()
{
    Bytes payload;
    for (const vhid::Record &record : recordsOf(Op::Write, Model::Keyboard))
        payload.insert(payload.end(), record.bytes.begin() + 1, record.bytes.end());
    return payload;
}

}  // namespace

class TestKeyboardOperations : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void ledType();
    void color();
    void userPictureStoreOnly();
    void userPictureSent();
    void keyMatrix();
    void keyOnOff();
    void plainSets();
    void deviceReads();
    void profileGettersWhenEmpty();
    void syncFWCopiesPicturesOnlyForKeyboard();
    void sharedSlotsBranchOnDeviceId();

private:
    void settle() { QVERIFY(rig->hid->waitUntilIdle(5000)); }

    std::unique_ptr<ModulesSandbox> sandbox;
    std::unique_ptr<DeviceRig> rig;
    std::unique_ptr<ProfileStore> profiles;
    ControllerContext context;
    std::unique_ptr<KeyboardOperations> keyboard;
};

void TestKeyboardOperations::init()
{
    sandbox = std::make_unique<ModulesSandbox>();
    resetDeviceState();
    vhid::Bus::instance().reset();
    vhid::Bus::instance().plug(Model::Keyboard);
    rig = std::make_unique<DeviceRig>();
    QList<CatalogEntry> catalogue = compiledCatalogue();
    catalogue[1] = catalogue[0];
    rig->detect(catalogue, readCatalogue(kCataloguePath, {}).isEncode);
    QVERIFY(deviceReady);
    settle();
    vhid::Bus::instance().clearRecords();
    profiles = std::make_unique<ProfileStore>();
    context.hidThread = rig->hid.get();
    keyboard = std::make_unique<KeyboardOperations>(context, *profiles);
}

void TestKeyboardOperations::cleanup()
{
    keyboard.reset();
    rig.reset();
    profiles.reset();
    sandbox.reset();
}

void TestKeyboardOperations::ledType()
{
    keyboard->ui_08H_SetLEDType(1, 2, 3, 4, 5, 6);
    profiles->current().sync();
    QCOMPARE(entry(kProfile1, "color", "ledType"), QString("2, 3, 4, 5, 6"));
    QCOMPARE(keyboard->ui_88H_GetLEDType(), (QVariantList{"2", "3", "4", "5", "6"}));
    settle();
    QCOMPARE(firstCommand(Model::Keyboard, 0x08).plainBlock, commandBlock({0x08, 1, 2, 3, 4, 5, 6}));
}

void TestKeyboardOperations::color()
{
    keyboard->ui_14H_SetColor(7, 255, 0, 0);
    profiles->current().sync();
    QCOMPARE(entry(kProfile1, "color", "7"), QString("255, 0, 0"));
    QCOMPARE(keyboard->ui_94H_GetColor(7), (QVariantList{"255", "0", "0"}));
    settle();
    QCOMPARE(firstCommand(Model::Keyboard, 0x14).plainBlock, commandBlock({0x14, 0, 7, 255, 0, 0}));
}

void TestKeyboardOperations::userPictureStoreOnly()
{
    keyboard->ui_12H_SetUserPicture(2, 255, numbers(512));
    profiles->current().sync();
    QVERIFY(entry(kProfile1, "userPicture", "2").startsWith("0, 1, 2, 3"));
    QCOMPARE(keyboard->ui_92H_GetUserPicture(2).size(), 512);
    settle();
    QVERIFY(recordsOf(Op::SendFeature, Model::Keyboard).empty());
}

void TestKeyboardOperations::userPictureSent()
{
    keyboard->ui_12H_SetUserPicture(4, 1, numbers(512, 3));
    settle();
    QCOMPARE(firstCommand(Model::Keyboard, 0x12).plainBlock, commandBlock({0x12, 0, 4, 8, 1}));
    const Bytes payload = receivedPayload();
    QCOMPARE(payload.size(), size_t(512));
    QCOMPARE(int(payload[0]), 3);
    QCOMPARE(int(payload[511]), (511 + 3) % 256);
}

void TestKeyboardOperations::keyMatrix()
{
    keyboard->ui_0DH_SetKeyMatrix(numbers(512));
    profiles->current().sync();
    const QStringList keys = section(kProfile1, "keydefine");
    QCOMPARE(keys.size(), 126);
    QCOMPARE(entry(kProfile1, "keydefine", "125"), QString("244, 245, 246, 247"));
    QVERIFY(entry(kProfile1, "keydefine", "126").isNull());
    settle();
    QCOMPARE(firstCommand(Model::Keyboard, 0x0D).plainBlock, commandBlock({0x0D, 0, 0, 8}));
    const Bytes payload = receivedPayload();
    QCOMPARE(payload.size(), size_t(512));
    QCOMPARE(int(payload[511]), 255);
    QCOMPARE(recordsOf(Op::Write, Model::Keyboard).size(), size_t(8));
}

void TestKeyboardOperations::keyOnOff()
{
    keyboard->ui_0EH_SetKeyOnOff(numbers(30, 1));  // extra items are ignored
    settle();
    QCOMPARE(firstCommand(Model::Keyboard, 0x0E).plainBlock, commandBlock({0x0E, 0, 0, 0x15}));
    Bytes expected(64, 0);
    for (int i = 0; i < 21; ++i)
        expected[size_t(i)] = std::uint8_t(i + 1);
    QCOMPARE(receivedPayload(), expected);
}

void TestKeyboardOperations::plainSets()
{
    keyboard->ui_03H_SetKeyboardoption(1, 2, 3, 4);
    keyboard->ui_04H_SetButtonSensitivity(5, 6, 7, 8);
    keyboard->ui_07H_SetControlIndicatorLight(9, 10);
    keyboard->ui_09H_SetKeyboardMode(2);
    keyboard->ui_13H_SetRecoveryData();
    settle();
    QCOMPARE(receivedCodes(Model::Keyboard), (Bytes{0x03, 0x04, 0x07, 0x09, 0x13}));
    QCOMPARE(firstCommand(Model::Keyboard, 0x03).plainBlock, commandBlock({0x03, 1, 2, 3, 4}));
    QCOMPARE(firstCommand(Model::Keyboard, 0x04).plainBlock, commandBlock({0x04, 5, 6, 7, 8}));
    QCOMPARE(firstCommand(Model::Keyboard, 0x07).plainBlock, commandBlock({0x07, 9, 10}));
    QCOMPARE(firstCommand(Model::Keyboard, 0x09).plainBlock, commandBlock({0x09, 2}));
    QCOMPARE(firstCommand(Model::Keyboard, 0x13).plainBlock, commandBlock({0x13, 0xFF}));
}

void TestKeyboardOperations::deviceReads()
{
    std::vector<std::uint8_t> matrix(512), macro(192);
    for (size_t i = 0; i < matrix.size(); ++i)
        matrix[i] = std::uint8_t(i * 7);
    for (size_t i = 0; i < macro.size(); ++i)
        macro[i] = std::uint8_t(i + 1);
    vhid::Bus::instance().withKeyboard([&](vhid::KeyboardMemory &k) {
        k.profile = 6;
        std::copy_n(std::vector<std::uint8_t>{11, 12, 13, 14}.begin(), 4, k.options);
        std::copy_n(std::vector<std::uint8_t>{21, 22, 23, 24}.begin(), 4, k.sensitivity);
        k.mode = 3;
        k.keyMatrix = matrix;
        k.keyOnOff = std::vector<std::uint8_t>(21, 0x5A);
        k.macros[2] = macro;
        k.firmware[0] = 0x1B;
        k.firmware[1] = 0x05;
    });
    QCOMPARE(keyboard->ui_82H_GetCurrentProfile(), QVariant(6));
    QCOMPARE(keyboard->ui_83H_GetKeyboardoption(), (QVariantList{11, 12, 13, 14}));
    QCOMPARE(keyboard->ui_84H_GetButtonSensitivity(), (QVariantList{21, 22, 23, 24}));
    QCOMPARE(keyboard->ui_89H_GetKeyboardMode(), QVariant(3));
    const QVariantList readMatrix = keyboard->ui_8DH_GetKeyMatrix();
    QCOMPARE(readMatrix.size(), 512);
    QCOMPARE(readMatrix.at(511), QVariant(int(std::uint8_t(511 * 7))));
    const QVariantList onOff = keyboard->ui_8EH_GetKeyOnOff();
    QCOMPARE(onOff.size(), 21);
    QCOMPARE(onOff.at(20), QVariant(0x5A));
    const QVariantList readMacro = keyboard->ui_91H_GetMacroKey(2);
    QCOMPARE(readMacro.size(), 192);
    QCOMPARE(readMacro.at(191), QVariant(192));
    QCOMPARE(keyboard->ui_80H_GetFWVersion(), QString("1b.05"));

    vhid::Bus::instance().unplug(Model::Keyboard);
    QCOMPARE(keyboard->ui_80H_GetFWVersion(), QString("unknown"));
    const QVariantList nothing = keyboard->ui_8EH_GetKeyOnOff();
    QCOMPARE(nothing.size(), 21);
    QVERIFY(std::all_of(nothing.begin(), nothing.end(), [](const QVariant &v) { return v.toInt() == 0; }));
}

void TestKeyboardOperations::profileGettersWhenEmpty()
{
    QVERIFY(keyboard->ui_88H_GetLEDType().isEmpty());
    QVERIFY(keyboard->ui_92H_GetUserPicture(0).isEmpty());
    QVERIFY(keyboard->ui_94H_GetColor(3).isEmpty());
}

void TestKeyboardOperations::syncFWCopiesPicturesOnlyForKeyboard()
{
    // Device id 1 is in use (the catalogue lists the keyboard there, the id says mouse).
    keyboard->syncFW();
    profiles->current().sync();
    QVERIFY(section(kProfile1, "userPicture").isEmpty());

    // Device id 0: the keyboard entry, which the scan never finds; the reads deliver nothing
    // and the five pictures arrive as zeros.
    rig->hid->swichCurDevice(0);
    QCOMPARE(context.deviceId(), 0u);
    keyboard->syncFW();
    profiles->current().sync();
    const QStringList pictures = section(kProfile1, "userPicture");
    QCOMPARE(pictures.size(), 5);
    for (int i = 0; i < 5; ++i) {
        const QVariantList picture = keyboard->ui_92H_GetUserPicture(uchar(i));
        QCOMPARE(picture.size(), 512);
        QCOMPARE(picture.at(0).toInt(), 0);
    }
}

void TestKeyboardOperations::sharedSlotsBranchOnDeviceId()
{
    MouseOperations shared(context, *profiles);
    profiles->current().setValue("keydefine/5", QVariantList{0, 4, 0, 0});
    // Device id 1 reads the mouse entry: the shipped "DPI +" assignment.
    QCOMPARE(shared.getKeydefine(5), (QVariantList{"7", "0", "1", "0"}));

    rig->hid->swichCurDevice(0);
    QCOMPARE(shared.getKeydefine(5), (QVariantList{"0", "4", "0", "0"}));
    // The keyboard's report rate is not stored in the profile; its profile switch is sent.
    shared.ui_01H_SetReportRate(4);
    QCOMPARE(profiles->current().value("sensor/reportRate_W3").toInt(), 2);
    shared.ui_02H_SetCurrentProfile(5);
    QCOMPARE(profiles->currentProfile(), 5);
}

QTEST_MAIN(TestKeyboardOperations)
#include "tst_keyboard_operations.moc"
