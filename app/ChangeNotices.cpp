#include "app/ChangeNotices.h"

#include "actions/PageActions.h"
#include "actions/ProfileActions.h"
#include "actions/SensorActions.h"
#include "actions/SettingsActions.h"
#include "app/Widget.h"
#include "controller/myQQuickView.h"
#include "platform/DesktopNotifications.h"

namespace {
// The notices' texts in the language files.
enum Text {
    kProfileSummary = 175,
    kProfileBody = 176,
    kStageSummary = 177,
    kStageValue = 178,
};
}  // namespace

ChangeNotices::ChangeNotices(Widget &shell, DesktopNotifications &notices)
    : shell(shell), actions(shell.view()->actions()), choices(*actions.settings), notices(notices)
{
    connect(actions.profiles.get(), &ProfileActions::profileSelected, this, &ChangeNotices::tellProfile);
    connect(actions.sensor.get(), &SensorActions::stageSwitched, this, &ChangeNotices::tellStage);
}

bool ChangeNotices::wanted() const
{
    return choices.notificationsOn() && !(shell.isVisible() && shell.isActiveWindow());
}

void ChangeNotices::tellProfile()
{
    if (!wanted())
        return;
    const int profile = actions.profiles->current() + 1;
    notices.notify(DesktopNotifications::Kind::Profile,
                   choices.text(kProfileSummary, "Profile %1").arg(QString("P%1").arg(profile, 2, 10, QChar('0'))),
                   choices.text(kProfileBody, "The mouse works on this profile now."));
}

void ChangeNotices::tellStage(int stage)
{
    if (wanted())
        notices.notify(DesktopNotifications::Kind::Stage, choices.text(kStageSummary, "DPI stage %1").arg(stage + 1),
                       choices.text(kStageValue, "%1 DPI").arg(actions.sensor->stageValues().value(stage)));
}
