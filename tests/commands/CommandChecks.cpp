#include "tests/commands/CommandChecks.h"

#include "device/DeviceState.h"

#include <QElapsedTimer>
#include <QTest>

namespace rig {
namespace {

constexpr int kIdleWaitMs = 10000;
constexpr int kSearchedPosition = 1;
constexpr const char *kGetFailText = "cmd Failed";

const Failure kFailures[] = {Failure::Unplugged, Failure::DemoMode, Failure::LanguageIntegrityLost};

const char *failureName(Failure failure)
{
    switch (failure) {
    case Failure::Unplugged:
        return "no device";
    case Failure::DemoMode:
        return "demo mode";
    case Failure::LanguageIntegrityLost:
        return "language integrity lost";
    }
    return "";
}

int dataReportLength(const CommandRig &rig)
{
    return int(rig.hid.deviceEntries().value(kSearchedPosition).reportLength);
}

QByteArray toBytes(const std::vector<std::uint8_t> &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), int(bytes.size()));
}

}  // namespace

void addSetColumns()
{
    QTest::addColumn<SetCall>("call");
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("reports");
    QTest::addColumn<bool>("pause");
    QTest::addColumn<bool>("sleepsAfter");
    QTest::addColumn<QString>("failText");
}

void addSetRow(const char *name, const SetCall &call, const QByteArray &block, const QByteArray &payload,
               int reports, bool pause, bool sleepsAfter, const QString &failText)
{
    QTest::newRow(name) << call << block << payload << reports << pause << sleepsAfter << failText;
}

void addGetColumns()
{
    QTest::addColumn<GetCall>("call");
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<int>("reports");
    QTest::addColumn<QByteArray>("answered");
    QTest::addColumn<QByteArray>("failed");
    QTest::addColumn<QByteArray>("untouched");
}

void addGetRow(const char *name, const GetCall &call, const QByteArray &block, int reports,
               const QByteArray &answered, const QByteArray &failed, const QByteArray &untouched)
{
    QTest::newRow(name) << call << block << reports << answered << failed << untouched;
}

void checkSetOnWire(CommandRig &rig)
{
    QFETCH(SetCall, call);
    QFETCH(QByteArray, block);
    QFETCH(QByteArray, payload);
    QFETCH(int, reports);
    QFETCH(bool, pause);
    QFETCH(bool, sleepsAfter);

    QElapsedTimer timer;
    timer.start();
    call(rig.hid);
    const qint64 returnedAfterNs = timer.nsecsElapsed();
    QVERIFY(rig.hid.waitUntilIdle(kIdleWaitMs));
    // The transfer ends when it closes its last handle: measured on the bus, not by when this
    // thread noticed it.
    const std::vector<vhid::Record> closes = rig.commandRecords(vhid::Op::Close);
    QVERIFY(!closes.empty());
    const Clock::time_point endAt = closes.back().at;

    QCOMPARE(rig.sentBlock().toHex(' '), block.toHex(' '));
    const std::vector<vhid::Record> sends = rig.commandRecords(vhid::Op::SendFeature);
    QCOMPARE(sends.front().result, 9);

    // Data reports: report ID 0, the payload chunk, zeros after the payload.
    const std::vector<vhid::Record> writes = rig.commandRecords(vhid::Op::Write);
    QCOMPARE(int(writes.size()), reports);
    const int reportSize = dataReportLength(rig) + 1;
    QByteArray carried;
    for (const vhid::Record &write : writes) {
        QCOMPARE(int(write.bytes.size()), reportSize);
        QCOMPARE(int(write.bytes.front()), 0);
        carried.append(toBytes(write.bytes).mid(1));
    }
    if (reports > 0) {
        QVERIFY(carried.size() >= payload.size());
        QCOMPARE(carried.toHex(' '), (payload + QByteArray(carried.size() - payload.size(), 0)).toHex(' '));
    }
    for (size_t i = 1; i < writes.size(); ++i)
        QVERIFY2(msBetween(writes[i - 1].at, writes[i].at) >= kDataGapMs - 1, "data reports 8 ms apart");

    // The settle pause follows the feature report and, with a data phase, the data reports.
    const qint64 afterFeatureMs = msBetween(sends.front().at, writes.empty() ? endAt : writes.front().at);
    if (pause) {
        QVERIFY2(afterFeatureMs >= kPauseThresholdMs, qPrintable(QString::number(afterFeatureMs)));
        if (!writes.empty())
            QVERIFY(msBetween(writes.back().at, endAt) >= kDataGapMs + kPauseThresholdMs);
    } else {
        QVERIFY2(afterFeatureMs < kPauseThresholdMs, qPrintable(QString::number(afterFeatureMs)));
    }
    if (sleepsAfter)
        QVERIFY(returnedAfterNs >= qint64(kAfterSleepMs) * 1000000);
}

