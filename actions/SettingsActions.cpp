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
