// The sensor and lighting actions on the program's controllers over the virtual mouse: each
// choice sends its command block and leaves its values in the profile in use.
#include "actions/LightingActions.h"
#include "actions/PageActions.h"
#include "actions/SensorActions.h"
#include "controller/Controllers.h"
#include "controller/ProfileStore.h"
#include "device/Catalogue.h"
#include "device/DeviceState.h"
#include "device/Hid_Thread.h"
#include "platform/PointerSettings.h"
#include "tests/support/ModulesSandbox.h"
#include "virtual/VirtualBus.h"

#include <QSettings>
#include <algorithm>
#include <QtTest>
#include <functional>
#include <memory>

namespace {

using Choice = std::function<void(PageActions &)>;
constexpr int kIdleTimeoutMs = 10000;
constexpr int kSensor3320 = 1;
const char *const kProfile1 = "modules/setting/p1.bin";

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

// The command blocks the mouse read, without the check byte.
QStringList commandBlocks()
{
    QStringList blocks;
    for (const vhid::Record &record : vhid::Bus::instance().records()) {
        if (record.op != vhid::Op::SendFeature || record.plainBlock.empty() || record.plainBlock[0] == 0x00
            || record.plainBlock[0] >= 0x80)
            continue;
        const QByteArray block(reinterpret_cast<const char *>(record.plainBlock.data()), int(record.plainBlock.size()));
        blocks << block.left(block.size() - 1).toHex(' ');
    }
    return blocks;
}

}  // namespace

Q_DECLARE_METATYPE(Choice)

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
        vhid::Bus::instance().reset();
        vhid::Bus::instance().plug(vhid::Model::Mouse);
        vhid::Bus::instance().withMouse([](vhid::MouseMemory &mouse) { mouse.sensorType = kSensor3320; });
        Hid_Thread hid;
        hid.rebuildDevices(readCatalogue(kCataloguePath, {}).entries);
        deviceReady = true;
        demoMode = false;
        languageIntegrity = true;
        encodeEnabled = true;
        secrecyCode = {0, '4', '1', '7', '3', '0', '6', 0};
        Controllers controllers;
        controllers.setHidThread(&hid);
        PageActions actions(controllers);
        vhid::Bus::instance().clearRecords();

        choice(actions);
        hid.waitUntilIdle(kIdleTimeoutMs);
        controllers.profiles->flush();

        QVERIFY(vhid::Bus::instance().violationReport().empty());
        QCOMPARE(commandBlocks(), QStringList{block});
        const QSettings profile(kProfile1, QSettings::IniFormat);
        const QVariant value = profile.value(key);
        const bool isList = value.type() == QVariant::List || value.type() == QVariant::StringList;
        QCOMPARE(isList ? value.toStringList().join(',') : value.toString(), stored);
    }
};

QTEST_GUILESS_MAIN(TestPageActions)
#include "tst_page_actions.moc"
