#pragma once
// The tray icon joined to the running program: it shows the profile and the DPI stages the
// page actions hold, and what is chosen in its menu goes the way the bus's ApplyProfile and
// SetDpiStage go, so the mouse gets the same bytes. A change the user may not see (no window
// in front) is told by a desktop notice, unless the user switched the notices off. The menu and
// the notices speak the language chosen in the window.
#include <QObject>

class DesktopNotifications;
class PageActions;
class SessionService;
class SettingsActions;
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
    void translate();
    bool noticeWanted() const;

    TrayIcon &tray;
    Widget &shell;
    PageActions &actions;
    SettingsActions &choices;
    DesktopNotifications &notices;
};
