#pragma once
// The language files under the i18n folder: the list of installed languages, the scene's
// string table with its check value, the message list and the product's button names.
#include <QLocale>
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
    // sets the process-wide language integrity flag to whether the file's check value holds;
    // when it does not, the user is told once per file that the device stays untouched.
    QStringList getGlobalStrings(const QString &langCode);
    // The same string list, read for a part of the program without a scene (the tray, the
    // desktop's notices): the message list and the integrity flag stay as they are.
    QStringList strings(const QString &langCode) const;
    // The six-digit code of the language at `position` in the menu; empty when there is none.
    QString codeAt(int position) const;
    // The product's 16 button names; an empty name means the button is not offered.
    QStringList getProductLayoutStrings_W3(const QString &langCode) const;

    // Position in the language menu (the order of chkLanguages) of the installed language that
    // fits `locale` best: same language and country, then the language alone, then the same
    // script; English when none fits, 0 when English is not installed either.
    int menuPositionFor(const QLocale &locale) const;

private:
    QString languageFile(const QString &langCode) const;

    ControllerContext &context;
    QString folder;
};
