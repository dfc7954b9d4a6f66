// The application in front on an X11 desktop: the test plays the window manager, making
// windows with a class and a process id and naming the active one on the root window.
#include "platform/X11ActiveApplication.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSignalSpy>
#include <QtTest>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

// A second client on the same display, doing what a window manager and its clients do.
class WindowManagerStandIn {
public:
    WindowManagerStandIn() : connection(xcb_connect(nullptr, nullptr))
    {
        if (!xcb_connection_has_error(connection))
            root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    }
    ~WindowManagerStandIn() { xcb_disconnect(connection); }
    bool connected() const { return root != XCB_NONE; }

    xcb_window_t window(const QByteArray &instance, const QByteArray &windowClass, uint32_t pid)
    {
        const xcb_window_t id = xcb_generate_id(connection);
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, id, root, 0, 0, 10, 10, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        const QByteArray names = instance + '\0' + windowClass + '\0';
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                            uint32_t(names.size()), names.constData());
        if (pid)
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, atom("_NET_WM_PID"),
                                XCB_ATOM_CARDINAL, 32, 1, &pid);
        xcb_flush(connection);
        return id;
    }
    void activate(xcb_window_t window)
    {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, root, atom("_NET_ACTIVE_WINDOW"),
                            XCB_ATOM_WINDOW, 32, 1, &window);
        xcb_flush(connection);
    }

private:
    xcb_atom_t atom(const char *name)
    {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t result = reply ? reply->atom : XCB_NONE;
        std::free(reply);
        return result;
    }

    xcb_connection_t *connection;
    xcb_window_t root = XCB_NONE;
};

}  // namespace

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
