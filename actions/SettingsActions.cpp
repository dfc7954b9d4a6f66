#include "actions/SettingsActions.h"

#include "controller/AppConfig.h"
#include "controller/Controllers.h"
#include "controller/LanguageStore.h"

#include <QLocale>

static_assert(SettingsActions::Language == AppConfig::kLanguageItem, "the language item sits where the store reads it");
static_assert(SettingsActions::WebAddress == AppConfig::kWebAddressItem, "the web address sits where the store reads it");

SettingsActions::SettingsActions(Controllers &controllers, QObject *parent) : QObject(parent), controllers(controllers) {}

QVariantList SettingsActions::load() const
{
    return controllers.appConfig->loadApConfig(controllers.languages->menuPositionFor(QLocale()));
}

bool SettingsActions::save(const QVariantList &items)
{
    return controllers.appConfig->saveApConfig(items);
}

void SettingsActions::readStoredChoices()
{
    const QVariantList stored = load();
    const auto item = [&stored](Item index) { return stored.value(index).toString().toInt(); };
    setKeepRunning(item(KeepRunning) == 1);
    setNotificationsOn(item(NotificationsOff) != 1);
    // Without a stored list the scene keeps its built-in English texts: so do the tray and notices.
    const bool languageStored = stored.size() > Language;
    setLanguageCode(languageStored ? controllers.languages->codeAt(item(Language)) : QString());
}

void SettingsActions::setKeepRunning(bool on)
{
    if (keepRunningOn == on)
        return;
    keepRunningOn = on;
    emit keepRunningChanged(on);
}

void SettingsActions::setNotificationsOn(bool on)
{
    if (noticesOn == on)
        return;
    noticesOn = on;
    emit notificationsOnChanged(on);
}

void SettingsActions::setLanguageCode(const QString &code)
{
    if (language == code && !strings.isEmpty())
        return;
    language = code;
    strings = controllers.languages->strings(code);
    emit languageChanged();
}

QString SettingsActions::text(int index, const QString &fallback) const
{
    const QString translated = strings.value(index);
    return translated.isEmpty() ? fallback : translated;
}

void SettingsActions::setTrayMissing(bool missing)
{
    if (noTray == missing)
        return;
    noTray = missing;
    emit trayMissingChanged();
}

bool SettingsActions::trayNoticeDue() const
{
    return noTray && !controllers.appConfig->trayNoticeGiven();
}

void SettingsActions::rememberTrayNotice()
{
    controllers.appConfig->rememberTrayNotice();
}
