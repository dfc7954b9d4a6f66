#include "controller/ProfileCheck.h"

#include "controller/ProfileStore.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ProfileCheck", text);
}

constexpr int kByteMax = 255;
constexpr int kWordMax = 65535;

// A list entry of a profile: the keys it covers, its length and the range of its items.
struct ListShape {
    QRegularExpression key;
    int length;
    int maximum;
    int optionalItems = 0;  // items that may follow the required ones
};

const QList<ListShape> &listShapes()
{
    static const QList<ListShape> shapes = {
        {QRegularExpression("^keydefine_W3/(1[0-5]|[0-9])$"), 4, kByteMax},
        {QRegularExpression("^sensor/dpi_W3$"), 8, kWordMax},
        {QRegularExpression("^color_W3/type[01]$"), 24, kByteMax},
        {QRegularExpression("^color_W3/type2$"), 8, kByteMax},
        // Effect, brightness, speed, then the light's on/off state where the page stored it.
        {QRegularExpression("^color_W3/ledEffect$"), 3, kByteMax, 1},
        {QRegularExpression("^keydefine/(12[0-5]|1[01][0-9]|[1-9]?[0-9])$"), 4, kByteMax},
        {QRegularExpression("^color/ledType$"), 5, kByteMax},
        {QRegularExpression("^color/[0-9]+$"), 3, kByteMax},
        {QRegularExpression("^userPicture/[0-4]$"), 512, kByteMax},
    };
    return shapes;
}

const QStringList kNumbers = {"sensor/reportRate_W3",          "sensor/cursorSpeed_W3",
                              "sensor/verticalScrollLines_W3", "sensor/doubleClickSpeed_W3",
                              "sensor/stage_W3"};
const QString kScrollSwapKey = QStringLiteral("keydefine_W3/scrollswap");

bool isNumberUpTo(const QVariant &item, int maximum)
{
    bool ok = false;
    const int value = item.toString().trimmed().toInt(&ok);
    return ok && value >= 0 && value <= maximum;
}

// Empty when the entry is not a profile entry or has its shape; otherwise the problem.
QString entryProblem(const QSettings &profile, const QString &key, bool &known)
{
    for (const ListShape &shape : listShapes()) {
        if (!shape.key.match(key).hasMatch())
            continue;
        known = true;
        const QVariantList items = ProfileStore::storedList(profile, key);
        if (items.size() < shape.length || items.size() > shape.length + shape.optionalItems)
            return tr("%1 holds %2 values instead of %3.")
                .arg(key)
                .arg(items.size())
                .arg(shape.length);
        for (const QVariant &item : items) {
            if (!isNumberUpTo(item, shape.maximum))
                return tr("%1 holds a value that is not a number from 0 to %2.")
                    .arg(key)
                    .arg(shape.maximum);
        }
        return QString();
    }
    if (kNumbers.contains(key)) {
        known = true;
        if (!isNumberUpTo(profile.value(key), kWordMax))
            return tr("%1 is not a number.").arg(key);
    } else if (key == kScrollSwapKey) {
        known = true;
        const QString value = profile.value(key).toString();
        if (value != "true" && value != "false")
            return tr("%1 is neither true nor false.").arg(key);
    }
    return QString();
}

}  // namespace

QString ProfileCheck::problem(const QString &path)
{
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable())
        return tr("The file cannot be read.");
    if (file.size() == 0 || file.size() > kMaxFileSize)
        return tr("The file is empty or far too large for a profile.");
    const QSettings profile(path, QSettings::IniFormat);
    if (profile.status() != QSettings::NoError)
        return tr("The file is not a settings file.");
    bool anyKnown = false;
    for (const QString &key : profile.allKeys()) {
        const QString problem = entryProblem(profile, key, anyKnown);
        if (!problem.isEmpty())
            return problem;
    }
    return anyKnown ? QString() : tr("The file holds no profile settings.");
}
