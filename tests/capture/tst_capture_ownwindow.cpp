// The fallback source: key and button events of the program's own windows, each counted once
// although the window hands it on to its widgets.
#include "platform/OwnWindowInputSource.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>
#include <QtTest>

#include <linux/input-event-codes.h>

namespace {

constexpr quint32 kX11KeycodeOffset = 8;

struct Event {
    int code;  // Linux key, or the PointerButton
    bool pressed;
    QPoint position;
    bool operator==(const Event &o) const
    {
        return code == o.code && pressed == o.pressed && position == o.position;
    }
};

}  // namespace

class TestCaptureOwnWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void keysCountOnceWithLinuxCodes();
    void buttonsCountOnceWithScreenPosition();
    void anXServerBesideAnotherWindowSystemIsNotListenedTo();

private:
    void sendKey(QEvent::Type type, quint32 nativeScanCode, bool autoRepeat = false);
    void sendButton(QEvent::Type type, Qt::MouseButton button, QPoint screenPosition);

    std::unique_ptr<QWidget> window_;
    std::unique_ptr<InputSource> source_;
    QList<Event> keys_;
    QList<Event> buttons_;
};

void TestCaptureOwnWindow::init()
{
    keys_.clear();
    buttons_.clear();
    window_ = std::make_unique<QWidget>();
    window_->setFocusPolicy(Qt::StrongFocus);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    InputSource::Handlers handlers;
    handlers.key = [this](int key, bool pressed) { keys_.append({key, pressed, {}}); };
    handlers.button = [this](PointerButton button, bool pressed, int x, int y) {
        buttons_.append({int(button), pressed, QPoint(x, y)});
    };
    source_ = OwnWindowInputSource::create(handlers);
    QVERIFY(source_);
}

void TestCaptureOwnWindow::cleanup()
{
    source_.reset();
    window_.reset();
}

void TestCaptureOwnWindow::sendKey(QEvent::Type type, quint32 nativeScanCode, bool autoRepeat)
{
    QKeyEvent event(type, Qt::Key_A, Qt::NoModifier, nativeScanCode, 0, 0, QString(), autoRepeat);
    QCoreApplication::sendEvent(window_->windowHandle(), &event);
}

void TestCaptureOwnWindow::sendButton(QEvent::Type type, Qt::MouseButton button,
                                      QPoint screenPosition)
{
    const QPointF local(5, 5);
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? button : Qt::NoButton;
    QMouseEvent event(type, local, local, screenPosition, button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(window_->windowHandle(), &event);
}

void TestCaptureOwnWindow::keysCountOnceWithLinuxCodes()
{
    sendKey(QEvent::KeyPress, KEY_A + kX11KeycodeOffset);
    sendKey(QEvent::KeyRelease, KEY_A + kX11KeycodeOffset, true);  // Qt's repeat pair
    sendKey(QEvent::KeyPress, KEY_A + kX11KeycodeOffset, true);
    sendKey(QEvent::KeyRelease, KEY_A + kX11KeycodeOffset);
    sendKey(QEvent::KeyPress, 0);  // no native code (a synthesised event): nothing to map
    QCOMPARE(keys_, (QList<Event>{{KEY_A, true, {}}, {KEY_A, false, {}}}));
}

void TestCaptureOwnWindow::buttonsCountOnceWithScreenPosition()
{
    sendButton(QEvent::MouseButtonPress, Qt::LeftButton, {300, 200});
    sendButton(QEvent::MouseButtonRelease, Qt::LeftButton, {301, 202});
    sendButton(QEvent::MouseButtonPress, Qt::MiddleButton, {10, 20});
    sendButton(QEvent::MouseButtonPress, Qt::BackButton, {10, 20});  // side buttons: unreported
    const QList<Event> expected{{int(PointerButton::Left), true, {300, 200}},
                                {int(PointerButton::Left), false, {301, 202}},
                                {int(PointerButton::Middle), true, {10, 20}}};
    QCOMPARE(buttons_, expected);
}

// A window that is no X11 client (Wayland; offscreen here) hears nothing of the desktop through
// an X server that happens to run beside it (Xwayland): the choice passes RECORD over, and only
// the own-window source admits that it hears this window alone.
void TestCaptureOwnWindow::anXServerBesideAnotherWindowSystemIsNotListenedTo()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X server beside the window system ($DISPLAY, as under xvfb-run)");
    QVERIFY(QGuiApplication::platformName() != QLatin1String("xcb"));
    std::unique_ptr<InputSource> chosen = InputSource::create({});
    QVERIFY(chosen);
    QVERIFY2(chosen->name() != QLatin1String("X11 RECORD"), "listens to the X server beside the window system");
    const bool ownWindowOnly = dynamic_cast<OwnWindowInputSource *>(chosen.get()) != nullptr;
    QCOMPARE(chosen->seesWholeDesktop(), !ownWindowOnly);
}

QTEST_MAIN(TestCaptureOwnWindow)
#include "tst_capture_ownwindow.moc"
