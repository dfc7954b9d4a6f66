// The tray joined to the running program: a profile or a DPI stage chosen in its menu puts the
// bytes of the bus's ApplyProfile and SetDpiStage on the wire and is told by a desktop notice
// while no window is in front; "Open W3 Config" opens the window. The menu itself is tested in
// tst_tray_icon; here its choices are emitted as the menu emits them. In-process on the virtual
// mouse, a program in the background, a private session bus with a fake notification server.
#include "actions/PageActions.h"
#include "actions/SettingsActions.h"
#include "app/SessionService.h"
#include "app/Startup.h"
#include "app/TrayIcon.h"
#include "app/ChangeNotices.h"
#include "app/TrayLink.h"
#include "app/Widget.h"
#include "controller/myQQuickView.h"
#include "device/DeviceState.h"
#include "platform/DesktopNotifications.h"
#include "tests/platform/FakeNotificationServer.h"
#include "tests/platform/PrivateSessionBus.h"
#include "tests/support/CommandBlocks.h"
#include "tests/support/ModulesSandbox.h"
#include "tests/support/RecordingPrompts.h"
#include "virtual/VirtualBus.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
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
        changeNotices = std::make_unique<ChangeNotices>(*shell, *notices);
        tray = std::make_unique<TrayIcon>();
        link = std::make_unique<TrayLink>(*tray, *shell, *service);
        settle();
        vhid::Bus::instance().clearRecords();
        server.received.clear();
    }

    void cleanup()
    {
        settle();
        link.reset();
        tray.reset();
        changeNotices.reset();
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

    // A desktop without tray icons still hears of the changes made over the bus.
    void noticesGoOutWithoutATray()
    {
        link.reset();
        tray.reset();
        service->ApplyProfile(4);
        settle();
        QTRY_COMPARE(server.received.size(), 1);
        QCOMPARE(server.received.first().summary, QString("Profile P04"));
    }

    // Switched off, a change is not told; switched on again (no restart), the next one is. The
    // notices go out in order, so the one received proves the one before was never sent.
    void noticesFollowTheSwitch()
    {
        SettingsActions &choices = *shell->view()->actions().settings;
        choices.setNotificationsOn(false);
        emit tray->profileChosen(3);
        settle();
        QCOMPARE(mouseCommandBlocks().size(), 8);
        emit tray->stageChosen(4);
        settle();
        choices.setNotificationsOn(true);
        emit tray->profileChosen(5);
        settle();
        QTRY_COMPARE(server.received.size(), 1);
        QCOMPARE(server.received.first().summary, QString("Profile P05"));
    }

    // The menu and the notices speak the language the window chose, and follow a change.
    void menuAndNoticesSpeakTheWindowsLanguage_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("menuEnd");
        QTest::addColumn<QString>("profileNotice");
        QTest::addColumn<QString>("stageNotice");
        QTest::newRow("Chinese") << "025044"
                                 << QStringList{QString::fromUtf8("打开 W3 Config"), QString::fromUtf8("退出")}
                                 << QString::fromUtf8("配置文件 P03") << QString::fromUtf8("DPI 档位 4");
        QTest::newRow("English") << "031000" << QStringList{"Open W3 Config", "Quit"} << "Profile P03" << "DPI stage 4";
        QTest::newRow("Russian") << "096000" << QStringList{QString::fromUtf8("Открыть W3 Config"), QString::fromUtf8("Выход")}
                                 << QString::fromUtf8("Профиль P03") << QString::fromUtf8("Уровень DPI 4");
    }
    void menuAndNoticesSpeakTheWindowsLanguage()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, menuEnd);
        QFETCH(QString, profileNotice);
        QFETCH(QString, stageNotice);
        SettingsActions &choices = *shell->view()->actions().settings;
        choices.setLanguageCode(code == "031000" ? "025044" : "031000");
        choices.setLanguageCode(code);
        const QStringList labels = menuLabels();
        QCOMPARE(labels.mid(labels.size() - 2), menuEnd);
        QVERIFY(labels.contains("P01"));

        emit tray->profileChosen(3);
        settle();
        QTRY_COMPARE(server.received.size(), 1);
        QCOMPARE(server.received.first().summary, profileNotice);
        emit tray->stageChosen(4);
        settle();
        QTRY_COMPARE(server.received.size(), 2);
        QCOMPARE(server.received.last().summary, stageNotice);
    }

    void openShowsTheWindow()
    {
        emit tray->openRequested();
        QVERIFY(shell->isVisible());
    }

private:
    // The tray's menu as the desktop shows it, separators left out.
    static QStringList menuLabels()
    {
        for (QWidget *widget : QApplication::allWidgets()) {
            auto *menu = qobject_cast<QMenu *>(widget);
            if (!menu)
                continue;
            QStringList labels;
            for (QAction *entry : menu->actions())
                if (!entry->isSeparator() && entry->isVisible())
                    labels << entry->text();
            return labels;
        }
        return {};
    }

    // The tray's choices take their turn in the mouse's queue, then their transfers end.
    void settle()
    {
        QTRY_VERIFY_WITH_TIMEOUT(service->mouseQueue().idle(), kIdleTimeoutMs);
        QVERIFY(shell->device().waitUntilIdle(kIdleTimeoutMs));
    }

    FakeNotificationServer server;
    std::unique_ptr<ModulesSandbox> sandbox;
    std::unique_ptr<RecordingPrompts> prompts;
    std::unique_ptr<Widget> shell;
    std::unique_ptr<SessionService> service;
    std::unique_ptr<DesktopNotifications> notices;
    std::unique_ptr<ChangeNotices> changeNotices;
    std::unique_ptr<TrayIcon> tray;
    std::unique_ptr<TrayLink> link;
};

W3_PRIVATE_BUS_TEST_MAIN(TrayLinkTest)
#include "test_tray_link.moc"
