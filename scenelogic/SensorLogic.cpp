#include "scenelogic/SensorLogic.h"

#include <QPair>
#include <QVector>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

using CodeTable = QVector<QPair<int, int>>;  // DPI value, stage byte

struct SensorModel {
    const char *name;
    QList<int> defaults;  // stages 1..4
    CodeTable codes;
    int unit;             // DPI per step of the multiplier
    int multiplierOffset;  // the 3325 counts from one step up
};

constexpr int kDoubleBit = 0x40;
constexpr int kMultiplierMask = 0x3F;

const QVector<SensorModel> &models()
{
    static const QVector<SensorModel> table = {
        {"ANDS3050", {500, 1000, 1500, 2000},
         {{250, 0x01}, {500, 0x02}, {750, 0x03}, {1000, 0x04}, {1250, 0x05}, {1500, 0x06},
          {1750, 0x07}, {2000, 0x08}, {2500, 0x45}, {3000, 0x46}, {3500, 0x47}, {4000, 0x48}},
         250, 0},
        {"ANDS3320", {1000, 2500, 3500, 7000},
         {{500, 0x02}, {1000, 0x04}, {1750, 0x07}, {2000, 0x08}, {2500, 0x0A}, {3000, 0x0C},
          {3500, 0x0E}, {4000, 0x48}, {5000, 0x4A}, {6000, 0x4C}, {7000, 0x4E}},
         250, 0},
        {"ANDS5050", {500, 1000, 1500, 2500},
         {{250, 0x02}, {500, 0x04}, {750, 0x06}, {1000, 0x08}, {1250, 0x0A}, {1500, 0x46},
          {1750, 0x47}, {2000, 0x48}, {2500, 0x4A}, {2750, 0x4B}},
         125, 0},
        {"ANDS3325", {1000, 2000, 4000, 8000},
         {{400, 0x03}, {600, 0x05}, {800, 0x07}, {1000, 0x09}, {1200, 0x0B}, {1400, 0x0D},
          {1600, 0x0F}, {1800, 0x11}, {2000, 0x13}, {2400, 0x17}, {2800, 0x1B}, {3200, 0x1F},
          {4000, 0x27}, {4800, 0x2F}, {6000, 0x5D}, {8000, 0x67}, {10000, 0x71}},
         100, 1},
    };
    return table;
}

const SensorModel *model(int sensorType)
{
    if (sensorType < 0 || sensorType >= models().size())
        return nullptr;
    return &models().at(sensorType);
}

// A stored stage value as a whole number; what is no number reads as 0 (unused).
int storedValue(const QVariant &item)
{
    bool ok = false;
    const double value = item.toDouble(&ok);
    return ok && value > 0 && value < std::numeric_limits<int>::max() ? int(value) : 0;
}

const QStringList kReportRateLabels = {"125 Hz", "250 Hz", "500 Hz", "1000 Hz"};

}  // namespace

QString SensorLogic::sensorName(int sensorType)
{
    const SensorModel *sensor = model(sensorType);
    return sensor ? QString::fromLatin1(sensor->name) : QString();
}

QList<int> SensorLogic::valueMenu(int sensorType)
{
    const SensorModel *sensor = model(sensorType);
    if (!sensor)
        return {};
    QList<int> menu{0};
    for (const auto &entry : sensor->codes)
        menu.append(entry.first);
    return menu;
}

QList<int> SensorLogic::defaultStages(int sensorType)
{
    const SensorModel *sensor = model(sensorType);
    QList<int> stages = sensor ? sensor->defaults : QList<int>();
    while (stages.size() < kStageCount)
        stages.append(0);
    return stages;
}

int SensorLogic::encode(int sensorType, int dpi)
{
    const SensorModel *sensor = model(sensorType);
    if (!sensor)
        return kUnusedStageCode;
    const auto found = std::find_if(sensor->codes.cbegin(), sensor->codes.cend(),
                                    [dpi](const QPair<int, int> &entry) { return entry.first == dpi; });
    return found == sensor->codes.cend() ? kUnusedStageCode : found->second;
}

int SensorLogic::decode(int sensorType, int code)
{
    const SensorModel *sensor = model(sensorType);
    if (!sensor || (code & kUnusedStageCode))
        return 0;
    const int value = ((code & kMultiplierMask) + sensor->multiplierOffset) * sensor->unit;
    return (code & kDoubleBit) ? 2 * value : value;
}

int SensorLogic::nearestValue(int sensorType, int dpi)
{
    const SensorModel *sensor = model(sensorType);
    if (!sensor || dpi <= 0)
        return 0;
    int nearest = sensor->codes.first().first;
    for (const auto &entry : sensor->codes) {
        if (std::abs(entry.first - dpi) < std::abs(nearest - dpi))
            nearest = entry.first;
    }
    return nearest;
}

QList<int> SensorLogic::usableStages(int sensorType, const QVariantList &values)
{
    QList<int> stages;
    for (int stage = 0; stage < kStageCount; ++stage)
        stages.append(nearestValue(sensorType, storedValue(values.value(stage))));
    return stages;
}

QVariantList SensorLogic::adjustedStages(int sensorType, const QVariantList &values)
{
    const QList<int> usable = usableStages(sensorType, values);
    QVariantList adjusted;
    for (int stage = 0; stage < kStageCount; ++stage)
        adjusted.append(usable.at(stage) != 0 && usable.at(stage) != storedValue(values.value(stage)));
    return adjusted;
}

int SensorLogic::stageInUse(const QList<int> &values, int stage, int stageCount)
{
    const int count = std::clamp(stageCount, 0, int(values.size()));
    const auto isUsed = [&](int candidate) { return candidate >= 0 && candidate < count && values.at(candidate) != 0; };
    if (isUsed(stage))
        return stage;
    for (int distance = 1; distance <= std::abs(stage) + count; ++distance) {
        if (isUsed(stage - distance))
            return stage - distance;
        if (isUsed(stage + distance))
            return stage + distance;
    }
    return kNoStage;
}

QVariantList SensorLogic::encodeStages(int sensorType, const QList<int> &values)
{
    QVariantList codes;
    for (int stage = 0; stage < kStageCount; ++stage)
        codes.append(stage < values.size() ? encode(sensorType, values.at(stage)) : kUnusedStageCode);
    return codes;
}

QStringList SensorLogic::reportRateLabels()
{
    return kReportRateLabels;
}

int SensorLogic::reportRateValue(int position)
{
    return 1 << (kReportRatePositions - 1 - std::clamp(position, 0, kReportRatePositions - 1));
}

int SensorLogic::reportRatePosition(int deviceValue)
{
    int lowestBit = 0;  // 1-based, 0 when no bit is set
    for (int bit = 0; bit < 8; ++bit) {
        if (deviceValue & (1 << bit)) {
            lowestBit = bit + 1;
            break;
        }
    }
    return std::min(std::max(kReportRatePositions - lowestBit, 0), kReportRatePositions - 1);
}
