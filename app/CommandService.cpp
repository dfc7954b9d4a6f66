#include "app/CommandService.h"

#include "actions/PageActions.h"
#include "app/MouseQueue.h"
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
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTextStream>
#include <QThread>
#include <algorithm>

namespace {

// The slice of events handled between two looks at the last write.
constexpr int kFinishPollMs = 5;

// The program's own mouse, lent to a command: it is detected and kept by the program, and the
// command's turn was taken before it ran.
class ServiceDevice : public CommandDevice {
public:
    ServiceDevice(Hid_Thread &hid, const PageActions &window, MouseQueue &queue, QDeadlineTimer turnEnds)
        : hid(hid)
        , window(window)
        , queue(queue)
        , turnEnds(turnEnds)
    {
    }

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

    // The window's changes would be mixed with the command's: the command waits, within its
    // --wait, until the user applied or discarded them, and the window answers meanwhile.
    void mayChange() override
    {
        changing = true;
        if (!window.pending())
            return;
        queue.letWindowAct(true);
        while (window.pending() && !turnEnds.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, kFinishPollMs);
            QThread::msleep(1);
        }
        queue.letWindowAct(false);
        if (window.pending())
            throw CliFailure(ExitCode::DeviceError, windowHoldsChanges());
    }

    bool cameToChange() const { return changing; }

    static QString windowHoldsChanges()
    {
        return QCoreApplication::translate("w3ctl",
            "the W3 Config window holds changes that have not reached "
            "the mouse; apply or discard them first");
    }

private:
    Hid_Thread &hid;
    const PageActions &window;
    MouseQueue &queue;
    QDeadlineTimer turnEnds;
    bool changing = false;
};

// The window's controllers and page actions, on the program's mouse.
class ServiceBench : public CommandBench {
public:
    ServiceBench(Widget &shell, MouseQueue &queue, QDeadlineTimer turnEnds)
        : view(*shell.view())
        , mouse(shell.device(), view.actions(), queue, turnEnds)
    {
    }

    Controllers &controllers() override { return view.controllerSet(); }
    PageActions &actions() override { return view.actions(); }
    CommandDevice &device() override { return mouse; }
    void takeTurn(int) override {}
    // The command came to change the mouse (a read never does).
    bool changed() const { return mouse.cameToChange(); }

private:
    myQQuickView &view;
    ServiceDevice mouse;
};

QString readWhileWindowHoldsChanges()
{
    return QCoreApplication::translate("w3ctl",
        "note: this is what the mouse holds; the W3 Config window holds "
        "changes that have not reached it yet");
}

int waitOf(const QStringList &arguments)
{
    try {
        return CommandLine::parse(arguments).waitMs;
    } catch (const CliFailure &) {
        return 0;  // the usage error is told at once
    }
}

}  // namespace

CommandService::CommandService(Widget &shell, MouseQueue &queue)
    : shell(shell)
    , queue(queue)
{
}

void CommandService::take(const QDBusMessage &call, const QStringList &arguments, const QDir &userFolder)
{
    const Request request {call, arguments, userFolder, waitOf(arguments)};
    QElapsedTimer waiting;
    waiting.start();
    MouseQueue::Job job;
    job.caller = call.service();
    job.waitMs = request.waitMs;
    job.run = [this, request, waiting] { run(request, int(std::max<qint64>(0, request.waitMs - waiting.elapsed()))); };
    job.gaveUp = [request] {
        QString err;
        QTextStream errStream(&err);
        Output(errStream, errStream, false).error(CommandDevice::busyMessage(request.waitMs));
        QDBusConnection::sessionBus().send(request.call.createReply({int(ExitCode::DeviceError), QString(), err}));
    };
    queue.push(std::move(job));
}

void CommandService::run(const Request &request, int waitLeftMs)
{
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    PageActions &window = shell.view()->actions();
    const bool windowHeldChanges = window.pending();
    ServiceBench bench(shell, queue, QDeadlineTimer(waitLeftMs));
    const int exitCode = runW3ctlOn(bench, request.arguments, outStream, errStream, request.userFolder);
    if (exitCode == int(ExitCode::Success) && windowHeldChanges && !bench.changed())
        Output(outStream, errStream, false).error(readWhileWindowHoldsChanges());
    outStream.flush();
    errStream.flush();
    showTheMouseAgain();
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
    shell.view()->actions().readAgainKeepingChanges();
}
