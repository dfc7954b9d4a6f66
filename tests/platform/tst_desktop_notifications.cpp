// Desktop notices as a notification server on a private session bus receives them: what each
// notice carries, which earlier notice it replaces, quick changes while the server has not
// answered yet, and a session without a server.
#include "platform/DesktopNotifications.h"
#include "tests/platform/FakeNotificationServer.h"
#include "tests/platform/PrivateSessionBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QStandardPaths>
#include <QtTest>

namespace {

constexpr int kBusLimitMs = 30000;

using Kind = DesktopNotifications::Kind;

// The warnings of the unit under test, counted.
QStringList warnings;
QtMessageHandler previousHandler = nullptr;

void countWarnings(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtWarningMsg && text.startsWith("Desktop notifications"))
        warnings.append(text);
    previousHandler(type, context, text);
}

}  // namespace

Q_DECLARE_METATYPE(DesktopNotifications::Kind)

class TestDesktopNotifications : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void aNoticeCarriesTheProgramAndTheText_data();
    void aNoticeCarriesTheProgramAndTheText();
    void aNoticeReplacesTheLastOfItsKind_data();
    void aNoticeReplacesTheLastOfItsKind();
    void quickChangesLeaveOneNotice();
    void withoutAServerNothingIsShown_data();
    void withoutAServerNothingIsShown();

private:
    bool startServer();

    FakeNotificationServer *server = nullptr;
};

bool TestDesktopNotifications::startServer()
{
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "server");
    server = new FakeNotificationServer;
    return bus.registerObject(kServerPath, server, QDBusConnection::ExportAllSlots)
           && bus.registerService(kServerService);
}

void TestDesktopNotifications::initTestCase()
{
    if (!privatebus::inside())
        QSKIP("needs dbus-run-session for a private session bus");
    qRegisterMetaType<DesktopNotifications::Kind>();
    previousHandler = qInstallMessageHandler(countWarnings);
}

void TestDesktopNotifications::init()
{
    warnings.clear();
    QVERIFY(startServer());
}

void TestDesktopNotifications::cleanup()
{
    if (server) {
        QDBusConnection bus("server");
        bus.unregisterService(kServerService);
        bus.unregisterObject(kServerPath);
        delete server;
        server = nullptr;
    }
    QDBusConnection::disconnectFromBus("server");
}

void TestDesktopNotifications::aNoticeCarriesTheProgramAndTheText_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("body");
    QTest::newRow("profile") << Kind::Profile << "P03" << "Profile 3 in use";
    QTest::newRow("stage") << Kind::Stage << "1600 DPI" << "Stage 2 of P01";
}

void TestDesktopNotifications::aNoticeCarriesTheProgramAndTheText()
{
    QFETCH(Kind, kind);
    QFETCH(QString, summary);
    QFETCH(QString, body);
    DesktopNotifications notifications;
    QSignalSpy shown(&notifications, &DesktopNotifications::shown);
    notifications.notify(kind, summary, body);
    QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, kBusLimitMs);
    QCOMPARE(shown.first().at(1).toUInt(), kFirstId);
    QCOMPARE(server->received.size(), 1);
    const Received &notice = server->received.first();
    QCOMPARE(notice.application, QString("W3 Config"));
    QCOMPARE(notice.icon, QString("org.w3config.w3config"));
    QCOMPARE(notice.hints.value("desktop-entry").toString(), QString("org.w3config.w3config"));
    QCOMPARE(notice.replacesId, 0u);
    QCOMPARE(notice.summary, summary);
    QCOMPARE(notice.body, body);
    QCOMPARE(notice.timeout, -1);
    QVERIFY(warnings.isEmpty());
}

void TestDesktopNotifications::aNoticeReplacesTheLastOfItsKind_data()
{
    // Notices told one after another, each answered before the next; for each, the notice whose
    // id it must replace (its index), or -1 for a new one.
    QTest::addColumn<QList<Kind>>("kinds");
    QTest::addColumn<QList<int>>("replaces");
    QTest::newRow("the same kind again") << QList<Kind>{Kind::Profile, Kind::Profile, Kind::Profile}
                                         << QList<int>{-1, 0, 0};
    QTest::newRow("the other kind is its own notice") << QList<Kind>{Kind::Profile, Kind::Stage}
                                                      << QList<int>{-1, -1};
    QTest::newRow("kinds taking turns") << QList<Kind>{Kind::Stage, Kind::Profile, Kind::Stage, Kind::Profile}
                                        << QList<int>{-1, -1, 0, 1};
}

