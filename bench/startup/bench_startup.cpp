// Start-up, memory, page-switch and command-latency figures on the virtual mouse. Prints
// figures; never fails.
//
//   bench_startup            runs the measurements below and prints medians
//   bench_startup app        (child) the program's start-up, then its page switches
//   bench_startup idle       (child) the program started, sound switched off, then left alone
//   bench_startup_bare [software]  (child, a program of its own) a bare QQuickWidget with one
//                            rectangle, as Qt starts it or on the software renderer
//
// A child reports on its standard output, one line each:
//   FRAME                    its first frame (the parent times it from the child's start)
//   SCENE none               the program's scene did not load: no frame of it to time
//   STEP <name> <ms>         the program's start-up steps, timed inside the child
//   RENDERER <name>          the scene graph's renderer: "software" or "opengl"
//   RSS <kB>                 resident memory once started (the program: with its sound players)
//   RSS_FRAME <kB>           the program's resident memory at its first frame
//   PAGE <index> <ms>        the first frame after the scene was asked to show that page
//   PAGE <index> none        no such frame, or the page did not become the current one
//   PAGES none               the scene has no item "Main_W3" to switch pages with
//   PANEL <ms>|none          the first frame after the settings panel was asked to open
//   IDLE <percent>           processor time used over the idle period, in % of one core
//   IDLE_FRAMES <n>          frames the scene drew over the idle period
//   IDLE_TIMER <class> <n>   timer events a class of object received over the idle period
//   SOUND none               the program's sound players were not made after its first frame
#include "ChildReport.h"
#include "app/Startup.h"
#include "app/Widget.h"
#include "controller/SoundPlayer.h"
#include "controller/myQQuickView.h"
#include "virtual/VirtualBus.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMap>
#include <QProcess>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr int kRuns = 7;
constexpr int kSetSamples = 50;
constexpr int kPageCount = 4;
constexpr const char *kPagesItem = "Main_W3";

// Goals, printed beside the figures: against a bare QQuickWidget on the renderer the program
// chose, and alone.
constexpr double kStartupRatioGoal = 1.5;
constexpr double kMemoryRatioGoal = 1.6;
constexpr double kPageFrameGoalMs = 50;
constexpr double kIdleCpuGoalPercent = 0.1;
constexpr int kIdleSeconds = 20;
constexpr const char *kPanelProperty = "isGlobalSettingSelect";
constexpr const char *kOpeningOverProperty = "ready";

// Bounds for a child that hangs; generous for a loaded machine.
constexpr int kChildTimeoutMs = 30000;
constexpr int kWaitLimitMs = 10000;
// The scene counts as still once no frame has come for this long; a scene that never rests
// is measured after kStillLimitMs.
constexpr int kQuietMs = 250;
constexpr int kStillLimitMs = 3000;

// Runs the event loop until `done` holds after a frame, or for at most limitMs. True if it held.
template <typename Done>
bool waitForFrame(QQuickWidget *view, int limitMs, Done done)
{
    QEventLoop loop;
    bool held = false;
    const auto connection = QObject::connect(view->quickWindow(), &QQuickWindow::afterRendering, &loop, [&] {
        if (!held && done()) {
            held = true;
            loop.quit();
        }
    }, Qt::DirectConnection);
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(connection);
    return held;
}

