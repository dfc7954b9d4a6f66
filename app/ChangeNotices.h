#pragma once
// Desktop notices of the changes the user may not see: the profile the mouse works on and the
// DPI stage, told while no window of the program is in front and the user wants notices. They
// go out whether or not the desktop shows a tray icon, in the language chosen in the window.
#include <QObject>

class DesktopNotifications;
class PageActions;
class SettingsActions;
class Widget;

class ChangeNotices : public QObject {
    Q_OBJECT
public:
    ChangeNotices(Widget &shell, DesktopNotifications &notices);

private:
    bool wanted() const;
    void tellProfile();
    void tellStage(int stage);

    Widget &shell;
    PageActions &actions;
    SettingsActions &choices;
    DesktopNotifications &notices;
};
