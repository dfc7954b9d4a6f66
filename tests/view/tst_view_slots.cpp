// The view as the scene sees it: the slot catalogue in meta-object order, calls by name, and
// values crossing the script boundary, end to end to the profile file and the device bytes.
#include "controller/ProfileStore.h"
#include "controller/myQQuickView.h"
#include "device/Catalogue.h"
#include "device/DeviceState.h"
#include "device/Hid_Thread.h"
#include "tests/support/ModulesSandbox.h"
#include "tests/support/ProvenDevice.h"
#include "tests/support/RecordingPrompts.h"
#include "virtual/VirtualBus.h"

#include <QMetaMethod>
#include <QQmlContext>
#include <QQmlExpression>
#include <QSettings>
#include <QtTest>
#include <memory>

namespace {

// The contract with the scene: every slot, in meta-object order, with its result type.
const char *const kSlotCatalogue[] = {
    "void syncFW()", "void initUI()", "void runUI()", "void setEnableAudio(bool)",
    "void playMedia_Index(uchar)", "void playMedia_Background()", "void clearAllMedia()",
    "void saveApConfig(QVariantList)", "QVariantList loadApConfig()", "QVariantList loadDeviceApConfig()",
    "void resetApconfig()", "bool getIsSkinShow()", "QVariantList loadDefaultProfile(uchar)",
    "void loadProfile(int)", "void saveProfile(int)", "void resetProfile(int)",
    "void loadMacroIniFromFile(QVariant)", "void saveMacroIniToFile(QVariant)",
    "void renameMacroIniFile(QVariant,QVariant)", "QString getCustomFilePath()",
    "QVariantMap chkLanguages()", "QStringList getGlobalStrings(QString)",
    "QStringList getProductLayoutStrings_W3(QString)", "QVariant createMacroIni()",
    "QVariant deleteMacroIni(QVariant)", "QStringList getMacroIniNames()",
    "QVariant saveMacroIni(QVariant,QStringList)", "QStringList loadMacroIni(QVariant)",
    "QVariantList loadMacroIniConfig(QVariant)", "void setMacroIniConfig(QVariant,QVariantList)",
    "QVariantList getKeydefine(QVariant)", "QList<uchar> macroIncode(QStringList)",
    "void ui_01H_SetReportRate(uchar)", "void ui_02H_SetCurrentProfile(int)",
    "void ui_03H_SetKeyboardoption(uchar,uchar,uchar,uchar)",
    "void ui_04H_SetButtonSensitivity(uchar,uchar,uchar,uchar)",
    "void ui_07H_SetControlIndicatorLight(uchar,uchar)",
    "void ui_08H_SetLEDType(uchar,uchar,uchar,uchar,uchar,uchar)", "void ui_09H_SetKeyboardMode(uchar)",
    "void ui_0DH_SetKeyMatrix(QVariantList)", "void ui_0EH_SetKeyOnOff(QVariantList)",
    "void ui_11H_SetMacroKey(QVariant,QVariant)", "void ui_12H_SetUserPicture(uchar,uchar,QVariantList)",
    "void ui_13H_SetRecoveryData()", "void ui_14H_SetColor(uchar,uchar,uchar,uchar)",
    "QString ui_80H_GetFWVersion()", "QVariant ui_81H_GetReportRate()", "QVariant ui_82H_GetCurrentProfile()",
    "QVariantList ui_83H_GetKeyboardoption()", "QVariantList ui_84H_GetButtonSensitivity()",
    "QVariantList ui_88H_GetLEDType()", "QVariant ui_89H_GetKeyboardMode()", "QVariantList ui_8DH_GetKeyMatrix()",
    "QVariantList ui_8EH_GetKeyOnOff()", "QVariantList ui_91H_GetMacroKey(uchar)",
    "QVariantList ui_92H_GetUserPicture(uchar)", "QVariantList ui_94H_GetColor(uchar)",
    "QVariant getSensorType()", "bool chkIsLogoLedWork()", "bool getMsgAns_FoolProofing()",
    "void setScrollPinSwap(bool)", "void setAcceleration(bool)", "void setCursorSpeed(uint)",
    "void setVerticalScrollLines(uint)", "void setDoubleClickSpeed(uint)",
    "void ui_0BH_SetCurrentDPIStage(uchar)", "void ui_0DH_SetRGBLedEffect(uchar,uchar,uchar,QVariantList)",
    "void ui_10H_SetLED8StageColor(uchar,QVariantList)",
    "void ui_11H_SetDPISet(uchar,QVariantList,QVariantList)", "void ui_12H_SetKeyMatrix(QVariantList)",
    "void ui_13H_SetMacroKey(QVariant,QVariant)", "bool getScrollPinSwap()", "bool getAcceleration()",
    "uint getCursorSpeed()", "uint getVerticalScrollLines()", "uint getDoubleClickSpeed()",
    "QVariant ui_8BH_GetCurrentDPIStage()", "QVariantList ui_8DH_GetRGBLedEffect()",
    "QVariantList ui_90H_GetLED8StageColor(uchar)", "uchar ui_91H_SyncDPI()", "QVariantList ui_91H_GetDPISet()",
    "QVariantList ui_92H_GetKeyMatrix()", "QVariantList ui_93H_GetMacroKey(uchar)",
};

std::vector<std::uint8_t> lastPlainBlock(std::uint8_t code)
{
    std::vector<std::uint8_t> found;
    for (const vhid::Record &record : vhid::Bus::instance().records())
        if (record.op == vhid::Op::SendFeature && !record.plainBlock.empty() && record.plainBlock[0] == code)
            found = record.plainBlock;
    return found;
}

}  // namespace

