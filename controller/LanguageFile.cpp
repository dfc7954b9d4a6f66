#include "controller/LanguageFile.h"

#include <QSettings>

namespace {

int modulo256(qint64 v)
{
    return int(((v % 256) + 256) % 256);
}

}  // namespace

LanguageFile LanguageFile::read(const QString &path)
{
    QSettings file(path, QSettings::IniFormat);
    file.setIniCodec("UTF-8");

    LanguageFile language;
    language.table << file.value("font/family").toString();
    language.storedCheck = file.value("font/cs").toString();
    const int total = file.value("font/total", 0).toInt();
    language.malformed = total < 0 || total > kMaxStrings;
    for (int k = 1; !language.malformed && k <= total; ++k) {
        language.table << file.value(QStringLiteral("strings/%1").arg(k)).toString();
        language.totalLength += language.table.last().size();
    }
    for (int i = 0; i < kMessageCount; ++i)
        language.messageList << file.value(QStringLiteral("msg/%1").arg(i)).toString();
    return language;
}

QString LanguageFile::checkString(qint64 totalLength)
{
    const qint64 r = totalLength;
    return QString::number(modulo256(r + 74)) + QString::number(modulo256(r - 69))
           + QString::number(modulo256(r * 70)) + QString::number(modulo256(r / 70));
}

QString LanguageFile::expectedCheck() const
{
    return checkString(totalLength);
}

bool LanguageFile::passesCheck() const
{
    return !malformed && storedCheck == expectedCheck();
}
