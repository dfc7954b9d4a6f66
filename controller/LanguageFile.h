#pragma once
// One language file read as the program reads it: the scene's string table, the message list,
// and whether the file's check value holds. Needs nothing but QtCore (the w3-langcs tool uses it).
#include <QString>
#include <QStringList>

class LanguageFile {
public:
    // More numbered strings than any scene has (it reads 117), with a wide margin; a file
    // that claims more is malformed.
    static constexpr int kMaxStrings = 1024;
    static constexpr int kMessageCount = 12;

    // A missing file reads as empty: every value absent.
    static LanguageFile read(const QString &path);

    // The check value of strings whose lengths add up to totalLength.
    static QString checkString(qint64 totalLength);

    // Entry 0 the font family, entries 1..N the numbered strings ("font/total" = N).
    const QStringList &strings() const { return table; }
    // "msg/0".."msg/5".
    const QStringList &messages() const { return messageList; }
    // "font/total" is negative or beyond kMaxStrings: no numbered string was read.
    bool isMalformed() const { return malformed; }
    // The check value the strings call for.
    QString expectedCheck() const;
    // Well formed, and "font/cs" equals the check value of the strings.
    bool passesCheck() const;

private:
    QStringList table;
    QStringList messageList;
    QString storedCheck;
    qint64 totalLength = 0;
    bool malformed = false;
};
