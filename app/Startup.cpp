#include "app/Startup.h"

#include "app/Widget.h"
#include "capture/InputCapture.h"
#include "device/DeviceState.h"
#include "platform/DataFolder.h"

#include <QApplication>
#include <QDebug>
#include <QDir>

namespace {

// Every relative path ("./modules/...") resolves against the data folder: the program's own
// folder, or the per-user copy when the program lives in a folder the user cannot write.
void enterDataFolder()
{
    const QString program = QCoreApplication::applicationFilePath();
    const QString folder = DataFolder::choose(program.left(program.lastIndexOf('/')));
    if (!QDir::setCurrent(folder))
        qWarning() << "Cannot work in the data folder" << folder << "- settings and data will be missing";
}

}  // namespace

void startShell(Widget &shell)
{
    shell.checkDevice();
    if (!deviceReady)
        return;
    shell.showNormal();
    shell.startUI();
    if (demoMode)
        shell.sendDemoNotice();
}

int runW3Config(int argc, char **argv, const std::function<void()> &prepareDevices)
{
    QApplication app(argc, argv);
    enterDataFolder();
    if (prepareDevices)
        prepareDevices();

    auto shell = std::make_unique<Widget>();

    InputCapture::start(false);
    InputCapture::setKeyCallback(&Widget::onKey, shell.get());
    InputCapture::setMouseCallback(&Widget::onMouse, shell.get());
    InputCapture::setCopyDataHandler(&Widget::onCopyData, &app, shell.get());

    startShell(*shell);

    const int result = app.exec();
    InputCapture::stop();
    shell.reset();
    return result;
}
