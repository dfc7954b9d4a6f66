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

void MacroActions::setKeysOnlyInWindow(bool only)
{
    if (only == onlyInWindow)
        return;
    onlyInWindow = only;
    emit keysOnlyInWindowChanged();
}

void MacroActions::start()
{
    emit namesChanged();
    choose(QString());
}

void MacroActions::refresh()
{
    emit namesChanged();
    select(chosen);
}

void MacroActions::select(const QString &name)
{
    choose(names().contains(name) ? name : QString());
}

void MacroActions::choose(const QString &name)
{
    if (name == chosen)
        return;
    chosen = name;
    emit selectedChanged();
}

QString MacroActions::create()
{
    const QString name = controllers.macros->createMacroIni().toString();
    if (name.isEmpty())
        return name;
    emit namesChanged();
    choose(name);
    return name;
}

int MacroActions::nameProblem(const QString &newName) const
{
    return int(controllers.macros->nameProblem(newName));
}

void MacroActions::rename(const QString &oldName, const QString &newName)
{
    controllers.macros->renameMacroIniFile(oldName, newName);
    const QStringList now = names();
    const bool renamed = now.contains(newName) && !now.contains(oldName);
    emit namesChanged();
    select(chosen == oldName && renamed ? newName : chosen);
}

QStringList MacroActions::steps() const
{
    return chosen.isEmpty() ? QStringList() : controllers.macros->loadMacroIni(chosen);
}

bool MacroActions::save(const QStringList &lines)
{
    return !chosen.isEmpty() && controllers.macros->saveMacroIni(chosen, lines).toBool();
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
    if (deleted) {
        emit namesChanged();
        if (name == chosen)
            choose(QString());
    }
    return deleted;
}
