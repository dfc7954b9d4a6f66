// How long each system pointer setter keeps the GUI thread, per back end, on a private session
// bus (a real dconf store; a fake KWin answering on a thread of its own) and on the X display
// when there is one. 50 calls per setter; prints the median and the maximum; never fails.
//   held:    the setter's call on the GUI thread (profile write and handing the system call
//            to the worker). Goal: median below 1 ms, maximum never above 16 ms (one frame).
//   applied: from the call until the worker has finished the system call (information).
#include "controller/ProfileStore.h"
#include "controller/SystemMouseSettings.h"
#include "platform/GnomePointerSettings.h"
#include "platform/PlasmaPointerSettings.h"
#include "platform/X11PointerSettings.h"
#include "tests/support/ModulesSandbox.h"
#include "FakeKWin.h"
#include "PrivateSessionBus.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int kCalls = 50;
constexpr double kMedianGoalMs = 1.0;
constexpr double kFrameMs = 16.0;

std::atomic<int> failures{0};

// Failure texts are counted, not printed: 50 of them per setter would bury the figures.
void countFailures(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtDebugMsg && text.endsWith("Failed"))
        ++failures;
    else if (type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

double median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

void waitUntilApplied(SystemMouseSettings &settings)
{
    while (!settings.waitUntilApplied(0))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    QCoreApplication::processEvents();
}

void measure(const char *setter, SystemMouseSettings &settings,
             const std::function<void(int)> &call)
{
    std::vector<double> held, applied;
    QElapsedTimer timer;
    const int failuresBefore = failures;
    for (int i = 0; i < kCalls; ++i) {
        timer.start();
        call(i);
        held.push_back(timer.nsecsElapsed() / 1e6);
        waitUntilApplied(settings);
        applied.push_back(timer.nsecsElapsed() / 1e6);
    }
    const double heldMedian = median(held);
    const double heldMax = *std::max_element(held.begin(), held.end());
    std::printf("  %-24s held median %7.3f ms  max %7.3f ms  %-4s | applied median %8.3f ms%s\n",
                setter, heldMedian, heldMax,
                heldMedian < kMedianGoalMs && heldMax <= kFrameMs ? "ok" : "SLOW", median(applied),
                failures > failuresBefore ? "  (system calls failed)" : "");
}

void benchBackend(const char *name, PointerSettings &pointer)
{
    std::printf("%s\n", name);
    ModulesSandbox sandbox;
    ProfileStore profiles;
    SystemMouseSettings settings(profiles, pointer);
    measure("setCursorSpeed", settings, [&](int i) { settings.setCursorSpeed(i % 11); });
    measure("setAcceleration", settings, [&](int i) { settings.setAcceleration(i % 2 == 0); });
    measure("setVerticalScrollLines", settings,
            [&](int i) { settings.setVerticalScrollLines(i % 11); });
    measure("setDoubleClickSpeed", settings, [&](int i) { settings.setDoubleClickSpeed(i % 11); });
    measure("getAcceleration", settings, [&](int) { settings.getAcceleration(); });
}

// The fake KWin lives on a thread of its own, as KWin is a process of its own.
class KWinThread {
public:
    KWinThread()
    {
        anchor.moveToThread(&thread);
        thread.start();
        QMetaObject::invokeMethod(
            &anchor, [this] { kwin = std::make_unique<FakeKWin>(FakeKWin::Devices::Offered); },
            Qt::BlockingQueuedConnection);
    }
    ~KWinThread()
    {
        QMetaObject::invokeMethod(&anchor, [this] { kwin.reset(); }, Qt::BlockingQueuedConnection);
        thread.quit();
        thread.wait();
    }

private:
    QThread thread;
    QObject anchor;
    std::unique_ptr<FakeKWin> kwin;
};

}  // namespace

int main(int argc, char **argv)
{
    if (!privatebus::inside())
        return privatebus::runInside(argc, argv);
    QApplication app(argc, argv);
    qInstallMessageHandler(countFailures);

    if (std::unique_ptr<GnomePointerSettings> gnome = GnomePointerSettings::open())
        benchBackend("GSettings (dconf on a private session bus)", *gnome);
    else
        std::printf("GSettings: the mouse schema is not installed\n");

    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    {
        KWinThread kwin;
        QDBusConnection bus = QDBusConnection::sessionBus();
        PlasmaPointerSettings plasma(bus, std::make_unique<KWinPointerDevices>(bus));
        benchBackend("KDE Plasma (kcminputrc, kdeglobals, a fake KWin with three devices)", plasma);
    }
    PlasmaPointerSettings plasmaFiles(QDBusConnection::sessionBus(), nullptr);
    benchBackend("KDE Plasma without KWin (kcminputrc, kdeglobals)", plasmaFiles);

    X11PointerSettings x11;
    benchBackend(qEnvironmentVariableIsSet("DISPLAY") ? "X server pointer control"
                                                      : "X server pointer control (no display)",
                 x11);
    return 0;
}
