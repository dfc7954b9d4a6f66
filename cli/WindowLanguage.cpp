#include "cli/WindowLanguage.h"

#include "actions/SettingsActions.h"
#include "controller/AppConfig.h"
#include "controller/Controllers.h"
#include "controller/LanguageStore.h"

#include <QLocale>

namespace {

// The language item of the window's settings list, a position in the language menu.
QString windowLanguageCode(const Controllers &controllers)
{
    const LanguageStore &languages = *controllers.languages;
    const QVariantList codes = languages.chkLanguages().values();
    const QVariantList settings = controllers.appConfig->loadApConfig(languages.menuPositionFor(QLocale()));
    const int position = settings.value(SettingsActions::Language).toInt();
    return codes.value(position, codes.value(0)).toString();
}

}  // namespace

void loadWindowLanguage(Controllers &controllers)
{
    controllers.languages->getGlobalStrings(windowLanguageCode(controllers));
}

QStringList windowButtonNames(const Controllers &controllers)
{
    return controllers.languages->getProductLayoutStrings_W3(windowLanguageCode(controllers));
}

QStringList englishButtonNames(const Controllers &controllers)
{
    const LanguageStore &languages = *controllers.languages;
    const QVariantList codes = languages.chkLanguages().values();
    const int english = languages.menuPositionFor(QLocale(QLocale::English));
    return languages.getProductLayoutStrings_W3(codes.value(english).toString());
}
