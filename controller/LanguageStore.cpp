#include "controller/LanguageStore.h"

#include "controller/ControllerContext.h"
#include "device/DeviceState.h"

#include <QDir>
#include <QLocale>
#include <QRegularExpression>
#include <QSettings>

namespace {

constexpr int kMessageCount = 6;
constexpr int kButtonCount = 16;
constexpr int kCodeDigits = 3;
constexpr int kCountryAny = 0;
constexpr int kCountrySimplified = 44;    // QLocale::China
constexpr int kCountryTraditional = 208;  // QLocale::Taiwan

// Only names that getGlobalStrings can open again from their code are languages.
const QRegularExpression kFileName(QStringLiteral("^lang_(\\d{6})\\.ini$"));
const QRegularExpression kLangCode(QStringLiteral("^\\d{6}$"));

QString displayName(const QString &code)
{
    const int language = code.left(kCodeDigits).toInt();
    const int country = code.mid(kCodeDigits).toInt();
    QString name = QLocale::languageToString(QLocale::Language(language)).toUpper();
    if (country == kCountrySimplified)
        name += " (Simp)";
    else if (country == kCountryTraditional)
        name += " (Trad)";
    else if (country != kCountryAny)
        name += " (" + QLocale::countryToString(QLocale::Country(country)).toUpper() + ")";
    return name;
}

// A missing file reads as empty: every value absent.
void openLanguage(QSettings &settings)
{
    settings.setIniCodec("UTF-8");
}

int modulo256(long long v)
{
    return int(((v % 256) + 256) % 256);
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
    QSettings file(languageFile(langCode), QSettings::IniFormat);
    openLanguage(file);

    QStringList strings{file.value("font/family").toString()};
    const int total = file.value("font/total", 0).toInt();
    const QString cs = file.value("font/cs").toString();
    long long totalLength = 0;
    for (int k = 1; k <= total; ++k) {
        strings << file.value(QStringLiteral("strings/%1").arg(k)).toString();
        totalLength += strings.last().size();
    }

    context.msgStrings.clear();
    for (int i = 0; i < kMessageCount; ++i)
        context.msgStrings << file.value(QStringLiteral("msg/%1").arg(i)).toString();

    languageIntegrity = checkString(int(totalLength)) == cs;
    return strings;
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

QString LanguageStore::checkString(int totalLength)
{
    const long long r = totalLength;
    return QString::number(modulo256(r + 74)) + QString::number(modulo256(r - 69))
           + QString::number(modulo256(r * 70)) + QString::number(modulo256(r / 70));
}

// A code that is not six digits names no file: it cannot reach outside the folder.
QString LanguageStore::languageFile(const QString &langCode) const
{
    if (!kLangCode.match(langCode).hasMatch())
        return QString();
    return QDir(folder).filePath("lang_" + langCode + ".ini");
}
