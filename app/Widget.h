#pragma once
// The shell: the program's only top-level window. It owns the device object, the window
// controller and the device-change timer, and runs the device detection.
#include "device/DeviceOwner.h"
#include "device/Hid_Thread.h"

#include <QTimer>
#include <QWidget>
#include <memory>

class DeviceChangeNotifier;
class Ui_Controler;
class myQQuickView;
struct CopyData;

class Widget : public QWidget, public DeviceOwner {
    Q_OBJECT
public:
    static constexpr int kDeviceChangeDebounceMs = 2048;
    static constexpr quintptr kTextTag = 9487;

    explicit Widget(QWidget *parent = nullptr);
    ~Widget() override;

    myQQuickView *view() const;
    Hid_Thread &device() { return hid; }
    QTimer &deviceChangeTimer() { return deviceTimer; }

    // Calls the scene's "initUI" and posts the event that makes it "run".
    void startUI();
    // A device was added or removed somewhere: detect again once the burst is over.
    void notifyDeviceChange();
    // Sends the demo notice to the window that carries the shell's title.
    void sendDemoNotice();

    // Callbacks registered with the input capture; context is the shell.
    static void onKey(uchar usage, bool pressed, void *context);
    static void onMouse(uchar code, bool pressed, int x, int y, void *context);
    static void onCopyData(const CopyData *data, void *context);

    // DeviceOwner
    QSettings *applicationConfig() const override;
    void reportDeviceMissing(const QString &deviceName) override;

public slots:
    void checkDevice();

signals:
    // A detection ran: the mouse may have come, gone or changed.
    void deviceChecked();

protected:
    void customEvent(QEvent *event) override;

private:
    QTimer deviceTimer;
    Ui_Controler *uiCtl = nullptr;
    Hid_Thread hid;
    std::unique_ptr<DeviceChangeNotifier> deviceChanges;
};
