// The system pointer settings: stored steps, their conversion to the system's values, the
// debug texts of failed system calls, and the worker thread that makes the system calls in
// order without holding up the caller, against a fake operating system.
#include "controller/ProfileStore.h"
#include "controller/SystemMouseSettings.h"
#include "platform/PointerSettings.h"
#include "platform/PointerSpeedScale.h"
#include "tests/support/ModulesSandbox.h"
#include "SettingsFiles.h"

#include <QSemaphore>
#include <QtTest>
#include <memory>

namespace {

// Called on the settings worker thread; the test reads the records once the worker is idle.
class FakePointer : public PointerSettings {
public:
    bool setPointerSpeed(int systemSpeed) override
    {
        if (holdSpeed) {
            speedEntered.release();
            speedRelease.acquire();
        }
        speeds << systemSpeed;
        return succeeds;
    }
    bool setWheelScrollLines(int lines) override { scrollLines << lines; return succeeds; }
    bool setDoubleClickTime(int ms) override { doubleClicks << ms; return succeeds; }
    bool readMouse(int values[MouseValueCount]) override
    {
        ++reads;
        std::copy(mouse, mouse + MouseValueCount, values);
        return readSucceeds;
    }
    bool writeMouse(const int values[MouseValueCount]) override
    {
        written = QList<int>{values[0], values[1], values[2]};
        std::copy(values, values + MouseValueCount, mouse);
        return succeeds;
    }

    bool succeeds = true;
    bool readSucceeds = true;
    int mouse[MouseValueCount] = {6, 10, 1};
    int reads = 0;
    QList<int> speeds, scrollLines, doubleClicks, written;
    // With holdSpeed, setPointerSpeed waits for speedRelease after signalling speedEntered.
    bool holdSpeed = false;
    QSemaphore speedEntered, speedRelease;
};

const QString kProfile1 = "./modules/setting/p1.bin";
constexpr int kApplyTimeoutMs = 30000;

}  // namespace

class TestSystemMouse : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        sandbox = std::make_unique<ModulesSandbox>();
        QVERIFY(QFile::remove(kProfile1));  // a profile that never stored these keys
        profiles = std::make_unique<ProfileStore>();
        pointer = std::make_unique<FakePointer>();
        settings = std::make_unique<SystemMouseSettings>(*profiles, *pointer);
    }
    void cleanup()
    {
        pointer->speedRelease.release(1000);
        settings.reset();
        profiles.reset();
        sandbox.reset();
    }

    void conversions_data();
    void conversions();
    void emptyProfileReadsZero();
    void switchingProfilesChangesNothingInTheSystem();
    void failedCallsKeepValueAndWriteDebugText();
    void acceleration_data();
    void acceleration();
    void accelerationFailures();
    void settersReturnWhileTheSystemIsBusy();
    void systemCallsRunInCallOrder();
    void libinputSpeedScale();

private:
    std::unique_ptr<ModulesSandbox> sandbox;
    std::unique_ptr<ProfileStore> profiles;
    std::unique_ptr<FakePointer> pointer;
    std::unique_ptr<SystemMouseSettings> settings;
};

void TestSystemMouse::conversions_data()
{
    QTest::addColumn<uint>("step");
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("doubleClickMs");
    QTest::newRow("0") << 0u << 1 << 1 << 900;
    QTest::newRow("1") << 1u << 2 << 2 << 830;
    QTest::newRow("5") << 5u << 10 << 6 << 550;
    QTest::newRow("10") << 10u << 20 << 11 << 200;
    // Beyond the scale: stored as received, applied as the top step.
    QTest::newRow("40") << 40u << 20 << 11 << 200;
}

void TestSystemMouse::conversions()
{
    QFETCH(uint, step);
    QFETCH(int, speed);
    QFETCH(int, lines);
    QFETCH(int, doubleClickMs);
    settings->setCursorSpeed(step);
    settings->setVerticalScrollLines(step);
    settings->setDoubleClickSpeed(step);
    QVERIFY(settings->waitUntilApplied(kApplyTimeoutMs));
    QCOMPARE(pointer->speeds, QList<int>{speed});
    QCOMPARE(pointer->scrollLines, QList<int>{lines});
    QCOMPARE(pointer->doubleClicks, QList<int>{doubleClickMs});
    QCOMPARE(settings->getCursorSpeed(), step);
    QCOMPARE(settings->getVerticalScrollLines(), step);
    QCOMPARE(settings->getDoubleClickSpeed(), step);
    profiles->current().sync();
    const QString text = QString::number(step);
    QCOMPARE(settingsfiles::entry(kProfile1, "sensor", "cursorSpeed_W3"), text);
    QCOMPARE(settingsfiles::entry(kProfile1, "sensor", "verticalScrollLines_W3"), text);
    QCOMPARE(settingsfiles::entry(kProfile1, "sensor", "doubleClickSpeed_W3"), text);
}

void TestSystemMouse::emptyProfileReadsZero()
{
    QCOMPARE(settings->getCursorSpeed(), 0u);
    QCOMPARE(settings->getVerticalScrollLines(), 0u);
    QCOMPARE(settings->getDoubleClickSpeed(), 0u);
}