void checkSetWithoutTransfer(CommandRig &rig)
{
    QFETCH(SetCall, call);
    for (Failure failure : kFailures) {
        rig.reset();
        rig.apply(failure);
        call(rig.hid);
        QVERIFY(rig.hid.waitUntilIdle(kIdleWaitMs));
        QVERIFY2(rig.commandTraffic() == 0, failureName(failure));
    }
}

void checkSetTokenRefused(CommandRig &rig)
{
    QFETCH(SetCall, call);
    QFETCH(QString, failText);
    rig.holdToken();
    QTest::ignoreMessage(QtDebugMsg, qPrintable(failText));
    call(rig.hid);
    rig.releaseToken();
    // Only the holder's feature report reached the bus: the refused Set was dropped, not queued.
    QVERIFY(rig.hid.waitUntilIdle(kIdleWaitMs));
    QCOMPARE(int(rig.commandRecords(vhid::Op::SendFeature).size()), 1);
    QCOMPARE(int(rig.commandRecords(vhid::Op::Write).size()), 0);
}

void checkGetOnWire(CommandRig &rig)
{
    QFETCH(GetCall, call);
    QFETCH(QByteArray, block);
    QFETCH(int, reports);
    QFETCH(QByteArray, answered);

    const QByteArray got = call(rig.hid, kSeed);
    // A Get returns with its transfer over and the token given back.
    QVERIFY(rig.hid.waitUntilIdle(0));
    QCOMPARE(got.toHex(' '), answered.toHex(' '));
    QCOMPARE(rig.sentBlock().toHex(' '), block.toHex(' '));
    QCOMPARE(int(rig.commandRecords(vhid::Op::GetFeature).size()), 1);
    const std::vector<vhid::Record> reads = rig.commandRecords(vhid::Op::Read);
    QCOMPARE(int(reads.size()), reports);
    for (const vhid::Record &read : reads)
        QCOMPARE(int(read.bytes.size()), dataReportLength(rig));
}

void checkGetWithoutTransfer(CommandRig &rig)
{
    QFETCH(GetCall, call);
    QFETCH(QByteArray, failed);
    for (Failure failure : kFailures) {
        rig.reset();
        rig.apply(failure);
        const QByteArray got = call(rig.hid, kSeed);
        QVERIFY2(got == failed, qPrintable(QString(failureName(failure)) + ": " + got.toHex(' ')));
        QVERIFY2(rig.commandTraffic() == 0, failureName(failure));
    }
}

void checkGetTokenRefused(CommandRig &rig)
{
    QFETCH(GetCall, call);
    QFETCH(QByteArray, untouched);
    rig.holdToken();
    QTest::ignoreMessage(QtDebugMsg, kGetFailText);
    const QByteArray got = call(rig.hid, kSeed);
    rig.releaseToken();
    QCOMPARE(got.toHex(' '), untouched.toHex(' '));
    QCOMPARE(int(rig.commandRecords(vhid::Op::SendFeature).size()), 1);
    QCOMPARE(int(rig.commandRecords(vhid::Op::GetFeature).size()), 0);
}

}  // namespace rig
