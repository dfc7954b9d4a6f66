// Whoever switches the profile (the tray's ApplyProfile, the bus's SwitchProfile, w3ctl through
// the running program, the follower of the application in front), before the window opens or
// while it shows: the profile menu's selection, the key page, the mark of the profile the mouse
// holds, the bus's Profile and w3ctl status name the same profile. A click on P01 and ALL SAVE
// then reach the mouse and p1.bin, and the mark follows them. The real program started in the
// background on the virtual mouse, a private session bus, real mouse events on the window.
#include "actions/PageActions.h"
#include "actions/ProfileActions.h"
#include "app/SessionService.h"
#include "app/Widget.h"
#include "controller/myQQuickView.h"
#include "platform/DeviceLock.h"
#include "tests/platform/PrivateSessionBus.h"
#include "tests/support/CommandBlocks.h"
#include "tests/support/SceneDriver.h"
#include "virtual/VirtualBus.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QQuickItem>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

const char *const kClientName = "profile-switch-client";
constexpr int kTimeoutMs = 10000;
constexpr int kProfileCount = 10;
constexpr int kSwitchedTo = 3;  // P04
constexpr int kForwardSlot = 4;  // the key page's callout 4
constexpr int kKeyCodeLength = 4;
constexpr int kMouseFunction = 1;  // the key page's function index of a mouse button
constexpr int kMediaFunction = 2;  // ... of a media key: P04's forward button
constexpr int kLedControlFunction = 6;
constexpr quint8 kLedControl = 0x0B;  // the code type LED CONTROL gives a button
const QStringList kMediaCode {"3", "0", "226", "0"};
// P04's report rate differs from P01's (2), so ALL SAVE on P01 has to send P01's.
constexpr int kSwitchedToRate = 8;
const QString kFirstProfileRateBlock = "01 02 00 00 00 00 00";

QStringList storedKey(int profile, int slot)
{
    QSettings file(QString("./modules/setting/p%1.bin").arg(profile + 1), QSettings::IniFormat);
    return file.value("keydefine_W3/" + QString::number(slot)).toStringList();
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
    if (!QTest::qWaitFor([&watcher] { return watcher.isFinished(); }, kTimeoutMs))
        return QDBusMessage::createError(QDBusError::NoReply, "no answer");
    return pending.reply();
}

bool callMethod(const QString &method, int profileNumber)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        SessionService::kServiceName, SessionService::kObjectPath, SessionService::kServiceName, method);
    call << profileNumber;
    return callServed(call).type() == QDBusMessage::ReplyMessage;
}

// w3ctl's command line, run by the program; its standard output, or "" when it failed.
QString runCommand(const QStringList &arguments, const QString &workingFolder)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        SessionService::kServiceName, SessionService::kObjectPath, "org.w3config.W3Config1.Commands", "RunCommand");
    call << arguments << workingFolder;
    const QDBusMessage reply = callServed(call);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().value(0).toInt() != 0)
        return QString();
    return reply.arguments().value(1).toString();
}

int busProfile()
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        SessionService::kServiceName, SessionService::kObjectPath, "org.freedesktop.DBus.Properties", "Get");
    call << SessionService::kServiceName << "Profile";
    const QDBusMessage reply = callServed(call);
    return reply.arguments().isEmpty() ? 0 : reply.arguments().first().value<QDBusVariant>().variant().toInt();
}

}  // namespace

class TestProfileSwitchEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs dbus-run-session");
        QCOMPARE(SessionService::claimName(), SessionService::Claim::Owned);
        QVERIFY(QDBusConnection::connectToBus(QDBusConnection::SessionBus, kClientName).isConnected());
        QVERIFY(lockFolder.isValid());
        DeviceLock::installShared(std::make_unique<DeviceLock>(lockFolder.filePath("device.lock")));
    }

    void cleanup()
    {
        QDBusConnection::sessionBus().unregisterObject(SessionService::kObjectPath);
        service.reset();
        scene.reset();
        QApplication::setQuitOnLastWindowClosed(true);
    }

    // `toldWhole`: the switch sent the whole profile, so the mouse is known to hold it; after
    // the bus's SwitchProfile nothing reached the mouse yet and no row is marked.
    void everyPartNamesTheSameProfile_data()
    {
        QTest::addColumn<QString>("who");
        QTest::addColumn<bool>("windowFirst");
        QTest::addColumn<bool>("toldWhole");
        for (bool windowFirst : {false, true}) {
            const QString when = windowFirst ? " while the window shows" : " before the window opens";
            QTest::newRow(qPrintable("the tray's ApplyProfile" + when)) << "ApplyProfile" << windowFirst << true;
            QTest::newRow(qPrintable("the bus's SwitchProfile" + when)) << "SwitchProfile" << windowFirst << false;
            QTest::newRow(qPrintable("w3ctl profile through the program" + when)) << "w3ctl" << windowFirst << true;
            QTest::newRow(qPrintable("the follower's switch" + when)) << "following" << windowFirst << true;
        }
    }
    void everyPartNamesTheSameProfile()
    {
        QFETCH(QString, who);
        QFETCH(bool, windowFirst);
        QFETCH(bool, toldWhole);
        startInBackground();
        if (windowFirst)
            QVERIFY(openWindowOnTheForwardButton());
        QVERIFY(switchProfile(who));
        if (!windowFirst)
            QVERIFY(openWindowOnTheForwardButton());
        QVERIFY(namesProfile(kSwitchedTo, kMediaFunction));
        QCOMPARE(heldRows(), toldWhole ? QList<int> {kSwitchedTo} : QList<int>());

        QVERIFY(scene->click("Menu_Prof_0"));
        QVERIFY(namesProfile(0, kMouseFunction));
        QVERIFY(scene->click("callout_" + QString::number(kForwardSlot)));
        QVERIFY(scene->click("function_" + QString::number(kLedControlFunction)));
        QCOMPARE(scene->property("Page_Keydefine", "functionIndex").toInt(), kLedControlFunction);
        vhid::Bus::instance().clearRecords();
        QVERIFY(scene->click("Menu_Down_save"));
        QVERIFY(scene->waitUntilUnlocked(kTimeoutMs));
        QVERIFY(scene->shell().device().waitUntilIdle(kTimeoutMs));
        const std::vector<QByteArray> matrices = mouseDataOf(0x12);
        QCOMPARE(int(matrices.size()), 1);
        QCOMPARE(int(quint8(matrices.front().at(kForwardSlot * kKeyCodeLength))), int(kLedControl));
        QVERIFY2(mouseCommandBlocks().contains(kFirstProfileRateBlock), qPrintable(mouseCommandBlocks().join(" | ")));
        QVERIFY(scene->waitFor([] { return storedKey(0, kForwardSlot).value(0) == QString::number(kLedControl); }));
        QCOMPARE(storedKey(kSwitchedTo, kForwardSlot), kMediaCode);
        const QList<int> heldAfterSave = toldWhole ? QList<int> {0} : QList<int>();
        QCOMPARE(heldRows(), heldAfterSave);

        QVERIFY(scene->click("Menu_Prof_1"));
        QVERIFY(namesProfile(1, kMouseFunction));
        QVERIFY(scene->click("Menu_Prof_0"));
        QVERIFY(namesProfile(0, kLedControlFunction));
        QCOMPARE(heldRows(), heldAfterSave);
    }

