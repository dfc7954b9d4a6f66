// The program started in the background on the virtual mouse, as a process on a private session
// bus: its window opened over the bus (OpenWindow), left open for a moment, and closed as the
// window system closes it, again and again. Prints the heap in use, the resident memory and the
// threads before the first opening, after the first close and after the last one, and whether
// closing gives back what opening took. Prints figures; never fails.
//
//   bench_window_cycles [cycles, 50 by default]
//
// The heap figures come from a probe preloaded into the program (heap_probe.cpp), so the
// program carries no code for the measure; its thread is left out of the thread count.
#include "tests/platform/PrivateSessionBus.h"
#include "tests/support/CopyTree.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLocalSocket>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>

// Xlib last: its macros clash with Qt's names.
#include "tests/support/ProgramWindow.h"

namespace {

constexpr const char *kProgram = "w3config-virtual";
constexpr const char *kService = "org.w3config.W3Config1";
constexpr const char *kPath = "/org/w3config/W3Config1";
constexpr const char *kProbeThread = "heap-probe";
constexpr int kDefaultCycles = 50;
constexpr int kStartLimitMs = 60000;
constexpr int kPollMs = 50;
// The window stays open this long: the scene's opening runs and its start-up cue plays.
constexpr int kOpenMs = 1500;
// A figure is taken once the thread count has not changed for this long and is back at the
// count before the first opening, or after the limit: idle workers of thread pools end on
// their own after 30 s.
constexpr int kSettledMs = 3000;
constexpr int kSettleLimitMs = 45000;
// The goal: after a close the program is within this much of its size before the first
// opening, and it does not grow by more than the second figure over all the cycles.
constexpr double kFewMb = 3.0;
constexpr double kFlatMb = 1.0;

struct Figures {
    double heapInUseMb = -1;
    double heapHeldMb = -1;
    double residentMb = -1;
    double anonymousMb = -1;
    int threads = -1;
    QMap<QString, int> threadNames;
};

void waitMs(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

bool waitUntil(const std::function<bool()> &condition, int limitMs)
{
    QElapsedTimer waited;
    waited.start();
    while (!condition()) {
        if (waited.elapsed() > limitMs)
            return false;
        waitMs(kPollMs);
    }
    return true;
}

QVariant busProperty(const QString &name)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, "org.freedesktop.DBus.Properties", "Get");
    call << QString(kService) << name;
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().first().value<QDBusVariant>().variant();
}

double statusMb(const QByteArray &status, const QByteArray &key)
{
    for (const QByteArray &line : status.split('\n')) {
        if (line.startsWith(key + ':'))
            return line.mid(key.size() + 1).trimmed().split(' ').value(0).toLong() / 1024.0;
    }
    return -1;
}

QMap<QString, int> threadNames(qint64 pid)
{
    QMap<QString, int> names;
    const QDir tasks(QString("/proc/%1/task").arg(pid));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(task + "/comm"));
        if (comm.open(QIODevice::ReadOnly))
            ++names[QString::fromUtf8(comm.readAll().trimmed())];
    }
    names.remove(kProbeThread);
    return names;
}

int countOf(const QMap<QString, int> &names)
{
    int count = 0;
    for (int n : names)
        count += n;
    return count;
}

bool readHeap(const QString &probe, Figures &figures)
{
    QLocalSocket socket;
    socket.connectToServer(probe);
    if (!socket.waitForConnected(5000))
        return false;
    while (!socket.canReadLine() && socket.waitForReadyRead(5000)) { }
    const QList<QByteArray> fields = socket.readLine().trimmed().split(' ');
    if (fields.size() != 2)
        return false;
    figures.heapInUseMb = fields[0].toDouble() / (1024.0 * 1024.0);
    figures.heapHeldMb = fields[1].toDouble() / (1024.0 * 1024.0);
    return true;
}