void TestDesktopNotifications::aNoticeReplacesTheLastOfItsKind()
{
    QFETCH(QList<Kind>, kinds);
    QFETCH(QList<int>, replaces);
    DesktopNotifications notifications;
    QSignalSpy shown(&notifications, &DesktopNotifications::shown);
    for (int i = 0; i < kinds.size(); ++i) {
        notifications.notify(kinds[i], QString("notice %1").arg(i), QString());
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), i + 1, kBusLimitMs);
    }
    QCOMPARE(server->received.size(), kinds.size());
    for (int i = 0; i < kinds.size(); ++i) {
        const uint expected = replaces[i] < 0 ? 0u : shown.at(replaces[i]).at(1).toUInt();
        QVERIFY2(server->received[i].replacesId == expected, qPrintable(QString("notice %1").arg(i)));
    }
}

void TestDesktopNotifications::quickChangesLeaveOneNotice()
{
    // Profiles switched faster than the server answers: the first notice is on its way, the
    // ones told meanwhile come down to the newest, which replaces the first.
    server->holding = true;
    DesktopNotifications notifications;
    QSignalSpy shown(&notifications, &DesktopNotifications::shown);
    notifications.notify(Kind::Profile, "P02", QString());
    notifications.notify(Kind::Profile, "P03", QString());
    notifications.notify(Kind::Profile, "P04", QString());
    QTRY_COMPARE_WITH_TIMEOUT(server->received.size(), 1, kBusLimitMs);
    server->holding = false;
    server->answerHeld();
    QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 2, kBusLimitMs);
    QCOMPARE(server->received.size(), 2);
    QCOMPARE(server->received[0].summary, QString("P02"));
    QCOMPARE(server->received[1].summary, QString("P04"));
    QCOMPARE(server->received[1].replacesId, kFirstId);
}

void TestDesktopNotifications::withoutAServerNothingIsShown_data()
{
    QTest::addColumn<bool>("sessionBus");
    QTest::newRow("no server on the bus") << true;
    QTest::newRow("no bus") << false;
}

void TestDesktopNotifications::withoutAServerNothingIsShown()
{
    QFETCH(bool, sessionBus);
    cleanup();
    const QDBusConnection bus = sessionBus
        ? QDBusConnection::sessionBus()
        : QDBusConnection::connectToBus(QString("unix:path=%1/no-bus-here").arg(QDir::tempPath()), "nowhere");
    DesktopNotifications notifications(bus);
    QSignalSpy shown(&notifications, &DesktopNotifications::shown);
    QSignalSpy notShown(&notifications, &DesktopNotifications::notShown);
    notifications.notify(Kind::Profile, "P02", QString());
    QTRY_COMPARE_WITH_TIMEOUT(notShown.count(), 1, kBusLimitMs);
    notifications.notify(Kind::Stage, "800 DPI", QString());
    QTRY_COMPARE_WITH_TIMEOUT(notShown.count(), 2, kBusLimitMs);
    QCOMPARE(shown.count(), 0);
    QCOMPARE(warnings.size(), 1);
    if (sessionBus) {
        // A server started later shows the next notice, as a new one.
        QVERIFY(startServer());
        notifications.notify(Kind::Profile, "P03", QString());
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, kBusLimitMs);
        QCOMPARE(server->received.size(), 1);
        QCOMPARE(server->received.first().replacesId, 0u);
    }
    QDBusConnection::disconnectFromBus("nowhere");
}

int main(int argc, char **argv)
{
    if (!privatebus::inside() && !QStandardPaths::findExecutable("dbus-run-session").isEmpty())
        return privatebus::runInside(argc, argv);
    QCoreApplication app(argc, argv);
    TestDesktopNotifications test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_desktop_notifications.moc"
