// The lighting and sensor pages of the real program on the virtual mouse, driven with real
// mouse events on the window: what reached the mouse, the profile and the desktop settings,
// and what the pages show again after a restart. Also saves screenshots of both pages.
#include "controller/myQQuickView.h"
#include "tests/controller/SettingsFiles.h"
#include "tests/support/MouseTransfers.h"
#include "tests/support/SceneDriver.h"
#include "virtual/VirtualBus.h"

#include <QQuickItem>
#include <QSettings>
#include <QtTest>

using namespace settingsfiles;

namespace {

constexpr int kColorPage = 2;
constexpr int kSensorPage = 3;
constexpr int kTimeoutMs = 10000;

const QString kProfile1 = "./modules/setting/p1.bin";

// Waits until a transfer of that code has carried at least `dataLength` payload bytes.
bool waitForTransfer(const SceneDriver &scene, std::uint8_t code, int dataLength = 0)
{
    return scene.waitFor([&] {
        const std::vector<Transfer> found = mouseTransfers(code);
        return !found.empty() && found.front().data.size() >= dataLength;
    }, kTimeoutMs);
}

// The first bytes of a plain command block: code and parameters (the check byte is the
// transport's own and checked by its tests).
QByteArray leading(const std::vector<std::uint8_t> &block, int count)
{
    return QByteArray(reinterpret_cast<const char *>(block.data()), std::min<int>(count, int(block.size())));
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values)
        result.append(char(value));
    return result;
}

// The step positions of the 8-step and 11-step sliders as points on their tracks.
QPointF stepPoint8(QQuickItem *slider, int step)
{
    return {std::floor(step * (slider->width() - 1) / 7), slider->height() / 2};
}
QPointF stepPoint11(QQuickItem *slider, int step)
{
    return {std::floor((step + 0.5) * (slider->width() - 1) / 11), slider->height() / 2};
}

}  // namespace

class TestLightingEndToEnd : public QObject {
    Q_OBJECT

private:
    bool openPage(SceneDriver &scene, int page)
    {
        // Clicking the open page's entry would close it.
        const bool isOpen = scene.property("Main_W3", "currentPage").toInt() == page;
        if (!isOpen && !scene.click("Menu_Func_" + QString::number(page)))
            return false;
        const QString name = page == kColorPage ? "Page_Color" : "Page_Sensor";
        // The page is shown at once and slides in: clicks aim at where it comes to rest.
        return scene.waitForItem(name, kTimeoutMs) != nullptr
            && scene.waitFor([&] { return scene.property("Main_W3", "currentPage").toInt() == page; })
            && scene.waitFor([&] { return scene.property(name, "x").toDouble() == 0.0; }, kTimeoutMs);
    }

    bool clickSlider8(SceneDriver &scene, const QString &name, int step)
    {
        QQuickItem *slider = scene.waitForItem(name, kTimeoutMs);
        return slider && scene.click(slider, Qt::LeftButton, stepPoint8(slider, step));
    }
    bool clickSlider11(SceneDriver &scene, const QString &name, int step)
    {
        QQuickItem *slider = scene.waitForItem(name, kTimeoutMs);
        return slider && scene.click(slider, Qt::LeftButton, stepPoint11(slider, step));
    }

    bool chooseEffect(SceneDriver &scene, int position)
    {
        const QString row = "effectMenu_item" + QString::number(position);
        return scene.click("effectMenu") && scene.waitForItem(row, kTimeoutMs) && scene.click(row);
    }

    bool setLight(SceneDriver &scene, bool on)
    {
        if (scene.property("Page_Color", "powerOn").toBool() != on && !scene.click("ledPower"))
            return false;
        return scene.property("Page_Color", "powerOn").toBool() == on;
    }

