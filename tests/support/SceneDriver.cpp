#include "tests/support/SceneDriver.h"

#include "app/Startup.h"
#include "app/Widget.h"
#include "controller/myQQuickView.h"
#include "device/DeviceState.h"
#include "virtual/VirtualBus.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QStyleHints>
#include <QMetaObject>
#include <QQuickItem>
#include <QSettings>
#include <QTest>

namespace {

constexpr const char *kAppConfig = "modules/setting/apConfig.bin";
constexpr int kAnimationEntry = 3;  // application configuration list: 1 = animation off

QQuickItem *findNamed(QQuickItem *from, const QString &objectName)
{
    if (!from)
        return nullptr;
    if (from->objectName() == objectName)
        return from;
    for (QQuickItem *child : from->childItems())
        if (QQuickItem *found = findNamed(child, objectName))
            return found;
    // Items held only as object children (not in the visual tree).
    for (QObject *child : from->children()) {
        auto *childItem = qobject_cast<QQuickItem *>(child);
        if (childItem && childItem->parentItem() != from)
            if (QQuickItem *found = findNamed(childItem, objectName))
                return found;
    }
    return nullptr;
}

bool effectivelyVisible(QQuickItem *item)
{
    return item && item->isVisible() && item->opacity() > 0.0;
}

// Device state is process-wide: every start begins from a fresh one.
void resetDeviceState()
{
    encodeEnabled = false;
    deviceReady = false;
    demoMode = false;
    languageIntegrity = true;
    secrecyCode = {};
}

}  // namespace

SceneDriver::Options SceneDriver::inSkin(int skin)
{
    Options options;
    options.prepare = [skin](ModulesSandbox &) {
        QSettings config(kAppConfig, QSettings::IniFormat);
        config.setValue("common/1", skin);
    };
    return options;
}

SceneDriver::SceneDriver() : SceneDriver(Options()) {}

SceneDriver::SceneDriver(const Options &options) : options(options)
{
    vhid::Bus::instance().reset();
    resetDeviceState();
    if (options.plugMouse)
        vhid::Bus::instance().plug(vhid::Model::Mouse);
    if (!options.animations) {
        QSettings config(kAppConfig, QSettings::IniFormat);
        if (config.contains("common/total"))
            config.setValue("common/" + QString::number(kAnimationEntry), 1);
    }
    if (options.prepare)
        options.prepare(modules);
}

SceneDriver::~SceneDriver()
{
    widget.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // What the scene made the program do must also be what a real mouse accepts.
    const std::string violations = vhid::Bus::instance().violationReport();
    if (!violations.empty() && QTest::currentTestFunction())
        QTest::qFail(("the virtual bus saw faults of the program: " + violations).c_str(), __FILE__, __LINE__);
}

bool SceneDriver::start(int timeoutMs)
{
    widget = std::make_unique<Widget>(options.inBackground ? Widget::Start::InBackground : Widget::Start::WithWindow);
    startShell(*widget);
    if (!deviceReady)
        return false;
    return options.inBackground || waitUntilReady(timeoutMs);
}

bool SceneDriver::openWindow(int timeoutMs)
{
    widget->openWindow();
    return waitUntilReady(timeoutMs);
}

bool SceneDriver::waitUntilReady(int timeoutMs) const
{
    return waitFor([this] { return root() && root()->property("ready").toBool(); }, timeoutMs);
}

Widget &SceneDriver::shell() const
{
    return *widget;
}

myQQuickView &SceneDriver::view() const
{
    return *widget->view();
}

QQuickItem *SceneDriver::root() const
{
    return widget ? widget->view()->rootObject() : nullptr;
}

QQuickItem *SceneDriver::item(const QString &objectName) const
{
    return findNamed(root(), objectName);
}

QQuickItem *SceneDriver::waitForItem(const QString &objectName, int timeoutMs) const
{
    QQuickItem *found = nullptr;
    waitFor([&] {
        found = item(objectName);
        return effectivelyVisible(found);
    }, timeoutMs);
    return effectivelyVisible(found) ? found : nullptr;
}

QPoint SceneDriver::viewPoint(QQuickItem *target, QPointF at) const
{
    if (at.x() < 0 || at.y() < 0)
        at = QPointF(target->width() / 2, target->height() / 2);
    return target->mapToScene(at).toPoint();
}

bool SceneDriver::click(const QString &objectName, Qt::MouseButton button, QPointF at)
{
    return click(waitForItem(objectName), button, at);
}

