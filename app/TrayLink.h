#pragma once
// The tray icon joined to the running program: it shows the profile and the DPI stages the
// page actions hold, and what is chosen in its menu goes the way the bus's ApplyProfile and
// SetDpiStage go, so the mouse gets the same bytes. A change the user may not see (no window
// in front) is told by a desktop notice.
#include <QObject>

class DesktopNotifications;
class PageActions;
class SessionService;
class TrayIcon;
class Widget;

class TrayLink : public QObject {
    Q_OBJECT
public:
    TrayLink(TrayIcon &tray, Widget &shell, SessionService &service, DesktopNotifications &notices);

private:
    void showProfile();
    void showStages();
    void tellStage(int stage);
    bool windowInFront() const;

    TrayIcon &tray;
    Widget &shell;
    PageActions &actions;
    DesktopNotifications &notices;
};
