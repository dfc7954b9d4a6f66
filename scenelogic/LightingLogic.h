#pragma once
// Light effects: which controls each effect uses and the option formulas.
#include <QObject>

class LightingLogic : public QObject {
    Q_OBJECT
};
