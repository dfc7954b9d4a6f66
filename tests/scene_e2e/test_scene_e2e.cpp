// The real program on the virtual mouse, driven through its scene with real mouse events:
// the settings page end to end to "./modules/setting/apConfig.bin", the profile menu, the
// close button, the questions about unapplied and unsaved changes, the input lock, and
// screenshots of both skins and two scripts for review.
#include "actions/ApplicationLinks.h"
#include "actions/PageActions.h"
#include "actions/ProfileActions.h"
#include "app/Widget.h"
#include "controller/ApplicationRules.h"
#include "controller/ProfileStore.h"
#include "controller/myQQuickView.h"
#include "tests/support/CommandBlocks.h"
#include "tests/support/SceneDriver.h"
#include "virtual/VirtualBus.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QSettings>
#include <QtTest>

namespace {

bool mouseReceived(std::uint8_t code)
{
    for (const vhid::Record &record : vhid::Bus::instance().records())
        if (record.op == vhid::Op::SendFeature && !record.plainBlock.empty() && record.plainBlock[0] == code)
            return true;
    return false;
}

int languagePosition(const SceneDriver &scene, const QString &name)
{
    return scene.property("GlobalSettings", "languageNames").toStringList().indexOf(name);
}

// The three answers of a question about pending changes, as its buttons are named.
enum Answer { kApply = 0, kDiscard = 1, kCancel = 2 };

constexpr int kKeyPage = 0;
constexpr int kForwardSlot = 4;              // the key page's callout 4
constexpr int kKeyCodeLength = 4;
constexpr quint8 kLedControl = 0x0B;         // the function LED CONTROL gives a button
constexpr quint8 kMediaType = 0x03;          // P02's forward button in the fixture plays media
constexpr int kTimeoutMs = 10000;

QStringList storedKey(int profile, int slot)
{
    QSettings file(QString("./modules/setting/p%1.bin").arg(profile + 1), QSettings::IniFormat);
    return file.value("keydefine_W3/" + QString::number(slot)).toStringList();
}

}  // namespace

class TestSceneEndToEnd : public QObject {
    Q_OBJECT

private:
    bool openSettings(SceneDriver &scene)
    {
        return scene.click("Menu_Up_settings")
               && scene.waitFor([&] { return scene.property("Page_Globalsetting", "x").toInt() == 160; });
    }

    bool pick(SceneDriver &scene, const QString &list, int index)
    {
        return scene.click(list) && scene.click(list + "_item" + QString::number(index))
               && scene.waitFor([&] { return scene.call(list, "getCurIndex").toInt() == index; });
    }

    // P02's forward button plays a media key, so a switch shows whose codes the page holds.
    static SceneDriver::Options secondProfileWithMedia()
    {
        SceneDriver::Options options;
        options.prepare = [](ModulesSandbox &) {
            QSettings second("./modules/setting/p2.bin", QSettings::IniFormat);
            second.setValue("keydefine_W3/4", QStringList{"3", "0", "226", "0"});
        };
        return options;
    }

    // The forward button gets LED CONTROL on the key page, which stays unapplied.
    bool setForwardToLedControl(SceneDriver &scene)
    {
        return scene.waitFor([&] { return scene.property("Page_Keydefine", "x").toDouble() == 0.0; }, kTimeoutMs)
               && scene.click("callout_4") && scene.click("function_6")
               && scene.property("Page_Keydefine", "functionIndex").toInt() == 6;
    }

