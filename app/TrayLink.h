#pragma once
// The tray icon joined to the running program: it shows the profile and the DPI stages the
// page actions hold, and what is chosen in its menu goes the way the bus's ApplyProfile and
// SetDpiStage go, so the mouse gets the same bytes. The menu speaks the language chosen in the
// window.
#include <QObject>

class PageActions;
class SessionService;
class SettingsActions;
class TrayIcon;
class Widget;

class TrayLink : public QObject {
    Q_OBJECT
public:
    TrayLink(TrayIcon &tray, Widget &shell, SessionService &service);

private:
    void showProfile();
    void showStages();
    void translate();

    TrayIcon &tray;
    Widget &shell;
    PageActions &actions;
    SettingsActions &choices;
};
