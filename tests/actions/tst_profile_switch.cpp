// A switch that sends only what differs from what the mouse holds: for pairs of profiles the
// exact blocks on the wire, and the virtual mouse left as a whole switch leaves it; after the
// mouse is plugged in again everything is sent; the follower of the application in front asks
// for one switch however quickly applications come and go.
#include "actions/HeldProfile.h"
#include "actions/KeyActions.h"
#include "actions/PageActions.h"
#include "actions/ProfileActions.h"
#include "actions/SensorActions.h"
#include "controller/ApplicationFollower.h"
#include "controller/Controllers.h"
#include "platform/PointerSettings.h"
#include "tests/actions/ActionsRig.h"
#include "tests/support/ModulesSandbox.h"
#include "virtual/VirtualBus.h"

#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>
#include <algorithm>

namespace {

using Entries = QList<QPair<QString, QVariant>>;

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

QString profileFile(int profile) { return QString("modules/setting/p%1.bin").arg(profile + 1); }

// Profile 2 made a copy of profile 1 with `changes`.
void writeSecondProfile(const Entries &changes)
{
    QFile::remove(profileFile(1));
    QVERIFY(QFile::copy(profileFile(0), profileFile(1)));
    QFile::setPermissions(profileFile(1), QFile::ReadOwner | QFile::WriteOwner);
    QSettings settings(profileFile(1), QSettings::IniFormat);
    for (const auto &entry : changes)
        settings.setValue(entry.first, entry.second);
}

// Every plain block the mouse was sent, queries too, as hex text without the check byte.
QStringList wireBlocks()
{
    QStringList blocks;
    for (const vhid::Record &record : vhid::Bus::instance().records()) {
        if (record.op != vhid::Op::SendFeature || record.plainBlock.empty() || record.plainBlock[0] == 0x00)
            continue;
        const QByteArray block(reinterpret_cast<const char *>(record.plainBlock.data()), int(record.plainBlock.size()));
        blocks << block.left(block.size() - 1).toHex(' ');
    }
    return blocks;
}

QString hex(const std::vector<std::uint8_t> &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), int(bytes.size())).toHex(' ');
}

// What the mouse holds. The rate the function option carries is left out: it only restates the
// report rate the mouse had when the wheel direction was last sent.
QString mouseState()
{
    QStringList state;
    vhid::Bus::instance().withMouse([&](vhid::MouseMemory &m) {
        state << QString("rate %1 stage %2 stages %3 %4").arg(m.reportRate).arg(m.dpiStage).arg(m.dpiMaxStage).arg(hex(m.dpiCodes))
              << QString("option %1 %2 %3").arg(m.sensorType).arg(m.functionOption1).arg(m.functionOption2)
              << QString("effect %1 %2 %3").arg(m.ledEffect[0]).arg(m.ledEffect[1]).arg(m.ledEffect[2])
              << "colours " + hex(m.colors[0]) + " / " + hex(m.colors[1]) + " / " + hex(m.colors[2])
              << "matrix " + hex(m.keyMatrix);
        for (const auto &macro : m.macros)
            state << QString("macro %1 %2").arg(macro.first).arg(hex(macro.second));
    });
    return state.join('\n');
}

// The mouse after the first profile was sent whole, then the second one in the given way; the
// wire record of the second switch alone.
struct SwitchResult {
    QStringList blocks;
    QString state;
};

SwitchResult switchFromFirstToSecond(bool onlyDifferences)
{
    ActionsRig rig;
    ProfileActions &profiles = *rig.actions.profiles;
    profiles.switchTo(0);
    rig.settle();
    vhid::Bus::instance().clearRecords();
    if (onlyDifferences)
        profiles.switchSendingDifferences(1);
    else
        profiles.switchTo(1);
    rig.settle();
    return {wireBlocks(), mouseState()};
}

QStringList sameValue(int count, const QString &value)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << value;
    return list;
}

const char *const kStages = "11 08 08 00 00 00 00";
const char *const kStageIds = "10 02 04 00 00 00 00";

}  // namespace

