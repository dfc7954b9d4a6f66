#include "actions/ProfileActions.h"

#include "actions/KeyActions.h"
#include "actions/LightingActions.h"
#include "actions/SensorActions.h"
#include "controller/Controllers.h"
#include "controller/MouseOperations.h"
#include "controller/ProfileStore.h"

ProfileActions::ProfileActions(Controllers &controllers, HeldProfile &mouseHolds, KeyActions &keys,
                               LightingActions &lighting, SensorActions &sensor, QObject *parent)
    : QObject(parent), controllers(controllers), mouseHolds(mouseHolds), keys(keys), lighting(lighting), sensor(sensor)
{
    connect(&mouseHolds, &HeldProfile::profileChanged, this, &ProfileActions::heldByMouseChanged);
}

int ProfileActions::current() const
{
    return controllers.profiles->currentProfile();
}

bool ProfileActions::select(int profile)
{
    if (!ProfileStore::isValidProfile(profile))
        return false;
    controllers.mouse->ui_02H_SetCurrentProfile(profile);
    keys.refresh();
    lighting.refresh();
    sensor.refresh();
    emit profileSelected(profile);
    return true;
}

bool ProfileActions::switchTo(int profile)
{
    if (!ProfileStore::isValidProfile(profile))
        return false;
    controllers.mouse->ui_02H_SetCurrentProfile(profile);
    sendWhole();
    emit profileSelected(profile);
    return true;
}

bool ProfileActions::switchSendingDifferences(int profile)
{
    if (!ProfileStore::isValidProfile(profile))
        return false;
    controllers.mouse->ui_02H_SetCurrentProfile(profile);
    send(HeldProfile::Sending::OnlyDifferences);
    emit profileSelected(profile);
    return true;
}

void ProfileActions::sendWhole() { send(HeldProfile::Sending::Everything); }

void ProfileActions::send(HeldProfile::Sending sending)
{
    keys.start();
    keys.apply(sending);
    lighting.sendStored(sending);
    sensor.sendStored(sending);
}
