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

// A macro bound to device slot `index` on the mouse, as the key page leaves it.
void bindMacroFile(const QString &name, int index)
{
    QSettings file("./modules/macro/" + name + ".bin", QSettings::IniFormat);
    file.setValue("config/index", index);
    file.setValue("config/did", 1);
}

QStringList storedCode(int profile, int button)
{
    return QSettings(QString("./modules/setting/p%1.bin").arg(profile), QSettings::IniFormat)
        .value("keydefine_W3/" + QString::number(button))
        .toStringList();
}

}  // namespace

class TestKeysEndToEnd : public QObject {
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
        const QStringList names = scene.property("GlobalSettings", "languageNames").toStringList();
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
            bindMacroFile("Burst", 0);
            QSettings("./modules/setting/p1.bin", QSettings::IniFormat).setValue("keydefine_W3/6", QStringList{"9", "0", "1", "0"});
        };
        SceneDriver scene(options);
        QVERIFY(scene.start());
        const int position = languagePosition(scene, language);
        QVERIFY(position >= 0);
        scene.call("GlobalSettings", "setLanguage", {position});
        scene.call("GlobalSettings", "setSkin", {skin - 1});
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

        // The refusals and the question of these pages.
        QVERIFY(scene.click("macroNames_row0", Qt::RightButton));
        QVERIFY(scene.click("nameMenu_2"));
        QVERIFY(scene.waitFor([&] { return scene.property("macroNames", "editingIndex").toInt() == 0; }));
        // Typed names are driven with keys in macroNameMenuAndRefusedNames; after the language and
        // skin changes the window here is not the active one, so the name is entered directly.
        scene.call("macroNames", "finishEditing", {0, "a/b"});
        QVERIFY(scene.waitForItem("macroNames_refusal"));
        QVERIFY(!scene.screenshot(tag + "_macro_name_refused").isEmpty());
        QVERIFY(scene.click("deleteMacro"));
        QVERIFY(scene.waitForItem("questionPanel"));
        QVERIFY(!scene.screenshot(tag + "_macro_delete_question").isEmpty());
        QVERIFY(scene.click("questionChoice1"));
        QVERIFY(openPage(scene, kKeyPage));
        QVERIFY(scene.click("callout_4"));
        QVERIFY(scene.click("function_4"));
        QVERIFY(scene.click("keyApplyButton"));
        QVERIFY(scene.waitForItem("applyHint"));
        QVERIFY(!scene.screenshot(tag + "_keys_apply_refused").isEmpty());
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
        QVERIFY(scene.answerQuestion(1));
        QVERIFY(scene.waitFor([&] { return scene.property("Page_Keydefine", "functionIndex").toInt() == 2; }));
        QCOMPARE(scene.property("mediaMenu", "currentIndex").toInt(), 4);

        QVERIFY(scene.click("Menu_Prof_0"));
        QVERIFY(scene.waitFor([&] { return scene.property("Page_Keydefine", "functionIndex").toInt() == 1; }));
        QCOMPARE(scene.property("mouseMenu", "currentIndex").toInt(), 4);
        QVERIFY2(mouseTransfers(0x12).empty(), "nothing was applied");
    }

    // P01 binds M1, P02 binds M2: each gets its own slot of the mouse, and back in P01 the
    // button still shows and plays M1.
    void macroSlotsHoldAcrossProfileSwitches()
    {
        SceneDriver::Options options;
        options.prepare = [](ModulesSandbox &) {
            writeMacro("M1", {stepLine("A", kDown), stepLine("A", kUp)});
            writeMacro("M2", {stepLine("B", kDown), stepLine("B", kUp)});
        };
        SceneDriver scene(options);
        QVERIFY(scene.start());
        QVERIFY(openPage(scene, kKeyPage));
        vhid::Bus::instance().clearRecords();

        const auto bindAndApply = [&](const QString &callout, const QString &macroRow) {
            return scene.click(callout) && scene.click("function_4") && chooseFromList(scene, "macroMenu", macroRow)
                   && scene.click("keyApplyButton") && scene.waitUntilUnlocked(kTimeoutMs);
        };
        QVERIFY(bindAndApply("callout_3", "macroMenu_list_row0"));
        QVERIFY(scene.click("Menu_Prof_1"));
        QVERIFY(scene.waitFor([&] { return scene.property("Page_Keydefine", "functionIndex").toInt() != 4; }));
        QVERIFY(bindAndApply("callout_4", "macroMenu_list_row1"));
        QVERIFY(scene.click("Menu_Prof_0"));
        QVERIFY(scene.click("callout_3"));
        QVERIFY(scene.waitFor([&] { return scene.property("Page_Keydefine", "functionIndex").toInt() == 4; }));
        QCOMPARE(scene.property("macroMenu", "currentText").toString(), QString("M1"));

        const std::vector<Transfer> macros = mouseTransfers(0x13);
        QCOMPARE(int(macros.size()), 2);
        QCOMPARE(int(macros[0].block[1]), 1);
        QCOMPARE(int(macros[1].block[1]), 2);
        QCOMPARE(storedCode(1, 3), (QStringList{"9", "0", "1", "0"}));
        QCOMPARE(storedCode(2, 4), (QStringList{"9", "0", "2", "0"}));
        std::vector<std::uint8_t> slot1;
        vhid::Bus::instance().withMouse([&](vhid::MouseMemory &memory) { slot1 = memory.macros[1]; });
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(slot1.data()), int(slot1.size())).toHex(' '),
                 macros[0].data.toHex(' '));
    }

    // Deleting a macro that buttons play asks first and names them; DELETE gives them their
    // factory function in every profile and sends the profile in use to the mouse.
    void deletingABoundMacroAsksFirst()
    {
        SceneDriver::Options options;
        options.prepare = [](ModulesSandbox &) {
            writeMacro("M1", {stepLine("A", kDown), stepLine("A", kUp)});
            writeMacro("M2", {stepLine("B", kDown), stepLine("B", kUp)});
            bindMacroFile("M1", 0);
            QSettings("./modules/setting/p1.bin", QSettings::IniFormat).setValue("keydefine_W3/3", QStringList{"9", "0", "1", "0"});
            QSettings("./modules/setting/p2.bin", QSettings::IniFormat).setValue("keydefine_W3/4", QStringList{"9", "2", "1", "0"});
        };
        SceneDriver scene(options);
        QVERIFY(scene.start());
        QVERIFY(openPage(scene, kMacroPage));
        QVERIFY(scene.waitForItem("macroNames_row0"));
        QVERIFY(scene.click("macroNames_row0"));
        QCOMPARE(scene.property("Page_Macro", "selectedMacro").toString(), QString("M1"));
        vhid::Bus::instance().clearRecords();

        QVERIFY(scene.click("deleteMacro"));
        QVERIFY(scene.waitForItem("questionPanel"));
        const QString sentence = scene.property("questionSentence", "text").toString();
        QVERIFY2(sentence.contains("P01 4 ") && sentence.contains("P02 5 "), qPrintable(sentence));
        QVERIFY(scene.click("questionChoice1"));
        QVERIFY(QFile::exists("./modules/macro/M1.bin"));

        QVERIFY(scene.click("deleteMacro"));
        QVERIFY(scene.waitForItem("questionPanel"));
        QVERIFY(scene.click("questionChoice0"));
        QVERIFY(scene.waitFor([] { return !QFile::exists("./modules/macro/M1.bin"); }));
        QCOMPARE(storedCode(2, 4), (QStringList{"1", "0", "244", "0"}));
        QCOMPARE(storedCode(1, 3), (QStringList{"1", "0", "243", "0"}));
        QVERIFY(scene.waitFor([] { return !mouseTransfers(0x12).empty() && mouseTransfers(0x12).back().data.size() == 64; },
                              kTimeoutMs));
        QCOMPARE(mouseTransfers(0x12).back().data.mid(12, 4).toHex(' '), bytes({0x01, 0, 0xF3, 0}).toHex(' '));
        QCOMPARE(scene.property("macroNames", "count").toInt(), 1);

        QVERIFY(openPage(scene, kKeyPage));
        QVERIFY(scene.click("callout_3"));
        QCOMPARE(scene.property("Page_Keydefine", "functionIndex").toInt(), 1);
        QCOMPARE(scene.property("mouseMenu", "currentIndex").toInt(), 3);
        QCOMPARE(QString::fromStdString(vhid::Bus::instance().violationReport()), QString());
    }

    // The right-click menu acts on the clicked name and leaves the selection; a refused new
    // name keeps its field open and says why.
    void macroNameMenuAndRefusedNames()
    {
        SceneDriver::Options options;
        options.prepare = [](ModulesSandbox &) {
            writeMacro("M1", {stepLine("A", kDown), stepLine("A", kUp)});
            writeMacro("M2", {stepLine("B", kDown)});
        };
        SceneDriver scene(options);
        QVERIFY(scene.start());
        QVERIFY(openPage(scene, kMacroPage));
        QVERIFY(scene.waitForItem("macroNames_row1"));
        QVERIFY(scene.click("macroNames_row0"));
        QVERIFY(scene.click("macroNames_row1", Qt::RightButton));
        QVERIFY(scene.waitForItem("nameMenu"));
        QCOMPARE(scene.property("Page_Macro", "selectedMacro").toString(), QString("M1"));
        QCOMPARE(scene.property("actionList", "count").toInt(), 2);

        QVERIFY(scene.click("nameMenu_2"));
        QVERIFY(scene.waitFor([&] { return scene.property("macroNames", "editingIndex").toInt() == 1; }));
        // The name as Return enters it (typing into the field is covered by the page's own test:
        // whether this window is the active one depends on the tests before it).
        scene.call("macroNames", "finishEditing", {1, "M1"});
        QVERIFY(scene.waitForItem("macroNames_refusal"));
        QCOMPARE(scene.property("macroNames_refusal", "text").toString(), QString("Another macro has this name."));
        QCOMPARE(scene.property("macroNames", "editingIndex").toInt(), 1);
        QVERIFY(QFile::exists("./modules/macro/M2.bin"));
        scene.screenshot("macro_name_refused");
    }

    // APPLY with MACRO chosen and no macro says why and locks nothing.
    void applyWithoutAMacroSaysWhy()
    {
        SceneDriver scene;
        QVERIFY(scene.start());
        QVERIFY(openPage(scene, kKeyPage));
        vhid::Bus::instance().clearRecords();
        QVERIFY(scene.click("callout_4"));
        QVERIFY(scene.click("function_4"));
        QVERIFY(scene.click("keyApplyButton"));
        QVERIFY(scene.view().isEnabled());
        QVERIFY(scene.waitForItem("applyHint"));
        QCOMPARE(scene.property("applyHint", "text").toString(), QString("Choose a macro first."));
        QCOMPARE(scene.property("Page_Keydefine", "functionIndex").toInt(), 4);
        scene.screenshot("keys_apply_refused");
        QVERIFY(mouseTransfers(0x12).empty());
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

QTEST_MAIN(TestKeysEndToEnd)
#include "test_keys_e2e.moc"
