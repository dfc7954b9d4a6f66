#include "app/MouseQueue.h"

#include "device/Hid_Thread.h"
#include "platform/DeviceLock.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>

namespace {
// How often waiting jobs look whether their turn came or their wait ended.
constexpr int kPollMs = 20;
// How long the bus may take to say whether a job's caller is still there.
constexpr int kCallerCheckMs = 1000;
}  // namespace

MouseQueue::MouseQueue(Hid_Thread &device, QObject *parent)
    : QObject(parent)
    , device(device)
{
    poll.setInterval(kPollMs);
    connect(&poll, &QTimer::timeout, this, &MouseQueue::serve);
}

MouseQueue::~MouseQueue() = default;

void MouseQueue::push(Job job)
{
    Waiting entry {std::move(job), {}};
    entry.since.start();
    waiting.push_back(std::move(entry));
    if (!poll.isActive())
        poll.start();
    QTimer::singleShot(0, this, &MouseQueue::serve);
}

// Runs from the event loop, also while a job's transfer serves events: then it only drops the
// jobs whose wait ended, so that their callers hear of it in time.
void MouseQueue::serve()
{
    if (!current && !waiting.empty() && !device.isBusy())
        runFrontWhenLocked();
    dropExpired();
    if (waiting.empty())
        poll.stop();
}

// The hold nests with the transfers' own, so the device lock stays this program's for the
// whole job; a w3ctl working alone that holds it is waited for.
void MouseQueue::runFrontWhenLocked()
{
    DeviceLock *lock = DeviceLock::shared();
    if (lock && !lock->tryLock())
        return;
    Job job = std::move(waiting.front().job);
    waiting.pop_front();
    if (callerLeft(job)) {
        if (lock)
            lock->unlock();
        QTimer::singleShot(0, this, &MouseQueue::serve);
        return;
    }
    setRunning(true);
    if (beforeEachJob)
        beforeEachJob();
    job.run();
    setRunning(false);
    if (lock)
        lock->unlock();
    if (!waiting.empty())
        QTimer::singleShot(0, this, &MouseQueue::serve);
}

void MouseQueue::dropExpired()
{
    std::deque<Waiting> expired;
    const auto endedWait = [](const Waiting &entry) {
        return entry.job.waitMs != kNoLimit && entry.since.elapsed() >= entry.job.waitMs;
    };
    for (auto it = waiting.begin(); it != waiting.end();) {
        if (endedWait(*it)) {
            expired.push_back(std::move(*it));
            it = waiting.erase(it);
        } else {
            ++it;
        }
    }
    // Told after the list is settled: a caller told may push again.
    for (Waiting &entry : expired)
        if (entry.job.gaveUp)
            entry.job.gaveUp();
}

// Asked of the bus when the turn comes, so that a caller that left a moment before still counts.
bool MouseQueue::callerLeft(const Job &job) const
{
    if (job.caller.isEmpty())
        return false;
    QDBusMessage ask = QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                      "org.freedesktop.DBus", "NameHasOwner");
    ask << job.caller;
    // The bus daemon answers at once; a stalled one must not freeze the window for long.
    const QDBusReply<bool> registered = QDBusConnection::sessionBus().call(ask, QDBus::Block, kCallerCheckMs);
    return registered.isValid() && !registered.value();
}

void MouseQueue::letWindowAct(bool mayAct)
{
    const bool held = holdsWindow();
    windowMayAct = mayAct;
    if (holdsWindow() != held)
        emit windowHeldChanged(holdsWindow());
}

void MouseQueue::setRunning(bool running)
{
    const bool held = holdsWindow();
    current = running;
    windowMayAct = false;
    if (holdsWindow() != held)
        emit windowHeldChanged(holdsWindow());
}
