#include "app/CommandService.h"

#include "actions/KeyActions.h"
#include "actions/LightingActions.h"
#include "actions/PageActions.h"
#include "actions/SensorActions.h"
#include "app/Widget.h"
#include "cli/CommandBench.h"
#include "cli/CommandLine.h"
#include "cli/Output.h"
#include "cli/W3ctl.h"
#include "controller/myQQuickView.h"
#include "device/DeviceState.h"
#include "device/Hid_Thread.h"
#include "platform/DeviceLock.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QTextStream>
#include <QThread>

namespace {

// How often a waiting command looks whether its turn came.
constexpr int kTurnPollMs = 20;
// The slice of events handled between two looks at the last write.
constexpr int kFinishPollMs = 5;

// The program's own mouse, lent to a command: it is detected and kept by the program, and the
// command's turn was taken before it ran.
class ServiceDevice : public CommandDevice {
public:
    explicit ServiceDevice(Hid_Thread &hid) : hid(hid) {}

    void lock(int) override {}

    State open(int) override
    {
        if (deviceReady)
            return demoMode ? State::Demo : State::Ready;
        return hid.deviceEntries().value(int(hid.currentDeviceId())).isPresent() ? State::Refused : State::NotFound;
    }

    QString productName() const override { return hid.deviceEntries().value(int(hid.currentDeviceId())).name; }

    // The window keeps drawing and answering while the last write goes out, as it does while
    // a transfer waits for the token.
    bool finish(int timeoutMs) override
    {
        QElapsedTimer waited;
        waited.start();
        while (!hid.isIdle()) {
            if (waited.elapsed() > timeoutMs)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, kFinishPollMs);
            QThread::msleep(1);
        }
        return true;
    }

private:
    Hid_Thread &hid;
};

// The window's controllers and page actions, on the program's mouse.
class ServiceBench : public CommandBench {
public:
    explicit ServiceBench(Widget &shell)
        : view(*shell.view()), mouse(shell.device())
    {
    }

    Controllers &controllers() override { return view.controllerSet(); }
    PageActions &actions() override { return view.actions(); }
    CommandDevice &device() override { return mouse; }
    void takeTurn(int) override {}

private:
    myQQuickView &view;
    ServiceDevice mouse;
};

int waitOf(const QStringList &arguments)
{
    try {
        return CommandLine::parse(arguments).waitMs;
    } catch (const CliFailure &) {
        return 0;  // the usage error is told at once
    }
}

}  // namespace

CommandService::CommandService(Widget &shell) : shell(shell)
{
    retry.setSingleShot(true);
    connect(&retry, &QTimer::timeout, this, &CommandService::serveNext);
}

void CommandService::take(const QDBusMessage &call, const QStringList &arguments, const QDir &userFolder)
{
    Request request{call, arguments, userFolder, waitOf(arguments), {}};
    request.waiting.start();
    queue.push_back(request);
    retry.start(0);
}

QString CommandService::obstacle(int waitMs) const
{
    if (running || !shell.device().isIdle())
        return CommandDevice::busyMessage(waitMs);
    if (shell.view()->actions().pending())
        return QCoreApplication::translate("w3ctl", "the W3 Config window holds changes that have not reached "
                                                    "the mouse; apply or discard them first");
    return QString();
}

// Called again after every command and while the first one waits; a call made while a
// command runs (its transfers let events through) only queues.
void CommandService::serveNext()
{
    if (running || queue.empty())
        return;
    const Request &first = queue.front();
    QString blocked = obstacle(first.waitMs);
    // The device lock is held for the whole command, as w3ctl alone holds it: a w3ctl that
    // works alone beside the program (an older one, or one the program did not answer) is
    // waited for, and waits in turn.
    DeviceLock *lock = DeviceLock::shared();
    if (blocked.isEmpty() && lock && !lock->tryLock())
        blocked = CommandDevice::busyMessage(first.waitMs);
    if (!blocked.isEmpty() && first.waiting.elapsed() < first.waitMs) {
        retry.start(kTurnPollMs);
        return;
    }
    const Request request = first;
    queue.pop_front();
    if (blocked.isEmpty()) {
        run(request);
        if (lock)
            lock->unlock();
    } else {
        QString err;
        QTextStream errStream(&err);
        Output(errStream, errStream, false).error(blocked);
        QDBusConnection::sessionBus().send(request.call.createReply({int(ExitCode::DeviceError), QString(), err}));
    }
    retry.start(0);
}

void CommandService::run(const Request &request)
{
    running = true;
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    ServiceBench bench(shell);
    const int exitCode = runW3ctlOn(bench, request.arguments, outStream, errStream, request.userFolder);
    outStream.flush();
    errStream.flush();
    showTheMouseAgain();
    running = false;
    QDBusConnection::sessionBus().send(request.call.createReply({exitCode, out, err}));
    emit commandRan();
}

// A command sends through the page actions' own commands, which leave the state the pages
// show as it was: the pages read the profile in use again, so that the window and the bus
// show what the command changed. A page that holds changes the user made meanwhile keeps them.
void CommandService::showTheMouseAgain()
{
    if (!deviceReady)
        return;
    PageActions &actions = shell.view()->actions();
    if (!actions.keys->pending())
        actions.keys->refresh();
    if (!actions.lighting->pending())
        actions.lighting->refresh();
    if (!actions.sensor->pending())
        actions.sensor->refresh();
}
