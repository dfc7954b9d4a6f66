// The bus scan and the secrecy handshake of Hid_Thread against the virtual devices.
#include "DeviceRig.h"

#include "device/DeviceState.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QtTest>

using vhid::Bus;
Q_DECLARE_METATYPE(Model)

namespace {

// Catalogue changes for the scan table.
enum class CatalogueEdit { None, EventUsageUnknown, CommandUsageDiffers, KeyboardAtPosition1, MouseOnlyAtPosition0 };

QList<CatalogEntry> edited(CatalogueEdit edit)
{
    QList<CatalogEntry> catalogue = compiledCatalogue();
    switch (edit) {
    case CatalogueEdit::None:
        break;
    case CatalogueEdit::EventUsageUnknown:
        catalogue[1].usage2 = 0x1234;  // only the command interface matches
        break;
    case CatalogueEdit::CommandUsageDiffers:
        catalogue[1].usage = std::uint16_t(catalogue[1].usage + 1);  // same usage page, other usage
        break;
    case CatalogueEdit::KeyboardAtPosition1:
        catalogue[1] = catalogue[0];
        break;
    case CatalogueEdit::MouseOnlyAtPosition0:
        catalogue[0] = catalogue[1];
        catalogue[1].pid = std::uint16_t(catalogue[1].pid + 0x100);  // nothing on the bus
        break;
    }
    return catalogue;
}

}  // namespace

Q_DECLARE_METATYPE(CatalogueEdit)

class TestScanHandshake : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { rig.reset(); }

    void scanFindsPosition1Only_data();
    void scanFindsPosition1Only();

    void handshakePassesWithTheEchoedChallenge();
    void handshakeOutcome_data();
    void handshakeOutcome();
    void demoModeKeepsEveryReportOffTheBus();
    void noHandshakeWithoutScrambling();
    void secrecyTextOfOtherLengthKeepsTheCode_data();
    void secrecyTextOfOtherLengthKeepsTheCode();
    void handshakeFailsWhenTheTokenIsHeld();
    void handshakesWithinOneSecondUseTheSameChallenge();
    void removalAndReplacement();

private:
    void verifyOnlyRefusedCheckBytes(std::size_t atMost);
    std::unique_ptr<DeviceRig> rig;
};

// A block scrambled with another code reaches the device as garbage, which it refuses for its
// check byte; the garbage sums right about once in 256 challenges, so up to `atMost` times.
void TestScanHandshake::verifyOnlyRefusedCheckBytes(std::size_t atMost)
{
    const std::vector<std::string> refused = Bus::instance().takeViolations();
    QVERIFY(refused.size() <= atMost);
    for (const std::string &violation : refused)
        QVERIFY2(QString::fromStdString(violation).contains("wrong check byte"), violation.c_str());
}

void TestScanHandshake::init()
{
    startWithBothDevicesPlugged();
    rig = std::make_unique<DeviceRig>();
}

void TestScanHandshake::scanFindsPosition1Only_data()
{
    QTest::addColumn<CatalogueEdit>("edit");
    QTest::addColumn<bool>("mousePlugged");
    QTest::addColumn<bool>("position1Present");
    QTest::newRow("compiled catalogue") << CatalogueEdit::None << true << true;
    QTest::newRow("device unplugged") << CatalogueEdit::None << false << false;
    QTest::newRow("command interface only") << CatalogueEdit::EventUsageUnknown << true << false;
    QTest::newRow("usage page matches, usage differs") << CatalogueEdit::CommandUsageDiffers << true << false;
    QTest::newRow("keyboard ids at position 1") << CatalogueEdit::KeyboardAtPosition1 << true << true;
    QTest::newRow("mouse ids at position 0 only") << CatalogueEdit::MouseOnlyAtPosition0 << true << false;
}

void TestScanHandshake::scanFindsPosition1Only()
{
    QFETCH(CatalogueEdit, edit);
    QFETCH(bool, mousePlugged);
    QFETCH(bool, position1Present);
    if (!mousePlugged)
        Bus::instance().unplug(Model::Mouse);
    const QList<CatalogEntry> catalogue = edited(edit);
    rig->hid->rebuildDevices(catalogue);
    const QList<DeviceEntry> entries = rig->hid->deviceEntries();
    QCOMPARE(entries.size(), 2);
    // Position 0 is never searched, whatever it describes.
    QVERIFY(entries[0].commandPath.isEmpty() && entries[0].eventPath.isEmpty());
    QCOMPARE(entries[0].name, catalogue[0].name);
    QCOMPARE(entries[1].isPresent(), position1Present);
    if (position1Present)
        QVERIFY(entries[1].commandPath != entries[1].eventPath);
    else
        QVERIFY(entries[1].commandPath.isEmpty() && entries[1].eventPath.isEmpty());
    QCOMPARE(entries[1].reportLength, edit == CatalogueEdit::KeyboardAtPosition1 ? 64u : 32u);
}

