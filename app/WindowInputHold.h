#pragma once
// While the mouse's queue runs a job (a profile from the tray, a bus call, a w3ctl command),
// the window's clicks and keys are not taken: an APPLY clicked then would cut into the job's
// sequence and leave the mouse with a mix of both. The pointer shows that the window is busy.
#include <QObject>

class MouseQueue;
class QWidget;

class WindowInputHold : public QObject {
    Q_OBJECT
public:
    WindowInputHold(QWidget &window, MouseQueue &queue);
    ~WindowInputHold() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void hold(bool held);
    bool isWindowInput(QObject *watched, const QEvent *event) const;

    QWidget &window;
    bool holding = false;
};
