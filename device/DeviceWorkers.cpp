#include "device/DeviceWorkers.h"

#include <QDebug>
#include <QSemaphore>
#include <QtConcurrent>
#include <memory>

namespace {

// The monitor, which runs as long as a device is selected, and the write in progress.
constexpr int kThreadCount = 2;
// The owner waited for the device to be idle already: a task left ends within this.
constexpr int kEndingTaskWaitMs = 1000;

}  // namespace

DeviceWorkers::DeviceWorkers()
    : threads(new QThreadPool)
{
    threads->setExpiryTimeout(-1);
    threads->setMaxThreadCount(kThreadCount);
    // Each task holds its thread until all have started: the pool cannot hand two of them to
    // one thread. The semaphores outlive whichever side leaves them last.
    auto started = std::make_shared<QSemaphore>();
    auto gate = std::make_shared<QSemaphore>();
    for (int i = 0; i < kThreadCount; ++i)
        QtConcurrent::run(threads, [started, gate] {
            started->release();
            gate->acquire();
        });
    started->acquire(kThreadCount);
    gate->release(kThreadCount);
}

DeviceWorkers::~DeviceWorkers()
{
    if (threads->waitForDone(kEndingTaskWaitMs)) {
        delete threads;
        return;
    }
    // Deleting the pool would wait for the stalled task for good: the pool stays with it.
    qWarning() << "A device transfer is still running: its thread is left to end it";
}
