// The X server's core pointer control as the pointer settings of a session without a desktop
// settings service. Other tests change the pointer of the shared test display through the
// program's settings, so this one asserts on an X server of its own.
#include "platform/X11PointerSettings.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include <X11/Xlib.h>

namespace {

struct PointerControl {
    int numerator = 0;
    int denominator = 0;
    int threshold = 0;
};

// What the server holds, read over a connection of the test's own.
bool moduleIsMapped(const QString &name)
{
    QFile maps("/proc/self/maps");
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(name.toUtf8());
}

PointerControl serverPointerControl()
{
    PointerControl control;
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return control;
    XGetPointerControl(display, &control.numerator, &control.denominator, &control.threshold);
    XCloseDisplay(display);
    return control;
}

}  // namespace

class TestPointerX11 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X display");
    }
    void speed_data();
    void speed();
    void acceleration_data();
    void acceleration();
    void programOnlySettings();
    void otherDesktopsNeverLoadTheGnomeModule_data();
    void otherDesktopsNeverLoadTheGnomeModule();
    void aWaylandSessionLeavesTheXServerBesideIt();
};

void TestPointerX11::speed_data()
{
    QTest::addColumn<int>("systemSpeed");
    QTest::addColumn<int>("numerator");
    QTest::newRow("slowest") << 1 << 1;
    QTest::newRow("neutral") << 10 << 10;
    QTest::newRow("fastest") << 20 << 20;
    QTest::newRow("beyond, clamped") << 40 << 20;
}

void TestPointerX11::speed()
{
    QFETCH(int, systemSpeed);
    QFETCH(int, numerator);
    X11PointerSettings pointer;
    QVERIFY(pointer.setPointerSpeed(systemSpeed));
    const PointerControl control = serverPointerControl();
    QCOMPARE(control.numerator, numerator);
    QCOMPARE(control.denominator, 10);
}

void TestPointerX11::acceleration_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("threshold1");
    QTest::addColumn<int>("serverThreshold");
    QTest::newRow("off: constant gain") << 0 << 6 << 0;
    QTest::newRow("on: the first threshold") << 1 << 6 << 6;
    QTest::newRow("on without a threshold: X's default") << 2 << 0 << 4;
}

void TestPointerX11::acceleration()
{
    QFETCH(int, level);
    QFETCH(int, threshold1);
    QFETCH(int, serverThreshold);
    X11PointerSettings pointer;
    const int written[PointerSettings::MouseValueCount] = {threshold1, 10, level};
    QVERIFY(pointer.writeMouse(written));
    QCOMPARE(serverPointerControl().threshold, serverThreshold);
    int read[PointerSettings::MouseValueCount] = {};
    QVERIFY(pointer.readMouse(read));
    QCOMPARE(read[PointerSettings::AccelerationLevel], level == 0 ? 0 : 1);
    QCOMPARE(read[PointerSettings::Threshold1], serverThreshold);
}

void TestPointerX11::programOnlySettings()
{
    X11PointerSettings pointer;
    QVERIFY(pointer.setDoubleClickTime(620));
    QVERIFY(pointer.setWheelScrollLines(9));
    QCOMPARE(QApplication::doubleClickInterval(), 620);
    QCOMPARE(QApplication::wheelScrollLines(), 9);
}

void TestPointerX11::otherDesktopsNeverLoadTheGnomeModule_data()
{
    QTest::addColumn<QByteArray>("desktop");
    QTest::newRow("another desktop") << QByteArray("XFCE");
    QTest::newRow("no desktop") << QByteArray();
}

// The GNOME module brings GIO and a settings client with a thread and a bus connection of its
// own: a desktop that cannot use it does not pay for it.
void TestPointerX11::otherDesktopsNeverLoadTheGnomeModule()
{
    QFETCH(QByteArray, desktop);
    const QString gnomeModule = "w3pointer-gsettings.so";
    QVERIFY2(QFile::exists(QCoreApplication::applicationDirPath() + '/' + gnomeModule), "the module is built beside the test");
    const QByteArray before = qgetenv("XDG_CURRENT_DESKTOP");
    qputenv("XDG_CURRENT_DESKTOP", desktop);
    QTest::ignoreMessage(QtInfoMsg, "Pointer settings: X server pointer control");
    const std::unique_ptr<PointerSettings> pointer = PointerSettings::create();
    qputenv("XDG_CURRENT_DESKTOP", before);
    QVERIFY(pointer);
    QVERIFY(!moduleIsMapped(gnomeModule));
}

// Under Wayland the X server (Xwayland) moves only its own clients' pointer: a desktop without
// a settings service of its own gets no pointer settings, and the X server keeps its values.
void TestPointerX11::aWaylandSessionLeavesTheXServerBesideIt()
{
    X11PointerSettings direct;
    QVERIFY(direct.setPointerSpeed(10));
    const QByteArray desktop = qgetenv("XDG_CURRENT_DESKTOP");
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    qputenv("XDG_CURRENT_DESKTOP", "sway");
    qputenv("WAYLAND_DISPLAY", "wayland-1");
    QTest::ignoreMessage(QtInfoMsg, "Pointer settings: none on this Wayland desktop");
    const std::unique_ptr<PointerSettings> pointer = PointerSettings::create();
    qputenv("XDG_CURRENT_DESKTOP", desktop);
    if (wayland.isNull())
        qunsetenv("WAYLAND_DISPLAY");
    else
        qputenv("WAYLAND_DISPLAY", wayland);
    QVERIFY(pointer);
    QVERIFY(!pointer->setPointerSpeed(20));
    QCOMPARE(serverPointerControl().numerator, 10);
}

// Starts a private Xvfb on a free display (it writes the display number it chose) and makes it
// the test's display. Without Xvfb the test runs on the display it was given, if any.
std::unique_ptr<QProcess> startPrivateXServer()
{
    auto server = std::make_unique<QProcess>();
    // -noreset: the server would otherwise restart whenever its last client leaves, refusing
    // the connections that arrive meanwhile.
    server->start("Xvfb", {"-displayfd", "1", "-noreset", "-screen", "0", "640x480x24", "-nolisten", "tcp"});
    if (!server->waitForStarted(10000))
        return nullptr;
    QByteArray number;
    while (!number.contains('\n') && server->waitForReadyRead(30000))
        number += server->readAllStandardOutput();
    if (!number.contains('\n'))
        return nullptr;
    qputenv("DISPLAY", ":" + number.trimmed());
    return server;
}

int main(int argc, char *argv[])
{
    const std::unique_ptr<QProcess> server = startPrivateXServer();
    int result;
    {
        QApplication app(argc, argv);
        TestPointerX11 test;
        result = QTest::qExec(&test, argc, argv);
    }
    if (server) {
        server->terminate();
        server->waitForFinished(5000);
    }
    return result;
}
#include "tst_pointer_x11.moc"
