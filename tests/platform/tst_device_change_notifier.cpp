// The device-change notifier can be built and torn down without leaking its socket.
// (No USB bus here: the arrival of real events is not exercised.)
#include "platform/DeviceChangeNotifier.h"

#include <QDir>
#include <QSignalSpy>
#include <QtTest>

namespace {
int openDescriptorCount()
{
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size();
}
} // namespace

class TestDeviceChangeNotifier : public QObject {
    Q_OBJECT

private slots:
    void createsWatchingNotifierWithParent();
    void repeatedCreationLeaksNoDescriptors();
};

void TestDeviceChangeNotifier::createsWatchingNotifierWithParent()
{
    QObject owner;
    std::unique_ptr<DeviceChangeNotifier> notifier = DeviceChangeNotifier::create(&owner);
    QVERIFY(notifier);
    QCOMPARE(notifier->parent(), &owner);
    QSignalSpy changes(notifier.get(), &DeviceChangeNotifier::deviceChanged);
    QVERIFY(changes.isValid());
    // Running the event loop over a quiet socket neither blocks nor misfires.
    QTest::qWait(100);
    QCOMPARE(changes.count(), 0);
}

void TestDeviceChangeNotifier::repeatedCreationLeaksNoDescriptors()
{
    DeviceChangeNotifier::create().reset(); // libraries settle their one-time descriptors
    const int before = openDescriptorCount();
    for (int i = 0; i < 8; ++i) {
        std::unique_ptr<DeviceChangeNotifier> notifier = DeviceChangeNotifier::create();
        QVERIFY(notifier);
        QCoreApplication::processEvents();
    }
    QCOMPARE(openDescriptorCount(), before);
}

QTEST_GUILESS_MAIN(TestDeviceChangeNotifier)
#include "tst_device_change_notifier.moc"
