#pragma once
// DPI stage tables per sensor type, the DPI encoder and the report rate positions.
// Plain static functions, also callable from the scene as the singleton "Sensor".
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>

class SensorLogic : public QObject {
    Q_OBJECT
    Q_PROPERTY(int stageCount READ stageCount CONSTANT)
    Q_PROPERTY(int unusedStageCode READ unusedStageCode CONSTANT)
    Q_PROPERTY(int defaultReportRatePosition READ defaultReportRatePosition CONSTANT)
public:
    static constexpr int kStageCount = 8;
    // Stage byte of an unused stage, and of a value the sensor's table does not hold.
    static constexpr int kUnusedStageCode = 0x80;
    static constexpr int kNoStage = -1;
    static constexpr int kReportRatePositions = 4;
    static constexpr int kDefaultReportRatePosition = 2;  // 500 Hz

    static int stageCount() { return kStageCount; }
    static int unusedStageCode() { return kUnusedStageCode; }
    static int defaultReportRatePosition() { return kDefaultReportRatePosition; }

    // The chip name of a sensor type; empty for a type the scene does not know.
    Q_INVOKABLE static QString sensorName(int sensorType);
    // The values a stage can take, 0 (unused) first; empty for an unknown type.
    Q_INVOKABLE static QList<int> valueMenu(int sensorType);
    // Eight factory stage values; all zero for an unknown type.
    Q_INVOKABLE static QList<int> defaultStages(int sensorType);

    // The stage byte of a DPI value; kUnusedStageCode for 0 and values outside the table.
    Q_INVOKABLE static int encode(int sensorType, int dpi);
    // The DPI value a stage byte stands for; 0 for an unused stage or an unknown type.
    Q_INVOKABLE static int decode(int sensorType, int code);
    // The sensor's value nearest to dpi (the lower one of two as near); 0 for dpi <= 0 and
    // for an unknown type.
    Q_INVOKABLE static int nearestValue(int sensorType, int dpi);
    // Eight stage values as the mouse gets them. A stored value the sensor's table lacks
    // becomes the sensor's nearest value, so a profile made for another sensor (or the
    // shipped one) keeps every stage it uses; 0, a missing item or one that is no positive
    // number is an unused stage.
    Q_INVOKABLE static QList<int> usableStages(int sensorType, const QVariantList &values);
    // Per stage: true where usableStages moved a stored value to another one.
    Q_INVOKABLE static QVariantList adjustedStages(int sensorType, const QVariantList &values);
    // The stage (0-based) to use when `stage` is wanted: itself when it is used and below
    // stageCount, else the nearest used stage, the lower one of two as near; kNoStage when no
    // stage below stageCount is used.
    Q_INVOKABLE static int stageInUse(const QList<int> &values, int stage, int stageCount);
    // Eight stage bytes (ints in a QVariantList, as the view takes them); missing values count
    // as unused stages.
    Q_INVOKABLE static QVariantList encodeStages(int sensorType, const QList<int> &values);

    // Report rate: position 0..3 is 125, 250, 500, 1000 Hz; the device byte is 8, 4, 2, 1.
    Q_INVOKABLE static QStringList reportRateLabels();
    Q_INVOKABLE static int reportRateValue(int position);
    // Reads a device byte back by its lowest set bit; 0 reads as the last position.
    Q_INVOKABLE static int reportRatePosition(int deviceValue);
};
