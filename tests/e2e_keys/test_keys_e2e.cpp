// The key and macro pages of the real program on the virtual mouse: buttons assigned with
// real mouse clicks on the window and keys from the capture, APPLY, and what reached the
// mouse, the profile and the macro files.
#include "controller/myQQuickView.h"
#include "tests/support/MouseTransfers.h"
#include "tests/support/SceneDriver.h"
#include "virtual/VirtualBus.h"

#include <QQuickItem>
#include <QSettings>
#include <QtTest>

namespace {

constexpr int kKeyPage = 0;
constexpr int kMacroPage = 1;
constexpr int kTimeoutMs = 10000;

constexpr quint8 kKeyA = 0x04;
constexpr quint8 kKeyB = 0x05;
constexpr quint8 kLeftShift = 0xE1;

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values)
        result.append(char(value));
    return result;
}

QString stepLine(const QString &name, const QString &tag) { return name + tag; }
const QString kDown = "    [Down]";
const QString kUp = "      [Up]";
const QString kDelay = "   [Delay]";

void writeMacro(const QString &name, const QStringList &lines)
{
    QSettings file("./modules/macro/" + name + ".bin", QSettings::IniFormat);
    file.setValue("config/index", -1);
    file.setValue("config/total", lines.size());
    file.setValue("config/repeat", 1);
    file.setValue("config/did", -1);
    for (int i = 0; i < lines.size(); ++i)
        file.setValue("macro/" + QString::number(i), lines.at(i));
}

}  // namespace

class KeysEndToEndTest : public QObject {
    Q_OBJECT

private:
    // Opens the page with its function-menu tab, unless it is open already (the key page is
    // open at start).
    bool openPage(SceneDriver &scene, int page)
    {
        const QString name = page == kKeyPage ? "Page_Keydefine" : "Page_Macro";
        if (!scene.waitFor([&] { return scene.property("Menu_Func", "x").toDouble() == 0; }))
            return false;
        if (scene.property("Main_W3", "currentPage").toInt() != page
            && !scene.click("Menu_Func_" + QString::number(page)))
            return false;
        return scene.waitFor([&] {
            return scene.property("Main_W3", "currentPage").toInt() == page && scene.property(name, "x").toDouble() == 0;
        });
    }

    bool chooseFromList(SceneDriver &scene, const QString &list, const QString &row)
    {
        return scene.click(list) && scene.waitForItem(row, kTimeoutMs) && scene.click(row);
    }

    // Position of the first language whose menu name starts with `name`, -1 when none does.
    int languagePosition(SceneDriver &scene, const QString &name)
    {
        const QStringList names = scene.property("Page_Globalsetting", "languageNames").toStringList();
        for (int i = 0; i < names.size(); ++i)
            if (names.at(i).startsWith(name))
                return i;
        return -1;
    }

private slots:
    // Both pages in both skins and in languages of three scripts, saved for review.
    void screenshotsOfBothPages_data()
    {
        QTest::addColumn<int>("skin");
        QTest::addColumn<QString>("language");
        QTest::newRow("skin1_english") << 1 << "ENGLISH";
        QTest::newRow("skin2_russian") << 2 << "RUSSIAN";
        QTest::newRow("skin1_chinese") << 1 << "CHINESE (Simp)";
        QTest::newRow("skin2_english") << 2 << "ENGLISH";
    }

    void screenshotsOfBothPages()
    {
        QFETCH(int, skin);
        QFETCH(QString, language);
        SceneDriver::Options options;
        options.prepare = [](ModulesSandbox &) {
            writeMacro("Burst", {stepLine("L Shift", kDown), stepLine("KP 7 ", kDown), stepLine("1270", kDelay),
                                 stepLine("KP 7 ", kUp), stepLine("L Shift", kUp)});
        };
        SceneDriver scene(options);
        QVERIFY(scene.start());
        const int position = languagePosition(scene, language);
        QVERIFY(position >= 0);
        scene.call("Page_Globalsetting", "setLanguage", {position});
        scene.call("Page_Globalsetting", "setSkin", {skin - 1});
        QVERIFY(openPage(scene, kKeyPage));
        const QString tag = QTest::currentDataTag();

        QVERIFY(scene.click("callout_5"));
        QVERIFY(scene.click("function_4"));
        QVERIFY(chooseFromList(scene, "macroMenu", "macroMenu_list_row0"));
        QVERIFY(!scene.screenshot(tag + "_keys_macro").isEmpty());
        QVERIFY(scene.click("function_5"));
        QVERIFY(!scene.screenshot(tag + "_keys_firekey").isEmpty());
        QVERIFY(scene.click("function_2"));
        QVERIFY(scene.click("mediaMenu"));
        QVERIFY(!scene.screenshot(tag + "_keys_media_open").isEmpty());
        QVERIFY(scene.click("mediaMenu"));

        QVERIFY(openPage(scene, kMacroPage));
        QVERIFY(scene.waitForItem("macroNames_row0"));
        QVERIFY(scene.click("macroNames_row0"));
        QVERIFY(scene.waitForItem("actionList_row2"));
        QVERIFY(scene.click("actionList_row2"));
        QVERIFY(scene.click("copyAction"));
        QVERIFY(scene.click("macroNames_row0", Qt::RightButton));
        QVERIFY(!scene.screenshot(tag + "_macro").isEmpty());
        QVERIFY(scene.click("nameMenu_3"));
    }