class TestViewSlots : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        sandbox = std::make_unique<ModulesSandbox>();
        prompts = std::make_unique<RecordingPrompts>();
        hid = std::make_unique<Hid_Thread>();
        testsupport::plugProvenDevice(*hid);
        view = std::make_unique<myQQuickView>();
        view->setHidThread(hid.get());
        view->rootContext()->setContextProperty("ui_View", view.get());
        view->setSource(QUrl("qrc:modules/qml/main.qml"));
    }
    void cleanup()
    {
        hid->waitUntilIdle(3000);
        view.reset();
        hid.reset();
        prompts.reset();
        sandbox.reset();
    }

    // The scene sees the view's own members only as the catalogue: no further slot, no signal
    // and no property of its own (what else the scene uses lives on the page units).
    void slotsFollowTheCatalogueInOrder()
    {
        const QMetaObject *meta = view->metaObject();
        QStringList declaredSlots;
        QStringList declaredSignals;
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
            const QMetaMethod method = meta->method(i);
            const QString signature = QString(method.typeName()) + " " + QString(method.methodSignature());
            if (method.methodType() == QMetaMethod::Slot)
                declaredSlots << signature;
            else if (method.methodType() == QMetaMethod::Signal)
                declaredSignals << signature;
        }
        QStringList expected;
        for (const char *signature : kSlotCatalogue)
            expected << signature;
        QCOMPARE(declaredSlots.size(), 83);
        QCOMPARE(declaredSlots, expected);
        QCOMPARE(declaredSignals, QStringList());
        QCOMPARE(meta->propertyCount() - meta->propertyOffset(), 0);
    }

    void aSetterCalledByNameWritesTheProfileThenTheDevice()
    {
        QVERIFY(QMetaObject::invokeMethod(view.get(), "ui_0BH_SetCurrentDPIStage", Q_ARG(uchar, 3)));
        QVERIFY(hid->waitUntilIdle(3000));
        view->profiles().current().sync();
        QSettings file("./modules/setting/p1.bin", QSettings::IniFormat);
        QCOMPARE(file.value("sensor/stage_W3").toString(), QString("3"));
        const std::vector<std::uint8_t> expected = {0x0B, 0x03, 0, 0, 0, 0, 0, 0xF1};
        QCOMPARE(lastPlainBlock(0x0B), expected);

        QVariant stage;
        QVERIFY(QMetaObject::invokeMethod(view.get(), "ui_8BH_GetCurrentDPIStage", Q_RETURN_ARG(QVariant, stage)));
        QCOMPARE(stage.toInt(), 3);
    }

    void switchingProfilesRedirectsWritesAndSendsNothingToTheMouse()
    {
        QVERIFY(QMetaObject::invokeMethod(view.get(), "ui_02H_SetCurrentProfile", Q_ARG(int, 3)));
        QVERIFY(QMetaObject::invokeMethod(view.get(), "ui_01H_SetReportRate", Q_ARG(uchar, 2)));
        QVERIFY(hid->waitUntilIdle(3000));
        view->profiles().current().sync();
        QCOMPARE(QSettings("./modules/setting/p4.bin", QSettings::IniFormat).value("sensor/reportRate_W3").toString(),
                 QString("2"));
        QVERIFY(lastPlainBlock(0x02).empty());
        QCOMPARE(lastPlainBlock(0x01).at(1), std::uint8_t(2));
    }

    // The scene calls with script values: arrays, numbers and strings.
    void scriptArraysReachTheProfileAndTheDevice()
    {
        QQmlExpression set(view->rootContext(), nullptr,
                           "var m = []; for (var i = 0; i < 64; ++i) m.push(i % 4 === 0 ? 1 : i + 256);"
                           "ui_View.ui_12H_SetKeyMatrix(m)");
        set.evaluate();
        QVERIFY2(!set.hasError(), qPrintable(set.error().toString()));
        QVERIFY(hid->waitUntilIdle(3000));

        QQmlExpression get(view->rootContext(), nullptr, "ui_View.getKeydefine(2)");
        const QVariantList key2 = get.evaluate().toList();
        QCOMPARE(key2, (QVariantList{1, 265, 266, 267}));

        std::vector<std::uint8_t> matrix;
        vhid::Bus::instance().withMouse([&](vhid::MouseMemory &memory) { matrix = memory.keyMatrix; });
        QCOMPARE(int(matrix.size()), 64);
        QCOMPARE(int(matrix[9]), (9 + 256) & 0xFF);  // low 8 bits of the script number
    }

    void aByteListResultReachesTheScene()
    {
        QQmlExpression encode(view->rootContext(), nullptr,
                              "ui_View.macroIncode(['A    [Down]', '100   [Delay]', 'A      [Up]', '3000   [Delay]'])");
        const QVariant result = encode.evaluate();
        QVERIFY2(!encode.hasError(), qPrintable(encode.error().toString()));
        QList<int> bytes;
        for (const QVariant &byte : result.toList())
            bytes << byte.toInt();
        QCOMPARE(bytes, (QList<int>{0x00, 0x01, 0x0A, 0x04, 0x81, 0x04, 0x96, 0x01, 0x00, 0x00}));
    }

    void macroNamesFromTheSceneReachTheLibrary()
    {
        QQmlExpression create(view->rootContext(), nullptr, "ui_View.createMacroIni()");
        const QString name = create.evaluate().toString();
        QCOMPARE(name, QString("Macro. 001"));
        QQmlExpression save(view->rootContext(), nullptr,
                            "ui_View.saveMacroIni('Macro. 001', ['A    [Down]', 'A      [Up]'])");
        QVERIFY(save.evaluate().toBool());
        QQmlExpression load(view->rootContext(), nullptr, "ui_View.loadMacroIni('Macro. 001')");
        QCOMPARE(load.evaluate().toStringList(), (QStringList{"A    [Down]", "A      [Up]"}));
    }

    void syncFWLeavesTheProfileAloneForTheMouse()
    {
        view->syncFW();
        view->profiles().current().sync();
        QVERIFY(!QSettings("./modules/setting/p1.bin", QSettings::IniFormat).childGroups().contains("userPicture"));
    }

private:
    std::unique_ptr<ModulesSandbox> sandbox;
    std::unique_ptr<RecordingPrompts> prompts;
    std::unique_ptr<Hid_Thread> hid;
    std::unique_ptr<myQQuickView> view;
};

QTEST_MAIN(TestViewSlots)
#include "tst_view_slots.moc"
