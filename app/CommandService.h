#pragma once
// w3ctl's commands run in the program (the Commands interface of the bus service; w3ctl's side
// is cli/ServiceClient): on the window's controllers, page actions and mouse, so that the
// window, the tray and the bus see what a command changed and nobody waits for the device
// lock. Each command takes its turn in the mouse's queue; one whose turn does not come within
// its --wait gives up with exit code 3, as w3ctl alone does when the lock stays taken. A read
// answers with what the mouse holds also while the window holds changes not applied, and says
// so; a change waits, within the same --wait, until the window applied or discarded them.
#include <QDBusMessage>
#include <QDir>
#include <QObject>
#include <QStringList>

class MouseQueue;
class Widget;

class CommandService : public QObject {
    Q_OBJECT
public:
    CommandService(Widget &shell, MouseQueue &queue);

    // Takes a call whose reply was delayed; the reply (exit code, standard output, standard
    // error) goes out once the command ran or gave up.
    void take(const QDBusMessage &call, const QStringList &arguments, const QDir &userFolder);

signals:
    // A command ran: what it changed can be announced.
    void commandRan();

private:
    struct Request {
        QDBusMessage call;
        QStringList arguments;
        QDir userFolder;
        int waitMs;
    };
    void run(const Request &request, int waitLeftMs);
    void showTheMouseAgain();

    Widget &shell;
    MouseQueue &queue;
};