class TestProfileSwitch : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Controllers::setPointerFactory([] { return std::make_unique<FakePointer>(); });
    }

    void onlyDifferencesAreSent_data()
    {
        QTest::addColumn<Entries>("changes");
        QTest::addColumn<QStringList>("blocks");
        QTest::newRow("identical profiles: nothing, not even a query") << Entries{} << QStringList{};
        QTest::newRow("one stage value")
            << Entries{{"sensor/dpi_W3", QStringList{"500", "1000", "1250", "2000", "2500", "3000", "4000", "5000"}}}
            << QStringList{kStages};
        QTest::newRow("the effect") << Entries{{"color_W3/ledEffect", QStringList{"2", "7", "3", "1"}}}
                                    << QStringList{"0d 03 00 06 00 00 00"};
        QTest::newRow("one button") << Entries{{"keydefine_W3/9", QStringList{"0", "0", "4", "0"}}}
                                    << QStringList{"12 01 40 08 00 00 00"};
        QTest::newRow("the wheel direction: read, then written")
            << Entries{{"keydefine_W3/scrollswap", true}}
            << QStringList{"83 00 00 00 00 00 00", "81 00 00 00 00 00 00", "03 01 02 c0 00 00 00"};
        QTest::newRow("the pointer settings only: nothing reaches the mouse")
            << Entries{{"sensor/cursorSpeed_W3", 9}} << QStringList{};
        QTest::newRow("everything")
            << Entries{{"keydefine_W3/scrollswap", true},
                       {"keydefine_W3/0", QStringList{"1", "0", "241", "0"}},
                       {"color_W3/type0", sameValue(24, "17")},
                       {"color_W3/ledEffect", QStringList{"4", "2", "2", "1"}},
                       {"color_W3/type2", QStringList{"7", "6", "5", "4", "3", "2", "1", "0"}},
                       {"sensor/dpi_W3", QStringList{"1000", "2000", "0", "0", "0", "0", "0", "0"}},
                       {"sensor/stage_W3", 1},
                       {"sensor/reportRate_W3", 8},
                       {"sensor/cursorSpeed_W3", 9}}
            << QStringList{"83 00 00 00 00 00 00", "81 00 00 00 00 00 00", "03 01 02 c0 00 00 00",
                           "12 01 40 08 00 00 00", "10 00 18 00 00 00 00", "0d 05 50 07 00 00 00", kStages,
                           kStageIds, "01 08 00 00 00 00 00", "0b 01 00 00 00 00 00"};
    }
    void onlyDifferencesAreSent()
    {
        QFETCH(Entries, changes);
        QFETCH(QStringList, blocks);
        ModulesSandbox sandbox;
        writeSecondProfile(changes);
        const SwitchResult whole = switchFromFirstToSecond(false);
        const SwitchResult differences = switchFromFirstToSecond(true);
        QCOMPARE(differences.blocks, blocks);
        QCOMPARE(differences.state, whole.state);
        QVERIFY(vhid::Bus::instance().takeViolations().empty());
    }

    // The mouse tells which profile it holds only through what was sent to it.
    void theProfileHeldFollowsWhatWasSent()
    {
        ModulesSandbox sandbox;
        writeSecondProfile({{"sensor/reportRate_W3", 8}, {"keydefine_W3/4", QStringList {"3", "0", "226", "0"}}});
        ActionsRig rig;
        ProfileActions &profiles = *rig.actions.profiles;
        QSignalSpy held(&profiles, &ProfileActions::heldByMouseChanged);
        QCOMPARE(profiles.heldByMouse(), -1);
        QVERIFY(profiles.switchSendingDifferences(0));
        QCOMPARE(profiles.heldByMouse(), 0);
        QVERIFY(profiles.select(1));
        QCOMPARE(profiles.heldByMouse(), 0);
        // The sensor page applied from a profile whose buttons differ too: the mouse holds a mix.
        rig.actions.sensor->apply();
        QCOMPARE(profiles.heldByMouse(), -1);
        // Its buttons applied as well: the groups that already held its values count as its own,
        // so the mouse holds that profile without a switch.
        rig.actions.keys->apply();
        QCOMPARE(profiles.heldByMouse(), 1);
        rig.settle();
        vhid::Bus::instance().clearRecords();
        QVERIFY(profiles.switchSendingDifferences(1));
        rig.settle();
        QCOMPARE(wireBlocks(), QStringList());
        QCOMPARE(profiles.heldByMouse(), 1);
        QCOMPARE(held.count(), 3);
        QVERIFY(!profiles.switchSendingDifferences(10));
    }

    // Plugged in again, the mouse may hold anything: the next switch sends the profile whole,
    // with the questions the whole switch asks; after it nothing is sent again.
    void aReconnectSendsEverythingOnce()
    {
        ModulesSandbox sandbox;
        writeSecondProfile({});
        const QStringList whole = switchFromFirstToSecond(false).blocks;
        ActionsRig rig;
        ProfileActions &profiles = *rig.actions.profiles;
        profiles.switchTo(0);
        rig.settle();
        profiles.forgetWhatMouseHolds();
        QCOMPARE(profiles.heldByMouse(), -1);
        rig.hid.rebuildDevices(testsupport::shippedCatalogue());
        vhid::Bus::instance().clearRecords();
        QVERIFY(profiles.switchSendingDifferences(1));
        rig.settle();
        QCOMPARE(wireBlocks(), whole);
        vhid::Bus::instance().clearRecords();
        QVERIFY(profiles.switchSendingDifferences(0));
        rig.settle();
        QCOMPARE(wireBlocks(), QStringList());
    }

    // Ten applications in front within 200 ms: one switch, to the profile of the last one.
    void rapidSwitchingGivesOneSwitch()
    {
        ModulesSandbox sandbox;
        writeSecondProfile({{"sensor/reportRate_W3", 8}});
        ApplicationRules rules;
        rules.setEnabled(true);
        QVERIFY(rules.addRule({ApplicationMatch::WindowClass, "editor", 0}));
        QVERIFY(rules.addRule({ApplicationMatch::WindowClass, "game", 1}));
        ActionsRig rig;
        ProfileActions &profiles = *rig.actions.profiles;
        profiles.switchTo(0);
        rig.settle();
        vhid::Bus::instance().clearRecords();
        qint64 now = 0;
        ApplicationFollower follower([&now] { return now; });
        follower.setRules(rules);
        follower.profileInUse(profiles.heldByMouse());
        QSignalSpy wanted(&follower, &ApplicationFollower::profileWanted);
        connect(&follower, &ApplicationFollower::profileWanted, &profiles, &ProfileActions::switchSendingDifferences);
        for (int i = 0; i < 10; ++i) {
            follower.applicationActivated({QString(), i % 2 ? "game" : "editor", QString(), 100 + i % 2});
            now += 20;
            follower.checkDwell();
        }
        now += ApplicationFollower::kDwellMs;
        follower.checkDwell();
        rig.settle();
        QCOMPARE(wanted.count(), 1);
        QCOMPARE(profiles.heldByMouse(), 1);
        QCOMPARE(wireBlocks(), QStringList{"01 08 00 00 00 00 00"});
    }
};

QTEST_GUILESS_MAIN(TestProfileSwitch)
#include "tst_profile_switch.moc"
