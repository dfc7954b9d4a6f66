// The profile that follows the application in front, end to end on an X display: the test
// plays the window manager, the program's own back end choice reads the active window, the
// rules file is read and read again, and the virtual mouse's record shows what each followed
// switch sent.
#include "actions/KeyActions.h"
#include "actions/LightingActions.h"
#include "actions/PageActions.h"
#include "actions/ProfileActions.h"
#include "app/ElsewhereChanges.h"
#include "app/MouseQueue.h"
#include "app/ProfileFollowing.h"
#include "platform/ActiveApplicationChoice.h"
#include "platform/DeviceLock.h"
#include "platform/PointerSettings.h"
#include "tests/actions/ActionsRig.h"
#include "tests/platform/WindowManagerStandIn.h"
#include "tests/support/CommandBlocks.h"
#include "tests/support/ModulesSandbox.h"

#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

namespace {

constexpr int kWaitMs = 10000;
const char *const kRate1000 = "01 01 00 00 00 00 00";
const char *const kRate125 = "01 08 00 00 00 00 00";

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

// Profile 1 at 1000 reports per second, profile 2 the same at 125.
void writeProfiles()
{
    QSettings("modules/setting/p1.bin", QSettings::IniFormat).setValue("sensor/reportRate_W3", 1);
    QFile::remove("modules/setting/p2.bin");
    QVERIFY(QFile::copy("modules/setting/p1.bin", "modules/setting/p2.bin"));
    QFile::setPermissions("modules/setting/p2.bin", QFile::ReadOwner | QFile::WriteOwner);
    QSettings("modules/setting/p2.bin", QSettings::IniFormat).setValue("sensor/reportRate_W3", 8);
}

// The application in front, as the test says.
class StagedApplication : public ActiveApplication {
public:
    ApplicationIdentity current() const override { return inFront; }
    void bringToFront(const QString &windowClass)
    {
        inFront = {QString(), windowClass, QString(), 0};
        emit changed(inFront);
    }

private:
    ApplicationIdentity inFront;
};

void writeRules(int editorProfile, int gameProfile)
{
    ApplicationRules rules;
    rules.setEnabled(true);
    QVERIFY(rules.addRule({ApplicationMatch::WindowClass, "Editor", editorProfile}));
    QVERIFY(rules.addRule({ApplicationMatch::WindowClass, "Game", gameProfile}));
    QCOMPARE(rules.write(ApplicationRules::defaultPath()), QString());
}

// The back end the program would choose in the suite's X session.
std::unique_ptr<ActiveApplication> sessionBackEnd()
{
    return chooseActiveApplication(QProcessEnvironment::systemEnvironment(), QDBusConnection::sessionBus()).backEnd;
}

}  // namespace

