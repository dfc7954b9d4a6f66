#include "device/Catalogue.h"

#include <QDebug>
#include <QSettings>

namespace {

// Read as a base-16 int, of which the low 16 bits are kept.
std::uint16_t hex16(const QSettings &ini, const QString &key)
{
    bool ok = false;
    const int value = ini.value(key, 0).toString().toInt(&ok, 16);
    return ok ? static_cast<std::uint16_t>(value & 0xFFFF) : 0;
}

unsigned reportLength(const QSettings &ini, const QString &section)
{
    const QString text = ini.value(section + "reportLength", 0).toString();
    bool ok = false;
    const uint length = text.toUInt(&ok);
    if (ok && length >= 1 && length <= CatalogEntry::kMaxReportLength)
        return length;
    qDebug().noquote() << "Catalogue section" << section.chopped(1) << "ignored: report length" << text
                       << "is not 1 to" << CatalogEntry::kMaxReportLength;
    return 0;
}

int hexInt(const QSettings &ini, const QString &key, int fallback)
{
    if (!ini.contains(key))
        return fallback;
    bool ok = false;
    const int value = ini.value(key).toString().toInt(&ok, 16);
    return ok ? value : 0;
}

}  // namespace

Catalogue readCatalogue(const QString &path, const QStringList &productNames)
{
    QSettings ini(path, QSettings::IniFormat);
    Catalogue catalogue;
    // The section count is read again before every section.
    for (int n = 0; n < ini.value("common/total", 0).toInt(); ++n) {
        const QString section = QString::number(n) + "/";
        CatalogEntry entry;
        entry.type = hexInt(ini, section + "type", -1);
        entry.vid = hex16(ini, section + "vid");
        entry.pid = hex16(ini, section + "pid");
        entry.usagePage = hex16(ini, section + "usagePage");
        entry.usage = hex16(ini, section + "usage");
        entry.usagePage2 = hex16(ini, section + "usagePage2");
        entry.usage2 = hex16(ini, section + "usage2");
        entry.name = productNames.value(n);
        entry.reportLength = reportLength(ini, section);
        catalogue.entries.append(entry);
    }
    catalogue.isEncode = ini.value("common/isEncode", false).toBool();
    return catalogue;
}
