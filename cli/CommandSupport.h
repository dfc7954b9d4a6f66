#pragma once
// Small conversions the command files share.
#include "scenelogic/LightingLogic.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QStringList>
#include <QVariantList>

namespace cli {

inline QString tr(const char *text)
{
    return QCoreApplication::translate("w3ctl", text);
}

constexpr int kKeyCodeLength = 4;
constexpr int kColorValues = 3 * LightingLogic::kColorCount;  // 24: r, g, b per stage
constexpr int kPointerTimeoutMs = 5000;

// The numbers the shell offers for a step option or argument: low..high.
inline QStringList numberWords(int low, int high)
{
    QStringList words;
    for (int number = low; number <= high; ++number)
        words << QString::number(number);
    return words;
}

inline QJsonArray toJson(const QList<int> &values)
{
    QJsonArray array;
    for (int value : values)
        array.append(value);
    return array;
}

inline QList<int> numbers(const QVariantList &values)
{
    QList<int> list;
    for (const QVariant &value : values)
        list << value.toInt();
    return list;
}

template <typename Ints>
QVariantList variants(const Ints &values)
{
    QVariantList list;
    for (int value : values)
        list << value;
    return list;
}

inline QString joined(const QList<int> &values, const QString &separator = ",")
{
    QStringList texts;
    for (int value : values)
        texts << QString::number(value);
    return texts.join(separator);
}

// "left-button" for "LEFT BUTTON": how the command line names a button.
inline QString commandName(const QString &name)
{
    return name.trimmed().toLower().replace(' ', '-');
}

}  // namespace cli
