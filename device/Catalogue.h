#pragma once
// The device catalogue compiled into the program: which devices it serves and how to find them.
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

// One catalogue section in memory.
struct CatalogEntry {
    int type = -1;
    std::uint16_t vid = 0;
    std::uint16_t pid = 0;
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    std::uint16_t usagePage2 = 0;
    std::uint16_t usage2 = 0;
    QString name;
    unsigned reportLength = 0;

    // Data phases travel in reports of this length: 1 to 4096 bytes.
    static constexpr unsigned kMaxReportLength = 4096;
    bool hasUsableReportLength() const { return reportLength >= 1 && reportLength <= kMaxReportLength; }

    // Usage pairs as the scan compares them: usage page low, usage high.
    std::uint32_t commandUsageKey() const { return usagePage | (std::uint32_t(usage) << 16); }
    std::uint32_t eventUsageKey() const { return usagePage2 | (std::uint32_t(usage2) << 16); }
};

struct Catalogue {
    QList<CatalogEntry> entries;
    bool isEncode = false;
};

constexpr const char *kCataloguePath = ":/DevInfo.ini";

// Reads the catalogue file; productNames gives entry n its name (element n, empty when absent).
// A section whose report length is outside 1..4096 keeps its position (positions are device
// ids) with a report length of 0, which the scan never searches for.
Catalogue readCatalogue(const QString &path, const QStringList &productNames);
