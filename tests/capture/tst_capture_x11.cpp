// Desktop-wide capture on a real X server: events injected through the XTest extension travel
// through the server and come back through the RECORD context as reports.
#include "CaptureRecorder.h"
#include "capture/InputCapture.h"
#include "capture/KeyUsageTable.h"

#include <QApplication>
#include <QtTest>

#include <linux/input-event-codes.h>

// Xlib after Qt: its macros clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {

constexpr int kX11KeycodeOffset = 8;
constexpr int kReportTimeoutMs = 10000;  // generous: the X server may be slow to schedule
// Taps of this key (F10, usage 0x43) close each sequence: once its release is reported,
// every event injected before it has been reported too.
constexpr int kSentinelKey = KEY_F10;
constexpr uchar kSentinelUsage = 0x43;
constexpr int kX11LeftButton = 1;
constexpr int kX11MiddleButton = 2;
constexpr int kX11RightButton = 3;
constexpr int kX11WheelUp = 4;

}  // namespace

class TestCaptureX11 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void heldKeyReportsOnePressAndOneRelease();
    void trickyKeys_data();
    void trickyKeys();
    void everyKeyOfTheTable();
    void leftDoubleClickReportsFourEventsWithPositions();
    void rightAndMiddleButtonsWheelUnreported();
    void stateFollowsKeysBeforeRegistration();
    void keyPressedBeforeStartIsNotReleased();

private:
    void fakeKey(int linuxKey, bool pressed);
    void tap(int linuxKey);
    void fakeButton(int x11Button, bool pressed);
    void moveTo(int x, int y);
    // Taps the sentinel, waits for its reports and takes them off the list.
    void settleKeys();
    void waitForButtons(int count);

    Display *display_ = nullptr;
    CaptureRecorder recorder_;
};

void TestCaptureX11::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X server with the RECORD and XTest extensions (run under xvfb-run)");
    display_ = XOpenDisplay(nullptr);
    QVERIFY2(display_, "cannot open $DISPLAY");
    int event = 0, error = 0, major = 0, minor = 0;
    QVERIFY2(XTestQueryExtension(display_, &event, &error, &major, &minor),
             "the X server lacks the XTest extension");
    // The server's own key repeat would add key-downs at moments the tests do not choose.
    XAutoRepeatOff(display_);
    XSync(display_, False);
}

void TestCaptureX11::cleanupTestCase()
{
    if (!display_)
        return;
    XAutoRepeatOn(display_);
    XCloseDisplay(display_);
}

void TestCaptureX11::init()
{
    recorder_ = CaptureRecorder();
    QVERIFY(InputCapture::start(false));
    QCOMPARE(InputCapture::sourceName(), QStringLiteral("X11 RECORD"));
    InputCapture::setKeyCallback(&CaptureRecorder::onKey, &recorder_);
    InputCapture::setMouseCallback(&CaptureRecorder::onButton, &recorder_);
}

void TestCaptureX11::cleanup()
{
    InputCapture::stop();
    InputCapture::setKeyCallback(nullptr, nullptr);
    InputCapture::setMouseCallback(nullptr, nullptr);
}

void TestCaptureX11::fakeKey(int linuxKey, bool pressed)
{
    XTestFakeKeyEvent(display_, unsigned(linuxKey + kX11KeycodeOffset), pressed, CurrentTime);
    // The round trip makes the server process the injected event now.
    XSync(display_, False);
}

void TestCaptureX11::tap(int linuxKey)
{
    fakeKey(linuxKey, true);
    fakeKey(linuxKey, false);
}

void TestCaptureX11::fakeButton(int x11Button, bool pressed)
{
    XTestFakeButtonEvent(display_, unsigned(x11Button), pressed, CurrentTime);
    XSync(display_, False);
}

void TestCaptureX11::moveTo(int x, int y)
{
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    XSync(display_, False);
}

void TestCaptureX11::settleKeys()
{
    tap(kSentinelKey);
    const KeyReport sentinelUp{kSentinelUsage, false};
    QTRY_VERIFY_WITH_TIMEOUT(recorder_.keys.contains(sentinelUp), kReportTimeoutMs);
    QVERIFY(recorder_.keys.size() >= 2);
    QCOMPARE(recorder_.keys.takeLast(), sentinelUp);
    QCOMPARE(recorder_.keys.takeLast(), (KeyReport{kSentinelUsage, true}));
}

void TestCaptureX11::waitForButtons(int count)
{
    QTRY_VERIFY_WITH_TIMEOUT(recorder_.buttons.size() >= count, kReportTimeoutMs);
}

void TestCaptureX11::heldKeyReportsOnePressAndOneRelease()
{
    for (int repeat = 0; repeat < 4; ++repeat)
        fakeKey(KEY_A, true);
    fakeKey(KEY_A, false);
    settleKeys();
    QCOMPARE(recorder_.keys, (QList<KeyReport>{{0x04, true}, {0x04, false}}));
}

