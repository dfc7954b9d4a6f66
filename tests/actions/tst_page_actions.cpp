// The sensor and lighting actions on the program's controllers over the virtual mouse: each
// choice sends its command block and leaves its values in the profile in use; the pages' life
// cycle (start, change, pending, apply, discard, reset, another profile) runs without a scene.
#include "actions/LightingActions.h"
#include "actions/PageActions.h"
#include "actions/ProfileActions.h"
#include "actions/SensorActions.h"
#include "controller/Controllers.h"
#include "controller/MouseOperations.h"
#include "controller/ProfileStore.h"
#include "device/Hid_Thread.h"
#include "platform/PointerSettings.h"
#include "tests/actions/ActionsRig.h"
#include "tests/support/CommandBlocks.h"
#include "tests/support/ModulesSandbox.h"
#include "virtual/VirtualBus.h"

#include <QSettings>
#include <QSignalSpy>
#include <algorithm>
#include <QtTest>
#include <functional>
#include <memory>

namespace {

using Choice = std::function<void(PageActions &)>;
using Steps = std::function<void(PageActions &, Controllers &)>;
const char *const kProfile1 = "modules/setting/p1.bin";

QString profileFile(int profile) { return QString("modules/setting/p%1.bin").arg(profile + 1); }

class FakePointer : public PointerSettings {
public:
    bool setPointerSpeed(int) override { return true; }
    bool setWheelScrollLines(int) override { return true; }
    bool setDoubleClickTime(int) override { return true; }
    bool readMouse(int values[MouseValueCount]) override
    {
        std::fill(values, values + MouseValueCount, 0);
        return true;
    }
    bool writeMouse(const int[MouseValueCount]) override { return true; }
};

// An entry of a profile file as text, lists joined with commas.
QString storedText(int profile, const QString &key)
{
    const QSettings settings(profileFile(profile), QSettings::IniFormat);
    const QVariant value = settings.value(key);
    const bool isList = value.type() == QVariant::List || value.type() == QVariant::StringList;
    return isList ? value.toStringList().join(',') : value.toString();
}

// Two profiles that differ in every value of both pages, written before the program starts.
void writeTwoProfiles()
{
    QStringList palette;
    for (int value = 1; value <= 24; ++value)
        palette << QString::number(value);
    const QList<QPair<QString, QVariant>> first = {
        {"color_W3/ledEffect", QStringList{"4", "3", "5", "1"}},
        {"color_W3/type0", palette},
        {"sensor/dpi_W3", QStringList{"500", "1000", "2000", "0", "0", "0", "0", "0"}},
        {"sensor/stage_W3", 3},
        {"sensor/reportRate_W3", 1},
        {"sensor/cursorSpeed_W3", 7},
        {"sensor/verticalScrollLines_W3", 3},
        {"sensor/doubleClickSpeed_W3", 9}};
    const QList<QPair<QString, QVariant>> second = {
        {"color_W3/ledEffect", QStringList{"9", "1", "2", "1"}},
        {"sensor/dpi_W3", QStringList{"1000", "2500", "0", "0", "0", "0", "0", "0"}},
        {"sensor/stage_W3", 1},
        {"sensor/reportRate_W3", 8},
        {"sensor/cursorSpeed_W3", 1},
        {"sensor/verticalScrollLines_W3", 1},
        {"sensor/doubleClickSpeed_W3", 1}};
    for (int profile = 0; profile < 2; ++profile) {
        QSettings settings(profileFile(profile), QSettings::IniFormat);
        for (const auto &entry : profile == 0 ? first : second)
            settings.setValue(entry.first, entry.second);
    }
}

using Rig = ActionsRig;

QString shownLight(const LightingActions &light)
{
    return QString("effect %1 brightness %2 speed %3 %4")
        .arg(light.effectPosition())
        .arg(light.brightnessStep())
        .arg(light.speedStep())
        .arg(light.powerOn() ? "on" : "off");
}

QString shownSensor(const SensorActions &sensor)
{
    QStringList stages;
    for (int value : sensor.stageValues())
        stages << QString::number(value);
    return QString("rate %1 pointer %2 %3 %4 stage %5 stages %6")
        .arg(sensor.reportRatePosition())
        .arg(sensor.cursorSpeed())
        .arg(sensor.scrollLines())
        .arg(sensor.doubleClickSpeed())
        .arg(sensor.currentStage())
        .arg(stages.join(' '));
}

}  // namespace

Q_DECLARE_METATYPE(Choice)
Q_DECLARE_METATYPE(Steps)