Figures measure(qint64 pid, const QString &probe)
{
    Figures figures;
    QFile status(QString("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly)) {
        const QByteArray text = status.readAll();
        figures.residentMb = statusMb(text, "VmRSS");
        figures.anonymousMb = statusMb(text, "RssAnon");
    }
    figures.threadNames = threadNames(pid);
    figures.threads = countOf(figures.threadNames);
    if (!readHeap(probe, figures))
        std::fprintf(stderr, "the heap probe did not answer\n");
    return figures;
}

// Waits until the program's threads stopped coming and going, down to `threadsAtMost` if given,
// then measures.
Figures settledFigures(qint64 pid, const QString &probe, int threadsAtMost = -1)
{
    QElapsedTimer waited, still;
    waited.start();
    still.start();
    int threads = countOf(threadNames(pid));
    const auto settled
        = [&] { return still.elapsed() >= kSettledMs && (threadsAtMost < 0 || threads <= threadsAtMost); };
    while (waited.elapsed() < kSettleLimitMs && !settled()) {
        waitMs(kPollMs * 4);
        const int now = countOf(threadNames(pid));
        if (now != threads) {
            threads = now;
            still.restart();
        }
    }
    return measure(pid, probe);
}

void print(const char *when, const Figures &figures)
{
    std::printf("%-28s heap in use %6.1f MB (held %6.1f MB), resident %6.1f MB (anonymous %6.1f MB), "
                "%d threads\n",
        when, figures.heapInUseMb, figures.heapHeldMb, figures.residentMb, figures.anonymousMb, figures.threads);
    std::fflush(stdout);
}

// The threads the program has more of than before the first opening.
void printExtraThreads(const Figures &before, const Figures &after)
{
    QStringList extra;
    for (auto it = after.threadNames.cbegin(); it != after.threadNames.cend(); ++it) {
        const int more = it.value() - before.threadNames.value(it.key());
        if (more > 0)
            extra << QString("%1 x%2").arg(it.key()).arg(more);
    }
    if (!extra.isEmpty())
        std::printf("  threads beyond the start: %s\n", qPrintable(extra.join(", ")));
}

QString verdict(double excessMb, double allowedMb)
{
    return excessMb <= allowedMb ? QString("met") : QString("missed by %1 MB").arg(excessMb - allowedMb, 0, 'f', 1);
}

void printGoal(const Figures &before, const Figures &first, const Figures &last, int cycles)
{
    const double heapBack = first.heapInUseMb - before.heapInUseMb;
    const double residentBack = first.residentMb - before.residentMb;
    const double heapGrowth = last.heapInUseMb - first.heapInUseMb;
    const double residentGrowth = last.residentMb - first.residentMb;
    std::printf("after the first close: heap %+.1f MB, resident %+.1f MB, threads %+d against before the first "
                "opening (goal within %.0f MB: heap %s, resident %s; threads %s)\n",
        heapBack, residentBack, first.threads - before.threads, kFewMb, qPrintable(verdict(heapBack, kFewMb)),
        qPrintable(verdict(residentBack, kFewMb)), first.threads <= before.threads ? "met" : "missed");
    std::printf("over %d cycles: heap %+.1f MB, resident %+.1f MB, threads %+d after the first close "
                "(goal flat, within %.0f MB: heap %s, resident %s; threads %s)\n",
        cycles, heapGrowth, residentGrowth, last.threads - first.threads, kFlatMb,
        qPrintable(verdict(heapGrowth, kFlatMb)), qPrintable(verdict(residentGrowth, kFlatMb)),
        last.threads <= first.threads ? "met" : "missed");
}

class Program {
public:
    Program(Display *display, const QString &runFolder)
        : display(display)
        , folder(runFolder)
    {
    }

    bool start(const QString &probePath)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("LD_PRELOAD", QCoreApplication::applicationDirPath() + "/libheap_probe.so");
        env.insert("W3_HEAP_PROBE_SOCKET", probePath);
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(folder + '/' + kProgram, {"--background"});
        if (!process.waitForStarted())
            return false;
        const auto running = [this] { return process.state() == QProcess::Running; };
        return waitUntil([&] { return !running() || busProperty("Connected") == QVariant(true); }, kStartLimitMs)
            && running() && QFile::exists(probePath);
    }

    void stop()
    {
        process.terminate();
        if (!process.waitForFinished(10000)) {
            process.kill();
            process.waitForFinished();
        }
    }

    qint64 pid() const { return process.processId(); }

    // One opening and close; false when the window did not show or did not go.
    bool cycle()
    {
        const QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, "OpenWindow");
        if (QDBusConnection::sessionBus().call(call, QDBus::Block, kStartLimitMs).type() != QDBusMessage::ReplyMessage)
            return false;
        Window window = None;
        if (!waitUntil([&] { return (window = shownWindowOf(display, pid())) != None; }, kStartLimitMs))
            return false;
        waitMs(kOpenMs);
        askToClose(display, window);
        return waitUntil([&] { return busProperty("WindowShown") == QVariant(false); }, kStartLimitMs)
            && waitUntil([&] { return shownWindowOf(display, pid()) == None; }, kStartLimitMs);
    }

private:
    Display *display;
    QString folder;
    QProcess process;
};

}  // namespace

int main(int argc, char **argv)
{
    if (!privatebus::inside())
        return privatebus::runInside(argc, argv);
    QCoreApplication app(argc, argv);
    const int cycles = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultCycles;
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::printf("no X display: nothing measured\n");
        return 0;
    }
    QTemporaryDir runDir;
    const QString binDir = QCoreApplication::applicationDirPath();
    if (!runDir.isValid() || !QFile::copy(binDir + '/' + kProgram, runDir.filePath(kProgram))
        || !QFile::setPermissions(runDir.filePath(kProgram), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)
        || !copyTree(binDir + "/modules", runDir.filePath("modules"))) {
        std::printf("cannot prepare a run folder: nothing measured\n");
        return 0;
    }
    const QString probe = runDir.filePath("heap-probe");
    Program program(display, runDir.path());
    if (!program.start(probe)) {
        std::printf("the program did not start in the background with the mouse: nothing measured\n");
        program.stop();
        return 0;
    }

    const Figures before = settledFigures(program.pid(), probe);
    print("before the first opening:", before);
    std::printf("  threads: %s\n", qPrintable(QStringList(before.threadNames.keys()).join(", ")));
    Figures first, last;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        if (!program.cycle()) {
            std::printf("cycle %d: the window did not open and close: measure ended\n", cycle);
            program.stop();
            return 0;
        }
        if (cycle == 1) {
            first = settledFigures(program.pid(), probe, before.threads);
            print("after the first close:", first);
            printExtraThreads(before, first);
        } else if (cycle % 10 == 0 || cycle == cycles) {
            const Figures now = settledFigures(program.pid(), probe, cycle == cycles ? before.threads : -1);
            print(qPrintable(QString("after %1 cycles:").arg(cycle)), now);
            if (cycle == cycles) {
                printExtraThreads(before, now);
                last = now;
            }
        }
    }
    if (cycles == 1)
        last = first;
    printGoal(before, first, last, cycles);
    program.stop();
    XCloseDisplay(display);
    return 0;
}
