#pragma once
// The sensor page's commands: the stage values and their indicator colours, which reach the
// mouse at once, and what APPLY sends. The page, w3ctl and a profile sent whole use these.
#include <QList>
#include <QObject>
#include <QVariantList>

class Controllers;

class SensorActions : public QObject {
    Q_OBJECT
public:
    explicit SensorActions(Controllers &controllers, QObject *parent = nullptr);

    // The eight stage values (0 = unused) as the mouse takes them, with the number of stages
    // the mouse has.
    Q_INVOKABLE void sendStages(int sensorType, int stageCount, const QVariantList &values);
    // Colour ids when the mouse's indicator shows only the fixed colours, else red, green and
    // blue per stage.
    Q_INVOKABLE void sendStageColors(bool fixedColorsOnly, const QVariantList &colors);
    // position is the rate's place in the page's list.
    Q_INVOKABLE void setReportRate(int reportRatePosition);
    // stage counts from 0, as the page shows it.
    Q_INVOKABLE void useStage(int stage);
    // The page's APPLY: report rate, the desktop's three pointer settings, the stage in use.
    Q_INVOKABLE void apply(int reportRatePosition, int cursorSpeed, int scrollLines, int doubleClickSpeed,
                           int stage);

    // What the mouse holds of the sensor page, sent again as the page sends it: the stages
    // and their colours at once, then APPLY.
    void sendStored();

private:
    QList<int> storedStages(int sensorType) const;

    Controllers &controllers;
};