    bool keyPageShowsMedia(SceneDriver &scene)
    {
        return scene.waitFor([&] { return scene.property("Page_Keydefine", "functionIndex").toInt() == 2; }, kTimeoutMs);
    }

private slots:
    void settingsChangedAndSavedByTheUser()
    {
        SceneDriver::Options options;
        // The skin menu shows only with more than one skin installed.
        options.prepare = [](ModulesSandbox &modules) {
            QDir().mkpath(modules.path("modules/img/skin1"));
            QDir().mkpath(modules.path("modules/img/skin2"));
        };
        SceneDriver scene(options);
        QVERIFY(scene.start());
        QVERIFY(!scene.screenshot("skin1_english_settings_closed").isEmpty());

        QVERIFY(openSettings(scene));
        QVERIFY(!scene.item("Main_W3")->isEnabled());
        QVERIFY(!scene.item("Menu_Down")->isEnabled());
        QCOMPARE(scene.item("Main_W3")->opacity(), 0.2);
        QVERIFY(!scene.screenshot("skin1_english_settings_open").isEmpty());

        const int japanese = languagePosition(scene, "JAPANESE");
        QVERIFY(japanese >= 0);
        QVERIFY(pick(scene, "languageList", japanese));
        QCOMPARE(scene.property("", "globalSetting_fontFamily").toString(), QString("Noto Sans CJK JP"));
        QVERIFY(!scene.screenshot("skin1_japanese_settings_open").isEmpty());

        QVERIFY(pick(scene, "skinList", 1));
        QCOMPARE(scene.property("", "skin_No").toInt(), 2);
        QVERIFY(scene.click("textSizeSwitch_larger"));
        QCOMPARE(scene.property("", "globalSetting_size").toInt(), 12);
        QVERIFY(!scene.screenshot("skin2_japanese_settings_open").isEmpty());

        QVERIFY(scene.click("saveButton"));
        QVERIFY(scene.waitFor([&] { return !scene.property("", "isGlobalSettingSelect").toBool(); }));
        QVERIFY(scene.waitFor([&] { return scene.property("Page_Globalsetting", "visible") == false; }));
        QVERIFY(scene.item("Main_W3")->isEnabled());
        QVERIFY(!scene.screenshot("skin2_japanese_settings_closed").isEmpty());

        const auto file = scene.appConfigFile();
        QCOMPARE(file->value("common/total").toInt(), 34);
        QCOMPARE(file->value("common/0").toInt(), 1);
        QCOMPARE(file->value("common/1").toInt(), 2);
        QCOMPARE(file->value("common/4").toInt(), japanese);
        QCOMPARE(file->value("common/7").toInt(), 1);
        QVERIFY(!file->value("common/31").toString().isEmpty());
    }

    // One picture per shipped language, with the settings open and closed, to review the fonts.
    void everyLanguageOnScreen()
    {
        SceneDriver scene;
        QVERIFY(scene.start());
        QVERIFY(openSettings(scene));
        const QStringList codes = scene.property("GlobalSettings", "languageCodes").toStringList();
        QVERIFY(codes.size() >= 2);
        for (int position = 0; position < codes.size(); ++position) {
            QVERIFY(pick(scene, "languageList", position));
            QCOMPARE(scene.property("", "globalSetting_fontFamily").toString(),
                     scene.property("", "globalSetting_stringList").toStringList().value(0));
            QVERIFY(!scene.screenshot("language_" + codes[position] + "_settings").isEmpty());
            // A language other than the stored one is a change not saved yet: closing asks, and
            // SAVE keeps it.
            const bool unsaved = scene.property("GlobalSettings", "pending").toBool();
            QVERIFY(scene.click("Menu_Up_settings"));
            if (unsaved) {
                QVERIFY(scene.waitForQuestion());
                QVERIFY(!scene.screenshot("language_" + codes[position] + "_unsaved_question").isEmpty());
                QVERIFY(scene.answerQuestion(0));
            }
            QVERIFY(scene.waitFor([&] { return !scene.item("Page_Globalsetting")->isVisible(); }));
            QVERIFY(!scene.screenshot("language_" + codes[position] + "_frame").isEmpty());
            QVERIFY(openSettings(scene));
        }
    }

    void savedSettingsComeBackAtTheNextStart()
    {
        SceneDriver::Options options;
        options.prepare = [](ModulesSandbox &) {
            QSettings config("modules/setting/apConfig.bin", QSettings::IniFormat);
            config.setValue("common/1", 2);
            config.setValue("common/4", 2);
            config.setValue("common/30", 0);
        };
        SceneDriver scene(options);
        QVERIFY(scene.start());
        QCOMPARE(scene.property("", "skin_No").toInt(), 2);
        QCOMPARE(scene.property("GlobalSettings", "languagePosition").toInt(), 2);
        QCOMPARE(scene.property("", "globalSetting_color").value<QColor>().alpha(), 45);
        QVERIFY(!scene.screenshot("skin2_english_settings_closed").isEmpty());
        // The panel, made when first opened, shows what the start-up applied.
        QVERIFY(!scene.item("Page_Globalsetting"));
        QVERIFY(openSettings(scene));
        QCOMPARE(scene.call("languageList", "getCurIndex").toInt(), 2);
        QCOMPARE(scene.call("skinList", "getCurIndex").toInt(), 1);
        QCOMPARE(scene.property("brightnessSlider", "position").toInt(), 0);
    }

