// The application in front on an X11 desktop: the test plays the window manager, making
// windows with a class and a process id and naming the active one on the root window.
#include "platform/X11ActiveApplication.h"
#include "tests/platform/WindowManagerStandIn.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSignalSpy>
#include <QtTest>
#include <unistd.h>

class TestActiveApplicationX11 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<ApplicationIdentity>(); }

    void followsTheActiveWindow_data()
    {
        QTest::addColumn<QByteArray>("instance");
        QTest::addColumn<QByteArray>("windowClass");
        QTest::addColumn<bool>("withPid");
        QTest::addColumn<QString>("expectedClass");

        QTest::newRow("class and pid") << QByteArray("navigator") << QByteArray("Firefox") << true << "Firefox";
        QTest::newRow("no pid") << QByteArray("steam") << QByteArray("Steam") << false << "Steam";
        QTest::newRow("empty class") << QByteArray("x") << QByteArray() << true << "";
    }
    void followsTheActiveWindow()
    {
        QFETCH(QByteArray, instance);
        QFETCH(QByteArray, windowClass);
        QFETCH(bool, withPid);
        QFETCH(QString, expectedClass);

        WindowManagerStandIn manager;
        if (!manager.connected())
            QSKIP("no X server (run under Xvfb)");
        X11ActiveApplication follower;
        QVERIFY(follower.isAvailable());
        QSignalSpy spy(&follower, &ActiveApplication::changed);

        const uint32_t pid = withPid ? uint32_t(::getpid()) : 0;
        manager.activate(manager.window(instance, windowClass, pid));
        QVERIFY(spy.wait(10000));
        const ApplicationIdentity application = follower.current();
        QCOMPARE(application.windowClass, expectedClass);
        QCOMPARE(application.pid, qint64(pid));
        const QString program = withPid ? QFileInfo(QCoreApplication::applicationFilePath()).fileName() : QString();
        QCOMPARE(application.programName, program);
    }

    void switchesBetweenWindows()
    {
        WindowManagerStandIn manager;
        if (!manager.connected())
            QSKIP("no X server (run under Xvfb)");
        X11ActiveApplication follower;
        QSignalSpy spy(&follower, &ActiveApplication::changed);
        const xcb_window_t editor = manager.window("editor", "Editor", 0);
        const xcb_window_t game = manager.window("game", "Game", 0);

        manager.activate(editor);
        QTRY_COMPARE_WITH_TIMEOUT(follower.current().windowClass, QString("Editor"), 10000);
        manager.activate(game);
        QTRY_COMPARE_WITH_TIMEOUT(follower.current().windowClass, QString("Game"), 10000);
        // Naming the same window again tells nothing new.
        const int told = spy.size();
        manager.activate(game);
        manager.activate(editor);
        QTRY_COMPARE_WITH_TIMEOUT(follower.current().windowClass, QString("Editor"), 10000);
        QCOMPARE(spy.size(), told + 1);
        QCOMPARE(spy.last().at(0).value<ApplicationIdentity>().windowClass, QString("Editor"));
    }
};

QTEST_GUILESS_MAIN(TestActiveApplicationX11)
#include "tst_active_application_x11.moc"