    void assignKeyMediaAndMacroThenApply()
    {
        SceneDriver::Options options;
        options.prepare = [](ModulesSandbox &) {
            writeMacro("Burst", {stepLine("B", kDown), stepLine("100", kDelay), stepLine("B", kUp)});
        };
        SceneDriver scene(options);
        QVERIFY(scene.start());
        QVERIFY(openPage(scene, kKeyPage));
        vhid::Bus::instance().clearRecords();

        // Forward button: the keyboard key A, pressed while the field listens.
        QVERIFY(scene.click("callout_4"));
        QVERIFY(scene.click("function_0"));
        QVERIFY(scene.click("keyboardInput"));
        scene.captureKey(kKeyA, true);
        scene.captureKey(kKeyA, false);

        // Backward button: PLAY / PAUSE.
        QVERIFY(scene.click("callout_3"));
        QVERIFY(scene.click("function_2"));
        QVERIFY(chooseFromList(scene, "mediaMenu", "mediaMenu_item3"));

        // DPI up: the macro, which reaches the mouse at once.
        QVERIFY(scene.click("callout_5"));
        QVERIFY(scene.click("function_4"));
        QVERIFY(chooseFromList(scene, "macroMenu", "macroMenu_list_row0"));
        QVERIFY(scene.waitFor([] { return !mouseTransfers(0x13).empty(); }, kTimeoutMs));
        QVERIFY2(mouseTransfers(0x12).empty(), "nothing but the macro before APPLY");

        scene.screenshot("keys_assigned");
        QVERIFY(scene.click("keyApplyButton"));
        QVERIFY2(!scene.view().isEnabled(), "APPLY locks the input for a while");
        QVERIFY(scene.waitFor([] { return !mouseTransfers(0x12).empty(); }, kTimeoutMs));
        QVERIFY(scene.waitUntilUnlocked(kTimeoutMs));

        const Transfer macro = mouseTransfers(0x13).back();
        QCOMPARE(int(macro.block[1]), 1);
        QCOMPARE(macro.data.left(10).toHex(' '), bytes({0x00, 0x01, 0x0A, 0x05, 0x81, 0x05, 0x00, 0x00, 0, 0}).toHex(' '));
        QCOMPARE(macro.data.size(), 128);

        const Transfer matrix = mouseTransfers(0x12).back();
        QCOMPARE(matrix.data.size(), 64);
        QCOMPARE(matrix.data.mid(12, 4).toHex(' '), bytes({0x03, 0, 0xCD, 0}).toHex(' '));
        QCOMPARE(matrix.data.mid(16, 4).toHex(' '), bytes({0x00, 0, kKeyA, 0}).toHex(' '));
        QCOMPARE(matrix.data.mid(20, 4).toHex(' '), bytes({0x09, 0, 0x01, 0}).toHex(' '));
        QCOMPARE(matrix.data.mid(0, 4).toHex(' '), bytes({0x01, 0, 0xF0, 0}).toHex(' '));
        std::vector<std::uint8_t> stored;
        vhid::Bus::instance().withMouse([&](vhid::MouseMemory &memory) { stored = memory.keyMatrix; });
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(stored.data()), int(stored.size())).toHex(' '),
                 matrix.data.toHex(' '));

        QSettings profile("./modules/setting/p1.bin", QSettings::IniFormat);
        QCOMPARE(profile.value("keydefine_W3/4").toStringList(), (QStringList{"0", "0", "4", "0"}));
        QCOMPARE(profile.value("keydefine_W3/3").toStringList(), (QStringList{"3", "0", "205", "0"}));
        QCOMPARE(profile.value("keydefine_W3/5").toStringList(), (QStringList{"9", "0", "1", "0"}));
        QSettings burst("./modules/macro/Burst.bin", QSettings::IniFormat);
        QCOMPARE(burst.value("config/index").toInt(), 0);
        QCOMPARE(burst.value("config/did").toInt(), 1);
        QCOMPARE(QString::fromStdString(vhid::Bus::instance().violationReport()), QString());
    }

    // Each profile shows its own assignments; a switch asks, and DISCARD drops what was not applied.
    void profileSwitchShowsThatProfilesButtons()
    {
        SceneDriver::Options options;
        options.prepare = [](ModulesSandbox &) {
            QSettings second("./modules/setting/p2.bin", QSettings::IniFormat);
            second.setValue("keydefine_W3/4", QStringList{"3", "0", "226", "0"});
        };
        SceneDriver scene(options);
        QVERIFY(scene.start());
        QVERIFY(openPage(scene, kKeyPage));
        QVERIFY(scene.click("callout_4"));
        QCOMPARE(scene.property("Page_Keydefine", "functionIndex").toInt(), 1);
        QVERIFY(scene.click("function_6"));
        QCOMPARE(scene.property("Page_Keydefine", "functionIndex").toInt(), 6);

        QVERIFY(scene.click("Menu_Prof_1"));
        QVERIFY(scene.waitFor([&] { return scene.property("questionChoice1", "x").toDouble() > 0; }));
        QVERIFY(scene.click("questionChoice1"));
        QVERIFY(scene.waitFor([&] { return scene.property("Page_Keydefine", "functionIndex").toInt() == 2; }));
        QCOMPARE(scene.property("mediaMenu", "currentIndex").toInt(), 4);

        QVERIFY(scene.click("Menu_Prof_0"));
        QVERIFY(scene.waitFor([&] { return scene.property("Page_Keydefine", "functionIndex").toInt() == 1; }));
        QCOMPARE(scene.property("mouseMenu", "currentIndex").toInt(), 4);
        QVERIFY2(mouseTransfers(0x12).empty(), "nothing was applied");
    }

    void recordAMacroFromKeyPresses()
    {
        SceneDriver scene;
        QVERIFY(scene.start());
        QVERIFY(openPage(scene, kMacroPage));
        QVERIFY(scene.click("addMacro"));
        QVERIFY(scene.waitFor([&] { return scene.property("Page_Macro", "selectedMacro").toString() == "Macro. 001"; }));
        QVERIFY(scene.click("recordButton"));
        for (auto [code, down] : {std::pair<quint8, bool>{kLeftShift, true}, {kKeyA, true}, {kKeyA, false},
                                  {0x74, true}, {kLeftShift, false}})
            scene.captureKey(code, down);
        scene.screenshot("macro_recording");
        QVERIFY(scene.click("stopButton"));

        QSettings file("./modules/macro/Macro. 001.bin", QSettings::IniFormat);
        QCOMPARE(file.value("config/total").toInt(), 4);
        QCOMPARE(file.value("macro/0").toString(), stepLine("L Shift", kDown));
        QCOMPARE(file.value("macro/1").toString(), stepLine("A", kDown));
        QCOMPARE(file.value("macro/2").toString(), stepLine("A", kUp));
        QCOMPARE(file.value("macro/3").toString(), stepLine("L Shift", kUp));
    }

    // MEDIA's 18 entries scroll in its ten rows: the last one is reached with the scroll bar
    // and assigned.
    void lastMediaEntryReachedWithTheScrollBar()
    {
        SceneDriver scene;
        QVERIFY(scene.start());
        QVERIFY(openPage(scene, kKeyPage));
        QVERIFY(scene.click("callout_3"));
        QVERIFY(scene.click("function_2"));
        QVERIFY(scene.click("mediaMenu"));
        QVERIFY(scene.dragScrollBarToEnd("mediaMenu_scrollBar"));
        scene.screenshot("keys_media_scrolled");
        QVERIFY(scene.click("mediaMenu_item17"));
        QCOMPARE(scene.property("mediaMenu", "currentIndex").toInt(), 17);
        vhid::Bus::instance().clearRecords();
        QVERIFY(scene.click("keyApplyButton"));
        QVERIFY(scene.waitFor([] { return !mouseTransfers(0x12).empty(); }, kTimeoutMs));
        QVERIFY(scene.waitUntilUnlocked(kTimeoutMs));
        // WWW FAVORITES, consumer usage 0x022A.
        QCOMPARE(mouseTransfers(0x12).back().data.mid(12, 4).toHex(' '), bytes({0x03, 0, 0x2A, 0x02}).toHex(' '));
    }
};

QTEST_MAIN(KeysEndToEndTest)
#include "test_keys_e2e.moc"
