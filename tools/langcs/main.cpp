// w3-langcs: computes the check value of language files and writes it into "font/cs".
//
//   w3-langcs FILE...          rewrite the cs line of each file (nothing else changes)
//   w3-langcs --check FILE...  report each file's state; exit status 1 if any is wrong
//
// FILE must be named lang_<six digits>.ini, as the program finds languages by that name.
#include "controller/LanguageFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>
#include <cstdio>

namespace {

const QRegularExpression kFileName(QStringLiteral("^lang_(\\d{6})\\.ini$"));
const QByteArray kFontSection = "[font]";
const QByteArray kCsKey = "cs";

struct Verdict {
    QString expected;
    bool matches = false;
};

// Loads the file the way the program does and compares its cs with the computed one. A file
// that claims more strings than a language file can hold has no check value to write.
bool verdictFor(const QFileInfo &file, Verdict &verdict)
{
    if (!kFileName.match(file.fileName()).hasMatch())
        return false;
    const LanguageFile language = LanguageFile::read(file.absoluteFilePath());
    if (language.isMalformed())
        return false;
    verdict.expected = language.expectedCheck();
    verdict.matches = language.passesCheck();
    return true;
}

bool isSectionHeader(const QByteArray &line)
{
    return line.trimmed().startsWith('[');
}

bool isCsLine(const QByteArray &line)
{
    const int equals = line.indexOf('=');
    return equals > 0 && line.left(equals).trimmed() == kCsKey;
}

// Replaces the cs line of the [font] section, or adds one right after its header (or a new
// section at the end); every other byte of the file stays as it was.
QByteArray withCheckValue(const QByteArray &text, const QString &cs)
{
    QList<QByteArray> lines = text.split('\n');
    const QByteArray ending = text.contains("\r\n") ? "\r" : "";
    const QByteArray csLine = kCsKey + '=' + cs.toLatin1() + ending;
    int fontHeader = -1;
    bool inFont = false;
    for (int i = 0; i < lines.size(); ++i) {
        if (isSectionHeader(lines.at(i))) {
            inFont = lines.at(i).trimmed() == kFontSection;
            if (inFont)
                fontHeader = i;
        } else if (inFont && isCsLine(lines.at(i))) {
            lines[i] = csLine;
            return lines.join('\n');
        }
    }
    if (fontHeader >= 0) {
        lines.insert(fontHeader + 1, csLine);
        return lines.join('\n');
    }
    QByteArray result = text;
    if (!result.isEmpty() && !result.endsWith('\n'))
        result += ending + '\n';
    return result + kFontSection + ending + '\n' + csLine + '\n';
}

bool writeCheckValue(const QString &path, const QString &cs)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = in.readAll();
    in.close();
    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(withCheckValue(text, cs)) >= 0
           && out.commit();
}

int processFile(const QString &path, bool checkOnly)
{
    const QFileInfo file(path);
    Verdict verdict;
    if (!file.isFile() || !verdictFor(file, verdict)) {
        std::fprintf(stderr,
                     "%s: not a readable lang_<six digits>.ini file, or font/total beyond %d\n",
                     qPrintable(path), LanguageFile::kMaxStrings);
        return 1;
    }
    if (checkOnly) {
        std::printf("%s: %s (cs=%s)\n", qPrintable(path), verdict.matches ? "ok" : "WRONG",
                    qPrintable(verdict.expected));
        return verdict.matches ? 0 : 1;
    }
    if (!verdict.matches && !writeCheckValue(path, verdict.expected)) {
        std::fprintf(stderr, "%s: cannot write the file\n", qPrintable(path));
        return 1;
    }
    // Read back: the file must now pass the program's own check.
    if (!verdictFor(file, verdict) || !verdict.matches) {
        std::fprintf(stderr, "%s: check value still wrong after writing\n", qPrintable(path));
        return 1;
    }
    std::printf("%s: cs=%s\n", qPrintable(path), qPrintable(verdict.expected));
    return 0;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool checkOnly = args.removeAll("--check") > 0;
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: w3-langcs [--check] lang_<code>.ini...\n");
        return 2;
    }
    int failures = 0;
    for (const QString &path : args)
        failures += processFile(path, checkOnly);
    return failures == 0 ? 0 : 1;
}
