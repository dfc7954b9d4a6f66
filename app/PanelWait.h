#pragma once
// Qt decides once per process whether the desktop shows StatusNotifier items: at the first tray
// icon made or the first TrayIcon::available(). A program started with the desktop may come up
// before the panel and would then go without its icon until it ends. PanelWait tells when the
// panel's StatusNotifierWatcher is on the session bus, or that waiting for it is over, so the
// tray icon is made after it. It never waits on the GUI thread.
#include <QDBusConnection>
#include <QObject>
#include <QTimer>

class PanelWait : public QObject {
    Q_OBJECT
public:
    explicit PanelWait(int limitMs, const QDBusConnection &bus = QDBusConnection::sessionBus(),
                       QObject *parent = nullptr);

signals:
    // Once: the watcher is there, or it did not come within the limit, or there is no bus.
    void ready();

private:
    void finish();

    QTimer limit;
    bool finished = false;
};
