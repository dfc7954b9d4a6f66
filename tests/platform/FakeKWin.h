#pragma once
// A stand-in for KWin's input devices on the session bus ("org.kde.KWin" with the device
// manager and one object per device), on a connection of its own, recording every property
// write and every KDE mouse settings change notice it hears.
#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <memory>
#include <vector>

class FakeKWinDevice : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.KWin.InputDevice")
    Q_PROPERTY(bool pointer MEMBER pointer CONSTANT)
    Q_PROPERTY(bool touchpad MEMBER touchpad CONSTANT)
    Q_PROPERTY(double pointerAcceleration READ pointerAcceleration WRITE setPointerAcceleration)
    Q_PROPERTY(bool pointerAccelerationProfileFlat READ flat WRITE setFlat)
    Q_PROPERTY(bool pointerAccelerationProfileAdaptive READ adaptive WRITE setAdaptive)

public:
    FakeKWinDevice(QString sysName, bool pointer, bool touchpad, QStringList &writes);

    double pointerAcceleration() const { return acceleration; }
    void setPointerAcceleration(double value);
    bool flat() const { return profileFlat; }
    void setFlat(bool value);
    bool adaptive() const { return !profileFlat; }
    void setAdaptive(bool value);

    const QString sysName;

private:
    bool pointer;
    bool touchpad;
    double acceleration = 0;
    bool profileFlat = false;
    QStringList &writes;
};

class FakeKWinManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.KWin.InputDeviceManager")
    Q_PROPERTY(QStringList devicesSysNames MEMBER sysNames CONSTANT)

public:
    QStringList sysNames;
};

class FakeKWin : public QObject {
    Q_OBJECT

public:
    enum class Devices { Offered, NotOffered };
    // Registers the service; with Devices::Offered also the manager and the devices:
    // event3 a mouse, event4 a touchpad, event5 a keyboard.
    explicit FakeKWin(Devices devices);
    ~FakeKWin() override;

    bool registered() const { return serviceRegistered; }
    // The manager lists a device that has no object (KWin answering for it fails).
    void listDeviceWithoutObject();

    QStringList writes;   // "event3 pointerAcceleration=0.6"
    QStringList notices;  // "notifyChange 3 0"

private slots:
    void noticeHeard(int type, int category);

private:
    const QString connectionName;
    QDBusConnection connection;
    FakeKWinManager manager;
    std::vector<std::unique_ptr<FakeKWinDevice>> devices;
    bool serviceRegistered = false;
};
