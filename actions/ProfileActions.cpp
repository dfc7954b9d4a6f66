#include "actions/ProfileActions.h"

#include "actions/KeyActions.h"
#include "actions/LightingActions.h"
#include "actions/SensorActions.h"
#include "controller/Controllers.h"
#include "controller/MouseOperations.h"
#include "controller/ProfileStore.h"

#include <QScopedValueRollback>

ProfileActions::ProfileActions(Controllers &controllers, HeldProfile &mouseHolds, KeyActions &keys,
                               LightingActions &lighting, SensorActions &sensor, QObject *parent)
    : QObject(parent), controllers(controllers), mouseHolds(mouseHolds), keys(keys), lighting(lighting), sensor(sensor)
{
    connect(&mouseHolds, &HeldProfile::profileChanged, this, &ProfileActions::heldByMouseChanged);
    connect(&mouseHolds, &HeldProfile::sentFrom, this, &ProfileActions::claimHeldGroups);
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
    // Each unit weighs its groups against the new profile as it reads it; until then a unit
    // still holds the values of the profile before.
    const QScopedValueRollback<bool> sendingWhole(sendingProfile, true);
    keys.start();
    keys.apply(sending);
    lighting.sendStored(sending);
    sensor.sendStored(sending);
}

void ProfileActions::claimHeldGroups(int fromProfile)
{
    if (sendingProfile || fromProfile != current())
        return;
    keys.claimHeldGroups(fromProfile);
    lighting.claimHeldGroups(fromProfile);
    sensor.claimHeldGroups(fromProfile);
}
