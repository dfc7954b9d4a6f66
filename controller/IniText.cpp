#include "controller/IniText.h"

namespace {

constexpr char kQuote = '"';
constexpr char kBackslash = '\\';

struct SimpleEscape {
    char code;
    char character;
};
constexpr SimpleEscape kSimpleEscapes[] = {
    {'a', '\a'},
    {'b', '\b'},
    {'f', '\f'},
    {'n', '\n'},
    {'r', '\r'},
    {'t', '\t'},
    {'v', '\v'},
    {'"', '"'},
    {'?', '?'},
    {'\'', '\''},
    {'\\', '\\'},
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

int digitValue(char c, int base)
{
    const int value = c >= '0' && c <= '9' ? c - '0'
        : c >= 'a' && c <= 'f'             ? c - 'a' + 10
        : c >= 'A' && c <= 'F'             ? c - 'A' + 10
                                           : base;
    return value < base ? value : -1;
}

// The character of the digits from `at` in `base` (\xHHHH or \ooo); `at` moves past them.
// QSettings keeps the low 16 bits of however many digits there are.
QChar numberedCharacter(const QByteArray &value, int &at, uint first, int base)
{
    uint code = first;
    for (int digit = 0; at < value.size() && (digit = digitValue(value.at(at), base)) >= 0; ++at)
        code = (code * uint(base) + uint(digit)) & 0xFFFFu;
    return QChar(ushort(code));
}

// Reads the escape whose code is at `at` into `text`; `at` moves past it. An unknown code
// stands for nothing, as QSettings reads it.
void readEscape(const QByteArray &value, int &at, QString &text)
{
    const char code = value.at(at++);
    for (const SimpleEscape &escape : kSimpleEscapes) {
        if (escape.code == code) {
            text += QLatin1Char(escape.character);
            return;
        }
    }
    if (code == 'x' && at < value.size() && digitValue(value.at(at), 16) >= 0)
        text += numberedCharacter(value, at, 0, 16);
    else if (digitValue(code, 8) >= 0)
        text += numberedCharacter(value, at, uint(code - '0'), 8);
}

void chopTrailingBlanks(QString &text)
{
    while (!text.isEmpty() && isBlank(text.back().toLatin1()))
        text.chop(1);
}

bool isHexDigit(QChar c)
{
    return c.unicode() < 0x80 && digitValue(c.toLatin1(), 16) >= 0;
}

// QSettings' own marks for typed values and for a text that begins with '@'.
constexpr char kTypeMark = '@';

}  // namespace

std::optional<QString> IniText::unescaped(const QByteArray &value)
{
    QString text;
    bool inQuotes = false;
    bool quoted = false;
    int at = 0;
    while (at < value.size() && isBlank(value.at(at)))
        ++at;
    while (at < value.size()) {
        const char c = value.at(at++);
        if (c == kBackslash) {
            if (at == value.size())
                return std::nullopt;
            readEscape(value, at, text);
        } else if (c == kQuote) {
            inQuotes = !inQuotes;
            quoted = true;
            while (!inQuotes && at < value.size() && isBlank(value.at(at)))
                ++at;
        } else if (!inQuotes && c == ';') {
            break;  // a comment to the end of the line
        } else if (!inQuotes && c == ',') {
            return std::nullopt;
        } else {
            text += QLatin1Char(c);
        }
    }
    if (inQuotes)
        return std::nullopt;
    if (!quoted)
        chopTrailingBlanks(text);
    if (text.startsWith(QLatin1Char(kTypeMark))) {
        if (text.startsWith(QStringLiteral("@@")))
            return text.mid(1);
        if (text.endsWith(QLatin1Char(')')))
            return std::nullopt;
    }
    return text;
}

QByteArray IniText::escaped(const QString &text)
{
    const QString marked = text.startsWith(QLatin1Char(kTypeMark)) ? QLatin1Char(kTypeMark) + text : text;
    QByteArray value;
    bool needsQuotes = false;
    bool escapeHexDigit = false;  // a hex digit after \xHHHH would be read as part of it
    for (const QChar c : marked) {
        const ushort code = c.unicode();
        needsQuotes = needsQuotes || code == ';' || code == ',' || code == '=';
        if (code < 0x20 || code >= 0x7F || (escapeHexDigit && isHexDigit(c))) {
            value += "\\x" + QByteArray::number(code, 16);
            escapeHexDigit = true;
            continue;
        }
        escapeHexDigit = false;
        if (code == kQuote || code == kBackslash)
            value += kBackslash;
        value += char(code);
    }
    if (needsQuotes || value.startsWith(' ') || value.endsWith(' '))
        return kQuote + value + kQuote;
    return value;
}
