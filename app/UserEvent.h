#pragma once
#include <QEvent>

// The shell's own event; code 2177 starts the scene.
class UserEvent : public QEvent {
public:
    static constexpr QEvent::Type kType = QEvent::User;  // 1000
    static constexpr int kStartScene = 2177;

    explicit UserEvent(int code) : QEvent(kType), code(code) {}
    const int code;
};
