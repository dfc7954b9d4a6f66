// Report framing, data phases, the transport token and the settle pause of Hid_Thread, read
// from the virtual bus record.
#include "DeviceRig.h"

#include "device/DeviceState.h"

#include <QElapsedTimer>
#include <QtTest>
#include <cstring>
#include <memory>
#include <stdexcept>

using vhid::Bus;

class TestTransport : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { rig.reset(); }

    void mousePayloadTravelsInReportsOf33Bytes();
    void keyboardPayloadIsZeroFilledToOneReport();
    void twoWritesInARowArriveInOrder();
    void writeThatCannotTakeTheTokenSendsNothing();
    void settlePauseWithoutAcknowledgement();
    void noTransferWithoutLanguageIntegrity();
    void incomingDataPhaseIsReadIntoTheBuffer();
    void incomingDataPhaseThatStopsShortReturns_data();
    void incomingDataPhaseThatStopsShortReturns();
    void refusedFeatureReportEndsTheTransfer();
    void entryWithoutUsableReportLengthIsNotSearched_data();
    void entryWithoutUsableReportLengthIsNotSearched();
    void tokenComesBackHoweverTheTransferEnds();
    void destructionWaitsForTheRunningWrite();
    void writeOutlivingTheDeviceObjectSendsWhatItWasGiven();
    void detectionsDuringWritesAndMonitorTakeTurnsOnHidapi();

private:
    std::unique_ptr<DeviceRig> rig;
};

void TestTransport::init()
{
    startWithBothDevicesPlugged();
    rig = std::make_unique<DeviceRig>();
    rig->detect();
    QVERIFY(deviceReady);
    Bus::instance().clearRecords();
}

void TestTransport::mousePayloadTravelsInReportsOf33Bytes()
{
    Bytes matrix = pattern(64);
    rig->hid->hid_12H_SetKeyMatrix(matrix.data());
    std::fill(matrix.begin(), matrix.end(), 0);  // the command copied what it needs
    QVERIFY(rig->hid->waitUntilIdle(5000));

    QCOMPARE(hex(firstCommand(Model::Mouse, 0x12).plainBlock), QByteArray("12 01 40 08 00 00 00 a4"));
    const auto writes = recordsOf(Op::Write, Model::Mouse);
    QCOMPARE(writes.size(), std::size_t(2));
    Bytes first = {0x00};
    Bytes second = {0x00};
    const Bytes sent = pattern(64);
    first.insert(first.end(), sent.begin(), sent.begin() + 32);
    second.insert(second.end(), sent.begin() + 32, sent.end());
    QCOMPARE(hex(writes[0].bytes), hex(first));
    QCOMPARE(hex(writes[1].bytes), hex(second));
    QVERIFY2(msBetween(writes[0], writes[1]) >= 7.5, "8 ms between data reports");
    // The settle pause comes before the data phase.
    QVERIFY(msBetween(firstCommand(Model::Mouse, 0x12), writes[0]) >= 120);

    Bytes stored;
    Bus::instance().withMouse([&](vhid::MouseMemory &m) { stored = m.keyMatrix; });
    QCOMPARE(hex(stored), hex(sent));
    QCOMPARE(Bus::instance().openHandles(), 0);
}

// Only position 1 is scanned: a catalogue with the keyboard there lets the keyboard be used.
void TestTransport::keyboardPayloadIsZeroFilledToOneReport()
{
    QList<CatalogEntry> catalogue = compiledCatalogue();
    catalogue[1] = catalogue[0];
    rig->detect(catalogue);
    QVERIFY(deviceReady);
    Bus::instance().clearRecords();

    const Bytes onOff = pattern(21, 0xC0);
    rig->hid->hid_0EH_SetKeyOnOff(const_cast<uchar *>(onOff.data()));
    QVERIFY(rig->hid->waitUntilIdle(5000));
    const auto writes = recordsOf(Op::Write, Model::Keyboard);
    QCOMPARE(writes.size(), std::size_t(1));
    Bytes expected = {0x00};
    expected.insert(expected.end(), onOff.begin(), onOff.end());
    expected.resize(65, 0);  // 43 zeros after the payload
    QCOMPARE(hex(writes[0].bytes), hex(expected));
    Bytes stored;
    Bus::instance().withKeyboard([&](vhid::KeyboardMemory &k) { stored = k.keyOnOff; });
    QCOMPARE(hex(stored), hex(onOff));
    QVERIFY(recordsOf(Op::Write, Model::Mouse).empty());
}

