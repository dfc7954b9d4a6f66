#include "app/Ui_Controler.h"

#include "controller/AppConfig.h"
#include "controller/myQQuickView.h"

#include <QEvent>
#include <QQmlContext>
#include <QQuickItem>
#include <QWidget>
#include <QWindow>

namespace {
constexpr const char *kSceneUrl = "qrc:modules/qml/main.qml";
}

void Ui_Controler::setup(QWidget *shell, QObject *hid)
{
    if (shell->objectName().isEmpty())
        shell->setObjectName("Widget");
    shell->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    shell->setWindowOpacity(1.0);
    shell->setAttribute(Qt::WA_TranslucentBackground, true);
    // Only the shell and the view are transparent: a rule without a selector would cascade
    // into every dialog opened with them as parent and draw it black on black.
    shell->setStyleSheet(QString("QWidget#%1, QWidget#ui_View { background: transparent; }").arg(shell->objectName()));

    attach(shell, new myQQuickView(shell));
    viewWidget->setObjectName("ui_View");
    // Without a transparent clear colour the translucent window would show black corners.
    viewWidget->setAttribute(Qt::WA_AlwaysStackOnTop, true);
    viewWidget->setClearColor(Qt::transparent);

    hidObject = hid;
    publishContext();

    shell->setWindowTitle(AppConfig::windowTitle());
}

void Ui_Controler::publishContext()
{
    QQmlContext *context = viewWidget->rootContext();
    context->setContextProperty("ui_View", viewWidget);
    context->setContextProperty("hid", hidObject);
    context->setContextProperty("ui_Ctl", this);
}

void Ui_Controler::loadScene()
{
    if (sceneLoaded())
        return;
    viewWidget->setSource(QUrl(kSceneUrl));
    shellWidget->resize(viewWidget->size());
}

void Ui_Controler::unloadScene()
{
    viewWidget->dropScene();
    publishContext();
}

bool Ui_Controler::sceneLoaded() const
{
    return viewWidget->rootObject() != nullptr;
}

void Ui_Controler::attach(QWidget *shell, myQQuickView *view)
{
    shellWidget = shell;
    viewWidget = view;
    // The whole window is the scene: the keyboard goes to it whenever the window is active.
    view->setFocusPolicy(Qt::StrongFocus);
    shell->setFocusProxy(view);
    if (!systemMove)
        systemMove = [](QWindow *window) { return window->startSystemMove(); };
    if (viewWidget)
        viewWidget->installEventFilter(this);
}

bool Ui_Controler::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == viewWidget && event->type() == QEvent::MouseButtonPress)
        drag = Drag::Undecided;
    return QObject::eventFilter(watched, event);
}

void Ui_Controler::moveShellBy(const QPoint &offset)
{
    if (!shellWidget || offset.isNull())
        return;
    // The first movement of a drag asks the window system to take it over; it then follows
    // the pointer itself, and the scene's offsets until the next press are not needed.
    if (drag == Drag::Undecided) {
        QWindow *window = shellWidget->windowHandle();
        drag = window && systemMove(window) ? Drag::BySystem : Drag::ByOffsets;
    }
    if (drag == Drag::ByOffsets)
        shellWidget->move(shellWidget->pos() + offset);
}

void Ui_Controler::onMinimize()
{
    // Despite its name the scene's close sequence ends here: the shell closes and the program ends.
    if (shellWidget)
        shellWidget->close();
}

void Ui_Controler::onXChanged(int x)
{
    moveShellBy(QPoint(x, 0));
}

void Ui_Controler::onYChanged(int y)
{
    moveShellBy(QPoint(0, y));
}

void Ui_Controler::setBusy(int busyTime)
{
    if (viewWidget && viewWidget->rootObject())
        QMetaObject::invokeMethod(viewWidget->rootObject(), "setProtectUI", Qt::DirectConnection,
                                  Q_ARG(QVariant, QVariant(busyTime)));
}

void Ui_Controler::setBusy()
{
    setBusy(0);
}