    void profileMenuSwitchesTheProfileInUse()
    {
        SceneDriver scene;
        QVERIFY(scene.start());
        vhid::Bus::instance().clearRecords();

        QVERIFY(scene.click("Menu_Prof_3"));
        QCOMPARE(scene.property("Menu_Prof", "currentIndex").toInt(), 3);
        QCOMPARE(scene.view().profiles().currentProfile(), 3);
        // The mouse keeps its profiles in the program: no 02H reaches it.
        QTest::qWait(100);
        QVERIFY(!mouseReceived(0x02));

        // Clicking the selected entry again does nothing.
        QVERIFY(scene.click("Menu_Prof_3"));
        QCOMPARE(scene.view().profiles().currentProfile(), 3);

        // The right-click menu: RESET of the selected entry restores it and selects it again.
        QVERIFY(scene.click("Menu_Prof_3", Qt::RightButton));
        QVERIFY(scene.waitForItem("Menu_Prof_menu"));
        QVERIFY(!scene.screenshot("skin1_english_profile_menu").isEmpty());
        QVERIFY(scene.click("Menu_Prof_cancel"));
        QVERIFY(scene.waitFor([&] { return !scene.item("Menu_Prof_menu")->isVisible(); }));
    }

    // A profile sent from outside the window (the tray, the bus, the application in front)
    // marks its row; selecting another row to edit leaves the mark where the mouse is.
    void profileMenuMarksTheProfileTheMouseHolds_data()
    {
        QTest::addColumn<int>("skin");
        QTest::newRow("carbon") << 1;
        QTest::newRow("ember") << 2;
    }
    void profileMenuMarksTheProfileTheMouseHolds()
    {
        QFETCH(int, skin);
        SceneDriver scene(SceneDriver::inSkin(skin));
        QVERIFY(scene.start());
        const auto marked = [&] {
            QList<int> rows;
            for (int row = 0; row < 10; ++row) {
                if (scene.item(QString("Menu_Prof_held_%1").arg(row))->isVisible())
                    rows << row;
            }
            return rows;
        };
        QCOMPARE(marked(), QList<int>());
        QVERIFY(scene.view().actions().profiles->switchTo(2));
        QVERIFY(scene.waitFor([&] { return marked() == QList<int>{2}; }));
        QVERIFY(scene.click("Menu_Prof_4"));
        QCOMPARE(scene.property("Menu_Prof", "currentIndex").toInt(), 4);
        QCOMPARE(marked(), QList<int>{2});
        QVERIFY(!scene.screenshot(QString("skin%1_english_profile_held").arg(skin)).isEmpty());
    }

