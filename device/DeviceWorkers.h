#pragma once
// The device object's worker threads, one for the monitor and one for writes, started with the
// object and kept for its life. A thread started later, as Qt's global pool starts them on
// demand and lets idle ones go after 30 s, needs descriptors of its own (its event
// dispatcher's wake-up pipe): when some other part of the process has used them up, starting
// it ends the process instead of failing one command.
#include <QThreadPool>

class DeviceWorkers {
public:
    DeviceWorkers();
    // Lets the last task end; a task stalled on the device keeps its thread and ends by itself.
    ~DeviceWorkers();
    DeviceWorkers(const DeviceWorkers &) = delete;
    DeviceWorkers &operator=(const DeviceWorkers &) = delete;

    QThreadPool *pool() const { return threads; }

private:
    QThreadPool *threads;
};
