#include "app/WindowInputHold.h"

#include "app/MouseQueue.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

WindowInputHold::WindowInputHold(QWidget &window, MouseQueue &queue)
    : window(window)
{
    connect(&queue, &MouseQueue::windowHeldChanged, this, &WindowInputHold::hold);
}

WindowInputHold::~WindowInputHold()
{
    hold(false);
}

void WindowInputHold::hold(bool held)
{
    if (held == holding)
        return;
    holding = held;
    if (held) {
        qApp->installEventFilter(this);
        QApplication::setOverrideCursor(Qt::BusyCursor);
    } else {
        qApp->removeEventFilter(this);
        QApplication::restoreOverrideCursor();
    }
}

bool WindowInputHold::eventFilter(QObject *watched, QEvent *event)
{
    return holding && isWindowInput(watched, event);
}

bool WindowInputHold::isWindowInput(QObject *watched, const QEvent *event) const
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        break;
    default:
        return false;
    }
    if (const auto *widget = qobject_cast<const QWidget *>(watched))
        return widget->window() == &window;
    if (const auto *surface = qobject_cast<const QWindow *>(watched))
        return surface == window.windowHandle();
    return false;
}
