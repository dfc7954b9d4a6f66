// The program in the background on the virtual mouse: resident memory and processor time at
// rest with no window, and how long a profile switch from the tray takes to reach the mouse
// beside `w3ctl profile N` run in the same process. Prints figures; never fails.
//
//   bench_background [rest seconds, 60 by default]
#include "app/ChangeNotices.h"
#include "app/SessionService.h"
#include "app/Startup.h"
#include "app/TrayIcon.h"
#include "app/TrayLink.h"
#include "app/Widget.h"
#include "bench/startup/ChildReport.h"
#include "cli/W3ctl.h"
#include "device/DeviceState.h"
#include "platform/DesktopNotifications.h"
#include "tests/support/ModulesSandbox.h"
#include "virtual/VirtualBus.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTextStream>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int kIdleTimeoutMs = 30000;
constexpr int kDefaultRestSeconds = 60;
constexpr long kMemoryGoalKb = 45 * 1024;

double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void waitServing(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// From `start` to the last report the mouse saw, in ms, and how many command blocks it took.
std::pair<qint64, int> wireSince(std::chrono::steady_clock::time_point start)
{
    qint64 last = 0;
    int blocks = 0;
    for (const vhid::Record &record : vhid::Bus::instance().records()) {
        last = std::max<qint64>(last, std::chrono::duration_cast<std::chrono::milliseconds>(record.at - start).count());
        if (record.op == vhid::Op::SendFeature && !record.plainBlock.empty() && record.plainBlock[0] != 0x00
            && record.plainBlock[0] < 0x80)
            ++blocks;
    }
    return {last, blocks};
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // A private copy of the run folder's data files: the switches below write profiles.
    ModulesSandbox modules;
    const int restSeconds = argc > 1 ? std::max(1, atoi(argv[1])) : kDefaultRestSeconds;
    vhid::Bus::instance().reset();
    vhid::Bus::instance().plug(vhid::Model::Mouse);

    Widget shell(Widget::Start::InBackground);
    SessionService service(shell);
    startShell(shell);
    if (!deviceReady) {
        std::printf("no mouse: nothing measured\n");
        return 0;
    }
    DesktopNotifications notices;
    ChangeNotices changeNotices(shell, notices);
    TrayIcon tray;
    TrayLink link(tray, shell, service);
    shell.device().waitUntilIdle(kIdleTimeoutMs);
    waitServing(2000);

    const long rss = residentKilobytes();
    std::printf("background, no window: resident memory %.1f MB (goal <= %.0f MB: %s)\n", rss / 1024.0,
                kMemoryGoalKb / 1024.0, rss <= kMemoryGoalKb ? "met" : "missed");
    const double before = processorSeconds();
    QElapsedTimer rest;
    rest.start();
    waitServing(restSeconds * 1000);
    const double share = 100.0 * (processorSeconds() - before) / (rest.elapsed() / 1000.0);
    std::printf("at rest over %d s: %.3f %% of a core (goal < 0.05 %%: %s)\n", restSeconds, share,
                share < 0.05 ? "met" : "missed");

    vhid::Bus::instance().clearRecords();
    auto start = std::chrono::steady_clock::now();
    emit tray.profileChosen(3);
    shell.device().waitUntilIdle(kIdleTimeoutMs);
    const auto [trayMs, trayBlocks] = wireSince(start);
    std::printf("profile switch from the tray: %lld ms until the mouse had the last of %d commands\n",
                static_cast<long long>(trayMs), trayBlocks);

    vhid::Bus::instance().clearRecords();
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    start = std::chrono::steady_clock::now();
    const int code = runW3ctl({"profile", "4"}, outStream, errStream);
    const auto [cliMs, cliBlocks] = wireSince(start);
    std::printf("w3ctl profile 4 (exit %d), in this process: %lld ms until the mouse had the last of %d commands\n",
                code, static_cast<long long>(cliMs), cliBlocks);
    return 0;
}
