#pragma once
// Button key codes and the key page's menus, both ways.
#include <QObject>

class KeyCodeLogic : public QObject {
    Q_OBJECT
};
