#include "app/Widget.h"

#include "app/Ui_Controler.h"
#include "app/UserEvent.h"
#include "capture/InputCapture.h"
#include "controller/AppConfig.h"
#include "controller/Prompts.h"
#include "controller/myQQuickView.h"
#include "device/Catalogue.h"
#include "device/DeviceState.h"
#include "platform/DeviceChangeNotifier.h"

#include <QCoreApplication>
#include <QSettings>

namespace {
constexpr const char *kDemoNotice = "===== Demo Mode =====";
}

Widget::Widget(QWidget *parent) : QWidget(parent)
{
    hid.setOwner(this);
    uiCtl = new Ui_Controler;
    uiCtl->setup(this, &hid);
    view()->setHidThread(&hid);

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
}

void Widget::reportDeviceMissing(const QString &deviceName)
{
    Prompts::current().warning(windowTitle(), QString("Can not detect %1 !").arg(deviceName));
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
