#include "app/TrayLink.h"

#include "actions/PageActions.h"
#include "actions/ProfileActions.h"
#include "actions/SensorActions.h"
#include "app/SessionService.h"
#include "app/TrayIcon.h"
#include "app/Widget.h"
#include "controller/myQQuickView.h"
#include "device/DeviceState.h"
#include "platform/DesktopNotifications.h"

#include <QCoreApplication>

TrayLink::TrayLink(TrayIcon &tray, Widget &shell, SessionService &service, DesktopNotifications &notices)
    : tray(tray), shell(shell), actions(shell.view()->actions()), notices(notices)
{
    connect(&tray, &TrayIcon::profileChosen, &service, &SessionService::ApplyProfile);
    connect(&tray, &TrayIcon::stageChosen, &service, &SessionService::SetDpiStage);
    connect(&tray, &TrayIcon::openRequested, &shell, &Widget::openWindow);
    connect(&tray, &TrayIcon::quitRequested, qApp, &QCoreApplication::quit, Qt::QueuedConnection);

    connect(&shell, &Widget::deviceChecked, this, [this] { this->tray.setConnected(deviceReady); });
    connect(actions.profiles.get(), &ProfileActions::profileSelected, this, &TrayLink::showProfile);
    connect(actions.sensor.get(), &SensorActions::stagesChanged, this, &TrayLink::showStages);
    connect(actions.sensor.get(), &SensorActions::currentStageChanged, this, &TrayLink::showStages);
    connect(actions.sensor.get(), &SensorActions::stageSwitched, this, &TrayLink::tellStage);
    tray.setConnected(deviceReady);
    tray.setProfile(actions.profiles->current() + 1);
    tray.setStages(actions.sensor->stageValues(), actions.sensor->currentStage() + 1);
}

bool TrayLink::windowInFront() const
{
    return shell.isVisible() && shell.isActiveWindow();
}

void TrayLink::showProfile()
{
    const int profile = actions.profiles->current() + 1;
    tray.setProfile(profile);
    if (!windowInFront())
        notices.notify(DesktopNotifications::Kind::Profile, QString("Profile P%1").arg(profile, 2, 10, QChar('0')),
                       "The mouse works on this profile now.");
}

void TrayLink::showStages()
{
    tray.setStages(actions.sensor->stageValues(), actions.sensor->currentStage() + 1);
}

void TrayLink::tellStage(int stage)
{
    if (!windowInFront())
        notices.notify(DesktopNotifications::Kind::Stage, QString("DPI stage %1").arg(stage + 1),
                       QString("%1 DPI").arg(actions.sensor->stageValues().value(stage)));
}
