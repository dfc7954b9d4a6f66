#include "app/Widget.h"

#include "actions/PageActions.h"
#include "actions/SettingsActions.h"
#include "app/Ui_Controler.h"
#include "app/UserEvent.h"
#include "capture/InputCapture.h"
#include "controller/AppConfig.h"
#include "controller/Prompts.h"
#include "controller/myQQuickView.h"
#include "device/Catalogue.h"
#include "device/DeviceState.h"
#include "platform/DeviceChangeNotifier.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QSettings>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {
constexpr const char *kDemoNotice = "===== Demo Mode =====";
constexpr const char *kRuleFile = "/etc/udev/rules.d/70-w3config.rules";
constexpr const char *kReloadRules = "sudo udevadm control --reload-rules && sudo udevadm trigger";

QString hex4(std::uint16_t id)
{
    return QString("%1").arg(id, 4, 16, QLatin1Char('0'));
}

// The rule the package installs: the logged-in user may open the mouse's hidraw nodes.
QString udevRule(const DeviceAbsence &absence)
{
    return QString("KERNEL==\"hidraw*\", SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"%1\", "
                   "ATTRS{idProduct}==\"%2\", TAG+=\"uaccess\"")
        .arg(hex4(absence.vid), hex4(absence.pid));
}

QString absenceExplanation(const DeviceAbsence &absence)
{
    switch (absence.cause) {
    case DeviceAbsence::Cause::NotConnected:
        return QString("No device with the ids %1:%2 is connected.").arg(hex4(absence.vid), hex4(absence.pid));
    case DeviceAbsence::Cause::NoAccess:
        return QString("The mouse is connected, but this user may not open %1.\n"
                       "Save this line as %2:\n%3\n"
                       "then reload the rules and plug the mouse in again:\n%4")
            .arg(absence.refusedPath, kRuleFile, udevRule(absence), kReloadRules);
    case DeviceAbsence::Cause::NoAnswer:
        return QString("The mouse is connected but did not answer.");
    }
    return QString();
}

void returnFreeMemoryToSystem()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

}  // namespace

Widget::Widget(Start start, QWidget *parent) : QWidget(parent), startedInBackground(start == Start::InBackground)
{
    hid.setOwner(this);
    uiCtl = new Ui_Controler;
    uiCtl->setup(this, &hid);
    view()->setHidThread(&hid);
    SettingsActions &choices = *view()->actions().settings;
    choices.readStoredChoices();
    setStaysInBackground(startedInBackground || choices.keepRunning());
    connect(&choices, &SettingsActions::keepRunningChanged, this,
            [this](bool keep) { setStaysInBackground(startedInBackground || keep); });
    if (!startedInBackground)
        uiCtl->loadScene();

    deviceTimer.setInterval(kDeviceChangeDebounceMs);
    deviceTimer.setSingleShot(true);
    connect(&deviceTimer, &QTimer::timeout, this, &Widget::checkDevice);

    deviceChanges = DeviceChangeNotifier::create(this);
    if (deviceChanges)
        connect(deviceChanges.get(), &DeviceChangeNotifier::deviceChanged, this, &Widget::notifyDeviceChange);
}

Widget::~Widget()
{
    hid.stopMonitor();
    uiCtl->deleteLater();
}

myQQuickView *Widget::view() const
{
    return uiCtl->view();
}

QSettings *Widget::applicationConfig() const
{
    return view()->appConfig().settings();
}

void Widget::checkDevice()
{
    const QStringList productNames = applicationConfig()->value("common/product_name").toStringList();
    const Catalogue catalogue = readCatalogue(kCataloguePath, productNames);
    hid.rebuildDevices(catalogue.entries);
    encodeEnabled = catalogue.isEncode;
    hid.swichCurDevice(hid.currentDeviceId());
    view()->syncFW();
    emit deviceChecked();
}

