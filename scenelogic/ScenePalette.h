#pragma once
// The text colour palette strip, its preset colours and the brightness alpha.
#include <QObject>

class ScenePalette : public QObject {
    Q_OBJECT
};