void TestCaptureX11::trickyKeys_data()
{
    QTest::addColumn<int>("linuxKey");
    QTest::addColumn<bool>("iso");
    QTest::addColumn<int>("usage");  // 0: not reported
    QTest::newRow("keypad Enter") << KEY_KPENTER << false << 0x58;
    QTest::newRow("Pause") << KEY_PAUSE << false << 0x48;
    QTest::newRow("Print Screen") << KEY_SYSRQ << false << 0x46;
    QTest::newRow("Num Lock") << KEY_NUMLOCK << false << 0x53;
    QTest::newRow("ISO key") << KEY_102ND << false << 0x64;
    QTest::newRow("backslash ANSI") << KEY_BACKSLASH << false << 0x31;
    QTest::newRow("backslash ISO") << KEY_BACKSLASH << true << 0x32;
    QTest::newRow("right Shift") << KEY_RIGHTSHIFT << false << 0xE5;
    QTest::newRow("right Windows") << KEY_RIGHTMETA << false << 0;
    QTest::newRow("Japanese Ro") << KEY_RO << false << 0;
}

void TestCaptureX11::trickyKeys()
{
    QFETCH(int, linuxKey);
    QFETCH(bool, iso);
    QFETCH(int, usage);
    QVERIFY(InputCapture::start(iso));
    tap(linuxKey);
    settleKeys();
    const QList<KeyReport> expected = usage ? QList<KeyReport>{{uchar(usage), true},
                                                               {uchar(usage), false}}
                                            : QList<KeyReport>{};
    QCOMPARE(recorder_.keys, expected);
}

void TestCaptureX11::everyKeyOfTheTable()
{
    QList<KeyReport> expected;
    for (const KeyUsageTable::Row &row : KeyUsageTable(false).rows()) {
        if (row.linuxKey == kSentinelKey)
            continue;
        tap(row.linuxKey);
        expected << KeyReport{row.usage, true} << KeyReport{row.usage, false};
    }
    settleKeys();
    QCOMPARE(recorder_.keys, expected);
}

void TestCaptureX11::leftDoubleClickReportsFourEventsWithPositions()
{
    moveTo(100, 150);
    fakeButton(kX11LeftButton, true);
    fakeButton(kX11LeftButton, false);
    moveTo(102, 151);
    fakeButton(kX11LeftButton, true);
    fakeButton(kX11LeftButton, false);
    waitForButtons(4);
    const QList<ButtonReport> expected{{0xF0, true, {100, 150}},
                                       {0xF0, false, {100, 150}},
                                       {0xF0, true, {102, 151}},
                                       {0xF0, false, {102, 151}}};
    QCOMPARE(recorder_.buttons, expected);
}

void TestCaptureX11::rightAndMiddleButtonsWheelUnreported()
{
    moveTo(321, 222);
    fakeButton(kX11WheelUp, true);
    fakeButton(kX11WheelUp, false);
    fakeButton(kX11RightButton, true);
    fakeButton(kX11RightButton, false);
    fakeButton(kX11MiddleButton, true);
    fakeButton(kX11MiddleButton, false);
    waitForButtons(4);
    const QList<ButtonReport> expected{{0xF1, true, {321, 222}},
                                       {0xF1, false, {321, 222}},
                                       {0xF2, true, {321, 222}},
                                       {0xF2, false, {321, 222}}};
    QCOMPARE(recorder_.buttons, expected);
}

void TestCaptureX11::stateFollowsKeysBeforeRegistration()
{
    InputCapture::setKeyCallback(nullptr, nullptr);
    fakeKey(KEY_D, true);
    // The button report shows that the key press before it has been seen as well.
    fakeButton(kX11MiddleButton, true);
    fakeButton(kX11MiddleButton, false);
    waitForButtons(2);

    InputCapture::setKeyCallback(&CaptureRecorder::onKey, &recorder_);
    fakeKey(KEY_D, false);
    settleKeys();
    QCOMPARE(recorder_.keys, (QList<KeyReport>{{0x07, false}}));
}

void TestCaptureX11::keyPressedBeforeStartIsNotReleased()
{
    InputCapture::stop();
    fakeKey(KEY_E, true);
    QVERIFY(InputCapture::start(false));
    fakeKey(KEY_E, false);
    settleKeys();
    QVERIFY(recorder_.keys.isEmpty());

    tap(KEY_E);
    settleKeys();
    QCOMPARE(recorder_.keys, (QList<KeyReport>{{0x08, true}, {0x08, false}}));
}

int main(int argc, char **argv)
{
    // Without an X server the Qt platform falls back to offscreen and every test skips.
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestCaptureX11 test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_capture_x11.moc"
