#include "platform/PointerSettingsQueue.h"

#include "platform/PointerSettings.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QMetaObject>
#include <QMutexLocker>

PointerSettingsQueue::PointerSettingsQueue(PointerSettings &settings)
    : settings(settings), worker(new QObject)
{
    thread.setObjectName("PointerSettings");
    worker->moveToThread(&thread);
    QObject::connect(&thread, &QThread::finished, worker, &QObject::deleteLater);
    thread.start();
}

PointerSettingsQueue::~PointerSettingsQueue()
{
    // quit() would drop the calls still queued: let them run first.
    waitUntilIdle(-1);
    thread.quit();
    thread.wait();
}

void PointerSettingsQueue::post(Call call, const char *failureText)
{
    {
        QMutexLocker lock(&mutex);
        ++pending;
    }
    // Events posted to one receiver are delivered in the order they were posted.
    QMetaObject::invokeMethod(
        worker,
        [this, call = std::move(call), failureText] {
            if (!call(settings))
                qDebug() << failureText;
            finished();
        },
        Qt::QueuedConnection);
}

void PointerSettingsQueue::finished()
{
    QMutexLocker lock(&mutex);
    if (--pending == 0)
        idle.wakeAll();
}

bool PointerSettingsQueue::waitUntilIdle(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs < 0 ? QDeadlineTimer::Forever : QDeadlineTimer(timeoutMs));
    QMutexLocker lock(&mutex);
    while (pending > 0) {
        if (!idle.wait(&mutex, deadline))
            return false;
    }
    return true;
}