void TestScanHandshake::handshakePassesWithTheEchoedChallenge()
{
    rig->detect();
    QVERIFY(deviceReady);
    QVERIFY(rig->owner->missing.isEmpty());
    QCOMPARE(hex(Bytes(secrecyCode.begin(), secrecyCode.end())), QByteArray("00 34 31 37 33 30 36 00"));

    // One 00H exchange: the device understood the challenge and echoed it.
    const auto sent = recordsOf(Op::SendFeature, Model::Mouse);
    const auto replies = recordsOf(Op::GetFeature, Model::Mouse);
    QCOMPARE(sent.size(), std::size_t(1));
    QCOMPARE(replies.size(), std::size_t(1));
    const Bytes &request = sent[0].plainBlock;
    QCOMPARE(request[0], std::uint8_t(0x00));
    QCOMPARE(request[5], std::uint8_t(0x00));
    QCOMPARE(request[6], std::uint8_t(0x00));
    Bytes withoutCheck(request.begin(), request.begin() + 7);
    std::uint8_t sum = 0;
    for (std::uint8_t byte : withoutCheck)
        sum = std::uint8_t(sum + byte);
    QCOMPARE(request[7], std::uint8_t(~sum));
    QCOMPARE(hex(Bytes(replies[0].plainBlock.begin() + 1, replies[0].plainBlock.begin() + 5)),
             hex(Bytes(request.begin() + 1, request.begin() + 5)));
    // On the wire both blocks are scrambled.
    QVERIFY(Bytes(sent[0].bytes.begin() + 1, sent[0].bytes.end()) != request);
    QCOMPARE(Bus::instance().openHandles(), 0);
}

void TestScanHandshake::handshakeOutcome_data()
{
    QTest::addColumn<bool>("plugged");
    QTest::addColumn<QString>("programText");  // "common/sCode1"; empty: key absent
    QTest::addColumn<QString>("deviceText");
    QTest::addColumn<bool>("wrongAnswer");
    QTest::addColumn<bool>("ready");
    QTest::addColumn<bool>("demo");
    QTest::addColumn<bool>("missingReported");
    QTest::newRow("answer matches") << true << "" << "417306" << false << true << false << false;
    QTest::newRow("answer matches, own text") << true << "A1b2C3" << "A1b2C3" << false << true << false << false;
    QTest::newRow("device absent, demo text") << false << "q-vantor" << "417306" << false << true << true << false;
    // The demo text is not six characters long: the code stays zero and the device decodes garbage.
    QTest::newRow("device present, demo text") << true << "q-vantor" << "417306" << false << true << true << false;
    QTest::newRow("device absent") << false << "" << "417306" << false << false << false << true;
    QTest::newRow("wrong answer") << true << "" << "417306" << true << false << false << true;
    QTest::newRow("device with another secrecy text") << true << "" << "654321" << false << false << false << true;
    QTest::newRow("program with another secrecy text") << true << "654321" << "417306" << false << false << false << true;
}

void TestScanHandshake::handshakeOutcome()
{
    QFETCH(bool, plugged);
    QFETCH(QString, programText);
    QFETCH(QString, deviceText);
    QFETCH(bool, wrongAnswer);
    QFETCH(bool, ready);
    QFETCH(bool, demo);
    QFETCH(bool, missingReported);
    if (!plugged)
        Bus::instance().unplug(Model::Mouse);
    if (!programText.isEmpty())
        rig->owner->config.setValue("common/sCode1", programText);
    Bus::instance().setSecrecyText(Model::Mouse, deviceText.toStdString());
    vhid::Faults faults;
    faults.wrongChallengeAnswer = wrongAnswer;
    Bus::instance().setFaults(Model::Mouse, faults);

    rig->detect();
    QCOMPARE(bool(deviceReady), ready);
    QCOMPARE(bool(demoMode), demo);
    QCOMPARE(bool(encodeEnabled), !demo);  // demo mode switches scrambling off
    QCOMPARE(rig->owner->missing, missingReported ? QStringList{"W3 Mouse"} : QStringList{});
    QCOMPARE(Bus::instance().openHandles(), 0);
    // With other secrecy codes the device decodes a block whose check byte does not match
    // (unless the garbled bytes happen to sum right) and refuses it.
    const bool codesDiffer = plugged && (programText.isEmpty() ? QString("417306") : programText) != deviceText;
    verifyOnlyRefusedCheckBytes(codesDiffer ? 1 : 0);
}

void TestScanHandshake::demoModeKeepsEveryReportOffTheBus()
{
    Bus::instance().unplug(Model::Mouse);
    rig->owner->config.setValue("common/sCode1", "q-vantor");
    rig->detect();
    QVERIFY(demoMode && deviceReady);
    Bus::instance().plug(Model::Mouse);  // plugged later: still not used
    rig->detect();
    QVERIFY(demoMode && deviceReady);
    Bus::instance().clearRecords();

    rig->hid->hid_01H_SetReportRate(1);
    uchar rate = 77;
    rig->hid->hid_81H_GetReportRate(rate);
    uchar matrix[64];
    std::fill(std::begin(matrix), std::end(matrix), 0xEE);
    rig->hid->hid_92H_GetKeyMatrix(matrix);
    QVERIFY(rig->hid->waitUntilIdle(5000));
    QVERIFY(Bus::instance().records().empty());
    QCOMPARE(int(rate), 77);
    QCOMPARE(int(matrix[0]), 0xEE);
    QVERIFY(rig->owner->missing.isEmpty());
}