void TestTransport::twoWritesInARowArriveInOrder()
{
    rig->hid->hid_01H_SetReportRate(1);  // with settle pause: holds the token about 128 ms
    rig->hid->hid_0BH_SetCurrentDPIStage(3);
    QVERIFY(rig->hid->waitUntilIdle(5000));
    QCOMPARE(hex(receivedCodes(Model::Mouse)), QByteArray("01 0b"));
    QVERIFY(msBetween(firstCommand(Model::Mouse, 0x01), firstCommand(Model::Mouse, 0x0B)) >= 120);
    Bus::instance().withMouse([](vhid::MouseMemory &m) {
        QCOMPARE(int(m.reportRate), 1);
        QCOMPARE(int(m.dpiStage), 3);
    });
}

void TestTransport::writeThatCannotTakeTheTokenSendsNothing()
{
    vhid::Faults busy;
    busy.featureReportDelayMs = 3500;  // longer than 255 x 8 ms
    Bus::instance().setFaults(Model::Mouse, busy);
    rig->hid->hid_01H_SetReportRate(1);
    QElapsedTimer timer;
    timer.start();
    rig->hid->hid_0BH_SetCurrentDPIStage(3);
    QVERIFY2(timer.elapsed() >= 1900, "the command waited for the token about 2 s");
    QVERIFY(rig->hid->waitUntilIdle(10000));
    QCOMPARE(hex(receivedCodes(Model::Mouse)), QByteArray("01"));
    // Not queued for later either.
    QTest::qWait(300);
    QCOMPARE(hex(receivedCodes(Model::Mouse)), QByteArray("01"));
}

// Without the monitor nobody reads acknowledgements: the pause runs its full two passes.
void TestTransport::settlePauseWithoutAcknowledgement()
{
    rig->hid->hid_0DH_SetRGBLedEffect(2, 128, 5);  // settle pause
    rig->hid->hid_02H_SetCurrentProfile(4);          // no pause: sends as soon as the token is back
    QVERIFY(rig->hid->waitUntilIdle(5000));
    const double pause = msBetween(firstCommand(Model::Mouse, 0x0D), firstCommand(Model::Mouse, 0x02));
    // Two passes, not the 256 an acknowledgement-less loop could run: far below 16 s.
    QVERIFY2(pause >= 120 && pause < 10000, qPrintable(QString("pause %1 ms").arg(pause)));
}

void TestTransport::noTransferWithoutLanguageIntegrity()
{
    languageIntegrity = false;
    rig->hid->hid_01H_SetReportRate(1);
    uchar rate = 42;
    rig->hid->hid_81H_GetReportRate(rate);
    uchar matrix[64];
    std::fill(std::begin(matrix), std::end(matrix), 0xEE);
    rig->hid->hid_92H_GetKeyMatrix(matrix);
    QVERIFY(rig->hid->waitUntilIdle(5000));
    QVERIFY(Bus::instance().records().empty());
    QCOMPARE(int(rate), 42);
    QCOMPARE(int(matrix[63]), 0xEE);

    languageIntegrity = true;  // and the token came back each time
    rig->hid->hid_81H_GetReportRate(rate);
    QCOMPARE(int(rate), 2);
}

void TestTransport::incomingDataPhaseIsReadIntoTheBuffer()
{
    Bytes stored;
    Bus::instance().withMouse([&](vhid::MouseMemory &m) { stored = m.keyMatrix; });
    Bytes matrix(64, 0xEE);
    rig->hid->hid_92H_GetKeyMatrix(matrix.data());
    QCOMPARE(hex(matrix), hex(stored));
    QCOMPARE(recordsOf(Op::Read, Model::Mouse).size(), std::size_t(2));
    QCOMPARE(hex(firstCommand(Model::Mouse, 0x92).plainBlock), QByteArray("92 01 00 00 00 00 00 6c"));
}

