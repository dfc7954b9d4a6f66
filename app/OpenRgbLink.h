#pragma once
// The OpenRGB SDK server of the running program, window or not: on while the setting says so,
// on the port it names, serving the mouse the session service reports; clients are told when
// the mouse comes or goes.
#include "controller/OpenRgbSetting.h"
#include "rgbserver/OpenRgbServer.h"

#include <QObject>

class SessionService;
class Widget;

class OpenRgbLink : public QObject {
    Q_OBJECT
public:
    OpenRgbLink(Widget &shell, SessionService &service, OpenRgbSetting &setting);

    openrgb::OpenRgbServer &server() { return rgbServer; }

private:
    void followSetting();
    std::optional<openrgb::DeviceText> deviceText() const;
    int colorCount() const;

    Widget &shell;
    SessionService &service;
    OpenRgbSetting &setting;
    openrgb::OpenRgbServer rgbServer;
    bool wasConnected = false;
};
