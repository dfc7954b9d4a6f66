// The monitor task on the event interface: selection, acknowledgements, removal.
#include "DeviceRig.h"

#include "device/DeviceState.h"

#include <QtTest>
#include <chrono>

using vhid::Bus;

namespace {

// Event-interface calls of one model, in order.
std::vector<vhid::Record> eventCalls(Model model)
{
    std::vector<vhid::Record> calls;
    for (const vhid::Record &record : Bus::instance().records()) {
        if (record.model == model && record.iface == Interface::Event)
            calls.push_back(record);
    }
    return calls;
}

// Opens of the event interface from `from` on. One task opens once per read window of 500 ms;
// a second task would open as often again.
int eventOpensSince(Model model, std::chrono::steady_clock::time_point from)
{
    int opens = 0;
    for (const vhid::Record &record : eventCalls(model))
        opens += record.op == Op::Open && record.at >= from ? 1 : 0;
    return opens;
}

}  // namespace

class TestMonitor : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { rig.reset(); }

    void sameIdStartsNoMonitor();
    void otherIdStartsExactlyOneMonitor();
    void switchingAgainStopsTheFirstMonitor();
    void acknowledgementShortensTheSettlePause_data();
    void acknowledgementShortensTheSettlePause();
    void removalEndsTheMonitor();

private:
    std::unique_ptr<DeviceRig> rig;
};

void TestMonitor::init()
{
    startWithBothDevicesPlugged();
    rig = std::make_unique<DeviceRig>();
    rig->detect();
    QVERIFY(deviceReady);
}

void TestMonitor::sameIdStartsNoMonitor()
{
    Bus::instance().clearRecords();
    rig->hid->swichCurDevice(1);
    QVERIFY(deviceReady);  // the handshake ran
    QCOMPARE(hex(receivedCodes(Model::Mouse)), QByteArray("00"));
    QVERIFY(!rig->hid->monitorRunning());
    QTest::qWait(200);
    QVERIFY(eventCalls(Model::Mouse).empty());
}

void TestMonitor::otherIdStartsExactlyOneMonitor()
{
    // The keyboard entry was not scanned: its task ends at once without touching the bus.
    rig->hid->swichCurDevice(0);
    QCOMPARE(rig->hid->currentDeviceId(), 0u);
    QCOMPARE(rig->owner->missing, QStringList{"Keyboard"});
    QTest::qWait(100);
    QVERIFY(eventCalls(Model::Keyboard).empty());

    const auto started = std::chrono::steady_clock::now();
    rig->hid->swichCurDevice(1);
    QVERIFY(deviceReady);
    QVERIFY(rig->hid->monitorRunning());
    QTRY_VERIFY_WITH_TIMEOUT(eventOpensSince(Model::Mouse, started) >= 3, 10000);
    // However slow the machine, one task needs a read window per open after the first.
    const double elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    const int opens = eventOpensSince(Model::Mouse, started);
    QVERIFY2(opens <= 1 + int(elapsed / Hid_Thread::kEventReadTimeoutMs) + 1,
             qPrintable(QString("%1 opens in %2 ms").arg(opens).arg(elapsed)));
}

void TestMonitor::switchingAgainStopsTheFirstMonitor()
{
    rig->startMouseMonitor();
    QTRY_VERIFY_WITH_TIMEOUT(!eventCalls(Model::Mouse).empty(), 10000);
    rig->hid->swichCurDevice(0);  // stops and awaits the mouse task before going on
    const std::size_t callsAfterStop = eventCalls(Model::Mouse).size();
    QVERIFY(callsAfterStop >= 1);
    QTest::qWait(700);
    QCOMPARE(eventCalls(Model::Mouse).size(), callsAfterStop);
    QCOMPARE(Bus::instance().openHandles(), 0);
}

// The monitor reads the acknowledgement during the first 64 ms, so the pause ends after one
// pass. The shortest of a few tries is taken, so one late wake-up does not decide.
void TestMonitor::acknowledgementShortensTheSettlePause_data()
{
    QTest::addColumn<bool>("acknowledges");
    QTest::newRow("device acknowledges") << true;
    QTest::newRow("no acknowledgements") << false;
}

void TestMonitor::acknowledgementShortensTheSettlePause()
{
    QFETCH(bool, acknowledges);
    // From a fresh bus: no acknowledgement of an earlier handshake is still on its way.
    rig.reset();
    startWithBothDevicesPlugged();
    Bus::instance().setAcknowledges(Model::Mouse, acknowledges);
    rig = std::make_unique<DeviceRig>();
    rig->detect();
    rig->startMouseMonitor();
    double shortest = 1e9;
    for (int attempt = 0; attempt < 5; ++attempt) {
        Bus::instance().clearRecords();
        rig->hid->hid_0DH_SetRGBLedEffect(2, 128, 5);
        rig->hid->hid_02H_SetCurrentProfile(4);
        QVERIFY(rig->hid->waitUntilIdle(5000));
        const double pause = msBetween(firstCommand(Model::Mouse, 0x0D), firstCommand(Model::Mouse, 0x02));
        QVERIFY2(pause >= 56, qPrintable(QString("pause %1 ms").arg(pause)));
        shortest = std::min(shortest, pause);
        QCOMPARE(recordsOf(Op::Read, Model::Mouse, Interface::Event).empty(), !acknowledges);
    }
    if (acknowledges)
        QVERIFY2(shortest < 120, qPrintable(QString("shortest pause %1 ms").arg(shortest)));
    else
        QVERIFY2(shortest >= 120, qPrintable(QString("shortest pause %1 ms").arg(shortest)));
}

void TestMonitor::removalEndsTheMonitor()
{
    rig->startMouseMonitor();
    QVERIFY(rig->hid->monitorRunning());
    QTest::ignoreMessage(QtDebugMsg, "Device removed");
    Bus::instance().unplug(Model::Mouse);
    QTRY_VERIFY_WITH_TIMEOUT(!rig->hid->monitorRunning(), 3000);
    const DeviceEntry mouse = rig->hid->deviceEntries().at(1);
    QVERIFY(mouse.eventPath.isEmpty());
    QVERIFY(!mouse.commandPath.isEmpty());  // untouched until its own open fails
    QVERIFY(!recordsOf(Op::OpenFailed, Model::Mouse, Interface::Event).empty());
    QCOMPARE(Bus::instance().openHandles(), 0);
}

QTEST_GUILESS_MAIN(TestMonitor)
#include "tst_monitor.moc"
