// The bus object of the running program, as a client sees it: every property, every method
// with the bytes it puts on the wire and its refusals, and the announcements of what changed,
// whoever changed it (the window's page actions, the bus, the mouse plugged out and back).
// In-process on the virtual mouse, a program in the background, a private session bus; a
// second connection is the client.
#include "actions/LightingActions.h"
#include "actions/PageActions.h"
#include "actions/ProfileActions.h"
#include "actions/SensorActions.h"
#include "app/SessionService.h"
#include "app/Startup.h"
#include "app/Widget.h"
#include "controller/myQQuickView.h"
#include "device/DeviceState.h"
#include "platform/DeviceLock.h"
#include "tests/platform/PrivateSessionBus.h"
#include "tests/support/CommandBlocks.h"
#include "tests/support/ModulesSandbox.h"
#include "tests/support/RecordingPrompts.h"
#include "virtual/VirtualBus.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

namespace {

const char *const kClientName = "test-client";
constexpr int kIdleTimeoutMs = 10000;
constexpr int kReplyLimitMs = 20000;

QVariant plain(const QVariant &value)
{
    const QVariant inner = value.canConvert<QDBusVariant>() ? value.value<QDBusVariant>().variant() : value;
    if (inner.userType() != qMetaTypeId<QDBusArgument>())
        return inner;
    const QDBusArgument argument = inner.value<QDBusArgument>();
    if (argument.currentSignature() == "ai") {
        QVariantList numbers;
        for (int number : qdbus_cast<QList<int>>(argument))
            numbers << number;
        return numbers;
    }
    return QVariant(qdbus_cast<QVariantMap>(argument));
}

QDBusConnection client()
{
    return QDBusConnection(kClientName);
}

// The service answers on this thread: the client's call waits while events are served.
QDBusMessage callServed(const QDBusMessage &call)
{
    QDBusPendingCall pending = client().asyncCall(call);
    QDBusPendingCallWatcher watcher(pending);
    if (!QTest::qWaitFor([&watcher] { return watcher.isFinished(); }, kReplyLimitMs))
        return QDBusMessage::createError(QDBusError::NoReply, "no answer");
    return pending.reply();
}

QVariant busProperty(const QString &name)
{
    QDBusMessage call = QDBusMessage::createMethodCall(SessionService::kServiceName, SessionService::kObjectPath,
                                                       "org.freedesktop.DBus.Properties", "Get");
    call << SessionService::kServiceName << name;
    const QDBusMessage reply = callServed(call);
    return reply.arguments().isEmpty() ? QVariant() : plain(reply.arguments().first());
}

// The method's error name; empty when it succeeded.
QString callMethod(const QString &method, int argument)
{
    QDBusMessage call = QDBusMessage::createMethodCall(SessionService::kServiceName, SessionService::kObjectPath,
                                                       SessionService::kServiceName, method);
    call << argument;
    const QDBusMessage reply = callServed(call);
    return reply.type() == QDBusMessage::ErrorMessage ? reply.errorName() : QString();
}

QDBusMessage runCommandCall(const QStringList &arguments, const QString &folder)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        SessionService::kServiceName, SessionService::kObjectPath, "org.w3config.W3Config1.Commands", "RunCommand");
    call << arguments << folder;
    return call;
}

QDBusMessage methodCall(const QString &method, int argument)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        SessionService::kServiceName, SessionService::kObjectPath, SessionService::kServiceName, method);
    call << argument;
    return call;
}

// The command codes of what reached the mouse, oldest first.
QStringList commandCodes()
{
    QStringList codes;
    for (const QString &block : mouseCommandBlocks())
        codes << block.left(2);
    return codes;
}

// The codes a whole profile sends, in their order.
const QStringList kWholeProfile {"03", "12", "10", "0d", "11", "10", "01", "0b"};

// Every transfer is slowed down, so that a call sent next arrives while the first one runs.
void slowTheMouse(int delayMs)
{
    vhid::Faults slow;
    slow.featureReportDelayMs = delayMs;
    vhid::Bus::instance().setFaults(vhid::Model::Mouse, slow);
}

}  // namespace

// What PropertiesChanged told, in order.
class ChangeListener : public QObject {
    Q_OBJECT
public:
    QList<QVariantMap> changes;

