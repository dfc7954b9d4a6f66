#pragma once
// Runs the calls of a PointerSettings on one worker thread of its own, in the order they were
// posted, so that a blocking desktop settings service never holds up the GUI thread. A call
// that fails writes its failure text to the debug output. The destructor lets every posted
// call finish: the user's last choices still reach the desktop when the window closes.
#include <QMutex>
#include <QThread>
#include <QWaitCondition>
#include <functional>

class PointerSettings;

class PointerSettingsQueue {
public:
    using Call = std::function<bool(PointerSettings &)>;

    explicit PointerSettingsQueue(PointerSettings &settings);
    ~PointerSettingsQueue();
    PointerSettingsQueue(const PointerSettingsQueue &) = delete;
    PointerSettingsQueue &operator=(const PointerSettingsQueue &) = delete;

    // Returns at once; call runs after every call posted before it.
    void post(Call call, const char *failureText);
    // Waits until every posted call has run; false when timeoutMs passed first.
    bool waitUntilIdle(int timeoutMs);

private:
    void finished();

    PointerSettings &settings;
    QThread thread;
    QObject *worker;  // lives in thread; posted calls are queued to it
    QMutex mutex;
    QWaitCondition idle;
    int pending = 0;
};
