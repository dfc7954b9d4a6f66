#include "controller/LanguageStore.h"

#include "controller/ControllerContext.h"
#include "controller/LanguageFile.h"
#include "controller/Notices.h"
#include "device/DeviceState.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

namespace {

constexpr int kButtonCount = 16;
constexpr int kCodeDigits = 3;
constexpr int kCountryAny = 0;
constexpr int kCountrySimplified = 44;    // QLocale::China
constexpr int kCountryTraditional = 208;  // QLocale::Taiwan

// Only names that getGlobalStrings can open again from their code are languages.
const QRegularExpression kFileName(QStringLiteral("^lang_(\\d{6})\\.ini$"));
const QRegularExpression kLangCode(QStringLiteral("^\\d{6}$"));

int languageOf(const QString &code)
{
    return code.left(kCodeDigits).toInt();
}

int countryOf(const QString &code)
{
    return code.mid(kCodeDigits).toInt();
}

QString displayName(const QString &code)
{
    const int country = countryOf(code);
    QString name = QLocale::languageToString(QLocale::Language(languageOf(code))).toUpper();
    if (country == kCountrySimplified)
        name += " (Simp)";
    else if (country == kCountryTraditional)
        name += " (Trad)";
    else if (country != kCountryAny)
        name += " (" + QLocale::countryToString(QLocale::Country(country)).toUpper() + ")";
    return name;
}

// How well a language code fits a locale: 0 not at all, higher is better.
int fitness(const QString &code, const QLocale &locale)
{
    if (languageOf(code) != int(locale.language()))
        return 0;
    const int country = countryOf(code);
    if (country == int(locale.country()))
        return 4;
    if (country == kCountryAny)
        return 3;
    const QLocale::Language language = locale.language();
    if (QLocale(language, QLocale::Country(country)).script() == locale.script())
        return 2;
    return 1;
}

// The device stays untouched while the check fails: say why, once per file.
void tellFailedCheck(const QString &file)
{
    Notices::warnOnce("language " + file,
                      QCoreApplication::translate("LanguageStore",
                                                  "The language file\n%1\nis damaged or has a "
                                                  "wrong check value. The mouse is not read or "
                                                  "written until a language whose check value "
                                                  "holds is chosen.")
                          .arg(file));
}

void openLanguage(QSettings &settings)
{
    settings.setIniCodec("UTF-8");
}

}  // namespace

LanguageStore::LanguageStore(ControllerContext &context, const QString &folder)
    : context(context), folder(folder)
{
}

QVariantMap LanguageStore::chkLanguages() const
{
    QVariantMap languages;
    const QStringList files = QDir(folder).entryList({"lang_*.ini"}, QDir::Files,
                                                     QDir::Name | QDir::IgnoreCase);
    for (const QString &file : files) {
        const QRegularExpressionMatch match = kFileName.match(file);
        if (match.hasMatch())
            languages.insert(displayName(match.captured(1)), match.captured(1));
    }
    return languages;
}

QStringList LanguageStore::getGlobalStrings(const QString &langCode)
{
    const QString path = languageFile(langCode);
    // A missing file reads as empty: every value absent.
    const LanguageFile language = LanguageFile::read(path);
    context.msgStrings = language.messages();
    languageIntegrity = language.passesCheck();
    if (!languageIntegrity)
        tellFailedCheck(path.isEmpty() ? langCode : QFileInfo(path).absoluteFilePath());
    return language.strings();
}

QStringList LanguageStore::strings(const QString &langCode) const
{
    return LanguageFile::read(languageFile(langCode)).strings();
}

QString LanguageStore::codeAt(int position) const
{
    return chkLanguages().values().value(position).toString();
}

QStringList LanguageStore::getProductLayoutStrings_W3(const QString &langCode) const
{
    QSettings file(languageFile(langCode), QSettings::IniFormat);
    openLanguage(file);
    QStringList names;
    for (int i = 0; i < kButtonCount; ++i)
        names << file.value(QStringLiteral("W3_5E8A2D1/%1").arg(i)).toString();
    return names;
}

int LanguageStore::menuPositionFor(const QLocale &locale) const
{
    const QVariantList codes = chkLanguages().values();  // in menu order
    int best = -1;
    int bestFitness = 0;
    for (const QLocale &candidate : {locale, QLocale(QLocale::English)}) {
        for (int i = 0; i < codes.size(); ++i) {
            const int f = fitness(codes.at(i).toString(), candidate);
            if (f > bestFitness) {
                best = i;
                bestFitness = f;
            }
        }
        if (best >= 0)
            return best;
    }
    return 0;
}

// A code that is not six digits names no file: it cannot reach outside the folder.
QString LanguageStore::languageFile(const QString &langCode) const
{
    if (!kLangCode.match(langCode).hasMatch())
        return QString();
    return QDir(folder).filePath("lang_" + langCode + ".ini");
}
