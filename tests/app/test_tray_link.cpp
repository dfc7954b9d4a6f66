// The tray joined to the running program: a profile or a DPI stage chosen in its menu puts the
// bytes of the bus's ApplyProfile and SetDpiStage on the wire and is told by a desktop notice
// while no window is in front; "Open W3 Config" opens the window. The menu itself is tested in
// tst_tray_icon; here its choices are emitted as the menu emits them. In-process on the virtual
// mouse, a program in the background, a private session bus with a fake notification server.
#include "app/SessionService.h"
#include "app/Startup.h"
#include "app/TrayIcon.h"
#include "app/TrayLink.h"
#include "app/Widget.h"
#include "device/DeviceState.h"
#include "platform/DesktopNotifications.h"
#include "tests/platform/FakeNotificationServer.h"
#include "tests/platform/PrivateSessionBus.h"
#include "tests/support/CommandBlocks.h"
#include "tests/support/ModulesSandbox.h"
#include "tests/support/RecordingPrompts.h"
#include "virtual/VirtualBus.h"

#include <QApplication>
#include <QtTest>
#include <memory>

namespace {
constexpr int kIdleTimeoutMs = 10000;
}

class TrayLinkTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs dbus-run-session");
        QDBusConnection serverBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "server");
        QVERIFY(serverBus.registerObject(kServerPath, &server, QDBusConnection::ExportAllSlots));
        QVERIFY(serverBus.registerService(kServerService));
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
        startShell(*shell);
        QVERIFY(deviceReady);
        notices = std::make_unique<DesktopNotifications>();
        tray = std::make_unique<TrayIcon>();
        link = std::make_unique<TrayLink>(*tray, *shell, *service, *notices);
        settle();
        vhid::Bus::instance().clearRecords();
        server.received.clear();
    }

    void cleanup()
    {
        settle();
        link.reset();
        tray.reset();
        notices.reset();
        service.reset();
        shell.reset();
        prompts.reset();
        sandbox.reset();
        QApplication::setQuitOnLastWindowClosed(true);
    }

    void choicesReachTheMouseAndAreTold_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("blockCount");
        QTest::addColumn<QString>("lastBlock");
        QTest::addColumn<QString>("notice");
        QTest::newRow("profile 3, sent whole") << "profile" << 3 << 8 << "0b 02 00 00 00 00 00" << "Profile P03";
        QTest::newRow("DPI stage 4") << "stage" << 4 << 1 << "0b 04 00 00 00 00 00" << "DPI stage 4";
    }
    void choicesReachTheMouseAndAreTold()
    {
        QFETCH(QString, choice);
        QFETCH(int, number);
        QFETCH(int, blockCount);
        QFETCH(QString, lastBlock);
        QFETCH(QString, notice);
        if (choice == "profile")
            emit tray->profileChosen(number);
        else
            emit tray->stageChosen(number);
        settle();
        const QStringList blocks = mouseCommandBlocks();
        QCOMPARE(blocks.size(), blockCount);
        QCOMPARE(blocks.last(), lastBlock);
        QTRY_COMPARE(server.received.size(), 1);
        QCOMPARE(server.received.first().summary, notice);
    }

    void aStageNotInUseChangesNothing()
    {
        emit tray->stageChosen(9);
        settle();
        QCOMPARE(mouseCommandBlocks(), QStringList());
        QTest::qWait(200);
        QCOMPARE(server.received.size(), 0);
    }

    void openShowsTheWindow()
    {
        emit tray->openRequested();
        QVERIFY(shell->isVisible());
    }

private:
    void settle() { QVERIFY(shell->device().waitUntilIdle(kIdleTimeoutMs)); }

    FakeNotificationServer server;
    std::unique_ptr<ModulesSandbox> sandbox;
    std::unique_ptr<RecordingPrompts> prompts;
    std::unique_ptr<Widget> shell;
    std::unique_ptr<SessionService> service;
    std::unique_ptr<DesktopNotifications> notices;
    std::unique_ptr<TrayIcon> tray;
    std::unique_ptr<TrayLink> link;
};

W3_PRIVATE_BUS_TEST_MAIN(TrayLinkTest)
#include "test_tray_link.moc"
