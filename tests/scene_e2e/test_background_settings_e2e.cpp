// The program beside its window, as the settings panel sets it: KEEP RUNNING IN THE TRAY decides
// what closing the window does, NOTIFICATIONS reaches the program at once, both are stored by
// SAVE; a desktop without tray icons is told once how to get them; the tray's and the notices'
// texts follow the language chosen in the window. Every row of the panel, START WITH THE DESKTOP
// and OPENRGB SERVER too, is written by SAVE and taken back by DISCARD. The real window with
// real clicks.
#include "actions/PageActions.h"
#include "actions/SettingsActions.h"
#include "app/OpenRgbLink.h"
#include "app/SessionService.h"
#include "app/Widget.h"
#include "controller/OpenRgbSetting.h"
#include "controller/myQQuickView.h"
#include "platform/Autostart.h"
#include "tests/support/SceneDriver.h"

#include <QApplication>
#include <QQuickItem>
#include <QScopeGuard>
#include <QSettings>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kTimeoutMs = 10000;
constexpr int kSave = 0;
constexpr const char *kTrayNoticeKey = "background/trayNoticeGiven";

SettingsActions &choices(SceneDriver &scene)
{
    return *scene.view().actions().settings;
}

bool openSettings(SceneDriver &scene)
{
    return scene.click("Menu_Up_settings")
           && scene.waitFor([&] { return scene.property("Page_Globalsetting", "x").toInt() == 160; });
}

int languagePosition(SceneDriver &scene, const QString &name)
{
    return scene.property("GlobalSettings", "languageNames").toStringList().indexOf(name);
}

bool pickLanguage(SceneDriver &scene, int position)
{
    return scene.click("languageList") && scene.click("languageList_item" + QString::number(position))
           && scene.waitFor([&] { return scene.property("GlobalSettings", "languagePosition").toInt() == position; });
}

bool questionShown(SceneDriver &scene)
{
    return scene.property("QuestionSheet", "visible").toBool();
}

// A port nobody listens on now.
quint16 freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

// The program's side of the panel's last rows: the autostart folder in a temporary
// configuration folder, and the OpenRGB setting of the running program, on a port of its own.
struct ProgramRows {
    QTemporaryDir configHome;
    const quint16 port = freePort();
    std::unique_ptr<OpenRgbSetting> openRgb;

    ProgramRows() { qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit()); }
    ~ProgramRows()
    {
        OpenRgbSetting::share(nullptr);
        qunsetenv("XDG_CONFIG_HOME");
    }
    ProgramRows(const ProgramRows &) = delete;
    ProgramRows &operator=(const ProgramRows &) = delete;

    bool ok() const { return configHome.isValid() && port != 0; }
    SceneDriver::Options options()
    {
        SceneDriver::Options options;
        options.prepare = [this](ModulesSandbox &) {
            QSettings("modules/setting/openrgb.ini", QSettings::IniFormat).setValue("server/port", port);
            openRgb = std::make_unique<OpenRgbSetting>();
            openRgb->watch();
            OpenRgbSetting::share(openRgb.get());
        };
        return options;
    }
};

// What a row has stored where it lives, and what the program does about it.
QString storedState(SceneDriver &scene, const QString &row, OpenRgbLink &link)
{
    if (row == "keepRunningSwitch")
        return scene.appConfigFile()->value("common/32", 0).toString();
    if (row == "notificationsSwitch")
        return scene.appConfigFile()->value("common/33", 0).toString();
    if (row == "autostartSwitch_on")
        return QFileInfo::exists(Autostart::entryPath()) ? "an autostart entry" : "no autostart entry";
    const QSettings openRgb("modules/setting/openrgb.ini", QSettings::IniFormat);
    return openRgb.value("server/enabled").toString() + (link.server().isListening() ? ", serving" : ", not serving");
}

// How the panel shows the row: the toggle's text, or whether the ON button is selected.
QString shownState(SceneDriver &scene, const QString &row)
{
    return scene.property(row, row.endsWith("_on") ? "isSelect" : "text").toString();
}

}  // namespace

