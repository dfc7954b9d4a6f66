// The per-user device lock: two holders exclude each other, holds nest within one holder,
// a wait ends when the other gives the lock back or when its time is up.
#include "platform/DeviceLock.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>
#include <thread>

class TestDeviceLock : public QObject {
    Q_OBJECT

private slots:
    void init() { lockPath = dir.filePath("device.lock"); }

    // The mark w3ctl leaves for the window: read by another holder, new each time.
    void aMarkOfAChangedMouseIsSeenByTheOthers()
    {
        QTemporaryDir own;
        const QString path = own.filePath("device.lock");
        DeviceLock window(path), cli(path);
        QCOMPARE(window.mouseChangeMark(), QByteArray());
        QVERIFY(cli.markMouseChanged());
        const QByteArray first = window.mouseChangeMark();
        QVERIFY(!first.isEmpty());
        QVERIFY(cli.markMouseChanged());
        QVERIFY(window.mouseChangeMark() != first);
        DeviceLock nowhere(own.filePath("missing/device.lock"));
        QVERIFY(!nowhere.markMouseChanged());
    }

    void aSecondHolderIsRefusedUntilTheFirstLetsGo()
    {
        DeviceLock window(lockPath), cli(lockPath);
        QVERIFY(window.tryLock());
        QVERIFY(!cli.tryLock());
        window.unlock();
        QVERIFY(cli.tryLock());
        QVERIFY(!window.tryLock());
    }

    void nestedHoldsReleaseWithTheLastOne()
    {
        DeviceLock command(lockPath), other(lockPath);
        QVERIFY(command.tryLock());   // the whole command
        QVERIFY(command.tryLock());   // one transfer inside it
        command.unlock();
        QVERIFY(command.isHeld());
        QVERIFY(!other.tryLock());
        command.unlock();
        QVERIFY(!command.isHeld());
        QVERIFY(other.tryLock());
    }

    void unlockWithoutAHoldChangesNothing()
    {
        DeviceLock lock(lockPath), other(lockPath);
        lock.unlock();
        QVERIFY(other.tryLock());
        lock.unlock();
        QVERIFY(!lock.tryLock());
    }

    void destroyingAHolderReleasesTheLock()
    {
        DeviceLock other(lockPath);
        {
            DeviceLock holder(lockPath);
            QVERIFY(holder.tryLock());
            QVERIFY(!other.tryLock());
        }
        QVERIFY(other.tryLock());
    }

    void aWaitEndsWhenTheHolderLetsGo()
    {
        DeviceLock holder(lockPath), waiter(lockPath);
        QVERIFY(holder.tryLock());
        QElapsedTimer clock;
        clock.start();
        qint64 releasedAt = -1;
        std::thread release([&] {
            QThread::msleep(300);
            releasedAt = clock.elapsed();
            holder.unlock();
        });
        const bool locked = waiter.lockWithin(10000, 10);
        const qint64 lockedAt = clock.elapsed();
        release.join();
        QVERIFY(locked);
        QVERIFY2(lockedAt >= releasedAt, qPrintable(QString("locked at %1 ms, released at %2 ms")
                                                        .arg(lockedAt).arg(releasedAt)));
    }

    void aWaitGivesUpAfterItsTime()
    {
        DeviceLock holder(lockPath), waiter(lockPath);
        QVERIFY(holder.tryLock());
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!waiter.lockWithin(200, 10));
        QVERIFY(clock.elapsed() >= 200);
        QVERIFY(!waiter.isHeld());
    }

    void aLockFileThatCannotBeMadeRefuses()
    {
        DeviceLock lock(dir.filePath("missing/folder/device.lock"));
        QVERIFY(!lock.tryLock());
        QVERIFY(!lock.isHeld());
    }

    void theLockFileFollowsTheEnvironment_data()
    {
        QTest::addColumn<QByteArray>("named");
        QTest::addColumn<bool>("runtimeFolder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("named file") << QByteArray("DIR/named.lock") << true << "DIR/named.lock";
        QTest::newRow("runtime folder") << QByteArray() << true << "DIR/w3config-device.lock";
        QTest::newRow("data folder") << QByteArray() << false << "CWD/.w3config-device.lock";
    }
    void theLockFileFollowsTheEnvironment()
    {
        QFETCH(QByteArray, named);
        QFETCH(bool, runtimeFolder);
        QFETCH(QString, expected);
        const QByteArray savedNamed = qgetenv("W3_DEVICE_LOCK");
        const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("W3_DEVICE_LOCK", named.replace("DIR", dir.path().toUtf8()));
        if (runtimeFolder)
            qputenv("XDG_RUNTIME_DIR", dir.path().toUtf8());
        else
            qunsetenv("XDG_RUNTIME_DIR");
        const QString path = DeviceLock::defaultPath();
        qputenv("W3_DEVICE_LOCK", savedNamed);
        qputenv("XDG_RUNTIME_DIR", savedRuntime);
        expected.replace("DIR", dir.path()).replace("CWD", QDir::currentPath());
        QCOMPARE(path, expected);
    }

private:
    QTemporaryDir dir;
    QString lockPath;
};

QTEST_GUILESS_MAIN(TestDeviceLock)
#include "tst_device_lock.moc"