void TestSystemMouse::switchingProfilesChangesNothingInTheSystem()
{
    settings->setCursorSpeed(3);
    profiles->setCurrentProfile(1);
    QCOMPARE(settings->getCursorSpeed(), 5u);  // the shipped profile's step
    profiles->setCurrentProfile(0);
    QCOMPARE(settings->getCursorSpeed(), 3u);
    QVERIFY(settings->waitUntilApplied(kApplyTimeoutMs));
    QCOMPARE(pointer->speeds, QList<int>{6});
}

void TestSystemMouse::failedCallsKeepValueAndWriteDebugText()
{
    pointer->succeeds = false;
    QTest::ignoreMessage(QtDebugMsg, "setCursorSpeed Failed");
    settings->setCursorSpeed(4);
    QTest::ignoreMessage(QtDebugMsg, "setVerticalScrollLines Failed");
    settings->setVerticalScrollLines(4);
    QTest::ignoreMessage(QtDebugMsg, "setDoubleClickSpeed Failed");
    settings->setDoubleClickSpeed(4);
    QVERIFY(settings->waitUntilApplied(kApplyTimeoutMs));
    QCOMPARE(settings->getCursorSpeed(), 4u);
    QCOMPARE(settings->getVerticalScrollLines(), 4u);
    QCOMPARE(settings->getDoubleClickSpeed(), 4u);
}

void TestSystemMouse::acceleration_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("accelerated");
    QTest::newRow("off") << 0 << false;
    QTest::newRow("level 1") << 1 << true;
    QTest::newRow("level 2") << 2 << true;
}

void TestSystemMouse::acceleration()
{
    QFETCH(int, level);
    QFETCH(bool, accelerated);
    pointer->mouse[PointerSettings::AccelerationLevel] = level;
    pointer->mouse[PointerSettings::Threshold1] = 3;
    pointer->mouse[PointerSettings::Threshold2] = 7;
    QCOMPARE(settings->getAcceleration(), accelerated);
    // Thresholds stay as read; switching on always writes level 1.
    settings->setAcceleration(true);
    QVERIFY(settings->waitUntilApplied(kApplyTimeoutMs));
    QCOMPARE(pointer->written, (QList<int>{3, 7, 1}));
    settings->setAcceleration(false);
    QVERIFY(settings->waitUntilApplied(kApplyTimeoutMs));
    QCOMPARE(pointer->written, (QList<int>{3, 7, 0}));
    QVERIFY(!settings->getAcceleration());
}

void TestSystemMouse::accelerationFailures()
{
    pointer->readSucceeds = false;
    QTest::ignoreMessage(QtDebugMsg, "getAcceleration Failed");
    QVERIFY(!settings->getAcceleration());
    QTest::ignoreMessage(QtDebugMsg, "setAcceleration Failed");
    settings->setAcceleration(true);
    QVERIFY(settings->waitUntilApplied(kApplyTimeoutMs));
    QVERIFY(pointer->written.isEmpty());  // nothing written without the thresholds

    pointer->readSucceeds = true;
    pointer->succeeds = false;
    QTest::ignoreMessage(QtDebugMsg, "setAcceleration Failed");
    settings->setAcceleration(true);
    QVERIFY(settings->waitUntilApplied(kApplyTimeoutMs));
}

void TestSystemMouse::settersReturnWhileTheSystemIsBusy()
{
    pointer->holdSpeed = true;
    pointer->mouse[PointerSettings::AccelerationLevel] = 0;
    settings->setCursorSpeed(2);
    QVERIFY(pointer->speedEntered.tryAcquire(1, kApplyTimeoutMs));
    // The system is stuck in the speed call: the next setters still return, the profile
    // has the steps, and the acceleration reads as requested until it reaches the system.
    settings->setAcceleration(true);
    settings->setDoubleClickSpeed(1);
    QCOMPARE(settings->getCursorSpeed(), 2u);
    QCOMPARE(settings->getDoubleClickSpeed(), 1u);
    QVERIFY(settings->getAcceleration());
    QVERIFY(!settings->waitUntilApplied(0));
    QVERIFY(pointer->doubleClicks.isEmpty());

    pointer->speedRelease.release();
    QVERIFY(settings->waitUntilApplied(kApplyTimeoutMs));
    QCOMPARE(pointer->doubleClicks, QList<int>{830});
    QCOMPARE(pointer->written, (QList<int>{6, 10, 1}));
    QVERIFY(settings->getAcceleration());
}

void TestSystemMouse::systemCallsRunInCallOrder()
{
    for (uint step = 0; step <= SystemMouseSettings::kMaxStep; ++step)
        settings->setCursorSpeed(step);
    settings->setCursorSpeed(3);
    QVERIFY(settings->waitUntilApplied(kApplyTimeoutMs));
    QCOMPARE(pointer->speeds, (QList<int>{1, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 6}));
}

void TestSystemMouse::libinputSpeedScale()
{
    QCOMPARE(pointerspeed::libinputSpeed(10), 0.0);
    QCOMPARE(pointerspeed::libinputSpeed(1), -1.0);
    QCOMPARE(pointerspeed::libinputSpeed(20), 1.0);
    QCOMPARE(pointerspeed::libinputSpeed(0), -1.0);
    QCOMPARE(pointerspeed::libinputSpeed(15), 0.5);
    QVERIFY(pointerspeed::libinputSpeed(2) < pointerspeed::libinputSpeed(4));
}

QTEST_MAIN(TestSystemMouse)
#include "tst_system_mouse.moc"
