// The real program on the virtual mouse, driven through its scene with real mouse events:
// the settings page end to end to "./modules/setting/apConfig.bin", the profile menu, the
// close button, and screenshots of both skins and two scripts for review.
#include "app/Widget.h"
#include "controller/ProfileStore.h"
#include "controller/myQQuickView.h"
#include "tests/support/SceneDriver.h"
#include "virtual/VirtualBus.h"

#include <QQuickItem>
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
    return scene.property("Page_Globalsetting", "languageNames").toStringList().indexOf(name);
}

}  // namespace

class SceneEndToEndTest : public QObject {
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
        QCOMPARE(file->value("common/total").toInt(), 32);
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
        const QStringList codes = scene.property("Page_Globalsetting", "languageCodes").toStringList();
        QVERIFY(codes.size() >= 2);
        for (int position = 0; position < codes.size(); ++position) {
            QVERIFY(pick(scene, "languageList", position));
            QCOMPARE(scene.property("", "globalSetting_fontFamily").toString(),
                     scene.property("", "globalSetting_stringList").toStringList().value(0));
            QVERIFY(!scene.screenshot("language_" + codes[position] + "_settings").isEmpty());
            QVERIFY(scene.click("Menu_Up_settings"));
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
        QCOMPARE(scene.call("languageList", "getCurIndex").toInt(), 2);
        QCOMPARE(scene.property("", "globalSetting_color").value<QColor>().alpha(), 45);
        QVERIFY(!scene.screenshot("skin2_english_settings_closed").isEmpty());
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

QTEST_MAIN(SceneEndToEndTest)
#include "test_scene_e2e.moc"