void TestScanHandshake::noHandshakeWithoutScrambling()
{
    for (bool readyBefore : {false, true}) {
        deviceReady = readyBefore;
        Bus::instance().clearRecords();
        rig->detect(compiledCatalogue(), false);
        QCOMPARE(bool(deviceReady), readyBefore);
        QVERIFY(receivedCodes(Model::Mouse).empty());
        QVERIFY(rig->owner->missing.isEmpty());
    }
}

void TestScanHandshake::secrecyTextOfOtherLengthKeepsTheCode_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("five characters") << "41730";
    QTest::newRow("seven characters") << "4173066";
    QTest::newRow("empty") << "";
}

void TestScanHandshake::secrecyTextOfOtherLengthKeepsTheCode()
{
    QFETCH(QString, text);
    rig->owner->config.setValue("common/sCode1", text);
    rig->detect();
    QCOMPARE(hex(Bytes(secrecyCode.begin(), secrecyCode.end())), QByteArray("00 00 00 00 00 00 00 00"));
    QVERIFY(!deviceReady);  // scrambled with a zero code, the device reads garbage
    QCOMPARE(rig->owner->missing, QStringList{"W3 Mouse"});
    verifyOnlyRefusedCheckBytes(1);

    // A later handshake with a valid text sets the code; an invalid one then keeps it.
    rig->owner->config.setValue("common/sCode1", "417306");
    rig->detect();
    QVERIFY(deviceReady);
    rig->owner->config.setValue("common/sCode1", text);
    rig->detect();
    QCOMPARE(hex(Bytes(secrecyCode.begin(), secrecyCode.end())), QByteArray("00 34 31 37 33 30 36 00"));
    QVERIFY(deviceReady);
}

// A 00H that cannot take the token proves nothing: the untouched challenge must not count as
// the device's answer.
void TestScanHandshake::handshakeFailsWhenTheTokenIsHeld()
{
    rig->detect();
    QVERIFY(deviceReady);
    vhid::Faults busy;
    busy.featureReportDelayMs = 3500;  // the write below holds the token longer than 255 x 8 ms
    Bus::instance().setFaults(Model::Mouse, busy);
    Bus::instance().clearRecords();

    rig->hid->hid_0BH_SetCurrentDPIStage(3);
    rig->hid->chkDeviceIsEnCode();
    QVERIFY(!deviceReady);
    QCOMPARE(rig->owner->missing, QStringList{"W3 Mouse"});
    QVERIFY(rig->hid->waitUntilIdle(10000));
    QCOMPARE(hex(receivedCodes(Model::Mouse)), QByteArray("0b"));  // no 00H reached the device
}

void TestScanHandshake::handshakesWithinOneSecondUseTheSameChallenge()
{
    // Start early in a second so both handshakes fall into it.
    QTRY_VERIFY_WITH_TIMEOUT(QDateTime::currentDateTime().time().msec() < 200, 2000);
    const uint second = QDateTime::currentDateTime().toTime_t();
    rig->detect();
    rig->detect();
    if (QDateTime::currentDateTime().toTime_t() != second)
        QSKIP("the machine was too slow to run both handshakes within one second");
    const auto sent = recordsOf(Op::SendFeature, Model::Mouse);
    QCOMPARE(sent.size(), std::size_t(2));
    QCOMPARE(hex(sent[0].plainBlock), hex(sent[1].plainBlock));
}

void TestScanHandshake::removalAndReplacement()
{
    rig->detect();
    QVERIFY(deviceReady);

    Bus::instance().unplug(Model::Mouse);
    rig->detect();
    QVERIFY(!deviceReady);
    QCOMPARE(rig->owner->missing, QStringList{"W3 Mouse"});

    // Unplugged after the scan: the open fails, the path is cleared, the handshake fails.
    Bus::instance().plug(Model::Mouse);
    rig->detect();
    QVERIFY(deviceReady);
    Bus::instance().unplug(Model::Mouse);
    rig->hid->chkDeviceIsEnCode();
    QVERIFY(!deviceReady);
    QVERIFY(rig->hid->deviceEntries().at(1).commandPath.isEmpty());
    QCOMPARE(rig->owner->missing.size(), 2);

    // Another device in its place (same ids) after a new detection.
    Bus::instance().plug(Model::Mouse);
    rig->detect();
    QVERIFY(deviceReady);
    QCOMPARE(rig->owner->missing.size(), 2);
}

QTEST_GUILESS_MAIN(TestScanHandshake)
#include "tst_scan_handshake.moc"