    // Every change told so far, the later value of a property winning.
    QVariantMap merged() const
    {
        QVariantMap all;
        for (const QVariantMap &change : changes)
            for (auto it = change.begin(); it != change.end(); ++it)
                all.insert(it.key(), it.value());
        return all;
    }

public slots:
    void propertiesChanged(const QString &interfaceName, const QVariantMap &changed, const QStringList &)
    {
        if (interfaceName != SessionService::kServiceName)
            return;
        QVariantMap values;
        for (auto it = changed.begin(); it != changed.end(); ++it)
            values.insert(it.key(), plain(it.value()));
        changes << values;
    }
};

class SessionSignalsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs dbus-run-session");
        QCOMPARE(SessionService::claimName(), SessionService::Claim::Owned);
        QDBusConnection client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, kClientName);
        QVERIFY(client.isConnected());
        qDBusRegisterMetaType<QList<int>>();
        // The program's device lock, as it installs one at start: w3ctl alone takes the same.
        QVERIFY(lockFolder.isValid());
        DeviceLock::installShared(std::make_unique<DeviceLock>(lockFolder.filePath("device.lock")));
    }

    void init()
    {
        sandbox = std::make_unique<ModulesSandbox>();
        prompts = std::make_unique<RecordingPrompts>();
        vhid::Bus::instance().reset();
        deviceReady = false;
        vhid::Bus::instance().plug(vhid::Model::Mouse);
        shell = std::make_unique<Widget>(Widget::Start::InBackground);
        service = std::make_unique<SessionService>(*shell);
        QVERIFY(service->publish());
        startShell(*shell);
        QVERIFY(deviceReady);
        settle();
        vhid::Bus::instance().clearRecords();
        listener = std::make_unique<ChangeListener>();
        QVERIFY(client().connect(SessionService::kServiceName, SessionService::kObjectPath,
                                 "org.freedesktop.DBus.Properties", "PropertiesChanged", listener.get(),
                                 SLOT(propertiesChanged(QString, QVariantMap, QStringList))));
    }

    void cleanup()
    {
        settle();
        client().disconnect(SessionService::kServiceName, SessionService::kObjectPath, "org.freedesktop.DBus.Properties",
                            "PropertiesChanged", listener.get(), SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
        QDBusConnection::sessionBus().unregisterObject(SessionService::kObjectPath);
        service.reset();
        shell.reset();
        listener.reset();
        prompts.reset();
        sandbox.reset();
        QApplication::setQuitOnLastWindowClosed(true);
    }

    // A program in the background reads the mouse and the profile without a window.
    void properties_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("connected") << "Connected" << QVariant(true);
        QTest::newRow("product") << "Product" << QVariant(QString("W3 Mouse"));
        QTest::newRow("profile") << "Profile" << QVariant(1);
        QTest::newRow("stage in use") << "DpiStage" << QVariant(2);
        // The profile's 1500 is a value the 3320 sensor lacks: the mouse shows its nearest.
        QTest::newRow("stages") << "DpiStages"
                                << QVariant(QVariantList{500, 1000, 1750, 2000, 2500, 3000, 4000, 5000});
        QTest::newRow("no window") << "WindowShown" << QVariant(false);
    }
    void properties()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, expected);
        const QVariant actual = busProperty(name);
        const auto numbers = [](const QVariant &list) { return list.toStringList().join(' '); };
        if (expected.type() == QVariant::List)
            QCOMPARE(numbers(actual), numbers(expected));
        else
            QCOMPARE(actual, expected);
    }

    void firmwareAndLight()
    {
        QVERIFY(!busProperty("Firmware").toString().isEmpty());
        const QVariantMap light = busProperty("Light").toMap();
        QCOMPARE(light.keys(), (QStringList{"brightness", "colors", "effect", "on", "speed"}));
        QCOMPARE(light.value("colors").toStringList().size(), 8);
        for (const QString &color : light.value("colors").toStringList())
            QVERIFY2(QRegularExpression("^#[0-9a-f]{6}$").match(color).hasMatch(), qPrintable(color));
    }

    // Each method's bytes on the wire and what it announces.
    void methods_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<int>("argument");
        QTest::addColumn<QStringList>("blocks");
        QTest::addColumn<QVariantMap>("announced");
        QTest::newRow("switch profile: nothing reaches the mouse until applied")
            << "SwitchProfile" << 4 << QStringList() << QVariantMap{{"Profile", 4}};
        QTest::newRow("apply profile: the whole profile, as w3ctl profile N sends it")
            << "ApplyProfile" << 2
            << QStringList{"03 01 02 80 00 00 00", "12 01 40 08 00 00 00", "10 00 18 00 00 00 00",
                           "0d 01 ff 00 00 00 00", "11 08 08 00 00 00 00", "10 02 04 00 00 00 00",
                           "01 02 00 00 00 00 00", "0b 02 00 00 00 00 00"}
            << QVariantMap{{"Profile", 2}};
        QTest::newRow("DPI stage: sent at once")
            << "SetDpiStage" << 4 << QStringList{"0b 04 00 00 00 00 00"} << QVariantMap{{"DpiStage", 4}};
    }
    void methods()
    {
        QFETCH(QString, method);
        QFETCH(int, argument);
        QFETCH(QStringList, blocks);
        QFETCH(QVariantMap, announced);
        QCOMPARE(callMethod(method, argument), QString());
        settle();
        QVERIFY2(mouseCommandBlocks() == blocks, qPrintable(mouseCommandBlocks().join(" | ")));
        QTRY_COMPARE(listener->merged(), announced);
        for (auto it = announced.begin(); it != announced.end(); ++it)
            QCOMPARE(busProperty(it.key()), it.value());
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<int>("argument");
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("error");
        const QString invalid = "org.freedesktop.DBus.Error.InvalidArgs";
        QTest::newRow("profile 0") << "SwitchProfile" << 0 << "" << invalid;
        QTest::newRow("profile 11") << "ApplyProfile" << 11 << "" << invalid;
        QTest::newRow("an unused stage") << "SetDpiStage" << 7 << "seventh unused" << invalid;
        QTest::newRow("stage 0") << "SetDpiStage" << 0 << "" << invalid;
        QTest::newRow("stage 9") << "SetDpiStage" << 9 << "" << invalid;
        QTest::newRow("changes pending in the window") << "SwitchProfile" << 2 << "pending" << SessionService::kPendingError;
        QTest::newRow("apply with changes pending") << "ApplyProfile" << 2 << "pending" << SessionService::kPendingError;
        QTest::newRow("apply without the mouse") << "ApplyProfile" << 2 << "unplugged" << SessionService::kNoDeviceError;
        QTest::newRow("stage without the mouse") << "SetDpiStage" << 1 << "unplugged" << SessionService::kNoDeviceError;
    }
    void refusals()
    {
        QFETCH(QString, method);
        QFETCH(int, argument);
        QFETCH(QString, situation);
        QFETCH(QString, error);
        LightingActions &lighting = *shell->view()->actions().lighting;
        if (situation == "seventh unused") {
            QVERIFY(shell->view()->actions().sensor->setStageValue(6, 0));
            settle();
            vhid::Bus::instance().clearRecords();
        }
        if (situation == "pending")
            lighting.setEffectPosition((lighting.effectPosition() + 1) % 4);
        if (situation == "unplugged") {
            vhid::Bus::instance().unplug(vhid::Model::Mouse);
            shell->checkDevice();
            vhid::Bus::instance().clearRecords();
        }
        QCOMPARE(callMethod(method, argument), error);
        settle();
        QCOMPARE(mouseCommandBlocks(), QStringList());
        QCOMPARE(busProperty("Profile"), QVariant(1));
        if (situation == "pending")
            QVERIFY(lighting.pending());
    }

    // A switch made in the window reaches the bus the same way.
    void windowSwitchIsAnnounced()
    {
        shell->view()->actions().profiles->select(9);
        QTRY_COMPARE(listener->merged().value("Profile"), QVariant(10));
        shell->view()->actions().profiles->select(9);
        QTest::qWait(100);
        QCOMPARE(listener->changes.size(), 1);
    }

    // The service outlives the mouse: plugged out and back, it reads the mouse again.
    void unplugAndPlugAreAnnounced()
    {
        vhid::Bus::instance().unplug(vhid::Model::Mouse);
        shell->checkDevice();
        QTRY_COMPARE(listener->merged().value("Connected"), QVariant(false));
        QCOMPARE(listener->merged().value("Product"), QVariant(QString()));
        QCOMPARE(listener->merged().value("Firmware"), QVariant(QString()));
        vhid::Bus::instance().plug(vhid::Model::Mouse);
        shell->checkDevice();
        QTRY_COMPARE(listener->merged().value("Connected"), QVariant(true));
        QVERIFY(!listener->merged().value("Firmware").toString().isEmpty());
        QCOMPARE(callMethod("SetDpiStage", 1), QString());
    }

    // A command from w3ctl waits its turn while the window holds changes not applied or a
    // w3ctl working alone holds the device lock; when the turn does not come within the
    // command's wait it gives up as w3ctl alone does, and the mouse and the window's changes
    // stay as they were.
    void aCommandWaitsItsTurn_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<bool>("letGo");  // the obstacle goes away within the command's wait
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says");
        QTest::newRow("changes pending in the window") << "pending" << false << 3 << "window holds changes";
        QTest::newRow("changes discarded meanwhile") << "pending" << true << 0 << "";
        QTest::newRow("the lock held by a w3ctl alone") << "locked" << false << 3 << "the mouse is busy";
        QTest::newRow("the lock let go meanwhile") << "locked" << true << 0 << "";
    }
    void aCommandWaitsItsTurn()
    {
        QFETCH(QString, situation);
        QFETCH(bool, letGo);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        constexpr int kWaitMs = 1500;
        constexpr int kLetGoMs = 300;
        LightingActions &lighting = *shell->view()->actions().lighting;
        DeviceLock alone(DeviceLock::shared()->path());
        if (situation == "pending")
            lighting.setEffectPosition((lighting.effectPosition() + 1) % 4);
        else
            QVERIFY(alone.tryLock());
        QTimer letGoTimer;
        letGoTimer.setSingleShot(true);
        connect(&letGoTimer, &QTimer::timeout, this, [&] {
            if (situation == "pending")
                lighting.discard();
            else
                alone.unlock();
        });
        if (letGo)
            letGoTimer.start(kLetGoMs);

        QDBusMessage call = QDBusMessage::createMethodCall(SessionService::kServiceName, SessionService::kObjectPath,
                                                           "org.w3config.W3Config1.Commands", "RunCommand");
        call << QStringList{"--wait", QString::number(kWaitMs / 1000.0), "dpi", "stage", "3"} << sandbox->path("");
        QElapsedTimer waited;
        waited.start();
        const QDBusMessage reply = callServed(call);
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        QCOMPARE(reply.arguments().value(0).toInt(), exitCode);
        const QString err = reply.arguments().value(2).toString();
        if (exitCode == 0) {
            QCOMPARE(err, QString());
            QCOMPARE(busProperty("DpiStage"), QVariant(3));
            QVERIFY(!lighting.pending());
        } else {
            QVERIFY2(err.startsWith("w3ctl: ") && err.contains(says) && err.count('\n') == 1, qPrintable(err));
            QVERIFY2(waited.elapsed() >= kWaitMs, qPrintable(QString("gave up after %1 ms").arg(waited.elapsed())));
            settle();
            QCOMPARE(mouseCommandBlocks(), QStringList());
            QCOMPARE(busProperty("DpiStage"), QVariant(2));
            QCOMPARE(lighting.pending(), situation == "pending");
        }
    }

    // Calls that arrive while another one runs wait for it, whoever makes them: the mouse gets
    // one sequence after the other, never a mix, and ends with what the last call reported.
    // A call is {"bus", method, argument}, {"w3ctl", arguments...} or {"tray", profile}.
    void callsTakeTurns_data()
    {
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<QStringList>("second");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<int>("profile");
        const QStringList dpiStage {"0b"};
        QTest::newRow("two profiles over the bus")
            << QStringList {"bus", "ApplyProfile", "3"} << QStringList {"bus", "ApplyProfile", "5"}
            << kWholeProfile + kWholeProfile << 5;
        QTest::newRow("a bus profile during w3ctl's")
            << QStringList {"w3ctl", "profile", "3"} << QStringList {"bus", "ApplyProfile", "5"}
            << kWholeProfile + kWholeProfile << 5;
        QTest::newRow("a DPI stage during w3ctl's profile")
            << QStringList {"w3ctl", "profile", "3"} << QStringList {"bus", "SetDpiStage", "4"}
            << kWholeProfile + dpiStage << 3;
        QTest::newRow("w3ctl's profile during the bus's")
            << QStringList {"bus", "ApplyProfile", "3"} << QStringList {"w3ctl", "profile", "5"}
            << kWholeProfile + kWholeProfile << 5;
        QTest::newRow("the tray during a bus profile")
            << QStringList {"bus", "ApplyProfile", "3"} << QStringList {"tray", "5"} << kWholeProfile + kWholeProfile
            << 5;
    }
    void callsTakeTurns()
    {
        QFETCH(QStringList, first);
        QFETCH(QStringList, second);
        QFETCH(QStringList, codes);
        QFETCH(int, profile);
        slowTheMouse(30);
        QList<QDBusPendingCall> replies;
        // The tray is clicked once the first call is on the wire: its transfers serve events.
        QTimer trayClick;
        trayClick.setInterval(5);
        connect(&trayClick, &QTimer::timeout, this, [&] {
            if (mouseCommandBlocks().isEmpty())
                return;
            trayClick.stop();
            service->ApplyProfile(second.at(1).toInt());
        });
        for (const QStringList &call : {first, second}) {
            if (call.first() == "tray")
                trayClick.start();
            else if (call.first() == "bus")
                replies << client().asyncCall(methodCall(call.at(1), call.at(2).toInt()));
            else
                replies << client().asyncCall(runCommandCall(call.mid(1), sandbox->path("")));
        }
        for (QDBusPendingCall &reply : replies) {
            QVERIFY(QTest::qWaitFor([&reply] { return reply.isFinished(); }, kReplyLimitMs));
            QCOMPARE(reply.reply().type(), QDBusMessage::ReplyMessage);
            if (reply.reply().signature() == "iss")
                QCOMPARE(reply.reply().arguments().value(0).toInt(), 0);
        }
        QTRY_COMPARE_WITH_TIMEOUT(commandCodes(), codes, kReplyLimitMs);
        vhid::Bus::instance().setFaults(vhid::Model::Mouse, {});
        settle();
        QCOMPARE(busProperty("Profile"), QVariant(profile));
        QCOMPARE(shell->view()->actions().profiles->heldByMouse(), profile - 1);
    }

    // A command whose turn does not come within its --wait is dropped, its caller told with
    // exit code 3; it never runs afterwards.
    void aCommandNotStartedInItsWaitIsDropped()
    {
        slowTheMouse(100);  // a whole profile takes 800 ms at least
        QList<QDBusPendingCall> replies;
        for (int profile : {3, 4, 5})
            replies << client().asyncCall(
                runCommandCall({"--wait", "0.4", "profile", QString::number(profile)}, sandbox->path("")));
        QList<int> exitCodes;
        for (QDBusPendingCall &reply : replies) {
            QVERIFY(QTest::qWaitFor([&reply] { return reply.isFinished(); }, kReplyLimitMs));
            exitCodes << reply.reply().arguments().value(0).toInt();
            if (exitCodes.last() != 0)
                QVERIFY2(reply.reply().arguments().value(2).toString().contains("the mouse is busy"),
                    qPrintable(reply.reply().arguments().value(2).toString()));
        }
        QCOMPARE(exitCodes, (QList<int> {0, 3, 3}));
        vhid::Bus::instance().setFaults(vhid::Model::Mouse, {});
        // A call queued last has its turn once every earlier one ran or was dropped.
        QCOMPARE(callMethod("SetDpiStage", 1), QString());
        settle();
        QCOMPARE(commandCodes(), kWholeProfile + QStringList {"0b"});
        QCOMPARE(busProperty("Profile"), QVariant(3));
    }

    // A caller that leaves the bus while its command waits has it dropped.
    void aCommandOfACallerThatLeftIsDropped()
    {
        slowTheMouse(30);
        QDBusPendingCall running = client().asyncCall(methodCall("ApplyProfile", 3));
        {
            QDBusConnection leaver = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "leaver");
            QVERIFY(leaver.isConnected());
            // The call is on the bus when the wait for its reply begins; this thread answers
            // it only later, so the wait ends unanswered and the caller leaves.
            const QDBusMessage unanswered
                = leaver.call(runCommandCall({"profile", "5"}, sandbox->path("")), QDBus::Block, 200);
            QCOMPARE(unanswered.type(), QDBusMessage::ErrorMessage);
            QDBusConnection::disconnectFromBus("leaver");
        }
        QVERIFY(QTest::qWaitFor([&running] { return running.isFinished(); }, kReplyLimitMs));
        vhid::Bus::instance().setFaults(vhid::Model::Mouse, {});
        QCOMPARE(callMethod("SetDpiStage", 1), QString());
        settle();
        QCOMPARE(commandCodes(), kWholeProfile + QStringList {"0b"});
        QCOMPARE(busProperty("Profile"), QVariant(3));
    }

    // Reads answer with what the mouse holds while the window holds changes not applied, and
    // say so; the window's changes stay.
    void readsAnswerWhileTheWindowHoldsChanges_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("status") << QStringList {"status"};
        QTest::newRow("dpi") << QStringList {"dpi"};
        QTest::newRow("buttons") << QStringList {"button"};
        QTest::newRow("dpi as JSON") << QStringList {"--json", "dpi"};
    }
    void readsAnswerWhileTheWindowHoldsChanges()
    {
        QFETCH(QStringList, arguments);
        LightingActions &lighting = *shell->view()->actions().lighting;
        lighting.setEffectPosition((lighting.effectPosition() + 1) % 4);
        QVERIFY(lighting.pending());
        const QDBusMessage reply = callServed(runCommandCall(arguments, sandbox->path("")));
        QCOMPARE(reply.arguments().value(0).toInt(), 0);
        const QString out = reply.arguments().value(1).toString();
        const QString err = reply.arguments().value(2).toString();
        QVERIFY2(err.contains("the W3 Config window holds changes that have not reached it yet"), qPrintable(err));
        QVERIFY(!out.isEmpty());
        if (arguments.contains("--json"))
            QVERIFY(!QJsonDocument::fromJson(out.toUtf8()).isNull());
        QVERIFY(lighting.pending());
        settle();
        QCOMPARE(mouseCommandBlocks(), QStringList());
    }

    // A w3ctl working alone beside the program (here: beside a program that did not answer)
    // changed the profile and marked the mouse changed: the program reads the profiles again
    // before it answers, and announces what changed.
    void changesMadeAloneAreReadAgain()
    {
        QSettings("modules/setting/p1.bin", QSettings::IniFormat)
            .setValue("sensor/dpi_W3", QStringList {"500", "1000", "1750", "2500", "2500", "3000", "4000", "5000"});
        DeviceLock alone(DeviceLock::shared()->path());
        QVERIFY(alone.markMouseChanged());
        const QDBusMessage reply = callServed(runCommandCall({"dpi"}, sandbox->path("")));
        QCOMPARE(reply.arguments().value(0).toInt(), 0);
        QVERIFY2(
            reply.arguments().value(1).toString().contains("2500"), qPrintable(reply.arguments().value(1).toString()));
        QTRY_COMPARE(listener->merged().value("DpiStages").toList().value(3).toInt(), 2500);
    }

    // The help and the version are w3ctl's own, with the build's version.
    void theVersionIsTheBuilds()
    {
        const QDBusMessage reply = callServed(runCommandCall({"--version"}, sandbox->path("")));
        QCOMPARE(reply.arguments().value(0).toInt(), 0);
        const QString out = reply.arguments().value(1).toString();
        QVERIFY2(QRegularExpression("^w3ctl \\d+\\.\\d+").match(out).hasMatch(), qPrintable(out));
    }

private:
    void settle() { QVERIFY(shell->device().waitUntilIdle(kIdleTimeoutMs)); }

    QTemporaryDir lockFolder;

    std::unique_ptr<ModulesSandbox> sandbox;
    std::unique_ptr<RecordingPrompts> prompts;
    std::unique_ptr<Widget> shell;
    std::unique_ptr<SessionService> service;
    std::unique_ptr<ChangeListener> listener;
};

W3_PRIVATE_BUS_TEST_MAIN(SessionSignalsTest)
#include "test_session_signals.moc"
