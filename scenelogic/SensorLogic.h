#pragma once
// DPI stage tables per sensor type, the DPI encoder and the report rate positions.
#include <QObject>

class SensorLogic : public QObject {
    Q_OBJECT
};
