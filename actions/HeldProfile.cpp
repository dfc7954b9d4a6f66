#include "actions/HeldProfile.h"

#include <QScopedValueRollback>

bool HeldProfile::MouseFacts::operator==(const MouseFacts &other) const
{
    return sensorType == other.sensorType && fixedColorsOnly == other.fixedColorsOnly && stageCount == other.stageCount;
}

HeldProfile::HeldProfile(QObject *parent) : QObject(parent) {}

QVariantList HeldProfile::bytes(const QVariantList &values)
{
    QVariantList result;
    for (const QVariant &value : values)
        result << (value.toInt() & 0xFF);
    return result;
}

bool HeldProfile::holds(Group group, const QVariant &value) const
{
    const Entry &entry = entries[size_t(group)];
    return entry.known && entry.value == value;
}

bool HeldProfile::needs(Sending sending, Group group, int profile, const QVariant &value)
{
    return sending == Sending::Everything || !claim(group, profile, value);
}

void HeldProfile::sent(Group group, int fromProfile, const QVariant &value)
{
    entries[size_t(group)] = {true, fromProfile, value};
    {
        const QScopedValueRollback<bool> announcing(announcingSend, true);
        emit sentFrom(fromProfile);
    }
    update();
}

bool HeldProfile::claim(Group group, int profile, const QVariant &value)
{
    if (!holds(group, value))
        return false;
    entries[size_t(group)].profile = profile;
    update();
    return true;
}

void HeldProfile::setFacts(const MouseFacts &facts)
{
    // What was sent for another sensor or indicator means something else on this one.
    if (mouse && !(*mouse == facts))
        entries = {};
    mouse = facts;
    update();
}

void HeldProfile::forget()
{
    entries = {};
    mouse.reset();
    update();
}

void HeldProfile::update()
{
    if (announcingSend)
        return;
    int common = entries.front().known ? entries.front().profile : -1;
    for (const Entry &entry : entries) {
        if (!entry.known || entry.profile != common)
            common = -1;
    }
    if (common == heldProfile)
        return;
    heldProfile = common;
    emit profileChanged(heldProfile);
}
