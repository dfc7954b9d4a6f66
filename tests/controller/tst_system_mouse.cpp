// The system pointer settings: stored steps, their conversion to the system's values, and
// the debug texts of failed system calls, against a fake operating system.
#include "controller/ProfileStore.h"
#include "controller/SystemMouseSettings.h"
#include "platform/LinuxPointerSettings.h"
#include "tests/support/ModulesSandbox.h"
#include "SettingsFiles.h"

#include <QtTest>
#include <memory>

namespace {

class FakePointer : public PointerSettings {
public:
    bool setPointerSpeed(int systemSpeed) override { speeds << systemSpeed; return succeeds; }
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
        return succeeds;
    }

    bool succeeds = true;
    bool readSucceeds = true;
    int mouse[MouseValueCount] = {6, 10, 1};
    int reads = 0;
    QList<int> speeds, scrollLines, doubleClicks, written;
};

const QString kProfile1 = "./modules/setting/p1.bin";

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
    void gnomeSpeedScale();

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
    QCOMPARE(pointer->written, (QList<int>{3, 7, 1}));
    settings->setAcceleration(false);
    QCOMPARE(pointer->written, (QList<int>{3, 7, 0}));
}

void TestSystemMouse::accelerationFailures()
{
    pointer->readSucceeds = false;
    QTest::ignoreMessage(QtDebugMsg, "getAcceleration Failed");
    QVERIFY(!settings->getAcceleration());
    QTest::ignoreMessage(QtDebugMsg, "setAcceleration Failed");
    settings->setAcceleration(true);
    QVERIFY(pointer->written.isEmpty());  // nothing written without the thresholds

    pointer->readSucceeds = true;
    pointer->succeeds = false;
    QTest::ignoreMessage(QtDebugMsg, "setAcceleration Failed");
    settings->setAcceleration(true);
}

void TestSystemMouse::gnomeSpeedScale()
{
    QCOMPARE(LinuxPointerSettings::gnomeSpeed(10), 0.0);
    QCOMPARE(LinuxPointerSettings::gnomeSpeed(1), -1.0);
    QCOMPARE(LinuxPointerSettings::gnomeSpeed(20), 1.0);
    QCOMPARE(LinuxPointerSettings::gnomeSpeed(0), -1.0);
    QCOMPARE(LinuxPointerSettings::gnomeSpeed(15), 0.5);
    QVERIFY(LinuxPointerSettings::gnomeSpeed(2) < LinuxPointerSettings::gnomeSpeed(4));
}

QTEST_MAIN(TestSystemMouse)
#include "tst_system_mouse.moc"
