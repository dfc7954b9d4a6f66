// The device lock around the window's transfers: a command waits, still serving events, while
// another program holds the lock, sends once it is let go, and gives the lock back with the
// token; a lock held past the token wait drops the command as a busy token does.
#include "platform/DeviceLock.h"
#include "tests/support/ProvenDevice.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

constexpr int kIdleTimeoutMs = 10000;
constexpr uchar kSetStage = 0x0B;

// When the 0BH command block reached the mouse, or -1.
qint64 sentAt(std::chrono::steady_clock::time_point start)
{
    for (const vhid::Record &record : vhid::Bus::instance().records())
        if (record.op == vhid::Op::SendFeature && !record.plainBlock.empty() && record.plainBlock[0] == kSetStage)
            return std::chrono::duration_cast<std::chrono::milliseconds>(record.at - start).count();
    return -1;
}

}  // namespace

class TestTransferLock : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        DeviceLock::installShared(std::make_unique<DeviceLock>(dir.filePath("device.lock")));
    }
    void init()
    {
        hid = std::make_unique<Hid_Thread>();
        testsupport::plugProvenDevice(*hid);
    }
    void cleanup()
    {
        hid->waitUntilIdle(kIdleTimeoutMs);
        hid.reset();
    }

    void aCommandWaitsForTheOtherProgramThenSends()
    {
        DeviceLock otherProgram(dir.filePath("device.lock"));
        QVERIFY(otherProgram.tryLock());
        const auto start = std::chrono::steady_clock::now();
        QElapsedTimer clock;
        clock.start();
        qint64 releasedAt = -1;
        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
        ticker.start(20);
        QTimer::singleShot(500, [&] {
            releasedAt = clock.elapsed();
            otherProgram.unlock();
        });
        hid->hid_0BH_SetCurrentDPIStage(3);
        QVERIFY(hid->waitUntilIdle(kIdleTimeoutMs));
        QVERIFY(releasedAt >= 0);
        const qint64 sent = sentAt(start);
        QVERIFY2(sent >= releasedAt, qPrintable(QString("sent at %1 ms, let go at %2 ms").arg(sent).arg(releasedAt)));
        QVERIFY2(ticks >= 5, "events were not served while the command waited");
        // The transfer gave the lock back with the token.
        QVERIFY(!DeviceLock::shared()->isHeld());
        QVERIFY(otherProgram.tryLock());
        otherProgram.unlock();
        QVERIFY(vhid::Bus::instance().violationReport().empty());
    }

    void aLockHeldPastTheTokenWaitDropsTheCommand()
    {
        DeviceLock otherProgram(dir.filePath("device.lock"));
        QVERIFY(otherProgram.tryLock());
        QTest::ignoreMessage(QtDebugMsg, "cmd Failed 0B");
        hid->hid_0BH_SetCurrentDPIStage(3);
        QCOMPARE(sentAt(std::chrono::steady_clock::now()), qint64(-1));
        QVERIFY(!DeviceLock::shared()->isHeld());
        otherProgram.unlock();
        // The token is free again: the next command goes through.
        hid->hid_0BH_SetCurrentDPIStage(4);
        QVERIFY(hid->waitUntilIdle(kIdleTimeoutMs));
        QVERIFY(sentAt(std::chrono::steady_clock::time_point()) >= 0);
    }

private:
    QTemporaryDir dir;
    std::unique_ptr<Hid_Thread> hid;
};

QTEST_GUILESS_MAIN(TestTransferLock)
#include "tst_transfer_lock.moc"
