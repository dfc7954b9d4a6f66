// The window controller: the scene moves, closes and locks the frameless window.
#include "app/Ui_Controler.h"
#include "controller/myQQuickView.h"
#include "tests/support/ModulesSandbox.h"

#include <QQmlContext>
#include <QQuickItem>
#include <QWidget>
#include <QtTest>

class TestWindowController : public QObject {
    Q_OBJECT

private slots:
    void movesTheShellByOffsets()
    {
        ModulesSandbox sandbox;
        QWidget shell;
        Ui_Controler controller;
        controller.setup(&shell, nullptr);
        shell.move(100, 200);

        controller.onXChanged(-15);
        QCOMPARE(shell.pos(), QPoint(85, 200));
        controller.onYChanged(30);
        QCOMPARE(shell.pos(), QPoint(85, 230));
        controller.onXChanged(0);
        QCOMPARE(shell.pos(), QPoint(85, 230));
    }

    // Where the window system moves windows itself (Wayland, an X11 window manager), the first
    // movement of each drag is handed to it and the scene's offsets move nothing on their own;
    // where it cannot, the offsets move the shell. Either is decided anew at every press.
    void aDragIsHandedToTheWindowSystemWhereItCanTakeIt_data()
    {
        QTest::addColumn<bool>("systemTakesIt");
        QTest::newRow("the window system moves the window") << true;
        QTest::newRow("the scene's offsets move the window") << false;
    }
    void aDragIsHandedToTheWindowSystemWhereItCanTakeIt()
    {
        QFETCH(bool, systemTakesIt);
        ModulesSandbox sandbox;
        QWidget shell;
        Ui_Controler controller;
        QVector<QWindow *> asked;
        controller.setSystemMove([&](QWindow *window) {
            asked.append(window);
            return systemTakesIt;
        });
        controller.setup(&shell, nullptr);
        shell.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shell));
        const QPoint start = shell.pos();
        const QPoint offsets = systemTakesIt ? QPoint() : QPoint(15, 7);

        QTest::mousePress(controller.view(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        controller.onXChanged(0);  // the pointer has not moved yet
        QVERIFY(asked.isEmpty());
        controller.onXChanged(12);
        controller.onYChanged(7);
        controller.onXChanged(3);
        QCOMPARE(asked, QVector<QWindow *> {shell.windowHandle()});
        QCOMPARE(shell.pos(), start + offsets);
        QTest::mouseRelease(controller.view(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));

        QTest::mousePress(controller.view(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        controller.onYChanged(-4);
        QCOMPARE(asked.size(), 2);
        QCOMPARE(shell.pos(), start + offsets + (systemTakesIt ? QPoint() : QPoint(0, -4)));
    }

    void setupStylesTheShellAndPublishesTheContext()
    {
        ModulesSandbox sandbox;
        QWidget shell;
        QObject hid;
        Ui_Controler controller;
        controller.setup(&shell, &hid);
        QVERIFY(!controller.sceneLoaded());
        controller.loadScene();

        QCOMPARE(shell.objectName(), QString("Widget"));
        QVERIFY(shell.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(shell.testAttribute(Qt::WA_TranslucentBackground));
        QCOMPARE(shell.size(), QSize(1000, 600));
        QVERIFY(!shell.windowTitle().isEmpty());
        myQQuickView *view = controller.view();
        QCOMPARE(view->parentWidget(), &shell);
        QCOMPARE(view->objectName(), QString("ui_View"));
        QCOMPARE(view->rootContext()->contextProperty("ui_View").value<QObject *>(), view);
        QCOMPARE(view->rootContext()->contextProperty("hid").value<QObject *>(), &hid);
        QCOMPARE(view->rootContext()->contextProperty("ui_Ctl").value<QObject *>(), &controller);
        QVERIFY(!view->rootObject()->isVisible());
    }

    // A program in the background drops its scene with the window and loads it again when the
    // window opens; the published context stays.
    void theSceneIsLoadedAgainAfterItWasDropped()
    {
        ModulesSandbox sandbox;
        QWidget shell;
        Ui_Controler controller;
        controller.setup(&shell, nullptr);
        controller.loadScene();
        QVERIFY(controller.sceneLoaded());
        controller.unloadScene();
        QVERIFY(!controller.sceneLoaded());
        controller.loadScene();
        QVERIFY(controller.sceneLoaded());
        QCOMPARE(controller.view()->rootObject()->objectName(), QString("root"));
        QCOMPARE(controller.view()->rootContext()->contextProperty("ui_Ctl").value<QObject *>(), &controller);
        QCOMPARE(shell.size(), QSize(1000, 600));
    }

    void withoutConfigurationTheTitleIsEmpty()
    {
        ModulesSandbox sandbox;
        QFile::remove("./modules/setting/apConfig.bin");
        QWidget shell;
        Ui_Controler controller;
        controller.setup(&shell, nullptr);
        QCOMPARE(shell.windowTitle(), QString());
    }

    void busyLockReachesTheSceneAtOnce()
    {
        ModulesSandbox sandbox;
        QWidget shell;
        Ui_Controler controller;
        controller.setup(&shell, nullptr);
        controller.loadScene();
        controller.view()->rootObject()->setVisible(true);  // as after "run"
        auto *busy = controller.view()->rootObject()->findChild<QQuickItem *>("BusyIndicator");
        QVERIFY(busy);

        controller.setBusy(500);
        QVERIFY(busy->isVisible());
        QVERIFY(!controller.view()->isEnabled());
        QTRY_VERIFY(controller.view()->isEnabled());

        controller.setBusy();
        QVERIFY(busy->isVisible());
        QTRY_VERIFY(!busy->isVisible());
    }

    void closeEndsWithTheShellClosed()
    {
        ModulesSandbox sandbox;
        QWidget shell;
        Ui_Controler controller;
        controller.onMinimize();  // before the setup: nothing to close
        controller.setup(&shell, nullptr);
        shell.show();
        controller.onMinimize();
        QVERIFY(!shell.isVisible());
    }
};

QTEST_MAIN(TestWindowController)
#include "tst_window_controller.moc"
