#pragma once
// End-to-end fixture: the real program's shell, in-process, on the virtual mouse, working in a
// private copy of the run folder's modules/ (ModulesSandbox), with recorded message boxes and
// file dialogs (RecordingPrompts). Tests find scene items by objectName and drive them with
// real mouse and key events on the view (a QQuickWidget), as a user would.
//
// Build: add tests/support/SceneDriver.cpp to the test's sources and link w3app, w3virtual
// and w3resources. Needs a QApplication (QTEST_MAIN) and runs under the offscreen platform.
//
//     SceneDriver scene;                      // sandbox, virtual mouse, shell, initUI + run
//     QVERIFY(scene.start());                 // waits for the opening sequence to finish
//     QVERIFY(scene.click("Menu_Up_settings"));
//     QVERIFY(scene.waitFor([&] { return scene.property("Page_Globalsetting", "isOpen").toBool(); }));
//     scene.screenshot("settings_open");      // <build folder>/screenshots/settings_open.png
#include "tests/support/ModulesSandbox.h"
#include "tests/support/RecordingPrompts.h"

#include <QPointF>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

class QQuickItem;
class QSettings;
class Widget;
class myQQuickView;

class SceneDriver {
public:
    struct Options {
        bool plugMouse = true;        // false: nothing plugged, the program warns and never shows
        bool animations = false;      // false: the stored animation setting is OFF (10 ms steps)
        bool inBackground = false;  // as `w3config --background`: no window until openWindow()
        // Runs in the sandbox before the shell exists, e.g. to edit "./modules/setting/*".
        std::function<void(ModulesSandbox &)> prepare;
    };
    // Options that start the program in skin `skin` (1 Carbon, 2 Ember).
    static Options inSkin(int skin);

    SceneDriver();
    explicit SceneDriver(const Options &options);
    ~SceneDriver();

    // Builds the shell, runs the start-up (detection, initUI, run) and waits up to timeoutMs for
    // the scene root's `ready` (the opening sequence is over). False when it never came.
    bool start(int timeoutMs = 15000);
    // In the background: opens the window as the tray and the bus do, and waits for `ready` as
    // start() does.
    bool openWindow(int timeoutMs = 15000);

    Widget &shell() const;
    myQQuickView &view() const;
    QQuickItem *root() const;
    ModulesSandbox &sandbox() { return modules; }
    RecordingPrompts &prompts() { return recorded; }

    // The first item named objectName in the scene (visual tree and object children, depth
    // first); nullptr when there is none.
    QQuickItem *item(const QString &objectName) const;
    // Waits until an item of that name exists and is visible; nullptr on time-out.
    QQuickItem *waitForItem(const QString &objectName, int timeoutMs = 5000) const;

    // Real mouse events on the view at the item's scene position: a move there (hover), then
    // press and release. `at` is in the item's coordinates; the default is its centre. False
    // when the item is missing or its point lies outside the window.
    bool click(const QString &objectName, Qt::MouseButton button = Qt::LeftButton, QPointF at = {-1, -1});
    bool click(QQuickItem *target, Qt::MouseButton button = Qt::LeftButton, QPointF at = {-1, -1});
    // Mouse down at `from`, the pointer moved in steps by (to − from) on the screen, mouse up.
    // Scene coordinates at the start; a window that follows the pointer is taken into account.
    bool drag(QPointF from, QPointF to, int steps = 5);
    // Drags the thumb of a list's scroll bar (common/ListScrollBar) to the bar's end; false when
    // the bar is not shown.
    bool dragScrollBarToEnd(const QString &scrollBarName);
    // A key press and release on the view (text fields, Return), with modifiers.
    void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void typeText(const QString &text);
    // A key reported by the desktop-wide capture (the scene's detectKeyboard), as USB usage.
    void captureKey(quint8 usbCode, bool isDown = true);

    // A property of the named item (invalid QVariant when the item is missing).
    QVariant property(const QString &objectName, const char *name) const;
    // Calls a function of the named item (or of the root for "") and returns its result.
    QVariant call(const QString &objectName, const char *function, const QVariantList &args = {}) const;

    // Processes events until condition() holds or timeoutMs passed; returns the last value.
    bool waitFor(const std::function<bool()> &condition, int timeoutMs = 5000) const;
    // Waits until the input lock of the scene is released (the view is enabled again).
    bool waitUntilUnlocked(int timeoutMs = 5000) const;
    // Waits until the question sheet shows with its row of choices laid out (until the next
    // polish the row is empty and every choice lies at x 0).
    bool waitForQuestion(int timeoutMs = 5000) const;
    // Clicks choice `index` of the question (0 the leftmost) once a click there can no longer
    // count as the second half of a double click with the click that asked, and waits until the
    // sheet is gone.
    bool answerQuestion(int index);

    // The window as drawn now, saved as "<build folder>/screenshots/<name>.png"; the path,
    // or an empty string when it could not be written.
    QString screenshot(const QString &name) const;
    static QString screenshotFolder();

    // The application configuration file of the sandbox, read fresh.
    std::unique_ptr<QSettings> appConfigFile() const;

private:
    bool waitUntilReady(int timeoutMs) const;
    QPoint viewPoint(QQuickItem *target, QPointF at) const;

    Options options;
    ModulesSandbox modules;
    RecordingPrompts recorded;
    std::unique_ptr<Widget> widget;
};