    bool applyAndWait(SceneDriver &scene, const QString &button)
    {
        return scene.click(button) && scene.waitUntilUnlocked(kTimeoutMs);
    }

private slots:
    // Several settings in turn on one running program: each APPLY sends one 0DH block and
    // stores the page's positions with the on/off state.
    void effectApplyReachesTheMouse()
    {
        struct Row {
            const char *name;
            int position, brightness, speed;
            bool on;
            QByteArray block;
            QString stored;
        };
        // A slider the effect does not use is disabled and keeps its step (the profile's
        // brightness 7 and speed 3 at start).
        const Row rows[] = {
            {"YO-YO", 8, 3, 2, true, bytes({0x0D, 9, 115, 12}), "8, 3, 2, 1"},
            {"STATIC full brightness", 0, 7, 4, true, bytes({0x0D, 1, 255, 0}), "0, 7, 2, 1"},
            {"BREATHING fastest", 2, 0, 7, true, bytes({0x0D, 3, 0, 1}), "2, 7, 7, 1"},
            {"SPOTLIGHT dark and slow", 9, 0, 0, true, bytes({0x0D, 10, 0, 30}), "9, 0, 0, 1"},
            {"light off", 4, 5, 1, false, bytes({0x0D, 0, 0, 0}), "4, 5, 1, 0"},
        };

        SceneDriver scene;
        QVERIFY(scene.start());
        QVERIFY(openPage(scene, kColorPage));
        for (const Row &row : rows) {
            QVERIFY2(setLight(scene, true), row.name);
            QVERIFY2(chooseEffect(scene, row.position), row.name);
            QVERIFY2(clickSlider8(scene, "brightnessSlider", row.brightness), row.name);
            QVERIFY2(clickSlider8(scene, "speedSlider", row.speed), row.name);
            QVERIFY2(setLight(scene, row.on), row.name);
            vhid::Bus::instance().clearRecords();

            QVERIFY2(applyAndWait(scene, "colorApplyButton"), row.name);
            QVERIFY2(waitForTransfer(scene, 0x0D), row.name);
            QCOMPARE(mouseTransfers(0x0D).size(), size_t(1));
            QCOMPARE(leading(mouseTransfers(0x0D).front().block, 7), row.block + QByteArray(3, '\0'));
            QVERIFY2(scene.waitFor([&] { return entry(kProfile1, "color_W3", "ledEffect") == row.stored; }, kTimeoutMs),
                     qPrintable(QString(row.name) + ": " + entry(kProfile1, "color_W3", "ledEffect")));
        }
    }

