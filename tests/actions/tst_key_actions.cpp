// The key and macro pages' actions on real controllers over the virtual mouse, in a private
// copy of the modules: what reaches the wire and what the profile and macro files hold.
#include "actions/KeyActions.h"
#include "actions/MacroActions.h"
#include "actions/PageActions.h"
#include "controller/Controllers.h"
#include "controller/ProfileStore.h"
#include "device/Hid_Thread.h"
#include "tests/actions/ActionsRig.h"
#include "tests/support/ModulesSandbox.h"
#include "virtual/VirtualBus.h"

#include <QJsonDocument>
#include <QSettings>
#include <QtTest>
#include <memory>

namespace {

using Code = KeyCodeLogic::KeyCode;

constexpr int kPlayOnce = 0;
constexpr int kButton = 3;
constexpr int kOtherButton = 4;
const char *const kMacro = "Sprint";
// A macro file counts its slot only on the device it was bound on.
int boundDevice = -1;

QString macroFile(const QString &name) { return "modules/macro/" + name + ".bin"; }
QString profileFile(int profile) { return QString("modules/setting/p%1.bin").arg(profile + 1); }

void writeMacro(const QString &name, int slot)
{
    QSettings macro(macroFile(name), QSettings::IniFormat);
    macro.setValue("config/index", slot);
    macro.setValue("config/repeat", 1);
    macro.setValue("config/did", slot < 0 ? -1 : boundDevice);
    macro.setValue("config/total", 2);
    macro.setValue("macro/0", "A    [Down]");
    macro.setValue("macro/1", "A      [Up]");
}

int slotOf(const QString &name) { return QSettings(macroFile(name), QSettings::IniFormat).value("config/index", -1).toInt(); }

// A stored profile whose `button` plays macro slot `slot`.
void storeMacroButton(int profile, int button, int slot)
{
    QSettings settings(profileFile(profile), QSettings::IniFormat);
    const Code code = KeyCodeLogic::macroCode(kPlayOnce, slot);
    settings.setValue("keydefine_W3/" + QString::number(button),
                      QStringList{QString::number(code[0]), QString::number(code[1]), QString::number(code[2]),
                                  QString::number(code[3])});
}

// The twelve slots taken by macros "Busy0".."Busy11", each played in another profile.
void takeEverySlot()
{
    for (int slot = 0; slot < KeyCodeLogic::kMacroSlotCount; ++slot) {
        writeMacro(QString("Busy%1").arg(slot), slot);
        storeMacroButton(1 + slot % 9, slot % KeyCodeLogic::kButtonCount, slot);
    }
}

struct Rig : ActionsRig {
    Rig() { actions.keys->start(); }
};

}  // namespace

Q_DECLARE_METATYPE(KeyCodeLogic::KeyCode)

class TestKeyActions : public QObject {
    Q_OBJECT

private slots:
    // The program writes its profile files on its first start; the tests change them after.
    void init()
    {
        sandbox = std::make_unique<ModulesSandbox>();
        Rig firstStart;
        boundDevice = int(firstStart.controllers.context.deviceId());
    }
    void cleanup() { sandbox.reset(); }