bool SceneDriver::click(QQuickItem *target, Qt::MouseButton button, QPointF at)
{
    if (!target)
        return false;
    const QPoint point = viewPoint(target, at);
    if (!view().rect().contains(point))
        return false;
    QTest::mouseMove(&view(), point);
    QTest::mouseClick(&view(), button, Qt::NoModifier, point);
    QCoreApplication::processEvents();
    return true;
}

bool SceneDriver::drag(QPointF from, QPointF to, int steps)
{
    if (!view().rect().contains(from.toPoint()) || steps < 1)
        return false;
    // The pointer moves on the screen; the window may follow it, so every position is taken
    // from the screen through the window's position at that moment.
    const QPointF screenFrom = view().mapToGlobal(from.toPoint());
    QTest::mousePress(&view(), Qt::LeftButton, Qt::NoModifier, from.toPoint());
    QPoint local = from.toPoint();
    for (int step = 1; step <= steps; ++step) {
        const QPoint screen = (screenFrom + (to - from) * step / steps).toPoint();
        local = view().mapFromGlobal(screen);
        QMouseEvent move(QEvent::MouseMove, local, screen, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&view(), &move);
        QCoreApplication::processEvents();
    }
    QTest::mouseRelease(&view(), Qt::LeftButton, Qt::NoModifier, local);
    return true;
}

bool SceneDriver::dragScrollBarToEnd(const QString &scrollBarName)
{
    QQuickItem *bar = waitForItem(scrollBarName);
    QQuickItem *thumb = item(scrollBarName + "_thumb");
    if (!bar || !thumb)
        return false;
    const QPointF from = thumb->mapToScene({thumb->width() / 2, thumb->height() / 2});
    const QPointF to = bar->mapToScene({thumb->x() + thumb->width() / 2, bar->height() + thumb->height()});
    return drag(from, to);
}

void SceneDriver::pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(&view(), key, modifiers);
}

void SceneDriver::typeText(const QString &text)
{
    QTest::keyClicks(&view(), text);
}

void SceneDriver::captureKey(quint8 usbCode, bool isDown)
{
    view().detectKeyboard(isDown, usbCode);
    QCoreApplication::processEvents();
}

QVariant SceneDriver::property(const QString &objectName, const char *name) const
{
    QQuickItem *target = objectName.isEmpty() ? root() : item(objectName);
    return target ? target->property(name) : QVariant();
}

QVariant SceneDriver::call(const QString &objectName, const char *function, const QVariantList &args) const
{
    QQuickItem *target = objectName.isEmpty() ? root() : item(objectName);
    if (!target || args.size() > 4)
        return {};
    QVariant result;
    QVariant a[4];
    for (int i = 0; i < args.size(); ++i)
        a[i] = args[i];
    const auto arg = [&](int i) { return i < args.size() ? Q_ARG(QVariant, a[i]) : QGenericArgument(); };
    QMetaObject::invokeMethod(target, function, Q_RETURN_ARG(QVariant, result), arg(0), arg(1), arg(2), arg(3));
    return result;
}

bool SceneDriver::waitFor(const std::function<bool()> &condition, int timeoutMs) const
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return condition();
        QTest::qWait(10);
    }
    return true;
}

bool SceneDriver::waitUntilUnlocked(int timeoutMs) const
{
    return waitFor([this] { return view().isEnabled(); }, timeoutMs);
}

bool SceneDriver::waitForQuestion(int timeoutMs) const
{
    return waitFor([this] {
        return property("QuestionSheet", "visible").toBool() && property("questionChoices", "width").toDouble() > 0;
    }, timeoutMs);
}

bool SceneDriver::answerQuestion(int index)
{
    if (!waitForQuestion())
        return false;
    QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 1);
    return click("questionChoice" + QString::number(index))
           && waitFor([this] { return !property("QuestionSheet", "visible").toBool(); });
}

QString SceneDriver::screenshotFolder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../screenshots");
}

QString SceneDriver::screenshot(const QString &name) const
{
    if (!QDir().mkpath(screenshotFolder()))
        return {};
    const QString path = screenshotFolder() + "/" + name + ".png";
    return view().grabFramebuffer().save(path) ? path : QString();
}

std::unique_ptr<QSettings> SceneDriver::appConfigFile() const
{
    return std::make_unique<QSettings>(kAppConfig, QSettings::IniFormat);
}
