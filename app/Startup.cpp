#include "app/Startup.h"

#include "actions/ApplicationLinks.h"
#include "actions/MacroActions.h"
#include "actions/PageActions.h"
#include "actions/SettingsActions.h"
#include "app/ChangeNotices.h"
#include "app/OpenRgbLink.h"
#include "app/PanelWait.h"
#include "app/ProfileFollowing.h"
#include "app/SessionService.h"
#include "app/StartOptions.h"
#include "app/TrayIcon.h"
#include "app/TrayLink.h"
#include "app/Widget.h"
#include "app/WindowInputHold.h"
#include "capture/InputCapture.h"
#include "controller/SoundPlayer.h"
#include "controller/myQQuickView.h"
#include "device/DeviceState.h"
#include "platform/ActiveApplicationChoice.h"
#include "platform/DataFolder.h"
#include "platform/DescriptorLimit.h"
#include "platform/DesktopNotifications.h"
#include "platform/DeviceLock.h"
#include "platform/OpenGlSupport.h"
#include "platform/UrlOpener.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QThreadPool>
#include <cstdio>
#include <unistd.h>

namespace {

// How long a program started with the desktop waits for the panel's tray host.
constexpr int kPanelWaitMs = 10000;

// Every relative path ("./modules/...") resolves against the data folder: the program's own
// folder, or the per-user copy when the program lives in a folder the user cannot write.
void enterDataFolder()
{
    const QString program = QCoreApplication::applicationFilePath();
    const QString folder = DataFolder::choose(program.left(program.lastIndexOf('/')));
    if (!QDir::setCurrent(folder))
        qWarning() << "Cannot work in the data folder" << folder << "- settings and data will be missing";
}

// Qt Quick's software renderer draws the scene where OpenGL would only be emulated on the
// processor, unless the user chose a renderer. Decided before the application object exists,
// so that the window system does not load the OpenGL driver for nothing.
bool sceneRendersInSoftware()
{
    return qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND") && !openGlRunsOnGraphicsProcessor();
}

// The scene needs OpenGL unless it renders in software: without OpenGL (a headless platform,
// an X server without GLX) the window would abort at its first frame.
void chooseSceneRenderer(bool software)
{
    if (!qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        return;
    if (software) {
        qInfo() << "No graphics processor: the scene renders in software";
    } else if (!windowSystemOffersOpenGl()) {
        qInfo() << "No OpenGL: the scene renders in software";
    } else {
        return;
    }
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
}

// A text glyph cache that outgrows its texture copies it through a shader program by default;
// on software OpenGL compiling that program costs more than the whole first frame. Growing the
// caches from a copy in memory instead costs a few hundred kilobytes and draws the same. The
// scene graph reads the setting when a cache first grows.
void growGlyphCachesFromMemory()
{
    static const char *const kGlyphCacheSetting = "QML_USE_GLYPHCACHE_WORKAROUND";
    if (!qEnvironmentVariableIsSet(kGlyphCacheSetting))
        qputenv(kGlyphCacheSetting, "1");
}

// Follows the desktop's scale factor, fractional ones (125 %, 150 %) included: the scene lays
// out in its own units and draws the skin's 2× pictures and the icons' larger sizes where a
// unit takes more than one pixel. Set before the application object exists.
void followDesktopScale()
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
}

// Ends the process without the application object's teardown, which would tear down the sound
// back end: with a stalled audio server that blocks for good, and the program would outlive
// its window. Called once the shell is gone: the settings are written, the device is closed
// and the channel's sockets are removed; the device's transfers ended with the shell, and
// what else runs on Qt's thread pool is waited for.
[[noreturn]] void endProcess(int exitCode)
{
    QThreadPool::globalInstance()->waitForDone();
    std::fflush(nullptr);
    ::_exit(exitCode);
}

}  // namespace

void startShell(Widget &shell)
{
    shell.checkDevice();
    if (!deviceReady || shell.startsInBackground())
        return;
    shell.showNormal();
    shell.startUI();
    if (demoMode)
        shell.sendDemoNotice();
}

