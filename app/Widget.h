#pragma once
// The shell: the program's only top-level window. It owns the device object, the window
// controller and the device-change timer, and runs the device detection. A program started
// in the background keeps the device and its data while no window shows: the scene is loaded
// when the window opens and dropped when it closes.
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

    enum class Start { WithWindow, InBackground };

    explicit Widget(Start start = Start::WithWindow, QWidget *parent = nullptr);
    ~Widget() override;

    // Started without a window (the desktop's autostart, --background).
    bool startsInBackground() const { return startedInBackground; }
    // Closing the window returns to the background instead of ending the program: when it
    // started there, or when the user chose to keep it running in the tray.
    bool staysInBackground() const { return inBackground; }

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
    // Shows the window and brings it to the front; without a scene, the scene is loaded and
    // started first, once a proven device is there.
    void openWindow();

signals:
    // A detection ran: the mouse may have come, gone or changed.
    void deviceChecked();
    void windowShownChanged(bool shown);

protected:
    void customEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    // The window is gone; the device, the data and the bus service stay. The scene is dropped
    // once the call that closed the window (the scene's own closing sequence) has returned.
    void returnToBackground();
    void dropScene();
    void setStaysInBackground(bool stays);

    const bool startedInBackground;
    bool inBackground = false;
    bool windowShown = false;     // the window showed at least once
    bool windowAsked = false;     // openWindow() is looking for the device
    bool sceneDropDue = false;
    QTimer deviceTimer;
    Ui_Controler *uiCtl = nullptr;
    Hid_Thread hid;
    std::unique_ptr<DeviceChangeNotifier> deviceChanges;
};
