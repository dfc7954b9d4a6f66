#pragma once
// Button functions as w3ctl spells them ("key:A", "mouse:left", "media:volume-up",
// "combo:ctrl+shift+a", "macro:NAME:held", "fire:left:5:3", "led", "dpi:+", "scroll:up",
// "none", "default"), read into the key page's codes and written back from them. The codes
// themselves are KeyCodeLogic's.
#include "scenelogic/KeyCodeLogic.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class KeyNameTable;

class ButtonFunction {
public:
    // What a function text asks for. A macro needs a device slot before it has a code.
    struct Request {
        KeyCodeLogic::KeyCode code = KeyCodeLogic::noCode();
        bool isDefault = false;          // the button's factory function
        bool isMacro = false;
        QString macroName;
        int playMode = 0;                // 0 normal play, 1 always repeat, 2 repeat while held
        std::optional<int> repeatCount;  // normal play: times to play, 0..65535
    };

    explicit ButtonFunction(const KeyNameTable &keys) : keys(keys) {}

    // The request of a text; nothing, with `error` saying why, for a text that is not one.
    std::optional<Request> parse(const QString &text, QString *error) const;
    // The text of a code. `macroName` names the macro bound to a device slot ("" if none).
    QString format(const KeyCodeLogic::KeyCode &code, const std::function<QString(int)> &macroName) const;

    // Every spelling the parser takes, for the help and the shell completion.
    static QStringList functionPatterns();
    static QStringList mediaNames();
    static QStringList mouseNames();
    static QStringList modifierNames();

private:
    std::optional<int> keyCode(const QString &name) const;
    QString keyName(int code) const;
    std::optional<KeyCodeLogic::KeyCode> parseCombo(const QString &argument, QString *error) const;
    std::optional<Request> parseMacro(const QString &argument, QString *error) const;
    std::optional<KeyCodeLogic::KeyCode> parseFire(const QString &argument, QString *error) const;

    const KeyNameTable &keys;
};