void runW3Config(int argc, char **argv, const std::function<void()> &prepareDevices)
{
    // The environment is changed only here, while this is the only thread: the application
    // object starts threads that read it at any time. The programs the window starts (the
    // help page's browser) get it as it was.
    const QProcessEnvironment startEnvironment = QProcessEnvironment::systemEnvironment();
    DescriptorLimit::raiseToHardLimit();
    const bool softwareScene = sceneRendersInSoftware();
    if (softwareScene && !qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        keepWindowSystemFromOpenGl();
    growGlyphCachesFromMemory();
    followDesktopScale();
    QApplication app(argc, argv);
    app.setWindowIcon(TrayIcon::applicationIcon());
    const StartOptions options = readStartOptions(app.arguments());
    UrlOpener urlOpener(startEnvironment);
    // One process drives the mouse: a second launch shows the running window and ends; a
    // second start in the background has nothing to add.
    if (SessionService::claimName() == SessionService::Claim::HeldElsewhere) {
        if (options.background || SessionService::openRunningWindow())
            endProcess(0);
        std::fprintf(stderr, "W3 Config is already running but does not answer on the session bus\n");
        endProcess(1);
    }
    enterDataFolder();
    // w3ctl and this window take turns at the mouse, one transfer at a time.
    DeviceLock::installShared(std::make_unique<DeviceLock>(DeviceLock::defaultPath()));
    chooseSceneRenderer(softwareScene);
    if (prepareDevices)
        prepareDevices();

    // The panel and w3ctl's commands run here show the server's state through this setting.
    OpenRgbSetting openRgbSetting;
    openRgbSetting.watch();
    OpenRgbSetting::share(&openRgbSetting);

    auto shell = std::make_unique<Widget>(options.background ? Widget::Start::InBackground : Widget::Start::WithWindow);
    QObject::connect(&urlOpener, &UrlOpener::cannotOpen, shell.get(), [window = shell.get()](const QUrl &url) {
        myQQuickView *view = window->view();
        if (QObject *root = view ? view->rootObject() : nullptr)
            QMetaObject::invokeMethod(root, "showHelpLocation", Q_ARG(QVariant, url.toString()));
    });

    InputCapture::start(false);
    shell->view()->actions().macros->setKeysOnlyInWindow(!InputCapture::seesWholeDesktop());
    InputCapture::setKeyCallback(&Widget::onKey, shell.get());
    InputCapture::setMouseCallback(&Widget::onMouse, shell.get());
    InputCapture::setCopyDataHandler(&Widget::onCopyData, &app, shell.get());

    SessionService service(*shell);
    if (!service.publish())
        qWarning() << "The session bus refused" << SessionService::kObjectPath;
    // Each desktop tells the application in front its own way; its helpers call back under
    // the service's name.
    ActiveApplicationChoice activeApplication = chooseActiveApplication(startEnvironment, QDBusConnection::sessionBus());
    qInfo().noquote() << activeApplication.logLine;

    // A desktop helper the user switches on (GNOME's extension): until it first calls, the links
    // panel says how.
    ApplicationLinks &links = *shell->view()->actions().applications;
    if (activeApplication.userSwitchesOn) {
        links.setDesktopStepNeeded(true);
        QObject::connect(activeApplication.backEnd.get(), &ActiveApplication::changed, &links,
                         [&links] { links.setDesktopStepNeeded(false); });
    }

    WindowInputHold inputHold(*shell, service.mouseQueue());
    auto following = std::make_unique<ProfileFollowing>(*shell->view()->actions().profiles, service.mouseQueue(),
        std::move(activeApplication.backEnd), [&service]() -> QString {
            if (!deviceReady)
                return "no W3 mouse is connected";
            if (service.holdsPendingChanges())
                return "the window holds changes that have not reached the mouse";
            return {};
        });
    // The links panel offers the applications lately in front and shows rules changed elsewhere
    // (w3ctl app).
    QObject::connect(following.get(), &ProfileFollowing::rulesRead, &links, &ApplicationLinks::reload);
    QObject::connect(&following->recentApplications(), &RecentApplications::changed, &links, [&] {
        const QVector<ApplicationIdentity> &recent = following->recentApplications().applications();
        if (!recent.isEmpty())
            links.noteApplication(recent.front().applicationId, recent.front().windowClass, recent.front().programName);
    });

    // OpenRGB's SDK on the loopback interface, while the settings panel or w3ctl has it on.
    OpenRgbLink openRgb(*shell, service, openRgbSetting);

    // The tray icon comes once the desktop's panel is there, or without it after a while (an
    // XEmbed tray, or none: the bus still serves).
    DesktopNotifications notices;
    ChangeNotices changeNotices(*shell, notices);
    std::unique_ptr<TrayIcon> tray;
    std::unique_ptr<TrayLink> trayLink;
    PanelWait panelWait(kPanelWaitMs);
    QObject::connect(&panelWait, &PanelWait::ready, [&] {
        if (!TrayIcon::available()) {
            qInfo() << "This desktop shows no tray icons; W3 Config answers on the session bus";
            shell->view()->actions().settings->setTrayMissing(true);
            return;
        }
        tray = std::make_unique<TrayIcon>();
        trayLink = std::make_unique<TrayLink>(*tray, *shell, service);
        tray->show();
    });

    startShell(*shell);

    const int result = app.exec();
    InputCapture::stop();
    InputCapture::setCopyDataHandler(nullptr, &app, nullptr);
    // The KWin script leaves KWin with the program: the follower owns the back end.
    following.reset();
    shell->view()->sounds().leavePlayersToProcessExit();
    shell.reset();
    endProcess(result);
}