    // APPLY sends the codes the page shows, button 0 first, and the profile keeps them.
    void applySendsTheShownCodes_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<Code>("code");
        QTest::newRow("key F5") << kButton << Code{0x00, 0x00, 0x3E, 0x00};
        QTest::newRow("led") << 6 << Code{0x0B, 0x00, 0x00, 0x00};
        QTest::newRow("nothing") << 2 << KeyCodeLogic::noCode();
    }
    void applySendsTheShownCodes()
    {
        QFETCH(int, button);
        QFETCH(Code, code);
        {
            Rig rig;
            rig.actions.keys->assign(button, code);
            rig.actions.keys->apply();
            rig.settle();
            const std::vector<int> expected = KeyCodeLogic::keyMatrix(rig.actions.keys->codes());
            const std::vector<std::uint8_t> held = rig.mouseMatrix();
            QCOMPARE(std::vector<int>(held.begin(), held.end()), expected);
            QVERIFY(vhid::Bus::instance().violationReport().empty());
        }
        Rig reopened;
        QCOMPARE(reopened.actions.keys->codes()[size_t(button)], code);
    }

    // Pending while the page shows codes or a wheel direction the profile does not hold; the
    // mouse gets the matrix only on APPLY. A view re-shows its button when the codes are
    // replaced as a whole.
    void pendingFollowsWhatTheProfileHolds_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("pending");
        QTest::addColumn<int>("announcements");
        QTest::addColumn<int>("replacements");
        QTest::addColumn<bool>("sent");
        QTest::newRow("a change") << QStringList{"assign"} << true << 1 << 0 << false;
        QTest::newRow("a change given back") << QStringList{"assign", "restoreStart"} << false << 2 << 0 << false;
        QTest::newRow("the wheel direction") << QStringList{"swap"} << true << 1 << 0 << false;
        QTest::newRow("applied") << QStringList{"assign", "swap", "apply"} << false << 2 << 0 << true;
        QTest::newRow("discarded") << QStringList{"assign", "swap", "discard"} << false << 2 << 1 << false;
        QTest::newRow("reset after an applied change") << QStringList{"assign", "apply", "reset"} << true << 3 << 1
                                                       << true;
        QTest::newRow("read again") << QStringList{"refresh"} << false << 0 << 1 << false;
    }
    void pendingFollowsWhatTheProfileHolds()
    {
        QFETCH(QStringList, steps);
        QFETCH(bool, pending);
        QFETCH(int, announcements);
        QFETCH(int, replacements);
        QFETCH(bool, sent);
        Rig rig;
        KeyActions &keys = *rig.actions.keys;
        rig.settle();
        const KeyCodeLogic::KeyCodes started = keys.codes();
        const bool startedSwap = keys.scrollSwap();
        const std::vector<std::uint8_t> matrixBefore = rig.mouseMatrix();
        QVERIFY(!keys.pending());
        QSignalSpy pendingSpy(&keys, &KeyActions::pendingChanged);
        QSignalSpy replacedSpy(&keys, &KeyActions::codesReplaced);
        const Code f5{0x00, 0x00, 0x3E, 0x00};
        QVERIFY(started[kButton] != f5);
        for (const QString &step : steps) {
            if (step == "assign")
                keys.assign(kButton, f5);
            else if (step == "restoreStart")
                keys.assign(kButton, started[kButton]);
            else if (step == "swap")
                keys.setScrollSwap(!startedSwap);
            else if (step == "apply")
                keys.apply();
            else if (step == "discard")
                keys.discard();
            else if (step == "refresh")
                keys.refresh();
            else if (step == "reset")
                keys.reset();
            else
                QFAIL(qPrintable("unknown step " + step));
        }
        QCOMPARE(keys.pending(), pending);
        QCOMPARE(pendingSpy.count(), announcements);
        QCOMPARE(replacedSpy.count(), replacements);
        rig.settle();
        const std::vector<std::uint8_t> matrix = rig.mouseMatrix();
        if (!sent) {
            QCOMPARE(matrix, matrixBefore);
            return;
        }
        KeyCodeLogic::KeyCodes applied = started;
        applied[kButton] = f5;
        const std::vector<int> expected = KeyCodeLogic::keyMatrix(applied);
        QCOMPARE(std::vector<int>(matrix.begin(), matrix.end()), expected);
    }

    // A macro takes its own slot or the lowest free one; with none free the button plays
    // nothing and no macro file changes.
    void assigningAMacroFindsItsSlot_data()
    {
        QTest::addColumn<int>("ownSlot");
        QTest::addColumn<bool>("everySlotTaken");
        QTest::addColumn<int>("expectedSlot");
        QTest::newRow("unbound, all free") << -1 << false << 0;
        QTest::newRow("keeps its own slot, played in profile 2") << 5 << false << 5;
        QTest::newRow("unbound, none free") << -1 << true << -1;
    }
    void assigningAMacroFindsItsSlot()
    {
        QFETCH(int, ownSlot);
        QFETCH(bool, everySlotTaken);
        QFETCH(int, expectedSlot);
        writeMacro(kMacro, ownSlot);
        if (ownSlot >= 0)
            storeMacroButton(1, kOtherButton, ownSlot);
        if (everySlotTaken)
            takeEverySlot();
        Rig rig;
        const int slot = rig.actions.keys->assignMacro(kButton, kMacro, kPlayOnce, 1);
        QCOMPARE(slot, expectedSlot);
        rig.settle();
        QCOMPARE(slotOf(kMacro), expectedSlot);
        const Code expectedCode = slot >= 0 ? KeyCodeLogic::macroCode(kPlayOnce, slot) : KeyCodeLogic::noCode();
        QCOMPARE(rig.actions.keys->codes()[kButton], expectedCode);
        if (everySlotTaken)
            for (int taken = 0; taken < KeyCodeLogic::kMacroSlotCount; ++taken)
                QCOMPARE(slotOf(QString("Busy%1").arg(taken)), taken);
    }

    // A macro no button of any profile plays any more gives its slot up; one another profile
    // still plays keeps it.
    void givingAMacroUpReleasesItsSlotWhenUnused_data()
    {
        QTest::addColumn<bool>("playedElsewhere");
        QTest::addColumn<int>("expectedSlot");
        QTest::newRow("played nowhere else") << false << -1;
        QTest::newRow("played in profile 2") << true << 0;
    }
    void givingAMacroUpReleasesItsSlotWhenUnused()
    {
        QFETCH(bool, playedElsewhere);
        QFETCH(int, expectedSlot);
        writeMacro(kMacro, -1);
        {
            Rig rig;
            QCOMPARE(rig.actions.keys->assignMacro(kButton, kMacro, kPlayOnce, 1), 0);
            rig.actions.keys->apply();
        }
        if (playedElsewhere)
            storeMacroButton(1, kOtherButton, 0);
        Rig again;
        again.actions.keys->assign(kButton, Code{0x00, 0x00, 0x3E, 0x00});
        again.settle();
        QCOMPARE(slotOf(kMacro), expectedSlot);
    }

    // Deleting a macro bound in several profiles: every button that played it, stored or
    // shown on the key page, gets its factory code back, and the file goes.
    void deletingAMacroGivesItsButtonsTheirFactoryCode()
    {
        writeMacro(kMacro, 0);
        storeMacroButton(0, kButton, 0);
        storeMacroButton(2, kOtherButton, 0);
        Rig rig;
        KeyActions &keys = *rig.actions.keys;
        const QVariantList users = rig.actions.macros->users(kMacro);
        QVERIFY2(users.size() == 2, qPrintable(QJsonDocument::fromVariant(users).toJson()));
        QCOMPARE(users.at(0).toMap().value("profile").toInt(), 0);
        QCOMPARE(users.at(1).toMap().value("profile").toInt(), 2);
        QVERIFY(rig.actions.macros->remove(kMacro));
        rig.settle();
        QCOMPARE(keys.codes()[kButton], keys.defaults()[kButton]);
        QVERIFY(!QFile::exists(macroFile(kMacro)));
        QVERIFY(!rig.actions.macros->names().contains(kMacro));
        const QStringList other = QSettings(profileFile(2), QSettings::IniFormat)
                                      .value("keydefine_W3/" + QString::number(kOtherButton)).toStringList();
        QVERIFY2(other.value(0) != "9", qPrintable(other.join(',')));
    }

private:
    std::unique_ptr<ModulesSandbox> sandbox;
};

QTEST_MAIN(TestKeyActions)
#include "tst_key_actions.moc"