    // Right-click a profile, APPS…, +, type a name, LINK: the links file holds the link and the
    // profile row shows its glyph; in both skins and three scripts, with screenshots.
    void applicationLinksFromTheProfileMenu_data()
    {
        QTest::addColumn<int>("skin");
        QTest::addColumn<QString>("language");  // empty: the built-in English
        QTest::newRow("Carbon") << 1 << QString();
        QTest::newRow("Ember") << 2 << QString();
        QTest::newRow("Carbon, Russian") << 1 << "096000";
        QTest::newRow("Ember, Chinese") << 2 << "025044";
    }
    void applicationLinksFromTheProfileMenu()
    {
        QFETCH(int, skin);
        QFETCH(QString, language);
        SceneDriver scene(SceneDriver::inSkin(skin));
        QVERIFY(scene.start());
        // Typed keys reach the window in front only; without a window manager nobody brings it.
        scene.shell().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&scene.shell()));
        const QString shot = QString("skin%1_%2_app_links").arg(skin).arg(language.isEmpty() ? "english" : language);
        if (!language.isEmpty()) {
            const int position = scene.property("GlobalSettings", "languageCodes").toStringList().indexOf(language);
            QVERIFY(position >= 0);
            scene.call("GlobalSettings", "setLanguage", {position});
        }
        QVERIFY(!scene.item("Menu_Prof_link_2")->isVisible());
        // As on GNOME before its extension is switched on: the sheet says how.
        scene.view().actions().applications->setDesktopStepNeeded(true);

        QVERIFY(scene.click("Menu_Prof_2", Qt::RightButton));
        QVERIFY(scene.waitForItem("Menu_Prof_apps"));
        QVERIFY(!scene.screenshot(shot + "_menu").isEmpty());
        QVERIFY(scene.click("Menu_Prof_apps"));
        QVERIFY(scene.waitForItem("Page_AppLinks"));
        QVERIFY(scene.waitFor([&] { return scene.property("Page_AppLinks", "x").toInt() == 0; }));
        QVERIFY(scene.item("appLinksDesktopStep")->isVisible());
        QVERIFY(!scene.screenshot(shot + "_desktop_step").isEmpty());
        QVERIFY(scene.click("appLinkAdd"));
        QVERIFY(scene.waitFor([&] { return scene.item("AppLinkAdder")->isVisible(); }));
        QVERIFY(scene.click("appLinkName"));
        scene.typeText("steam");
        QVERIFY(scene.click("appLinkMatch_windowClass"));
        QVERIFY(!scene.screenshot(shot + "_adding").isEmpty());
        QVERIFY(scene.click("appLinkConfirm"));

        const ApplicationRules stored = ApplicationRules::read(ApplicationRules::defaultPath());
        QCOMPARE(stored.status(), ApplicationRules::ReadStatus::Read);
        QCOMPARE(stored.rules().size(), 1);
        QCOMPARE(stored.rules().first().name, QString("steam"));
        QCOMPARE(stored.rules().first().match, ApplicationMatch::WindowClass);
        QCOMPARE(stored.rules().first().profile, 2);
        QVERIFY(scene.waitFor([&] { return scene.item("Menu_Prof_link_2")->isVisible(); }));

        // A refusal shows in the user's language under the list.
        QVERIFY(scene.click("appLinkAdd"));
        QVERIFY(scene.click("appLinkConfirm"));
        QVERIFY(scene.waitFor([&] { return scene.item("appLinksHint")->isVisible(); }));
        QVERIFY(!scene.screenshot(shot).isEmpty());

        QVERIFY(scene.click("appLinksClose"));
        QVERIFY(scene.waitFor([&] { return !scene.item("Page_AppLinks")->isVisible(); }));
        QVERIFY(!scene.screenshot(shot + "_glyph").isEmpty());
    }

    void functionMenuOpensAndClosesPages()
    {
        SceneDriver scene;
        QVERIFY(scene.start());
        QCOMPARE(scene.property("Main_W3", "currentPage").toInt(), 0);
        QVERIFY(scene.click("Menu_Func_1"));
        QCOMPARE(scene.property("Main_W3", "currentPage").toInt(), 1);
        QVERIFY(!scene.item("Menu_Prof")->isEnabled());
        QVERIFY(scene.waitFor([&] { return scene.item("Page_Macro")->x() == 0 && !scene.item("Page_Keydefine")->isVisible(); }));
        QVERIFY(scene.click("Menu_Func_1"));
        QCOMPARE(scene.property("Main_W3", "currentPage").toInt(), -1);
        QVERIFY(scene.item("Menu_Prof")->isEnabled());
    }

    void allSaveLocksInputForAWhile()
    {
        SceneDriver scene;
        QVERIFY(scene.start());
        QVERIFY(scene.click("Menu_Down_save"));
        QVERIFY(!scene.view().isEnabled());
        QVERIFY(scene.item("BusyIndicator")->isVisible());
        QVERIFY(scene.waitUntilUnlocked(6000));
        QVERIFY(!scene.item("BusyIndicator")->isVisible());
    }

    void closeButtonEndsWithTheClosingSequence()
    {
        SceneDriver scene;
        QVERIFY(scene.start());
        QVERIFY(scene.shell().isVisible());
        QVERIFY(scene.click("Menu_Up_close"));
        QVERIFY(scene.waitFor([&] { return !scene.shell().isVisible(); }));
        QCOMPARE(scene.root()->height(), 0.0);
    }

    // An unapplied change is marked on its tab and its APPLY, and a profile switch asks first.
    void profileSwitchAsksAboutUnappliedChanges_data()
    {
        QTest::addColumn<int>("choice");
        QTest::newRow("APPLY sends the change, then switches") << int(kApply);
        QTest::newRow("DISCARD drops the change and switches") << int(kDiscard);
        QTest::newRow("CANCEL stays with the change") << int(kCancel);
    }

    void profileSwitchAsksAboutUnappliedChanges()
    {
        QFETCH(int, choice);
        SceneDriver scene(secondProfileWithMedia());
        QVERIFY(scene.start());
        QVERIFY(!scene.item("Menu_Func_0_pending")->isVisible());
        QVERIFY(!scene.property("keyApplyButton", "glow").toBool());
        const QStringList storedBefore = storedKey(0, kForwardSlot);
        QVERIFY(setForwardToLedControl(scene));
        QVERIFY(scene.item("Menu_Func_0_pending")->isVisible());
        QVERIFY(!scene.item("Menu_Func_3_pending")->isVisible());
        QVERIFY(scene.property("keyApplyButton", "glow").toBool());
        scene.screenshot("pending_key_page");
        vhid::Bus::instance().clearRecords();

        QVERIFY(scene.click("Menu_Prof_1"));
        QVERIFY(scene.waitForQuestion());
        QCOMPARE(scene.view().profiles().currentProfile(), 0);
        QVERIFY(scene.property("questionSentence", "text").toString().contains("KEY"));
        scene.screenshot("pending_profile_switch_question");
        QVERIFY(scene.answerQuestion(choice));

        if (choice == kCancel) {
            QCOMPARE(scene.view().profiles().currentProfile(), 0);
            QCOMPARE(scene.property("Page_Keydefine", "functionIndex").toInt(), 6);
            QVERIFY(scene.item("Menu_Func_0_pending")->isVisible());
            QTest::qWait(100);
            QVERIFY(mouseDataOf(0x12).empty());
            return;
        }
        QCOMPARE(scene.view().profiles().currentProfile(), 1);
        QCOMPARE(scene.property("Menu_Prof", "currentIndex").toInt(), 1);
        QVERIFY(keyPageShowsMedia(scene));
        QVERIFY(!scene.item("Menu_Func_0_pending")->isVisible());
        QCOMPARE(storedKey(1, kForwardSlot), (QStringList{"3", "0", "226", "0"}));
        if (choice == kApply) {
            // The command first, its data reports after it: wait for the forward button's bytes.
            QVERIFY(scene.waitFor([] {
                const std::vector<QByteArray> sent = mouseDataOf(0x12);
                return !sent.empty() && sent.front().size() > kForwardSlot * kKeyCodeLength;
            }, kTimeoutMs));
            QCOMPARE(int(quint8(mouseDataOf(0x12).front().at(kForwardSlot * kKeyCodeLength))), int(kLedControl));
            QCOMPARE(storedKey(0, kForwardSlot).value(0), QString::number(kLedControl));
        } else {
            QVERIFY(scene.waitUntilUnlocked(kTimeoutMs));
            QVERIFY(mouseDataOf(0x12).empty());
            QCOMPARE(storedKey(0, kForwardSlot), storedBefore);
        }
        // Nothing pends any more: back to P01 without a question, showing what P01 holds.
        QVERIFY(scene.waitUntilUnlocked(kTimeoutMs));
        QVERIFY(scene.click("Menu_Prof_0"));
        QVERIFY(scene.waitFor([&] { return scene.view().profiles().currentProfile() == 0; }));
        QVERIFY(!scene.property("QuestionSheet", "visible").toBool());
        QCOMPARE(scene.property("Page_Keydefine", "functionIndex").toInt(), choice == kApply ? 6 : 1);
        QCOMPARE(QString::fromStdString(vhid::Bus::instance().violationReport()), QString());
    }

    // The tab dot, the APPLY glow, the question and the lock in both skins and in Russian.
    void pendingMarksOnScreen_data()
    {
        QTest::addColumn<int>("skin");
        QTest::addColumn<QString>("language");
        QTest::newRow("skin1_russian") << 1 << "RUSSIAN";
        QTest::newRow("skin2_english") << 2 << "ENGLISH";
        QTest::newRow("skin2_russian") << 2 << "RUSSIAN";
    }

    void pendingMarksOnScreen()
    {
        QFETCH(int, skin);
        QFETCH(QString, language);
        SceneDriver scene;
        QVERIFY(scene.start());
        const int position = languagePosition(scene, language);
        QVERIFY(position >= 0);
        scene.call("GlobalSettings", "setLanguage", {position});
        scene.call("GlobalSettings", "setSkin", {skin - 1});
        const QString tag = QTest::currentDataTag();
        QVERIFY(setForwardToLedControl(scene));
        QVERIFY(!scene.screenshot(tag + "_pending_key_page").isEmpty());
        QVERIFY(scene.click("Menu_Prof_1"));
        QVERIFY(scene.waitForQuestion());
        QVERIFY(!scene.screenshot(tag + "_pending_question").isEmpty());
        QVERIFY(scene.answerQuestion(kCancel));
        QVERIFY(scene.click("keyApplyButton"));
        QVERIFY(!scene.view().isEnabled());
        QVERIFY(!scene.screenshot(tag + "_loading_lock").isEmpty());
        QVERIFY(scene.waitUntilUnlocked(kTimeoutMs));
        QVERIFY(!scene.item("Menu_Func_0_pending")->isVisible());
        QVERIFY(!scene.property("keyApplyButton", "glow").toBool());
    }

    // Lighting: the effect goes on APPLY; the question's APPLY sends it before the switch.
    void profileSwitchAppliesTheLightingPage()
    {
        SceneDriver scene;
        QVERIFY(scene.start());
        QVERIFY(scene.click("Menu_Func_2"));
        QVERIFY(scene.waitFor([&] { return scene.property("Page_Color", "x").toDouble() == 0.0; }, kTimeoutMs));
        const bool wasOn = scene.property("Page_Color", "powerOn").toBool();
        QVERIFY(scene.click("ledPower"));
        QVERIFY(scene.item("Menu_Func_2_pending")->isVisible());
        QVERIFY(scene.property("colorApplyButton", "glow").toBool());
        scene.screenshot("pending_lighting_page");
        vhid::Bus::instance().clearRecords();

        QVERIFY(scene.click("Menu_Prof_1"));
        QVERIFY(scene.waitForQuestion());
        QVERIFY(scene.answerQuestion(kApply));
        QVERIFY(scene.waitFor([] { return mouseReceived(0x0D); }, kTimeoutMs));
        QCOMPARE(scene.view().profiles().currentProfile(), 1);
        // P01 holds the light switched as the user left it.
        const QString stored = wasOn ? "0" : "1";
        QVERIFY(scene.waitFor([&] {
            QSettings first("./modules/setting/p1.bin", QSettings::IniFormat);
            return first.value("color_W3/ledEffect").toStringList().value(3) == stored;
        }, kTimeoutMs));
    }

    // The close button asks too; only CANCEL keeps the window.
    void closeAsksAboutUnappliedChanges_data()
    {
        QTest::addColumn<int>("choice");
        QTest::newRow("APPLY") << int(kApply);
        QTest::newRow("DISCARD") << int(kDiscard);
        QTest::newRow("CANCEL") << int(kCancel);
    }

    void closeAsksAboutUnappliedChanges()
    {
        QFETCH(int, choice);
        SceneDriver scene;
        QVERIFY(scene.start());
        const QStringList storedBefore = storedKey(0, kForwardSlot);
        QVERIFY(setForwardToLedControl(scene));
        vhid::Bus::instance().clearRecords();

        QVERIFY(scene.click("Menu_Up_close"));
        QVERIFY(scene.waitForQuestion());
        QVERIFY(scene.shell().isVisible());
        QVERIFY(scene.answerQuestion(choice));
        if (choice == kCancel) {
            QTest::qWait(200);
            QVERIFY(scene.shell().isVisible());
            QCOMPARE(scene.root()->height(), 600.0);
            QVERIFY(scene.item("Menu_Func_0_pending")->isVisible());
            return;
        }
        QVERIFY(scene.waitFor([&] { return !scene.shell().isVisible(); }, kTimeoutMs));
        if (choice == kApply) {
            QVERIFY(scene.waitFor([] { return !mouseDataOf(0x12).empty(); }, kTimeoutMs));
            QCOMPARE(storedKey(0, kForwardSlot).value(0), QString::number(kLedControl));
        } else {
            QVERIFY(mouseDataOf(0x12).empty());
            QCOMPARE(storedKey(0, kForwardSlot), storedBefore);
        }
    }

    // Closing the settings unsaved (its button or the window's close) asks SAVE / DISCARD / CANCEL.
    void settingsClosedUnsavedAsk_data()
    {
        QTest::addColumn<QString>("closer");
        QTest::addColumn<int>("choice");
        QTest::newRow("settings button, SAVE") << "Menu_Up_settings" << 0;
        QTest::newRow("settings button, DISCARD") << "Menu_Up_settings" << 1;
        QTest::newRow("settings button, CANCEL") << "Menu_Up_settings" << 2;
        QTest::newRow("close button, SAVE") << "Menu_Up_close" << 0;
    }

    void settingsClosedUnsavedAsk()
    {
        QFETCH(QString, closer);
        QFETCH(int, choice);
        constexpr int kSave = 0, kDiscardSettings = 1, kLarger = 12, kNormal = 11;
        SceneDriver scene;
        QVERIFY(scene.start());
        QVERIFY(openSettings(scene));
        QVERIFY(scene.click("textSizeSwitch_larger"));
        QCOMPARE(scene.property("", "globalSetting_size").toInt(), kLarger);

        QVERIFY(scene.click(closer));
        QVERIFY(scene.waitForQuestion());
        scene.screenshot("settings_unsaved_question");
        QVERIFY(scene.answerQuestion(choice));

        const auto file = scene.appConfigFile();
        if (choice == kSave) {
            QCOMPARE(file->value("common/7").toInt(), 1);
            if (closer == "Menu_Up_close") {
                QVERIFY(scene.waitFor([&] { return !scene.shell().isVisible(); }, kTimeoutMs));
                return;
            }
        } else {
            QCOMPARE(file->value("common/7", 0).toInt(), 0);
        }
        QCOMPARE(scene.property("", "globalSetting_size").toInt(), choice == kDiscardSettings ? kNormal : kLarger);
        QCOMPARE(scene.property("", "isGlobalSettingSelect").toBool(), choice == kCancel);
        QVERIFY(scene.shell().isVisible());
    }

    // While locked, every part of the window that drops clicks lies under the veil.
    void inputLockVeilsEveryLockedPart()
    {
        SceneDriver scene;
        QVERIFY(scene.start());
        QVERIFY(scene.click("Menu_Down_save"));
        QVERIFY(!scene.view().isEnabled());
        QQuickItem *veil = scene.item("BusyIndicator");
        QVERIFY(veil->isVisible());
        const QRectF veiled = veil->mapRectToScene(veil->boundingRect());
        for (const char *part : {"Menu_Up", "Menu_Func", "pageArea", "Menu_Prof", "Menu_Down"}) {
            QQuickItem *item = scene.item(part);
            const QRectF shown = item->mapRectToScene(item->boundingRect()) & scene.root()->boundingRect();
            QVERIFY2(veiled.contains(shown), part);
        }
        scene.screenshot("loading_lock");
        QVERIFY(scene.waitUntilUnlocked(6000));
    }

    void dragMovesTheWindow()
    {
        SceneDriver scene;
        QVERIFY(scene.start());
        const QPoint before = scene.shell().pos();
        // The empty strip between the wordmark and the web logo.
        QVERIFY(scene.drag(QPointF(300, 30), QPointF(340, 50)));
        QVERIFY(scene.waitFor([&] { return scene.shell().pos() != before; }));
        QCOMPARE(scene.shell().pos() - before, QPoint(40, 20));
    }
};

QTEST_MAIN(TestSceneEndToEnd)
#include "test_scene_e2e.moc"
