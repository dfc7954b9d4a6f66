#pragma once
// A colour as the mouse stores it: red, green and blue, 0-255 each. Plain Qt Core, so that
// w3ctl needs no window system to read or write one.
#include <QRegularExpression>
#include <QString>
#include <optional>

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;

    // "#rrggbb"
    QString name() const
    {
        return QString("#%1%2%3").arg(red, 2, 16, QChar('0')).arg(green, 2, 16, QChar('0')).arg(blue, 2, 16, QChar('0'));
    }
    // "#rrggbb" or "rrggbb", either case; nothing for anything else.
    static std::optional<Rgb> fromName(const QString &text)
    {
        static const QRegularExpression hex("^#?([0-9a-fA-F]{2})([0-9a-fA-F]{2})([0-9a-fA-F]{2})$");
        const QRegularExpressionMatch match = hex.match(text);
        if (!match.hasMatch())
            return std::nullopt;
        return Rgb{match.captured(1).toInt(nullptr, 16), match.captured(2).toInt(nullptr, 16),
                   match.captured(3).toInt(nullptr, 16)};
    }
    bool operator==(const Rgb &other) const
    {
        return red == other.red && green == other.green && blue == other.blue;
    }
};