class TestBackgroundSettings : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        QApplication::setQuitOnLastWindowClosed(true);
    }

    // Off (the default) the close button ends the program as always; switched on in the panel and
    // saved, the window goes, the scene is dropped and the program stays to open it again.
    void closingFollowsKeepRunning_data()
    {
        QTest::addColumn<bool>("keepRunning");
        QTest::newRow("off: closing ends the program") << false;
        QTest::newRow("on: closing returns to the background") << true;
    }
    void closingFollowsKeepRunning()
    {
        QFETCH(bool, keepRunning);
        SceneDriver scene;
        QVERIFY(scene.start());
        QVERIFY(!scene.item("Page_Globalsetting"));
        QVERIFY(openSettings(scene));
        QVERIFY(!choices(scene).keepRunning());
        if (keepRunning) {
            QVERIFY(scene.click("keepRunningSwitch"));
            QVERIFY(choices(scene).keepRunning());
            QVERIFY(scene.property("GlobalSettings", "pending").toBool());
        }

        QVERIFY(scene.click("Menu_Up_close"));
        if (keepRunning)
            QVERIFY(scene.answerQuestion(kSave));
        QVERIFY(scene.waitFor([&] { return !scene.shell().isVisible(); }, kTimeoutMs));
        QCOMPARE(QApplication::quitOnLastWindowClosed(), !keepRunning);
        QCOMPARE(scene.appConfigFile()->value("common/32", 0).toInt(), keepRunning ? 1 : 0);
        if (!keepRunning)
            return;
        QVERIFY(scene.waitFor([&] { return scene.view().rootObject() == nullptr; }));
        scene.shell().openWindow();
        QVERIFY(scene.waitFor([&] { return scene.root() && scene.root()->property("ready").toBool(); }, kTimeoutMs));
        QVERIFY(openSettings(scene));
        QVERIFY(scene.property("keepRunningSwitch", "text").toString().contains("ON"));
    }

    // The switch reaches the program before SAVE (the notices stop at once), DISCARD takes it
    // back, SAVE stores it and the next start reads it, with or without a window.
    void notificationsSwitchReachesTheProgram()
    {
        SceneDriver scene;
        QVERIFY(scene.start());
        QVERIFY(choices(scene).notificationsOn());
        QVERIFY(openSettings(scene));
        QCOMPARE(scene.property("notificationsSwitch", "text").toString(), QString::fromUtf8("\u3010 ON \u3011"));
        QVERIFY(scene.click("notificationsSwitch"));
        QVERIFY(!choices(scene).notificationsOn());
        QCOMPARE(scene.property("notificationsSwitch", "text").toString(), QString::fromUtf8("\u3010 OFF \u3011"));

        QVERIFY(scene.click("Menu_Up_settings"));
        QVERIFY(scene.answerQuestion(1));  // DISCARD
        QVERIFY(choices(scene).notificationsOn());

        QVERIFY(openSettings(scene));
        QVERIFY(scene.click("notificationsSwitch"));
        QVERIFY(scene.click("saveButton"));
        QVERIFY(scene.waitFor([&] { return !scene.property("", "isGlobalSettingSelect").toBool(); }));
        const auto file = scene.appConfigFile();
        QCOMPARE(file->value("common/total").toInt(), int(SettingsActions::ItemCount));
        QCOMPARE(file->value("common/33").toInt(), 1);
        QCOMPARE(file->value("common/32").toInt(), 0);
    }

    // Each row as the user sets it: SAVE writes it where it lives (the application
    // configuration, the desktop's autostart entry, the OpenRGB server's setting, which the
    // server follows); DISCARD leaves all of that as it was and shows it so again.
    void everyRowFollowsSaveAndDiscard_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<bool>("save");
        for (const char *row : {"keepRunningSwitch", "notificationsSwitch", "autostartSwitch_on", "openRgbSwitch_on"}) {
            QTest::addRow("%s, DISCARD", row) << QString(row) << false;
            QTest::addRow("%s, SAVE", row) << QString(row) << true;
        }
    }
    void everyRowFollowsSaveAndDiscard()
    {
        QFETCH(QString, row);
        QFETCH(bool, save);
        ProgramRows rows;
        QVERIFY(rows.ok());
        SceneDriver scene(rows.options());
        QVERIFY(scene.start());
        SessionService service(scene.shell());
        OpenRgbLink link(scene.shell(), service, *rows.openRgb);
        QVERIFY(openSettings(scene));
        const QString storedBefore = storedState(scene, row, link);
        const QString shownBefore = shownState(scene, row);

        QVERIFY(scene.click(row));
        QVERIFY(shownState(scene, row) != shownBefore);
        QVERIFY(scene.property("GlobalSettings", "pending").toBool());
        if (save) {
            QVERIFY(scene.click("saveButton"));
        } else {
            QVERIFY(scene.click("Menu_Up_settings"));
            QVERIFY(scene.answerQuestion(1));  // DISCARD
        }
        QVERIFY(scene.waitFor([&] { return !scene.property("", "isGlobalSettingSelect").toBool(); }));
        QVERIFY(!scene.property("GlobalSettings", "pending").toBool());
        QCOMPARE(storedState(scene, row, link) != storedBefore, save);
        QVERIFY(openSettings(scene));
        QCOMPARE(shownState(scene, row) != shownBefore, save);
    }

    // A port another program holds: the switch stays on and the panel says why nothing is
    // served.
    void aTakenPortShowsInThePanel()
    {
        ProgramRows rows;
        QVERIFY(rows.ok());
        QTcpServer other;
        QVERIFY(other.listen(QHostAddress::LocalHost, rows.port));
        SceneDriver scene(rows.options());
        QVERIFY(scene.start());
        SessionService service(scene.shell());
        OpenRgbLink link(scene.shell(), service, *rows.openRgb);
        QVERIFY(openSettings(scene));
        QVERIFY(!scene.property("openRgbProblem", "visible").toBool());
        QVERIFY(scene.click("openRgbSwitch_on"));
        QVERIFY(scene.click("saveButton"));
        QVERIFY(scene.waitFor([&] { return !scene.property("", "isGlobalSettingSelect").toBool(); }));
        QVERIFY(!link.server().isListening());

        QVERIFY(openSettings(scene));
        QVERIFY(scene.property("openRgbSwitch_on", "isSelect").toBool());
        QVERIFY(scene.property("openRgbProblem", "visible").toBool());
        QCOMPARE(scene.property("openRgbProblem", "text").toString(),
            QString("OPENRGB SERVER: port %1 is in use by another program").arg(rows.port));
        QVERIFY(!scene.screenshot("settings_openrgb_port_taken").isEmpty());
    }

    // The stored choices without a scene: a background start reads them from the stored list,
    // the language of the tray and notices too, and a list stored before they existed, or
    // none, keeps today's behaviour.
    void storedChoicesWithoutAScene_data()
    {
        QTest::addColumn<QVariantMap>("stored");
        QTest::addColumn<bool>("keepRunning");
        QTest::addColumn<bool>("notificationsOn");
        QTest::addColumn<QString>("quit");
        QTest::newRow("nothing stored: defaults, English") << QVariantMap{{"common/total", 0}} << false << true << "Quit";
        QTest::newRow("a list from before: defaults") << QVariantMap{{"common/total", 32}} << false << true << "Quit";
        QTest::newRow("both chosen, in Russian")
            << QVariantMap{{"common/total", 34}, {"common/4", 6}, {"common/32", 1}, {"common/33", 1}} << true << false
            << QString::fromUtf8("Выход");
        QTest::newRow("unreadable items: defaults")
            << QVariantMap{{"common/total", 34}, {"common/32", "yes"}, {"common/33", ""}} << false << true << "Quit";
    }
    void storedChoicesWithoutAScene()
    {
        QFETCH(QVariantMap, stored);
        QFETCH(bool, keepRunning);
        QFETCH(bool, notificationsOn);
        QFETCH(QString, quit);
        SceneDriver::Options options;
        options.prepare = [stored](ModulesSandbox &) {
            QSettings config("modules/setting/apConfig.bin", QSettings::IniFormat);
            for (auto it = stored.cbegin(); it != stored.cend(); ++it)
                config.setValue(it.key(), it.value());
        };
        SceneDriver scene(options);
        QVERIFY(scene.start());
        QCOMPARE(choices(scene).keepRunning(), keepRunning);
        QCOMPARE(choices(scene).notificationsOn(), notificationsOn);
        QVERIFY(scene.shell().isVisible());  // a window start shows its window either way
        Widget background(Widget::Start::InBackground);
        SettingsActions &held = *background.view()->actions().settings;
        QCOMPARE(held.keepRunning(), keepRunning);
        QCOMPARE(held.notificationsOn(), notificationsOn);
        QCOMPARE(held.text(174, "Quit"), quit);
        QVERIFY(!background.view()->rootObject());
    }

    // The panel with its new rows, in both skins and in the languages with the longest and the
    // widest names: the switches of the last rows stay clear of RESET, SAVE and the palette.
    void panelOnScreen_data()
    {
        QTest::addColumn<int>("skin");
        QTest::addColumn<QString>("language");
        for (int skin : {1, 2})
            for (const char *language : {"ENGLISH", "RUSSIAN", "CHINESE (Simp)", "FRENCH", "SPANISH"})
                QTest::addRow("skin %d %s", skin, language) << skin << QString(language);
    }
    void panelOnScreen()
    {
        QFETCH(int, skin);
        QFETCH(QString, language);
        SceneDriver scene(SceneDriver::inSkin(skin));
        QVERIFY(scene.start());
        QVERIFY(openSettings(scene));
        const int position = languagePosition(scene, language);
        QVERIFY(position >= 0);
        QVERIFY(pickLanguage(scene, position));
        QVERIFY(scene.click("keepRunningSwitch"));
        const auto sceneRect = [&](const char *name) {
            QQuickItem *item = scene.item(name);
            return item ? item->mapRectToScene(QRectF(0, 0, item->width(), item->height())) : QRectF();
        };
        for (const char *row : {"autostartSwitch", "keepRunningSwitch", "notificationsSwitch"})
            for (const char *button : {"resetButton", "saveButton", "textColorPalette"})
                QVERIFY2(!sceneRect(row).intersects(sceneRect(button)), qPrintable(QString("%1 / %2").arg(row, button)));
        QVERIFY(!scene.screenshot(QString("background_settings_skin%1_%2").arg(skin).arg(language.left(7).toLower()))
                     .isEmpty());
    }

    // The language chosen in the window is the language of the tray and of the notices.
    void theProgramFollowsTheWindowsLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("open");
        QTest::addColumn<QString>("profile");
        QTest::newRow("Chinese") << "CHINESE (Simp)" << QString::fromUtf8("打开 W3 Config")
                                 << QString::fromUtf8("配置文件 %1");
        QTest::newRow("English") << "ENGLISH" << "Open W3 Config" << "Profile %1";
    }
    void theProgramFollowsTheWindowsLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, open);
        QFETCH(QString, profile);
        SceneDriver scene;
        QVERIFY(scene.start());
        QVERIFY(openSettings(scene));
        QVERIFY(pickLanguage(scene, languagePosition(scene, "RUSSIAN")));
        QSignalSpy changed(&choices(scene), &SettingsActions::languageChanged);
        QVERIFY(pickLanguage(scene, languagePosition(scene, language)));
        QVERIFY(!changed.isEmpty());
        QCOMPARE(choices(scene).text(173, "-"), open);
        QCOMPARE(choices(scene).text(175, "-"), profile);
    }

    // Without a tray the window says once how to get one: shown after the opening, remembered
    // at once, never shown again; with a tray it never shows.
    void trayNoticeShowsOnceWithoutATray_data()
    {
        QTest::addColumn<bool>("trayMissing");
        QTest::addColumn<bool>("toldBefore");
        QTest::addColumn<bool>("shown");
        QTest::newRow("no tray, first time") << true << false << true;
        QTest::newRow("no tray, told before") << true << true << false;
        QTest::newRow("a tray") << false << false << false;
    }
    void trayNoticeShowsOnceWithoutATray()
    {
        QFETCH(bool, trayMissing);
        QFETCH(bool, toldBefore);
        QFETCH(bool, shown);
        SceneDriver::Options options;
        options.prepare = [toldBefore](ModulesSandbox &) {
            if (toldBefore)
                QSettings("modules/setting/apConfig.bin", QSettings::IniFormat).setValue(kTrayNoticeKey, true);
        };
        SceneDriver scene(options);
        QVERIFY(scene.start());
        QVERIFY(!questionShown(scene));
        choices(scene).setTrayMissing(trayMissing);
        QCOMPARE(questionShown(scene), shown);
        QCOMPARE(scene.appConfigFile()->value(kTrayNoticeKey, false).toBool(), trayMissing);
        if (!shown)
            return;
        QVERIFY(scene.waitForQuestion());
        QVERIFY(!scene.screenshot("tray_missing_notice").isEmpty());
        QVERIFY(scene.answerQuestion(0));

        // The tray found missing again (a later start) does not repeat it.
        choices(scene).setTrayMissing(false);
        choices(scene).setTrayMissing(true);
        QVERIFY(!questionShown(scene));
    }
};

QTEST_MAIN(TestBackgroundSettings)
#include "test_background_settings_e2e.moc"