    // What the user set is what the page shows after the program starts again, the light's
    // on/off state included.
    void lightSettingsReadBackAfterRestart_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("on");
        QTest::newRow("STATIC on") << 0 << true;
        QTest::newRow("WAVE off") << 4 << false;
    }

    void lightSettingsReadBackAfterRestart()
    {
        QFETCH(int, position);
        QFETCH(bool, on);

        QByteArray profile;
        {
            SceneDriver scene;
            QVERIFY(scene.start());
            QVERIFY(openPage(scene, kColorPage));
            QVERIFY(setLight(scene, true));
            QVERIFY(chooseEffect(scene, position));
            QVERIFY(setLight(scene, on));
            QVERIFY(applyAndWait(scene, "colorApplyButton"));
            QVERIFY(waitForTransfer(scene, 0x0D));
            QVERIFY(scene.waitFor([&] { return entry(kProfile1, "color_W3", "ledEffect").endsWith(on ? ", 1" : ", 0"); }, kTimeoutMs));
            profile = contents(kProfile1);
        }
        SceneDriver::Options options;
        options.prepare = [&](ModulesSandbox &) { writeText(kProfile1, profile); };
        SceneDriver again(options);
        QVERIFY(again.start());
        QVERIFY(openPage(again, kColorPage));
        QCOMPARE(again.property("Page_Color", "effectPosition").toInt(), position);
        QCOMPARE(again.property("Page_Color", "powerOn").toBool(), on);
        QCOMPARE(again.property("ledPower", "isSelect").toBool(), on);
    }

    // The profile menu switches profiles under both pages: each shows the profile's own
    // values, the light's on/off state included, and the sensor page its stages.
    void pagesFollowTheProfileMenu()
    {
        SceneDriver::Options options;
        options.prepare = [](ModulesSandbox &) {
            QSettings p2("./modules/setting/p2.bin", QSettings::IniFormat);
            p2.setValue("color_W3/ledEffect", QVariantList{4, 6, 5, 0});
            p2.setValue("sensor/stage_W3", 3);
            p2.setValue("sensor/reportRate_W3", 8);
        };
        SceneDriver scene(options);
        QVERIFY(scene.start());
        QVERIFY(openPage(scene, kColorPage));
        QVERIFY(setLight(scene, true));
        QVERIFY(chooseEffect(scene, 0));
        QVERIFY(applyAndWait(scene, "colorApplyButton"));

        QVERIFY(scene.click("Menu_Prof_1"));
        QVERIFY(scene.waitFor([&] { return scene.property("Page_Color", "effectPosition").toInt() == 4; }, kTimeoutMs));
        QCOMPARE(scene.property("Page_Color", "powerOn").toBool(), false);
        QVERIFY(openPage(scene, kSensorPage));
        QCOMPARE(scene.property("Page_Sensor", "currentStage").toInt(), 2);
        QCOMPARE(scene.property("reportRate", "currentIndex").toInt(), 0);

        QVERIFY(scene.click("Menu_Prof_0"));
        QVERIFY(scene.waitFor([&] { return scene.property("Page_Color", "effectPosition").toInt() == 0; }, kTimeoutMs));
        QCOMPARE(scene.property("Page_Color", "powerOn").toBool(), true);
        QCOMPARE(scene.property("ledPower", "isSelect").toBool(), true);
        QCOMPARE(scene.property("Page_Sensor", "currentStage").toInt(), 1);
        QCOMPARE(scene.property("reportRate", "currentIndex").toInt(), 2);
    }

    // ALL SAVE sends what the lighting and sensor pages would APPLY, read from the profile in
    // use, without making either page.
    void allSaveSendsBothPagesWithoutMakingThem()
    {
        SceneDriver::Options options;
        options.prepare = [](ModulesSandbox &) {
            QSettings p1(kProfile1, QSettings::IniFormat);
            p1.setValue("color_W3/ledEffect", QVariantList{4, 3, 4, 1});
            p1.setValue("sensor/stage_W3", 3);
            p1.setValue("sensor/reportRate_W3", 8);
        };
        SceneDriver scene(options);
        QVERIFY(scene.start());
        vhid::Bus::instance().clearRecords();

        QVERIFY(scene.click("Menu_Down_save"));
        QVERIFY(scene.waitUntilUnlocked(kTimeoutMs));
        QVERIFY(waitForTransfer(scene, 0x0B));
        QCOMPARE(mouseTransfers(0x0D).size(), size_t(1));
        // WAVE at brightness step 3 and speed step 4.
        QCOMPARE(leading(mouseTransfers(0x0D).front().block, 4), bytes({0x0D, 5, 115, 5}));
        QCOMPARE(leading(mouseTransfers(0x01).front().block, 2), bytes({0x01, 8}));
        QCOMPARE(leading(mouseTransfers(0x0B).front().block, 2), bytes({0x0B, 3}));
        QVERIFY(scene.item("Page_Color") == nullptr);
        QVERIFY(scene.item("Page_Sensor") == nullptr);
    }

    void colourChangeSendsTheEightColours()
    {
        SceneDriver scene;
        QVERIFY(scene.start());
        QVERIFY(openPage(scene, kColorPage));
        QVERIFY(setLight(scene, true));
        QVERIFY(chooseEffect(scene, 0));
        vhid::Bus::instance().clearRecords();

        QVERIFY(scene.click("lightColors_entry3"));
        QVERIFY(scene.click("lightColors_palette_strip", Qt::LeftButton, {10, 0}));
        QVERIFY(waitForTransfer(scene, 0x10, 24));
        const Transfer sent = mouseTransfers(0x10).front();
        QCOMPARE(leading(sent.block, 3), bytes({0x10, 0, 24}));
        // The shipped palette with entry 3 (magenta) turned black by the top of the strip.
        QCOMPARE(sent.data.left(24), bytes({255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 255, 255, 255, 255, 0,
                                           255, 255, 255, 255, 127, 0}));
        QVERIFY(scene.waitFor([] {
            return entry(kProfile1, "color_W3", "type0").startsWith("255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, ");
        }, kTimeoutMs));
    }

    void stageValueSendsTheStagesAtOnce()
    {
        SceneDriver scene;
        QVERIFY(scene.start());
        QVERIFY(openPage(scene, kSensorPage));
        vhid::Bus::instance().clearRecords();

        // The virtual mouse has the ANDS3320: menu 0, 500, 1000, 1750, 2000, 2500, ...
        QQuickItem *stage = scene.waitForItem("dpiStages_1", kTimeoutMs);
        QVERIFY(stage);
        QVERIFY(scene.click(stage, Qt::RightButton, {20, 20}));
        QVERIFY(scene.click("dpiStages_menu5"));
        QVERIFY(waitForTransfer(scene, 0x11, 8));
        const Transfer sent = mouseTransfers(0x11).front();
        QCOMPARE(leading(sent.block, 2), bytes({0x11, 8}));
        // The shipped profile's 1500 is no ANDS3320 value: that stage goes out as the
        // sensor's nearest value, 1750.
        QCOMPARE(sent.data.left(8), bytes({0x02, 0x0A, 0x07, 0x08, 0x0A, 0x0C, 0x48, 0x4A}));
        QVERIFY(scene.waitFor([] {
            return entry(kProfile1, "sensor", "dpi_W3") == "500, 2500, 1750, 2000, 2500, 3000, 4000, 5000";
        }, kTimeoutMs));
        QCOMPARE(scene.property("dpiStages", "stageTexts").toStringList().mid(0, 3),
                 (QStringList{"500", "2500", "1750"}));
    }

    // A mouse with the ANDS3325 and the shipped profile: every stage shows a value of the
    // sensor, and on the wire a stage goes unused only when the user switches it off. The
    // stage in use then moves to a used one, and an unused stage still takes a colour.
    void ands3325StagesStayUsedUntilSwitchedOff()
    {
        SceneDriver::Options options;
        options.prepare = [](ModulesSandbox &) {
            vhid::Bus::instance().withMouse([](vhid::MouseMemory &m) {
                m.sensorType = std::uint8_t(vhid::Sensor::ANDS3325);
                m.ledInstruct[0] = {1, 0, 0};  // the indicator shows any colour
            });
        };
        SceneDriver scene(options);
        QVERIFY(scene.start());
        QVERIFY(openPage(scene, kSensorPage));
        QCOMPARE(scene.property("dpiStages", "stageTexts").toStringList(),
                 (QStringList{"\u2248400", "1000", "\u22481400", "2000", "\u22482400", "\u22482800", "4000", "\u22484800"}));
        QVERIFY(!scene.screenshot("sensor_ands3325").isEmpty());
        vhid::Bus::instance().clearRecords();

        // Stage 2 is the shipped stage in use: switched off, stage 1 takes its place.
        QVERIFY(scene.click("dpiStages_1", Qt::RightButton, {20, 20}));
        QVERIFY(scene.click("dpiStages_menu0"));
        QVERIFY(waitForTransfer(scene, 0x11, 8));
        QCOMPARE(mouseTransfers(0x11).back().data.left(8), bytes({0x03, 0x80, 0x0D, 0x13, 0x17, 0x1B, 0x27, 0x2F}));
        QCOMPARE(scene.property("dpiStages", "currentStage").toInt(), 0);

        // Stage 3 takes the menu's last value, 10000, reached with the menu's scroll bar.
        vhid::Bus::instance().clearRecords();
        QVERIFY(scene.click("dpiStages_2", Qt::RightButton, {20, 20}));
        QVERIFY(scene.dragScrollBarToEnd("dpiStages_menuScrollBar"));
        QVERIFY(!scene.screenshot("sensor_ands3325_menu_scrolled").isEmpty());
        QVERIFY(scene.click("dpiStages_menu17"));
        QVERIFY(waitForTransfer(scene, 0x11, 8));
        QCOMPARE(mouseTransfers(0x11).back().data.left(8), bytes({0x03, 0x80, 0x71, 0x13, 0x17, 0x1B, 0x27, 0x2F}));

        // The unused stage's colour entry takes a colour; the stage in use stays.
        vhid::Bus::instance().clearRecords();
        QVERIFY(scene.click("indicatorColors_entry1"));
        QVERIFY(scene.click("indicatorColors_palette_strip", Qt::LeftButton, {10, 0}));
        QVERIFY(waitForTransfer(scene, 0x10, 24));
        QCOMPARE(mouseTransfers(0x10).back().data.left(6), bytes({255, 0, 0, 0, 0, 0}));

        QVERIFY(applyAndWait(scene, "sensorApplyButton"));
        QVERIFY(waitForTransfer(scene, 0x0B));
        QCOMPARE(leading(mouseTransfers(0x0B).back().block, 2), bytes({0x0B, 1}));
    }

    // Switching off the only used stage is refused with a hint over the stages; screenshots
    // of the hint in both skins and in Russian.
    void lastUsedStageStaysWithAHint_data()
    {
        QTest::addColumn<int>("skin");
        QTest::addColumn<QString>("language");
        QTest::newRow("skin1_english") << 1 << "ENGLISH";
        QTest::newRow("skin2_english") << 2 << "ENGLISH";
        QTest::newRow("skin2_russian") << 2 << "RUSSIAN";
    }
    void lastUsedStageStaysWithAHint()
    {
        QFETCH(int, skin);
        QFETCH(QString, language);
        SceneDriver::Options options;
        options.prepare = [](ModulesSandbox &) {
            QSettings profile(kProfile1, QSettings::IniFormat);
            profile.setValue("sensor/dpi_W3", QVariantList{0, 0, 1500, 0, 0, 0, 0, 0});
            profile.setValue("sensor/stage_W3", 3);
        };
        SceneDriver scene(options);
        QVERIFY(scene.start());
        scene.call("GlobalSettings", "setSkin", {skin - 1});
        scene.call("GlobalSettings", "setLanguage", {scene.view().chkLanguages().keys().indexOf(language)});
        QVERIFY(openPage(scene, kSensorPage));
        QVERIFY(scene.click("dpiStages_2", Qt::RightButton, {20, 20}));
        QVERIFY(scene.click("dpiStages_menu0"));
        QVERIFY(scene.property("stageHint", "visible").toBool());
        QCOMPARE(scene.property("dpiStages", "stageTexts").toStringList().at(2), QString::fromUtf8("\u22481750"));
        QVERIFY(!scene.screenshot(QString("sensor_last_stage_%1").arg(QTest::currentDataTag())).isEmpty());
        QCOMPARE(entry(kProfile1, "sensor", "dpi_W3"), QString("0, 0, 1500, 0, 0, 0, 0, 0"));
    }

    // R = 300 is refused aloud: the field keeps the entry with the range under it, and
    // nothing reaches the mouse.
    void colourFieldBeyond255IsRefusedWithItsRange_data() { lastUsedStageStaysWithAHint_data(); }
    void colourFieldBeyond255IsRefusedWithItsRange()
    {
        QFETCH(int, skin);
        QFETCH(QString, language);
        SceneDriver scene;
        QVERIFY(scene.start());
        scene.call("GlobalSettings", "setSkin", {skin - 1});
        scene.call("GlobalSettings", "setLanguage", {scene.view().chkLanguages().keys().indexOf(language)});
        QVERIFY(openPage(scene, kColorPage));
        QVERIFY(setLight(scene, true));
        QVERIFY(chooseEffect(scene, 0));  // STATIC takes the colours
        vhid::Bus::instance().clearRecords();
        QQuickItem *field = scene.waitForItem("lightColors_palette_r", kTimeoutMs);
        QVERIFY(field);
        QVERIFY(scene.click(field));
        scene.pressKey(Qt::Key_A, Qt::ControlModifier);
        scene.typeText("300");
        scene.pressKey(Qt::Key_Return);
        QVERIFY(scene.property("lightColors_palette_hint", "visible").toBool());
        QCOMPARE(field->property("text").toString(), QString("300"));
        QVERIFY(field->hasActiveFocus());
        QVERIFY(!scene.screenshot(QString("lighting_r300_%1").arg(QTest::currentDataTag())).isEmpty());
        QVERIFY(mouseTransfers(0x10).empty());
    }

    void indicatorColourSendsAtOnce_data()
    {
        QTest::addColumn<bool>("fixedColours");
        QTest::newRow("colour ids") << true;
        QTest::newRow("colours") << false;
    }

    void indicatorColourSendsAtOnce()
    {
        QFETCH(bool, fixedColours);
        SceneDriver::Options options;
        options.prepare = [fixedColours](ModulesSandbox &) {
            // The logo light takes colour ids when its 87H option1 is 0.
            vhid::Bus::instance().withMouse([fixedColours](vhid::MouseMemory &m) {
                m.ledInstruct[0] = {std::uint8_t(fixedColours ? 0 : 1), 0, 0};
            });
        };
        SceneDriver scene(options);
        QVERIFY(scene.start());
        QVERIFY(openPage(scene, kSensorPage));
        vhid::Bus::instance().clearRecords();

        // The shipped profile's stage in use is 2: its indicator is the current entry.
        if (fixedColours) {
            QVERIFY(scene.click("indicatorColors_fixed5"));
        } else {
            QVERIFY(scene.click("indicatorColors_palette_strip", Qt::LeftButton, {10, 0}));
        }
        QVERIFY(waitForTransfer(scene, 0x10, fixedColours ? 4 : 24));
        const Transfer sent = mouseTransfers(0x10).front();
        if (fixedColours) {
            QCOMPARE(leading(sent.block, 3), bytes({0x10, 2, 4}));
            QCOMPARE(sent.data.left(4), bytes({0x50, 0x32, 0x54, 0x76}));
            QVERIFY(scene.waitFor([] { return entry(kProfile1, "color_W3", "type2") == "0, 5, 2, 3, 4, 5, 6, 7"; }, kTimeoutMs));
        } else {
            QCOMPARE(leading(sent.block, 3), bytes({0x10, 1, 24}));
            QCOMPARE(sent.data.left(6), bytes({255, 0, 0, 0, 0, 0}));
            QVERIFY(scene.waitFor([] { return entry(kProfile1, "color_W3", "type1").startsWith("255, 0, 0, 0, 0, 0, 0, 0, 255"); }, kTimeoutMs));
        }
    }

    void sensorApplyReachesMouseProfileAndDesktop()
    {
        SceneDriver scene;
        QVERIFY(scene.start());
        QVERIFY(openPage(scene, kSensorPage));
        vhid::Bus::instance().clearRecords();

        QVERIFY(scene.click("reportRate_0"));
        QVERIFY(clickSlider11(scene, "cursorSpeed", 8));
        QVERIFY(clickSlider11(scene, "scrollLines", 3));
        QVERIFY(clickSlider11(scene, "doubleClickSpeed", 6));
        QVERIFY(scene.click("dpiStages_3", Qt::LeftButton, {20, 20}));
        QVERIFY2(mouseTransfers(0x01).empty() && mouseTransfers(0x0B).empty(), "nothing before APPLY");

        QVERIFY(applyAndWait(scene, "sensorApplyButton"));
        QVERIFY(waitForTransfer(scene, 0x0B));
        QCOMPARE(mouseTransfers(0x01).size(), size_t(1));
        QCOMPARE(leading(mouseTransfers(0x01).front().block, 2), bytes({0x01, 8}));
        QCOMPARE(leading(mouseTransfers(0x0B).front().block, 2), bytes({0x0B, 4}));
        QVERIFY(scene.waitFor([] { return entry(kProfile1, "sensor", "stage_W3") == "4"; }, kTimeoutMs));
        QCOMPARE(entry(kProfile1, "sensor", "reportRate_W3"), QString("8"));
        QCOMPARE(entry(kProfile1, "sensor", "cursorSpeed_W3"), QString("8"));
        QCOMPARE(entry(kProfile1, "sensor", "verticalScrollLines_W3"), QString("3"));
        QCOMPARE(entry(kProfile1, "sensor", "doubleClickSpeed_W3"), QString("6"));
        QCOMPARE(scene.view().getCursorSpeed(), 8u);
        QCOMPARE(scene.view().getVerticalScrollLines(), 3u);
        QCOMPARE(scene.view().getDoubleClickSpeed(), 6u);
    }

    // Both pages in both skins and in languages of different scripts, saved into the build
    // folder's screenshots/ for review.
    void screenshots()
    {
        struct Look {
            int skin;
            QString language;
        };
        const Look looks[] = {{1, "ENGLISH"}, {2, "ENGLISH"}, {1, "CHINESE (Simp)"}, {2, "CHINESE (Simp)"}, {1, "RUSSIAN"}};
        SceneDriver scene;
        QVERIFY(scene.start());
        const QStringList languages = scene.view().chkLanguages().keys();
        // Both pages made before the looks change: each relabels itself from then on.
        QVERIFY(openPage(scene, kSensorPage));
        // The light on, with an effect that uses every control.
        QVERIFY(openPage(scene, kColorPage));
        QVERIFY(setLight(scene, true));
        QVERIFY(chooseEffect(scene, 9));
        for (const Look &look : looks) {
            const int position = languages.indexOf(look.language);
            QVERIFY2(position >= 0, qPrintable(look.language));
            scene.call("GlobalSettings", "setSkin", {look.skin - 1});
            scene.call("GlobalSettings", "setLanguage", {position});
            QCOMPARE(scene.root()->property("skin_No").toInt(), look.skin);
            const QStringList strings = scene.root()->property("globalSetting_stringList").toStringList();
            QVERIFY(strings.size() > 105);
            QCOMPARE(scene.property("reportRateTitle", "text").toString(), strings.at(100));

            const QString suffix = QString("_skin%1_%2").arg(look.skin).arg(look.language.left(7).toLower());
            QVERIFY(openPage(scene, kColorPage));
            QTest::qWait(200);
            QVERIFY(!scene.screenshot("lighting" + suffix).isEmpty());
            QVERIFY(openPage(scene, kSensorPage));
            QTest::qWait(200);
            QVERIFY(!scene.screenshot("sensor" + suffix).isEmpty());
        }
    }
};

QTEST_MAIN(TestLightingEndToEnd)
#include "test_lighting_e2e.moc"
