#pragma once
// Tells the program that a device was added to or removed from the computer (any device).
#include <QObject>
#include <memory>

class DeviceChangeNotifier : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // The platform's notifier; it starts watching at once.
    static std::unique_ptr<DeviceChangeNotifier> create(QObject *parent = nullptr);

signals:
    void deviceChanged();
};
