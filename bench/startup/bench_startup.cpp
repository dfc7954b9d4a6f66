// Start-up and command-latency figures on the virtual mouse. Prints figures; never fails.
//
//   bench_startup            runs the measurements below and prints medians
//   bench_startup app        (child) the program's start-up; prints "FRAME" at the first frame
//   bench_startup bare       (child) a bare QQuickWidget with one rectangle; same report
//
// Start-up is measured from process start (as seen by the parent) to the first frame the
// scene renders with the device proven; the bare QQuickWidget gives the machine's baseline.
#include "app/Startup.h"
#include "app/Widget.h"
#include "controller/myQQuickView.h"
#include "device/DeviceState.h"
#include "virtual/VirtualBus.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 7;
constexpr int kSetSamples = 50;

void reportFirstFrame(QQuickWidget *view)
{
    QObject::connect(view->quickWindow(), &QQuickWindow::afterRendering, view, [] {
        std::printf("FRAME\n");
        std::fflush(stdout);
        QMetaObject::invokeMethod(qApp, "quit", Qt::QueuedConnection);
    }, Qt::DirectConnection);
}

int runAppChild(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString program = QCoreApplication::applicationFilePath();
    QDir::setCurrent(program.left(program.lastIndexOf('/')));
    vhid::Bus::instance().reset();
    vhid::Bus::instance().plug(vhid::Model::Mouse);
    Widget shell;
    reportFirstFrame(shell.view());
    startShell(shell);
    if (!deviceReady)
        return 1;
    return app.exec();
}

int runBareChild(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString scene = dir.filePath("bare.qml");
    QFile file(scene);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write("import QtQuick 2.15\nRectangle { width: 1000; height: 600; color: \"#1d2733\" }\n");
    file.close();
    QQuickWidget view;
    view.setSource(QUrl::fromLocalFile(scene));
    reportFirstFrame(&view);
    view.show();
    return app.exec();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Milliseconds from starting the child until it reports its first frame.
double timeChild(const QString &mode)
{
    QProcess child;
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(), {mode});
    while (child.waitForReadyRead(20000)) {
        if (child.readAll().contains("FRAME")) {
            const double ms = clock.nsecsElapsed() / 1e6;
            child.waitForFinished(5000);
            return ms;
        }
    }
    child.kill();
    child.waitForFinished();
    return -1;
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

}  // namespace

int main(int argc, char *argv[])
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "app")
        return runAppChild(argc, argv);
    if (mode == "bare")
        return runBareChild(argc, argv);

    QApplication app(argc, argv);
    const QString program = QCoreApplication::applicationFilePath();
    QDir::setCurrent(program.left(program.lastIndexOf('/')));

    std::vector<double> appRuns, bareRuns;
    for (int i = 0; i < kRuns; ++i) {
        bareRuns.push_back(timeChild("bare"));
        appRuns.push_back(timeChild("app"));
    }
    const double appMs = median(appRuns);
    const double bareMs = median(bareRuns);
    std::printf("start-up to first frame, device proven (median of %d): %.1f ms\n", kRuns, appMs);
    std::printf("bare QQuickWidget to first frame      (median of %d): %.1f ms\n", kRuns, bareMs);
    std::printf("ratio: %.2f (goal: at most 1.50)\n", bareMs > 0 ? appMs / bareMs : 0.0);
    std::printf("Set command on the GUI thread, token free (median of %d): %.1f us (goal: under 1000 us)\n",
                kSetSamples, setCommandMicroseconds());
    return 0;
}