class TestProfileFollowing : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Controllers::setPointerFactory([] { return std::make_unique<FakePointer>(); });
        qRegisterMetaType<ApplicationIdentity>();
        QVERIFY(lockFolder.isValid());
        DeviceLock::installShared(std::make_unique<DeviceLock>(lockFolder.filePath("device.lock")));
    }

    // w3ctl, a program of its own, marks the mouse changed when it ends: the next followed
    // switch sends everything, the buttons both profiles share too.
    void aMouseChangedByAnotherProgramGetsEverything()
    {
        WindowManagerStandIn manager;
        if (!manager.connected() || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            QSKIP("no X server (run under Xvfb)");
        ModulesSandbox sandbox;
        writeProfiles();
        writeRules(0, 1);
        manager.activate(manager.window("editor", "Editor", 0));
        ActionsRig rig;
        ProfileActions &profiles = *rig.actions.profiles;
        profiles.switchTo(0);
        rig.settle();
        MouseQueue queue(rig.hid);
        ElsewhereChanges elsewhere(rig.controllers, rig.actions);
        queue.setBeforeEachJob([&elsewhere] { elsewhere.catchUp(); });
        ProfileFollowing following(profiles, queue, sessionBackEnd(), [] { return QString(); });
        QSignalSpy switched(&following, &ProfileFollowing::switched);
        DeviceLock otherProgram(DeviceLock::shared()->path());
        QVERIFY(otherProgram.markMouseChanged());
        vhid::Bus::instance().clearRecords();
        manager.activate(manager.window("game", "Game", 0));
        QTRY_COMPARE_WITH_TIMEOUT(switched.count(), 1, kWaitMs);
        rig.settle();
        const QStringList blocks = mouseCommandBlocks();
        QVERIFY2(blocks.contains("12 01 40 08 00 00 00") && blocks.contains(kRate125), qPrintable(blocks.join(", ")));
    }

    void followsTheActiveWindow()
    {
        WindowManagerStandIn manager;
        if (!manager.connected() || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            QSKIP("no X server (run under Xvfb)");
        ModulesSandbox sandbox;
        writeProfiles();
        writeRules(0, 1);
        const xcb_window_t editor = manager.window("editor", "Editor", 0);
        const xcb_window_t game = manager.window("game", "Game", 0);
        manager.activate(editor);

        ActionsRig rig;
        ProfileActions &profiles = *rig.actions.profiles;
        profiles.switchTo(0);
        rig.settle();
        vhid::Bus::instance().clearRecords();
        QString refusal;
        MouseQueue queue(rig.hid);
        ProfileFollowing following(profiles, queue, sessionBackEnd(), [&refusal] { return refusal; });
        QSignalSpy switched(&following, &ProfileFollowing::switched);
        QSignalSpy wanted(&following.follower(), &ApplicationFollower::profileWanted);

        // The editor's profile is held already; the game's differs in the report rate alone.
        manager.activate(game);
        QTRY_COMPARE_WITH_TIMEOUT(switched.count(), 1, kWaitMs);
        rig.settle();
        QCOMPARE(profiles.heldByMouse(), 1);
        QCOMPARE(mouseCommandBlocks(), QStringList{kRate125});
        QCOMPARE(following.recentApplications().applications().size(), 2);
        QCOMPARE(following.recentApplications().applications().front().windowClass, QString("Game"));

        // New rules apply to the window in front.
        vhid::Bus::instance().clearRecords();
        writeRules(1, 0);
        QTRY_COMPARE_WITH_TIMEOUT(switched.count(), 2, kWaitMs);
        rig.settle();
        QCOMPARE(profiles.heldByMouse(), 0);
        QCOMPARE(mouseCommandBlocks(), QStringList{kRate1000});

        // A file that cannot be read leaves the rules read before.
        vhid::Bus::instance().clearRecords();
        QFile file(ApplicationRules::defaultPath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Append));
        file.write(QByteArray(ApplicationRules::kMaxFileBytes, '#'));
        file.close();
        manager.activate(editor);
        QTRY_COMPARE_WITH_TIMEOUT(switched.count(), 3, kWaitMs);
        rig.settle();
        QCOMPARE(profiles.heldByMouse(), 1);
        QCOMPARE(mouseCommandBlocks(), QStringList{kRate125});

        // While the window holds changes the switch is left out, and asked for again later.
        vhid::Bus::instance().clearRecords();
        refusal = "changes pending";
        wanted.clear();
        manager.activate(game);
        QTRY_COMPARE_WITH_TIMEOUT(wanted.count(), 1, kWaitMs);
        QCOMPARE(switched.count(), 3);
        QCOMPARE(profiles.heldByMouse(), 1);
        refusal.clear();
        const auto inFront = [&following] { return following.recentApplications().applications().front().windowClass; };
        manager.activate(editor);
        QTRY_COMPARE_WITH_TIMEOUT(inFront(), QString("Editor"), kWaitMs);
        manager.activate(game);
        QTRY_COMPARE_WITH_TIMEOUT(switched.count(), 4, kWaitMs);
        rig.settle();
        QCOMPARE(profiles.heldByMouse(), 0);
        QCOMPARE(mouseCommandBlocks(), QStringList{kRate1000});
    }

    // A command waiting for the mouse runs the window's events: a switch due then waits until
    // the page's APPLY is through, so the mouse ends with the followed profile's buttons and the
    // page's buttons stay in the profile they were applied to.
    void aSwitchDueDuringACommandWaitsForIt()
    {
        ModulesSandbox sandbox;
        writeProfiles();
        writeRules(0, 1);
        ActionsRig rig;
        ProfileActions &profiles = *rig.actions.profiles;
        profiles.switchTo(0);
        rig.settle();
        qint64 now = 0;
        auto staged = std::make_unique<StagedApplication>();
        StagedApplication &inFront = *staged;
        MouseQueue queue(rig.hid);
        ProfileFollowing following(
            profiles, queue, std::move(staged), [] { return QString(); }, ApplicationRules::defaultPath(),
            [&now] { return now; });
        QSignalSpy switched(&following, &ProfileFollowing::switched);
        inFront.bringToFront("Game");
        now += ApplicationFollower::kDwellMs;
        vhid::Faults slow;
        slow.featureReportDelayMs = 20;
        vhid::Bus::instance().setFaults(vhid::Model::Mouse, slow);

        KeyActions &keys = *rig.actions.keys;
        keys.assign(9, QVariantList{0, 0, 4, 0});
        // Due at the first events the APPLY lets run while it waits for the mouse.
        QTimer::singleShot(0, &following.follower(), &ApplicationFollower::checkDwell);
        keys.apply();
        QTRY_COMPARE_WITH_TIMEOUT(switched.count(), 1, kWaitMs);
        rig.settle();
        vhid::Bus::instance().setFaults(vhid::Model::Mouse, {});

        QCOMPARE(profiles.heldByMouse(), 1);
        QVERIFY(rig.mouseMatrix() != std::vector<std::uint8_t>());
        QCOMPARE(int(rig.mouseMatrix().at(9 * 4 + 2)), 0);
        const auto button10 = [](const char *file) {
            return QSettings(file, QSettings::IniFormat).value("keydefine_W3/9").toStringList().join(',');
        };
        QCOMPARE(button10("modules/setting/p1.bin"), QString("0,0,4,0"));
        QCOMPARE(button10("modules/setting/p2.bin"), QString("0,0,0,0"));
    }

private:
    QTemporaryDir lockFolder;
};

QTEST_MAIN(TestProfileFollowing)
#include "tst_profile_following.moc"