void Widget::reportDeviceMissing(const QString &deviceName)
{
    const QString cause = absenceExplanation(hid.diagnoseAbsence());
    // A window start without the mouse ends as before, whatever the closing choice.
    if (inBackground && (startedInBackground || windowShown)) {
        // The program waits in the background for the mouse to come back; only a window that
        // shows, or is asked for, says so.
        if (isVisible() || windowAsked)
            Prompts::current().warning(windowTitle(), QString("Can not detect %1 !\n%2").arg(deviceName, cause));
        else
            qInfo().noquote() << "Waiting for" << deviceName << "-" << cause;
        QMetaObject::invokeMethod(this, &Widget::returnToBackground, Qt::QueuedConnection);
        return;
    }
    Prompts::current().warning(windowTitle(), QString("Can not detect %1 !\n%2").arg(deviceName, cause));
    // Posted, not sent: the detection in progress finishes first. The shell may never have
    // been shown, so closing it alone would not end the event loop.
    QMetaObject::invokeMethod(this, [this] {
        close();
        QCoreApplication::quit();
    }, Qt::QueuedConnection);
}

void Widget::notifyDeviceChange()
{
    deviceTimer.start();  // a running timer starts over
}

void Widget::setStaysInBackground(bool stays)
{
    inBackground = stays;
    // A message box closing while the window is hidden must not end the program.
    QApplication::setQuitOnLastWindowClosed(!stays);
}

void Widget::openWindow()
{
    if (sceneDropDue)
        dropScene();
    if (uiCtl->sceneLoaded()) {
        if (isMinimized())
            showNormal();
        else
            show();
        raise();
        activateWindow();
        return;
    }
    if (!deviceReady) {
        windowAsked = true;
        checkDevice();
        windowAsked = false;
    }
    if (!deviceReady)
        return;
    uiCtl->loadScene();
    showNormal();
    startUI();
}

void Widget::returnToBackground()
{
    hide();
    view()->clearAllMedia();
    if (!uiCtl->sceneLoaded() || sceneDropDue)
        return;
    sceneDropDue = true;
    QMetaObject::invokeMethod(this, &Widget::dropScene, Qt::QueuedConnection);
}

void Widget::dropScene()
{
    if (!sceneDropDue || isVisible())
        return;
    sceneDropDue = false;
    uiCtl->unloadScene();
    // The scene's memory is free but still held by the process; the program now rests in the
    // background at its size before the window opened.
    returnFreeMemoryToSystem();
}

void Widget::closeEvent(QCloseEvent *event)
{
    if (inBackground) {
        event->ignore();
        returnToBackground();
        return;
    }
    QWidget::closeEvent(event);
}

void Widget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    windowShown = true;
    emit windowShownChanged(true);
}

void Widget::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    emit windowShownChanged(false);
}

void Widget::startUI()
{
    view()->initUI();
    QCoreApplication::postEvent(this, new UserEvent(UserEvent::kStartScene));
}

void Widget::customEvent(QEvent *event)
{
    if (event->type() == UserEvent::kType && static_cast<UserEvent *>(event)->code == UserEvent::kStartScene)
        view()->runUI();
}

void Widget::sendDemoNotice()
{
    CopyData notice;
    notice.dwData = kTextTag;
    notice.bytes = QByteArray(kDemoNotice);
    InputCapture::sendText(windowTitle(), notice);
}

void Widget::onKey(uchar usage, bool pressed, void *context)
{
    if (auto *shell = static_cast<Widget *>(context))
        shell->view()->detectKeyboard(pressed, usage);
}

void Widget::onMouse(uchar code, bool pressed, int x, int y, void *context)
{
    if (auto *shell = static_cast<Widget *>(context))
        shell->view()->detectMouse(pressed, code, uint(x), uint(y));
}

void Widget::onCopyData(const CopyData *data, void *context)
{
    auto *shell = static_cast<Widget *>(context);
    if (!shell || !data || data->dwData != kTextTag)
        return;
    // Decode up to the first zero byte; a text that does not fill the message exactly
    // (an embedded zero, or bytes that are not UTF-8) is not shown, nor is an empty one.
    const QByteArray &bytes = data->bytes;
    const int end = bytes.indexOf('\0');
    const QString text = QString::fromUtf8(bytes.constData(), end < 0 ? bytes.size() : end);
    if (!text.isEmpty() && text.toUtf8().size() == bytes.size())
        Prompts::current().warning(shell->windowTitle(), text);
}
