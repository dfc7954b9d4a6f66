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
#include "platform/DesktopNotifications.h"

#include <QCoreApplication>

namespace {
// The tray's and the notices' texts in the language files.
enum Text {
    kOpenText = 173,
    kQuitText = 174,
    kProfileSummary = 175,
    kProfileBody = 176,
    kStageSummary = 177,
    kStageValue = 178,
};
}  // namespace

TrayLink::TrayLink(TrayIcon &tray, Widget &shell, SessionService &service, DesktopNotifications &notices)
    : tray(tray), shell(shell), actions(shell.view()->actions()), choices(*actions.settings), notices(notices)
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
    connect(&choices, &SettingsActions::languageChanged, this, &TrayLink::translate);
    translate();
    tray.setConnected(deviceReady);
    tray.setProfile(actions.profiles->current() + 1);
    tray.setStages(actions.sensor->stageValues(), actions.sensor->currentStage() + 1);
}

// Only what the user may not see in the window is told, and only while notices are wanted.
bool TrayLink::noticeWanted() const
{
    return choices.notificationsOn() && !(shell.isVisible() && shell.isActiveWindow());
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
    const int profile = actions.profiles->current() + 1;
    tray.setProfile(profile);
    if (noticeWanted())
        notices.notify(DesktopNotifications::Kind::Profile,
                       choices.text(kProfileSummary, "Profile %1").arg(QString("P%1").arg(profile, 2, 10, QChar('0'))),
                       choices.text(kProfileBody, "The mouse works on this profile now."));
}

void TrayLink::showStages()
{
    tray.setStages(actions.sensor->stageValues(), actions.sensor->currentStage() + 1);
}

void TrayLink::tellStage(int stage)
{
    if (noticeWanted())
        notices.notify(DesktopNotifications::Kind::Stage, choices.text(kStageSummary, "DPI stage %1").arg(stage + 1),
                       choices.text(kStageValue, "%1 DPI").arg(actions.sensor->stageValues().value(stage)));
}
