#pragma once
// The language files under the i18n folder: the list of installed languages, the scene's
// string table with its check value, the message list and the product's button names.
#include <QString>
#include <QStringList>
#include <QVariantMap>

struct ControllerContext;

class LanguageStore {
public:
    explicit LanguageStore(ControllerContext &context, const QString &folder = "./modules/i18n/");

    // Display name ("ENGLISH", "CHINESE (Simp)", ...) to six-digit language code.
    QVariantMap chkLanguages() const;
    // Entry 0 the font family, entries 1..N the numbered strings. Refills the message list and
    // sets the process-wide language integrity flag to whether the file's check value holds.
    QStringList getGlobalStrings(const QString &langCode);
    // The product's 16 button names; an empty name means the button is not offered.
    QStringList getProductLayoutStrings_W3(const QString &langCode) const;

    // The check value of strings whose lengths add up to totalLength.
    static QString checkString(int totalLength);

private:
    QString languageFile(const QString &langCode) const;

    ControllerContext &context;
    QString folder;
};
