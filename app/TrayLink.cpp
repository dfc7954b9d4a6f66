#include "app/TrayLink.h"

#include "actions/PageActions.h"
#include "actions/ProfileActions.h"
#include "actions/SensorActions.h"
#include "actions/SettingsActions.h"
#include "app/SessionService.h"
#include "app/TrayIcon.h"
#include "app/Widget.h"
#include "controller/myQQuickView.h"
#include "device/DeviceState.h"

#include <QCoreApplication>

namespace {
// The tray's texts in the language files.
enum Text {
    kOpenText = 173,
    kQuitText = 174,
    kStageValue = 178,
};
}  // namespace

TrayLink::TrayLink(TrayIcon &tray, Widget &shell, SessionService &service)
    : tray(tray), shell(shell), actions(shell.view()->actions()), choices(*actions.settings)
{
    connect(&tray, &TrayIcon::profileChosen, &service, &SessionService::ApplyProfile);
    connect(&tray, &TrayIcon::stageChosen, &service, &SessionService::SetDpiStage);
    connect(&tray, &TrayIcon::openRequested, &shell, &Widget::openWindow);
    connect(&tray, &TrayIcon::quitRequested, qApp, &QCoreApplication::quit, Qt::QueuedConnection);

    connect(&shell, &Widget::deviceChecked, this, [this] { this->tray.setConnected(deviceReady); });
    connect(actions.profiles.get(), &ProfileActions::profileSelected, this, &TrayLink::showProfile);
    connect(actions.sensor.get(), &SensorActions::stagesChanged, this, &TrayLink::showStages);
    connect(actions.sensor.get(), &SensorActions::currentStageChanged, this, &TrayLink::showStages);
    connect(&choices, &SettingsActions::languageChanged, this, &TrayLink::translate);
    translate();
    tray.setConnected(deviceReady);
    tray.setProfile(actions.profiles->current() + 1);
    tray.setStages(actions.sensor->stageValues(), actions.sensor->currentStage() + 1);
}

void TrayLink::translate()
{
    TrayIcon::Texts texts;
    texts.open = choices.text(kOpenText, texts.open);
    texts.quit = choices.text(kQuitText, texts.quit);
    texts.stage = choices.text(kStageValue, texts.stage);
    tray.setTexts(texts);
}

void TrayLink::showProfile()
{
    tray.setProfile(actions.profiles->current() + 1);
}

void TrayLink::showStages()
{
    tray.setStages(actions.sensor->stageValues(), actions.sensor->currentStage() + 1);
}
