#pragma once
// The one line of work at the mouse for every front end but the window's own controls: the
// bus methods, w3ctl's commands, the tray, the profile that follows the application in front
// and OpenRGB's clients. A job runs to its end before the next one starts: a transfer waiting
// for the mouse serves events, and a call arriving then only queues, so the mouse ends with
// what the last finished job reported. A job waits while the window's own transfer runs or a
// w3ctl working alone holds the device lock, and holds that lock while it runs. A job that has
// not started when its wait ends, or whose caller left the bus, is dropped and never runs.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <deque>
#include <functional>

class Hid_Thread;

class MouseQueue : public QObject {
    Q_OBJECT
public:
    // A job that waits for its turn as long as it takes.
    static constexpr int kNoLimit = -1;

    struct Job {
        // The caller's unique name on the session bus: the job is dropped when it leaves.
        // Empty for a caller in this program.
        QString caller;
        int waitMs = kNoLimit;
        std::function<void()> run;
        // Told when the turn did not come within waitMs; the job is gone then.
        std::function<void()> gaveUp;
    };

    explicit MouseQueue(Hid_Thread &device, QObject *parent = nullptr);
    ~MouseQueue() override;

    void push(Job job);
    // A job is running now.
    bool running() const { return current; }
    // No job runs or waits.
    bool idle() const { return !current && waiting.empty(); }
    // The window's input is held while a job runs, so that its controls cannot cut into the
    // job's sequence; a job that waits for the user (to apply or discard the window's changes)
    // lets the window act meanwhile.
    bool holdsWindow() const { return current && !windowMayAct; }
    void letWindowAct(bool mayAct);
    // Runs right before each job, in its turn (catching up with what others changed).
    void setBeforeEachJob(std::function<void()> step) { beforeEachJob = std::move(step); }

signals:
    void windowHeldChanged(bool held);

private:
    struct Waiting {
        Job job;
        QElapsedTimer since;
    };
    void serve();
    void runFrontWhenLocked();
    void dropExpired();
    // The caller of the front job left the bus (killed, or gave up): it is not run for nobody.
    bool callerLeft(const Job &job) const;
    void setRunning(bool running);

    Hid_Thread &device;
    std::deque<Waiting> waiting;
    bool current = false;
    bool windowMayAct = false;
    std::function<void()> beforeEachJob;
    QTimer poll;
};