private:
    // P04's forward button plays a media key and its report rate differs from P01's.
    static SceneDriver::Options inBackgroundWithDistinctP04()
    {
        SceneDriver::Options options;
        options.inBackground = true;
        options.prepare = [](ModulesSandbox &) {
            QSettings fourth(QString("./modules/setting/p%1.bin").arg(kSwitchedTo + 1), QSettings::IniFormat);
            fourth.setValue("keydefine_W3/" + QString::number(kForwardSlot), kMediaCode);
            fourth.setValue("sensor/reportRate_W3", kSwitchedToRate);
        };
        return options;
    }

    void startInBackground()
    {
        scene = std::make_unique<SceneDriver>(inBackgroundWithDistinctP04());
        QVERIFY(scene->start());
        service = std::make_unique<SessionService>(scene->shell());
        QVERIFY(service->publish());
        QVERIFY(scene->shell().device().waitUntilIdle(kTimeoutMs));
    }

    bool switchProfile(const QString &who)
    {
        const int number = kSwitchedTo + 1;
        if (who == "following")
            return scene->view().actions().profiles->switchSendingDifferences(kSwitchedTo);
        if (who == "w3ctl")
            return !runCommand({"profile", QString::number(number)}, scene->sandbox().path("")).isEmpty();
        return callMethod(who, number);
    }

    // The window opened as the tray opens it; its opening ends on the key page, where the
    // forward button is chosen.
    bool openWindowOnTheForwardButton()
    {
        return scene->openWindow()
            && scene->waitFor([&] { return scene->property("Page_Keydefine", "x").toDouble() == 0.0; }, kTimeoutMs)
            && scene->click("callout_" + QString::number(kForwardSlot));
    }

    QList<int> rowsWhere(const std::function<bool(int)> &holds) const
    {
        QList<int> rows;
        for (int row = 0; row < kProfileCount; ++row)
            if (holds(row))
                rows << row;
        return rows;
    }

    QList<int> selectedRows() const
    {
        return rowsWhere(
            [&](int row) { return scene->property(QString("Menu_Prof_%1").arg(row), "selected").toBool(); });
    }

    QList<int> heldRows() const
    {
        return rowsWhere([&](int row) { return scene->item(QString("Menu_Prof_held_%1").arg(row))->isVisible(); });
    }

    int statusProfile() const
    {
        const QRegularExpression line("^profile:\\s+(\\d+)$", QRegularExpression::MultilineOption);
        return line.match(runCommand({"status"}, scene->sandbox().path(""))).captured(1).toInt();
    }

    // The menu's selection, the key page's forward button, the bus and w3ctl status.
    bool namesProfile(int profile, int forwardFunction) const
    {
        const bool shown = scene->waitFor(
            [&] {
                return selectedRows() == QList<int> {profile}
                && scene->property("Page_Keydefine", "functionIndex").toInt() == forwardFunction;
            },
            kTimeoutMs);
        if (!shown) {
            qWarning() << "selected" << selectedRows() << "forward button function"
                       << scene->property("Page_Keydefine", "functionIndex").toInt();
            return false;
        }
        const int bus = busProfile();
        const int status = statusProfile();
        if (bus != profile + 1 || status != profile + 1) {
            qWarning() << "profile" << profile + 1 << "shown; the bus says" << bus << "and w3ctl status" << status;
            return false;
        }
        return true;
    }

    QTemporaryDir lockFolder;
    std::unique_ptr<SceneDriver> scene;
    std::unique_ptr<SessionService> service;
};

W3_PRIVATE_BUS_TEST_MAIN(TestProfileSwitchEndToEnd)
#include "test_profile_switch_e2e.moc"