class TestPageActions : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Controllers::setPointerFactory([] { return std::make_unique<FakePointer>(); });
    }

    void aChoiceSendsItsCommandAndIsKept_data()
    {
        QTest::addColumn<Choice>("choice");
        QTest::addColumn<QString>("block");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        const auto row = [](const char *name, Choice choice, const char *block, const char *key, const char *stored) {
            QTest::newRow(name) << choice << QString(block) << QString(key) << QString(stored);
        };
        row("stage 2 in use", [](PageActions &a) { a.sensor->useStage(1); }, "0b 02 00 00 00 00 00",
            "sensor/stage_W3", "2");
        row("rate 1000", [](PageActions &a) { a.sensor->setReportRate(3); }, "01 01 00 00 00 00 00",
            "sensor/reportRate_W3", "1");
        row("rate 125", [](PageActions &a) { a.sensor->setReportRate(0); }, "01 08 00 00 00 00 00",
            "sensor/reportRate_W3", "8");
        row("breathing", [](PageActions &a) { a.lighting->apply(2, 5, 6, true); }, "0d 03 00 02 00 00 00",
            "color_W3/ledEffect", "2,5,6,1");
        row("light off keeps the effect", [](PageActions &a) { a.lighting->apply(4, 5, 0, false); },
            "0d 00 00 00 00 00 00", "color_W3/ledEffect", "4,5,0,0");
    }
    void aChoiceSendsItsCommandAndIsKept()
    {
        QFETCH(Choice, choice);
        QFETCH(QString, block);
        QFETCH(QString, key);
        QFETCH(QString, stored);
        ModulesSandbox sandbox;
        Rig rig;

        choice(rig.actions);
        rig.settle();

        QVERIFY(vhid::Bus::instance().violationReport().empty());
        QCOMPARE(mouseCommandBlocks(), QStringList{block});
        const QSettings profile(kProfile1, QSettings::IniFormat);
        const QVariant value = profile.value(key);
        const bool isList = value.type() == QVariant::List || value.type() == QVariant::StringList;
        QCOMPARE(isList ? value.toStringList().join(',') : value.toString(), stored);
    }

    // Each row starts both units on two stored profiles, runs its steps and compares what the
    // units show, whether it pends, the command blocks sent and the entries the profile files
    // hold ("<profile> <key>=<value>", profiles from 0). An empty `light` or `sensor` is not
    // compared.
    void lifeCycle_data()
    {
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<QString>("light");
        QTest::addColumn<QString>("sensor");
        QTest::addColumn<bool>("pending");
        QTest::addColumn<QStringList>("blocks");
        QTest::addColumn<QStringList>("files");
        const auto row = [](const char *name, Steps steps, const char *light, const char *sensor, bool pending,
                            QStringList blocks, QStringList files) {
            QTest::newRow(name) << steps << QString(light) << QString(sensor) << pending << blocks << files;
        };
        const char *const firstLight = "effect 4 brightness 3 speed 5 on";
        const char *const firstSensor = "rate 3 pointer 7 3 9 stage 2 stages 500 1000 2000 0 0 0 0 0";
        const auto none = [](PageActions &, Controllers &) {};

        row("light: start shows the profile and sends nothing", none, firstLight, firstSensor, false, {},
            {"0 color_W3/ledEffect=4,3,5,1"});
        row("light: a change pends", [](PageActions &a, Controllers &) { a.lighting->setEffectPosition(2); },
            "effect 2 brightness 3 speed 5 on", "", true, {}, {"0 color_W3/ledEffect=4,3,5,1"});
        row("light: apply sends the change and keeps it",
            [](PageActions &a, Controllers &) {
                a.lighting->setEffectPosition(2);
                a.lighting->setSpeedStep(6);
                a.lighting->apply();
            },
            "effect 2 brightness 3 speed 6 on", "", false, {"0d 03 00 02 00 00 00"},
            {"0 color_W3/ledEffect=2,3,6,1"});
        row("light: power off is applied as the light off",
            [](PageActions &a, Controllers &) {
                a.lighting->setPowerOn(false);
                a.lighting->apply();
            },
            "effect 4 brightness 3 speed 5 off", "", false, {"0d 00 00 00 00 00 00"},
            {"0 color_W3/ledEffect=4,3,5,0"});
        row("light: discard reads the profile again",
            [](PageActions &a, Controllers &) {
                a.lighting->setEffectPosition(2);
                a.lighting->setPowerOn(false);
                a.lighting->discard();
            },
            firstLight, "", false, {}, {"0 color_W3/ledEffect=4,3,5,1"});
        row("light: reset sends the factory palette at once, the factory effect pends",
            [](PageActions &a, Controllers &) { a.lighting->reset(); }, "effect 0 brightness 7 speed 3 on", "",
            true, {"10 00 18 00 00 00 00"},
            {"0 color_W3/ledEffect=4,3,5,1",
             "0 color_W3/type0=255,0,0,0,255,0,0,0,255,255,0,255,0,255,255,255,255,0,255,255,255,255,127,0"});
        row("light: reset then apply",
            [](PageActions &a, Controllers &) {
                a.lighting->reset();
                a.lighting->apply();
            },
            "effect 0 brightness 7 speed 3 on", "", false, {"10 00 18 00 00 00 00", "0d 01 ff 00 00 00 00"},
            {"0 color_W3/ledEffect=0,7,3,1"});
        row("light: the second profile is shown and applied to itself",
            [](PageActions &a, Controllers &c) {
                c.mouse->ui_02H_SetCurrentProfile(1);
                a.lighting->refresh();
                a.lighting->setBrightnessStep(7);
                a.lighting->apply();
            },
            "effect 9 brightness 7 speed 2 on", "", false, {"0d 0a ff 1b 00 00 00"},
            {"1 color_W3/ledEffect=9,7,2,1", "0 color_W3/ledEffect=4,3,5,1"});

        row("sensor: a stage value reaches the mouse at once and does not pend",
            [](PageActions &a, Controllers &) { QVERIFY(a.sensor->setStageValue(3, 2500)); }, "",
            "rate 3 pointer 7 3 9 stage 2 stages 500 1000 2000 2500 0 0 0 0", false, {"11 08 08 00 00 00 00"},
            {"0 sensor/dpi_W3=500,1000,2000,2500,0,0,0,0"});
        row("sensor: switching off the stage in use moves it to the nearest used one, which pends",
            [](PageActions &a, Controllers &) { QVERIFY(a.sensor->setStageValue(2, 0)); }, "",
            "rate 3 pointer 7 3 9 stage 1 stages 500 1000 0 0 0 0 0 0", true, {"11 08 08 00 00 00 00"},
            {"0 sensor/dpi_W3=500,1000,0,0,0,0,0,0", "0 sensor/stage_W3=3"});
        row("sensor: the last used stage stays used",
            [](PageActions &a, Controllers &) {
                QVERIFY(a.sensor->setStageValue(0, 0));
                QVERIFY(a.sensor->setStageValue(1, 0));
                QVERIFY(!a.sensor->setStageValue(2, 0));
            },
            "", "rate 3 pointer 7 3 9 stage 2 stages 0 0 2000 0 0 0 0 0", false,
            {"11 08 08 00 00 00 00", "11 08 08 00 00 00 00"}, {"0 sensor/dpi_W3=0,0,2000,0,0,0,0,0"});
        row("sensor: an unused stage cannot be the stage in use",
            [](PageActions &a, Controllers &) { QVERIFY(!a.sensor->selectStage(5)); }, "", firstSensor, false, {},
            {});
        row("sensor: apply sends the rate, then the stage in use, and keeps the pointer settings",
            [](PageActions &a, Controllers &) {
                a.sensor->setReportRatePosition(0);
                a.sensor->setCursorSpeed(2);
                QVERIFY(a.sensor->selectStage(0));
                QVERIFY(a.sensor->pending());
                a.sensor->apply();
            },
            "", "rate 0 pointer 2 3 9 stage 0 stages 500 1000 2000 0 0 0 0 0", false,
            {"01 08 00 00 00 00 00", "0b 01 00 00 00 00 00"},
            {"0 sensor/reportRate_W3=8", "0 sensor/cursorSpeed_W3=2", "0 sensor/verticalScrollLines_W3=3",
             "0 sensor/doubleClickSpeed_W3=9", "0 sensor/stage_W3=1"});
        row("sensor: discard reads the profile again",
            [](PageActions &a, Controllers &) {
                a.sensor->setReportRatePosition(0);
                a.sensor->setDoubleClickSpeed(0);
                a.sensor->discard();
            },
            "", firstSensor, false, {}, {"0 sensor/reportRate_W3=1"});
        row("sensor: reset sends the factory stages and colour ids at once, the rest pends",
            [](PageActions &a, Controllers &) { a.sensor->reset(); }, "",
            "rate 2 pointer 5 2 5 stage 1 stages 500 1000 1750 2000 2500 3000 4000 5000", true,
            {"11 08 08 00 00 00 00", "10 02 04 00 00 00 00"},
            {"0 sensor/dpi_W3=500,1000,1750,2000,2500,3000,4000,5000", "0 color_W3/type2=0,1,2,3,4,5,6,7",
             "0 sensor/reportRate_W3=1"});
        row("sensor: the second profile is shown and applied to itself",
            [](PageActions &a, Controllers &c) {
                c.mouse->ui_02H_SetCurrentProfile(1);
                a.sensor->refresh();
                QVERIFY(!a.sensor->pending());
                a.sensor->setScrollLines(10);
                a.sensor->apply();
            },
            "", "rate 0 pointer 1 10 1 stage 0 stages 1000 2500 0 0 0 0 0 0", false,
            {"01 08 00 00 00 00 00", "0b 01 00 00 00 00 00"},
            {"1 sensor/verticalScrollLines_W3=10", "1 sensor/reportRate_W3=8", "0 sensor/verticalScrollLines_W3=3"});

        const char *const secondLight = "effect 9 brightness 1 speed 2 on";
        const char *const secondSensor = "rate 0 pointer 1 1 1 stage 0 stages 1000 2500 0 0 0 0 0 0";
        row("profile menu: every unit shows the profile selected, the mouse gets it when applied",
            [](PageActions &a, Controllers &) { QVERIFY(a.profiles->select(1)); }, secondLight, secondSensor, false,
            {}, {});
        row("profile menu: a pending change is dropped by the switch",
            [](PageActions &a, Controllers &) {
                a.lighting->setEffectPosition(2);
                QVERIFY(a.profiles->select(1));
            },
            secondLight, secondSensor, false, {}, {"0 color_W3/ledEffect=4,3,5,1"});
        row("profile menu: a profile out of range changes nothing",
            [](PageActions &a, Controllers &) {
                QVERIFY(!a.profiles->select(10));
                QVERIFY(!a.profiles->switchTo(-1));
            },
            firstLight, firstSensor, false, {}, {});
    }
    // Whoever switches (the window's menu, w3ctl, the bus) is told through one signal; a
    // switch sends the whole profile, a selection nothing.
    void switchesAreAnnounced_data()
    {
        QTest::addColumn<bool>("sendWhole");
        QTest::newRow("selected in the profile menu") << false;
        QTest::newRow("switched and sent whole") << true;
    }
    void switchesAreAnnounced()
    {
        QFETCH(bool, sendWhole);
        ModulesSandbox sandbox;
        writeTwoProfiles();
        Rig rig;
        QSignalSpy selected(rig.actions.profiles.get(), &ProfileActions::profileSelected);
        QVERIFY(sendWhole ? rig.actions.profiles->switchTo(1) : rig.actions.profiles->select(1));
        rig.settle();
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected.first().first().toInt(), 1);
        QCOMPARE(rig.actions.profiles->current(), 1);
        // The key page's APPLY (wheel, then the matrix), the palette and the effect, then the
        // stages, their colour ids, the rate and the stage in use.
        const QStringList whole = {"03 01 02 80 00 00 00", "12 01 40 08 00 00 00", "10 00 18 00 00 00 00",
                                   "0d 0a 2d 1b 00 00 00", "11 08 08 00 00 00 00", "10 02 04 00 00 00 00",
                                   "01 08 00 00 00 00 00", "0b 01 00 00 00 00 00"};
        QCOMPARE(mouseCommandBlocks(), sendWhole ? whole : QStringList());
    }

    void lifeCycle()
    {
        QFETCH(Steps, steps);
        QFETCH(QString, light);
        QFETCH(QString, sensor);
        QFETCH(bool, pending);
        QFETCH(QStringList, blocks);
        QFETCH(QStringList, files);
        ModulesSandbox sandbox;
        writeTwoProfiles();
        Rig rig;
        rig.actions.lighting->start();
        rig.actions.sensor->start();
        QVERIFY(!rig.actions.lighting->pending());
        QVERIFY(!rig.actions.sensor->pending());
        rig.settle();
        vhid::Bus::instance().clearRecords();

        steps(rig.actions, rig.controllers);
        rig.settle();

        QVERIFY(vhid::Bus::instance().violationReport().empty());
        if (!light.isEmpty())
            QCOMPARE(shownLight(*rig.actions.lighting), light);
        if (!sensor.isEmpty())
            QCOMPARE(shownSensor(*rig.actions.sensor), sensor);
        QCOMPARE(rig.actions.lighting->pending() || rig.actions.sensor->pending(), pending);
        QCOMPARE(mouseCommandBlocks(), blocks);
        for (const QString &entry : files) {
            const int profile = entry.section(' ', 0, 0).toInt();
            const QString key = entry.section(' ', 1).section('=', 0, 0);
            QCOMPARE(key + "=" + storedText(profile, key), entry.section(' ', 1));
        }
    }
};

QTEST_GUILESS_MAIN(TestPageActions)
#include "tst_page_actions.moc"