// Lets running animations end: returns once no frame has come for kQuietMs (or after the limit).
void waitUntilStill(QQuickWidget *view)
{
    QEventLoop loop;
    QTimer quiet;
    quiet.setSingleShot(true);
    quiet.setInterval(kQuietMs);
    QObject::connect(&quiet, &QTimer::timeout, &loop, &QEventLoop::quit);
    const auto connection = QObject::connect(view->quickWindow(), &QQuickWindow::afterRendering, &quiet,
                                             [&quiet] { quiet.start(); }, Qt::DirectConnection);
    quiet.start();
    QTimer::singleShot(kStillLimitMs, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(connection);
}

bool showPage(QObject *pages, int index)
{
    return QMetaObject::invokeMethod(pages, "showPage", Q_ARG(QVariant, QVariant(index)));
}

// Milliseconds from asking for the page to the first frame rendered after it, or -1.
double pageFrameMs(QQuickWidget *view, QObject *pages, int index)
{
    if (pages->property("currentPage").toInt() == index) {
        showPage(pages, -1);  // closed, so that showing the page changes the scene
        waitUntilStill(view);
    }
    QElapsedTimer clock;
    double ms = -1;
    clock.start();
    if (!showPage(pages, index))
        return -1;
    if (waitForFrame(view, kWaitLimitMs, [&] { ms = clock.nsecsElapsed() / 1e6; return true; })
        && pages->property("currentPage").toInt() == index)
        return ms;
    return -1;
}

void reportPageFrames(QQuickWidget *view)
{
    QObject *pages = view->rootObject() ? view->rootObject()->findChild<QObject *>(kPagesItem) : nullptr;
    if (!pages) {
        report("PAGES none");
        return;
    }
    for (int index = 0; index < kPageCount; ++index) {
        waitUntilStill(view);
        const double ms = pageFrameMs(view, pages, index);
        report(QByteArray("PAGE ") + QByteArray::number(index) + ' '
               + (ms < 0 ? QByteArray("none") : QByteArray::number(ms, 'f', 2)));
    }
}

// Milliseconds from asking for the settings panel to the first frame after it, or -1.
double panelFrameMs(QQuickWidget *view)
{
    QQuickItem *root = view->rootObject();
    if (!root || !root->setProperty(kPanelProperty, true))
        return -1;
    root->setProperty(kPanelProperty, false);
    waitUntilStill(view);
    QElapsedTimer clock;
    double ms = -1;
    clock.start();
    root->setProperty(kPanelProperty, true);
    const bool drawn = waitForFrame(view, kWaitLimitMs, [&] { ms = clock.nsecsElapsed() / 1e6; return true; });
    root->setProperty(kPanelProperty, false);
    return drawn ? ms : -1;
}

void reportPanelFrame(QQuickWidget *view)
{
    waitUntilStill(view);
    const double ms = panelFrameMs(view);
    report("PANEL " + (ms < 0 ? QByteArray("none") : QByteArray::number(ms, 'f', 2)));
}

// Processor time of the whole process (every thread), in seconds.
double processorSeconds()
{
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return -1;
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Counts the timer events each class of object receives: what wakes an idle program.
class TimerCounter : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Timer)
            ++counts[watched->metaObject()->className()];
        return false;
    }
    QMap<QByteArray, int> counts;
};