// A device that stops sending must not freeze the caller: the read gives up within its time
// limit and the buffer keeps its bytes where no report arrived.
void TestTransport::incomingDataPhaseThatStopsShortReturns_data()
{
    QTest::addColumn<int>("reportsSent");
    QTest::newRow("no report") << 0;
    QTest::newRow("one report of two") << 1;
}

void TestTransport::incomingDataPhaseThatStopsShortReturns()
{
    QFETCH(int, reportsSent);
    Bytes stored;
    Bus::instance().withMouse([&](vhid::MouseMemory &m) { stored = m.keyMatrix; });
    vhid::Faults stall;
    stall.dataReportsBeforeStall = reportsSent;
    Bus::instance().setFaults(Model::Mouse, stall);

    Bytes matrix(64, 0xEE);
    QElapsedTimer timer;
    timer.start();
    rig->hid->hid_92H_GetKeyMatrix(matrix.data());
    const qint64 waited = timer.elapsed();
    QVERIFY2(waited < 10000, "the read gave up");
    QVERIFY2(waited >= Transfer::kDataReadTimeoutMs, "it waited its time limit for the missing report");
    const std::size_t arrived = std::size_t(reportsSent) * 32;
    QCOMPARE(hex(Bytes(matrix.begin(), matrix.begin() + long(arrived))), hex(Bytes(stored.begin(), stored.begin() + long(arrived))));
    QCOMPARE(hex(Bytes(matrix.begin() + long(arrived), matrix.end())), hex(Bytes(64 - arrived, 0xEE)));
    QCOMPARE(recordsOf(Op::Read, Model::Mouse).size(), std::size_t(reportsSent));

    Bus::instance().setFaults(Model::Mouse, {});
    uchar stage = 0;
    rig->hid->hid_8BH_GetCurrentDPIStage(stage);  // the token is free again
    QCOMPARE(int(stage), 2);
}

void TestTransport::refusedFeatureReportEndsTheTransfer()
{
    vhid::Faults refuse;
    refuse.refuseFeatureReports = true;
    Bus::instance().setFaults(Model::Mouse, refuse);
    Bytes matrix = pattern(64);
    rig->hid->hid_12H_SetKeyMatrix(matrix.data());
    QVERIFY(rig->hid->waitUntilIdle(5000));
    QVERIFY(recordsOf(Op::Write, Model::Mouse).empty());
    uchar rate = 9;
    rig->hid->hid_81H_GetReportRate(rate);
    QCOMPARE(int(rate), 9);
    QVERIFY(recordsOf(Op::GetFeature, Model::Mouse).empty());
    QCOMPARE(Bus::instance().openHandles(), 0);
}

// A data phase travels in reports of the catalogue's length: an entry whose length cannot
// carry one is never searched for, so the device counts as absent instead of failing later.
void TestTransport::entryWithoutUsableReportLengthIsNotSearched_data()
{
    QTest::addColumn<unsigned>("reportLength");
    QTest::newRow("0") << 0u;
    QTest::newRow("4097") << 4097u;
    QTest::newRow("above the int range") << 3000000000u;
}

void TestTransport::entryWithoutUsableReportLengthIsNotSearched()
{
    QFETCH(unsigned, reportLength);
    QList<CatalogEntry> catalogue = compiledCatalogue();
    catalogue[1].reportLength = reportLength;
    rig->owner->missing.clear();
    rig->detect(catalogue);
    QVERIFY(!deviceReady);
    QCOMPARE(rig->owner->missing, QStringList{"W3 Mouse"});
    QVERIFY(!rig->hid->deviceEntries().at(1).isPresent());
    QVERIFY(Bus::instance().records().empty());

    Bytes dpiCodes = pattern(8, 0x55);
    uchar maxStage = 0x33;
    QVERIFY(!rig->hid->hid_91H_GetDPISet(maxStage, dpiCodes.data()));
    QCOMPARE(int(maxStage), 0x33);
    QCOMPARE(hex(dpiCodes), hex(pattern(8, 0x55)));  // kept as the caller had them
    QVERIFY(Bus::instance().records().empty());
}

