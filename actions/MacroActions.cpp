#include "actions/MacroActions.h"

#include "actions/KeyActions.h"
#include "controller/Controllers.h"
#include "controller/MacroLibrary.h"
#include "controller/MacroSlots.h"

#include <QVariantMap>

namespace {
const QString kMacroFileSuffix = ".bin";
}

MacroActions::MacroActions(Controllers &controllers, KeyActions &keys, QObject *parent)
    : QObject(parent), controllers(controllers), keys(keys)
{
}

QStringList MacroActions::names() const
{
    QStringList result;
    for (const QString &file : controllers.macros->getMacroIniNames())
        result << (file.endsWith(kMacroFileSuffix) ? file.chopped(kMacroFileSuffix.size()) : file);
    return result;
}

QVariantList MacroActions::users(const QString &name) const
{
    QVariantList result;
    for (const MacroSlots::Use &use : controllers.macroSlots->users(keys.codes(), name))
        result << QVariantMap{{"profile", use.profile}, {"button", use.button}};
    return result;
}

bool MacroActions::remove(const QString &name)
{
    const int slot = controllers.macroSlots->unbind(name);
    if (slot >= 0) {
        keys.forgetMacroSlot(slot);
        emit slotReleased(slot);
    }
    const bool deleted = controllers.macros->deleteMacroIni(name).toBool();
    if (deleted)
        emit namesChanged();
    return deleted;
}
