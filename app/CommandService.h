#pragma once
// w3ctl's commands run in the program (the Commands interface of the bus service; w3ctl's side
// is cli/ServiceClient): on the window's controllers, page actions and mouse, so that the
// window, the tray and the bus see what a command changed and nobody waits for the device
// lock. One command at a time, each in its turn: while a transfer or another command runs, the
// window holds changes not applied or a w3ctl working alone holds the device lock, a command
// waits up to its --wait and then gives up with exit code 3, as w3ctl alone does when the lock
// stays taken.
#include <QDBusMessage>
#include <QDir>
#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <deque>

class Widget;

class CommandService : public QObject {
    Q_OBJECT
public:
    explicit CommandService(Widget &shell);

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
        QElapsedTimer waiting;
    };
    // What keeps the first command waiting; empty when it may run.
    QString obstacle(int waitMs) const;
    void serveNext();
    void run(const Request &request);
    void showTheMouseAgain();

    Widget &shell;
    std::deque<Request> queue;
    bool running = false;
    QTimer retry;
};
