#pragma once
// The window controller: the frameless window is moved, closed and locked by the scene.
#include <QObject>
#include <QPoint>
#include <functional>

class QWidget;
class QWindow;
class myQQuickView;

class Ui_Controler : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Styles the shell, creates the view as its child, publishes the context properties, sizes
    // the shell and sets its title. Run once by the shell; the scene is loaded apart.
    void setup(QWidget *shell, QObject *hid);
    // The scene in the view; a program in the background has none until its window opens, and
    // drops it when the window closes again, with the engine that ran it.
    void loadScene();
    void unloadScene();
    bool sceneLoaded() const;
    // Steers the shell for the given view; setup() does this for the view it creates.
    void attach(QWidget *shell, myQQuickView *view);
    myQQuickView *view() const { return viewWidget; }

    // Hands a drag of the window to the window system; false where it cannot take it. By
    // default QWindow::startSystemMove(), the only way a window moves on Wayland.
    using SystemMove = std::function<bool(QWindow *)>;
    void setSystemMove(SystemMove start) { systemMove = std::move(start); }

public slots:
    void onMinimize();
    void onXChanged(int x);
    void onYChanged(int y);
    void setBusy(int busyTime);
    void setBusy();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Each press on the scene starts a new drag, which the window system moves, or else the
    // scene's offsets do.
    enum class Drag { Undecided, BySystem, ByOffsets };
    void moveShellBy(const QPoint &offset);
    // The context properties of the view's engine: "ui_View", "hid" and "ui_Ctl".
    void publishContext();

    QWidget *shellWidget = nullptr;
    myQQuickView *viewWidget = nullptr;
    QObject *hidObject = nullptr;
    SystemMove systemMove;
    Drag drag = Drag::Undecided;
};
