#pragma once
// The window controller: the frameless window is moved, closed and locked by the scene.
#include <QObject>

class QWidget;
class myQQuickView;

class Ui_Controler : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Styles the shell, creates the view as its child, publishes the context properties, sizes
    // the shell and sets its title. Run once by the shell; the scene is loaded apart.
    void setup(QWidget *shell, QObject *hid);
    // The scene in the view; a program in the background has none until its window opens, and
    // drops it when the window closes again.
    void loadScene();
    void unloadScene();
    bool sceneLoaded() const;
    // Steers the shell for the given view; setup() does this for the view it creates.
    void attach(QWidget *shell, myQQuickView *view);
    myQQuickView *view() const { return viewWidget; }

public slots:
    void onMinimize();
    void onXChanged(int x);
    void onYChanged(int y);
    void setBusy(int busyTime);
    void setBusy();

private:
    QWidget *shellWidget = nullptr;
    myQQuickView *viewWidget = nullptr;
};