// However a transfer ends, even by an exception or without ever running, the token comes
// back: a token kept taken would make every later command fail.
void TestTransport::tokenComesBackHoweverTheTransferEnds()
{
    auto flags = std::make_shared<TransportFlags>();
    const uchar report[frame::kFeatureReportSize] = {};
    flags->idle = false;
    try {
        Transfer transfer(TokenHold(flags), nullptr, report, nullptr, 0);
        throw std::runtime_error("the transfer broke off");
    } catch (const std::runtime_error &) {
    }
    QVERIFY(flags->idle);

    flags->idle = false;
    { const auto neverStarted = std::make_shared<Transfer>(TokenHold(flags), nullptr, report, nullptr, 0); }
    QVERIFY(flags->idle);

    flags->idle = false;
    Transfer refused(TokenHold(flags), nullptr, report, nullptr, 0);
    QVERIFY(!refused.sendPacket(false));  // no entry: nothing to send
    QVERIFY(flags->idle);
}

// The write runs on the pool; the destructor lets it finish.
void TestTransport::destructionWaitsForTheRunningWrite()
{
    Bytes matrix = pattern(64);
    rig->hid->hid_12H_SetKeyMatrix(matrix.data());
    rig->hid.reset();
    QCOMPARE(recordsOf(Op::Write, Model::Mouse).size(), std::size_t(2));
    QCOMPARE(Bus::instance().openHandles(), 0);
}

// A stalled device keeps a write running past the destructor's wait. The write owns its
// report and payload: what it sends after the object is gone (and its memory reused) is still
// the command it was given.
void TestTransport::writeOutlivingTheDeviceObjectSendsWhatItWasGiven()
{
    vhid::Faults stalled;
    stalled.featureReportDelayMs = 6000;  // longer than the destructor waits
    Bus::instance().setFaults(Model::Mouse, stalled);
    const Bytes matrix = pattern(64);
    rig->hid->hid_12H_SetKeyMatrix(const_cast<uchar *>(matrix.data()));
    QTest::ignoreMessage(QtWarningMsg, "Device transfer still running at shutdown");
    rig->hid.reset();
    std::vector<std::unique_ptr<char[]>> reused;
    for (int i = 0; i < 8; ++i) {
        reused.emplace_back(new char[sizeof(Hid_Thread)]);
        std::memset(reused.back().get(), 0xA5, sizeof(Hid_Thread));
    }

    QTRY_COMPARE_WITH_TIMEOUT(recordsOf(Op::Write, Model::Mouse).size(), std::size_t(2), 20000);
    QCOMPARE(hex(firstCommand(Model::Mouse, 0x12).plainBlock), QByteArray("12 01 40 08 00 00 00 a4"));
    Bytes stored;
    Bus::instance().withMouse([&](vhid::MouseMemory &m) { stored = m.keyMatrix; });
    QCOMPARE(hex(stored), hex(matrix));
    QTRY_COMPARE_WITH_TIMEOUT(Bus::instance().openHandles(), 0, 5000);
}

// Detections on this thread, writes on the pool and the monitor's reads never enter hidapi at
// the same time: the virtual bus records any overlap, and the rig fails the test on it.
void TestTransport::detectionsDuringWritesAndMonitorTakeTurnsOnHidapi()
{
    rig->startMouseMonitor();
    Bus::instance().clearRecords();
    const QList<CatalogEntry> catalogue = compiledCatalogue();
    constexpr int kWrites = 6;
    for (int i = 0; i < kWrites; ++i) {
        rig->hid->hid_0DH_SetRGBLedEffect(2, uchar(i), 5);  // settle pause: runs about 128 ms
        for (int scan = 0; scan < 20; ++scan) {
            rig->hid->rebuildDevices(catalogue);
            QTest::qWait(5);
        }
    }
    QVERIFY(rig->hid->waitUntilIdle(5000));
    QCOMPARE(receivedCodes(Model::Mouse).size(), std::size_t(kWrites));
    QVERIFY(!recordsOf(Op::Open, Model::Mouse, Interface::Event).empty());
    const std::string violations = Bus::instance().violationReport();
    QVERIFY2(violations.empty(), violations.c_str());
}

QTEST_GUILESS_MAIN(TestTransport)
#include "tst_transport.moc"