// With the scene still and the sound off, what the program spends while nothing happens.
void reportIdle(myQQuickView *view)
{
    view->setEnableAudio(false);
    view->clearAllMedia();
    // The opening sequence has pauses between its animations: rest begins once it is over.
    if (!view->rootObject()->property(kOpeningOverProperty).toBool())
        waitForFrame(view, kWaitLimitMs, [view] { return view->rootObject()->property(kOpeningOverProperty).toBool(); });
    waitUntilStill(view);
    int frames = 0;
    const auto counting = QObject::connect(view->quickWindow(), &QQuickWindow::afterRendering, view,
                                           [&frames] { ++frames; }, Qt::DirectConnection);
    TimerCounter timers;
    qApp->installEventFilter(&timers);
    QElapsedTimer wall;
    const double before = processorSeconds();
    wall.start();
    QEventLoop loop;
    QTimer::singleShot(kIdleSeconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double used = processorSeconds() - before;
    const double elapsed = wall.nsecsElapsed() / 1e9;
    qApp->removeEventFilter(&timers);
    QObject::disconnect(counting);
    report("IDLE " + QByteArray::number(before < 0 ? -1.0 : 100.0 * used / elapsed, 'f', 3));
    report("IDLE_FRAMES " + QByteArray::number(frames));
    for (auto it = timers.counts.cbegin(); it != timers.counts.cend(); ++it)
        report("IDLE_TIMER " + it.key() + ' ' + QByteArray::number(it.value()));
}

// Times the steps of the program's start-up, each from the end of the one before.
class StepClock {
public:
    StepClock() { clock.start(); }
    void step(const char *name)
    {
        const qint64 now = clock.nsecsElapsed();
        report(QByteArray("STEP ") + name + ' ' + QByteArray::number((now - last) / 1e6, 'f', 2));
        last = now;
    }

private:
    QElapsedTimer clock;
    qint64 last = 0;
};

void reportAfterStart(myQQuickView *view)
{
    reportRenderer(view->quickWindow());
    if (!view->sounds().hasPlayers()) {
        QEventLoop loop;
        QObject::connect(&view->sounds(), &SoundPlayer::playersReady, &loop, &QEventLoop::quit);
        QTimer::singleShot(kWaitLimitMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (!view->sounds().hasPlayers())
        report("SOUND none");
    report("RSS " + QByteArray::number(qlonglong(residentKilobytes())));
    reportPageFrames(view);
    reportPanelFrame(view);
}

// Follows the program's own start-up from outside: the shell's title is set once the scene
// has loaded, the shell is shown after the first detection, and the scene becomes visible
// with "run". Once the first frame of the scene is drawn it reports the rest and quits.
class StartupProbe : public QObject {
public:
    using AfterStart = std::function<void(myQQuickView *)>;
    StartupProbe(StepClock &steps, AfterStart afterStart) : steps(steps), afterStart(std::move(afterStart)) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<Widget *>(watched);
        if (!widget || shell)
            return false;
        if (event->type() == QEvent::WindowTitleChange && !titled) {
            titled = true;
            steps.step("shell");
        } else if (event->type() == QEvent::Show) {
            shell = widget;
            steps.step("detection");
            watchFirstFrame(shell->view());
        }
        return false;
    }

private:
    void watchFirstFrame(myQQuickView *view)
    {
        if (view->status() != QQuickWidget::Ready) {
            report("SCENE none");
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
            return;
        }
        // The scene's root item stays invisible until "run": the first frame that shows it counts.
        frames = connect(view->quickWindow(), &QQuickWindow::afterRendering, this, [this, view] {
            if (!view->rootObject()->isVisible())
                return;
            disconnect(frames);
            report("FRAME");
            steps.step("frame");
            report("RSS_FRAME " + QByteArray::number(qlonglong(residentKilobytes())));
            QMetaObject::invokeMethod(this, [this, view] {
                afterStart(view);
                QCoreApplication::quit();
            }, Qt::QueuedConnection);
        }, Qt::DirectConnection);
    }

    StepClock &steps;
    AfterStart afterStart;
    bool titled = false;
    Widget *shell = nullptr;
    QMetaObject::Connection frames;
};

// The program's start-up as the program runs it, on the virtual mouse.
[[noreturn]] void runAppChild(int argc, char **argv, StartupProbe::AfterStart afterStart)
{
    StepClock steps;
    std::unique_ptr<StartupProbe> probe;
    runW3Config(argc, argv, [&] {
        vhid::Bus::instance().reset();
        vhid::Bus::instance().plug(vhid::Model::Mouse);
        steps.step("application");
        probe = std::make_unique<StartupProbe>(steps, afterStart);
        qApp->installEventFilter(probe.get());
    });
}

// The median of the values that were measured (-1 marks a figure a run could not give).
double median(std::vector<double> values)
{
    values.erase(std::remove_if(values.begin(), values.end(), [](double value) { return value < 0; }), values.end());
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

struct ChildRun {
    double frameMs = -1;
    double residentMb = -1;
    double residentAtFrameMb = -1;
    QByteArray renderer;
    bool sceneLoaded = true;
    bool pagesAvailable = false;
    bool soundPlayersMade = true;
    QMap<int, double> pageMs;  // -1: no frame, or the page did not show
    double panelMs = -1;
    double idlePercent = -1;
    int idleFrames = -1;
    QMap<QByteArray, int> idleTimers;
    QMap<QByteArray, double> stepMs;
};

void readLine(const QByteArray &line, ChildRun &run)
{
    const QList<QByteArray> words = line.trimmed().split(' ');
    const QByteArray &key = words.value(0);
    if (key == "RSS") {
        run.residentMb = words.value(1).toLong() / 1024.0;
    } else if (key == "RSS_FRAME") {
        run.residentAtFrameMb = words.value(1).toLong() / 1024.0;
    } else if (key == "PAGE") {
        run.pagesAvailable = true;
        run.pageMs[words.value(1).toInt()] = words.value(2) == "none" ? -1 : words.value(2).toDouble();
    } else if (key == "RENDERER") {
        run.renderer = words.value(1);
    } else if (key == "STEP") {
        run.stepMs[words.value(1)] = words.value(2).toDouble();
    } else if (key == "SCENE") {
        run.sceneLoaded = false;
    } else if (key == "SOUND") {
        run.soundPlayersMade = false;
    } else if (key == "PANEL") {
        run.panelMs = words.value(1) == "none" ? -1 : words.value(1).toDouble();
    } else if (key == "IDLE") {
        run.idlePercent = words.value(1).toDouble();
    } else if (key == "IDLE_FRAMES") {
        run.idleFrames = words.value(1).toInt();
    } else if (key == "IDLE_TIMER") {
        run.idleTimers[words.value(1)] = words.value(2).toInt();
    }
}

// Starts a child (this program, or another one of this folder) and reads its report; the
// first frame is timed from the child's start.
ChildRun runChild(const QString &program, const QStringList &arguments, int timeoutMs = kChildTimeoutMs)
{
    ChildRun run;
    QProcess child;
    child.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    child.start(program, arguments);
    while (clock.elapsed() < timeoutMs && (child.canReadLine() || child.waitForReadyRead(timeoutMs))) {
        while (child.canReadLine()) {
            const QByteArray line = child.readLine();
            if (line.trimmed() == "FRAME" && run.frameMs < 0)
                run.frameMs = clock.nsecsElapsed() / 1e6;
            else
                readLine(line, run);
        }
    }
    if (!child.waitForFinished(timeoutMs)) {
        child.kill();
        child.waitForFinished();
    }
    return run;
}

double setCommandMicroseconds()
{
    vhid::Bus::instance().reset();
    vhid::Bus::instance().plug(vhid::Model::Mouse);
    Widget shell;
    shell.checkDevice();
    std::vector<double> samples;
    for (int i = 0; i < kSetSamples; ++i) {
        shell.device().waitUntilIdle(3000);
        QElapsedTimer clock;
        clock.start();
        shell.device().hid_0BH_SetCurrentDPIStage(uchar(1 + i % 8));
        samples.push_back(clock.nsecsElapsed() / 1e3);
    }
    shell.device().waitUntilIdle(3000);
    return median(samples);
}

double ratio(double value, double base)
{
    return value > 0 && base > 0 ? value / base : 0.0;
}

void printPageFigures(const std::vector<ChildRun> &appRuns)
{
    const bool available = std::any_of(appRuns.begin(), appRuns.end(), [](const ChildRun &run) { return run.pagesAvailable; });
    if (!available) {
        std::printf("page switch: figures not available (the scene has no \"%s\" with showPage yet)\n", kPagesItem);
        return;
    }
    std::printf("page switch, first frame after showPage (median of the runs that drew it; goal: under %.0f ms):\n",
                kPageFrameGoalMs);
    for (int index = 0; index < kPageCount; ++index) {
        std::vector<double> drawn;
        for (const ChildRun &run : appRuns) {
            if (run.pageMs.value(index, -1) >= 0)
                drawn.push_back(run.pageMs.value(index));
        }
        if (drawn.empty())
            std::printf("  page %d: no frame, or the page did not become current\n", index);
        else
            std::printf("  page %d: %6.1f ms (%zu of %zu runs)\n", index, median(drawn), drawn.size(), appRuns.size());
    }
    std::vector<double> panel;
    for (const ChildRun &run : appRuns)
        panel.push_back(run.panelMs);
    std::printf("  settings panel: %6.1f ms\n", median(panel));
}

void printIdleFigures(const ChildRun &idle)
{
    if (idle.idlePercent < 0) {
        std::printf("at rest: no figure (the program did not start or could not measure)\n");
        return;
    }
    std::printf("at rest, window open, sound off, over %d s: %.3f %% of a core (goal: under %.1f %%); %d frames drawn\n",
                kIdleSeconds, idle.idlePercent, kIdleCpuGoalPercent, idle.idleFrames);
    for (auto it = idle.idleTimers.cbegin(); it != idle.idleTimers.cend(); ++it)
        std::printf("  timer events at %s: %d\n", it.key().constData(), it.value());
}

void printStartupSteps(const std::vector<ChildRun> &appRuns)
{
    const std::pair<const char *, const char *> steps[] = {
        {"application", "application, data folder, renderer, device"},
        {"shell", "shell, view and scene loaded"},
        {"detection", "capture, first detection, window shown"},
        {"frame", "initUI, run and the first frame"},
    };
    std::vector<double> beforeMain;
    for (const ChildRun &run : appRuns) {
        double inside = 0;
        for (const double ms : run.stepMs)
            inside += ms;
        beforeMain.push_back(run.frameMs < 0 ? -1 : run.frameMs - inside);
    }
    std::printf("  where the program's start-up goes (medians):\n");
    std::printf("    %-44s %7.1f ms\n", "process start and libraries", median(beforeMain));
    for (const auto &step : steps) {
        std::vector<double> values;
        for (const ChildRun &run : appRuns)
            values.push_back(run.stepMs.value(step.first, -1));
        std::printf("    %-44s %7.1f ms\n", step.second, median(values));
    }
}

struct Medians {
    double frameMs = -1;
    double residentMb = -1;
    double residentAtFrameMb = -1;
    QByteArray renderer;  // of the first run that named one
};

Medians mediansOf(const std::vector<ChildRun> &runs)
{
    std::vector<double> frames, memory, memoryAtFrame;
    Medians result;
    for (const ChildRun &run : runs) {
        frames.push_back(run.frameMs);
        memory.push_back(run.residentMb);
        memoryAtFrame.push_back(run.residentAtFrameMb);
        if (result.renderer.isEmpty())
            result.renderer = run.renderer;
    }
    result.frameMs = median(frames);
    result.residentMb = median(memory);
    result.residentAtFrameMb = median(memoryAtFrame);
    return result;
}

long countUndrawn(const std::vector<ChildRun> &runs)
{
    return long(std::count_if(runs.begin(), runs.end(), [](const ChildRun &run) { return run.frameMs < 0; }));
}

void printGoalLine(const char *what, double program, double bare, const char *unit, double goal)
{
    std::printf("  %-16s %7.1f %s | %7.1f %s   ratio %.2f (goal: at most %.2f)\n", what, program, unit, bare, unit,
                ratio(program, bare), goal);
}

// The goal lines compare the program with a bare QQuickWidget on the renderer the program
// chose; the bare widget as Qt starts it by default follows for reference.
void printStartupFigures(const std::vector<ChildRun> &appRuns, const std::vector<ChildRun> &bareRuns,
                         const std::vector<ChildRun> &bareSoftwareRuns)
{
    const Medians program = mediansOf(appRuns), bare = mediansOf(bareRuns), bareSoftware = mediansOf(bareSoftwareRuns);
    const Medians &sameRenderer = bareSoftwareRuns.empty() ? bare : bareSoftware;
    std::printf("program | bare QQuickWidget on the program's renderer [%s | %s] (medians of %d):\n",
                program.renderer.constData(), sameRenderer.renderer.constData(), kRuns);
    printGoalLine("first frame", program.frameMs, sameRenderer.frameMs, "ms", kStartupRatioGoal);
    printGoalLine("resident memory", program.residentMb, sameRenderer.residentMb, "MB", kMemoryRatioGoal);
    if (!bareSoftwareRuns.empty()) {
        std::printf("bare QQuickWidget as Qt starts it by default [%s]: first frame %.1f ms (ratio %.2f), %.1f MB (ratio %.2f)\n",
                    bare.renderer.constData(), bare.frameMs, ratio(program.frameMs, bare.frameMs), bare.residentMb,
                    ratio(program.residentMb, bare.residentMb));
    }
    printStartupSteps(appRuns);
    std::printf("  the program at its first frame, before its sound players: %.1f MB\n", program.residentAtFrameMb);
    const long failed = countUndrawn(appRuns) + countUndrawn(bareRuns) + countUndrawn(bareSoftwareRuns);
    if (failed > 0)
        std::printf("  (%ld runs drew no frame and are left out)\n", failed);
    if (std::any_of(appRuns.begin(), appRuns.end(), [](const ChildRun &run) { return !run.sceneLoaded; }))
        std::printf("  (the program's scene did not load: `bench_startup app` shows why)\n");
    const auto silent = std::count_if(appRuns.begin(), appRuns.end(), [](const ChildRun &run) { return !run.soundPlayersMade; });
    if (silent > 0)
        std::printf("  (in %ld runs the sound players were not made after the first frame)\n", long(silent));
}

}  // namespace

int main(int argc, char *argv[])
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "app")
        runAppChild(argc, argv, reportAfterStart);
    if (mode == "idle")
        runAppChild(argc, argv, reportIdle);

    QApplication app(argc, argv);
    const QString program = QCoreApplication::applicationFilePath();
    QDir::setCurrent(program.left(program.lastIndexOf('/')));

    const QString bare = QCoreApplication::applicationDirPath() + "/bench_startup_bare";
    std::vector<ChildRun> appRuns, bareRuns, bareSoftwareRuns;
    for (int i = 0; i < kRuns; ++i) {
        bareRuns.push_back(runChild(bare, {}));
        appRuns.push_back(runChild(program, {"app"}));
        if (appRuns.back().renderer == "software" && bareRuns.back().renderer != "software")
            bareSoftwareRuns.push_back(runChild(bare, {"software"}));
    }
    printStartupFigures(appRuns, bareRuns, bareSoftwareRuns);
    printPageFigures(appRuns);
    printIdleFigures(runChild(program, {"idle"}, kChildTimeoutMs + kIdleSeconds * 1000));
    std::printf("Set command on the GUI thread, token free (median of %d): %.1f us (goal: under 1000 us)\n",
                kSetSamples, setCommandMicroseconds());
    return 0;
}
