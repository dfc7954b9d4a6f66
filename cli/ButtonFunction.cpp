#include "cli/ButtonFunction.h"

#include "controller/KeyNameTable.h"

#include <QCoreApplication>

namespace {

using KeyCode = KeyCodeLogic::KeyCode;

QString tr(const char *text)
{
    return QCoreApplication::translate("w3ctl", text);
}

// The MEDIA menu's entries, in menu order.
const QStringList kMediaNames = {
    "next-track", "previous-track", "stop", "play-pause", "mute", "volume-up", "volume-down",
    "media-select", "mail", "calculator", "my-computer", "www-search", "www-home", "www-back",
    "www-forward", "www-stop", "www-refresh", "www-favorites",
};

// The mouse menu's entries, in menu order (KeyCodeLogic::MouseEntry).
const QStringList kMouseFunctions = {
    "mouse:left", "mouse:right", "mouse:middle", "mouse:backward", "mouse:forward", "mouse:triple-click",
    "dpi:+", "dpi:-", "dpi:switch", "scroll:up", "scroll:down",
};
const QStringList kMouseButtons = {"left", "right", "middle", "backward", "forward"};

// The COMBO modifier menu, positions 1..8, and the key names of the same keys.
const QStringList kModifiers = {"ctrl", "shift", "alt", "win", "rctrl", "rshift", "ralt", "rwin"};
const QStringList kModifierKeys = {"L Ctrl", "L Shift", "L Alt", "L Win", "R Ctrl", "R Shift", "R Alt", "R Win"};

const QStringList kPlayModes = {"", "always", "held"};

constexpr int kMaxRepeat = 65535;
constexpr int kMaxFireCount = 255;
constexpr int kMaxComboKeys = 2;

std::optional<int> number(const QString &text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

QString hexCode(const KeyCode &code)
{
    return QString::asprintf("%02X-%02X-%02X-%02X", code[0], code[1], code[2], code[3]);
}

}  // namespace

QStringList ButtonFunction::mediaNames() { return kMediaNames; }
QStringList ButtonFunction::modifierNames() { return kModifiers; }

QStringList ButtonFunction::mouseNames()
{
    return kMouseFunctions;
}

QStringList ButtonFunction::functionPatterns()
{
    return {"key:KEY", "mouse:BUTTON", "media:NAME", "combo:[MODIFIER+]KEY[+KEY]", "macro:NAME[:COUNT|:always|:held]",
            "fire:BUTTON|KEY:SPEED:COUNT", "led", "dpi:+|-|switch", "scroll:up|down", "none", "default"};
}

std::optional<int> ButtonFunction::keyCode(const QString &name) const
{
    const int modifier = kModifiers.indexOf(name.toLower());
    const QString spelled = modifier >= 0 ? kModifierKeys.at(modifier) : name;
    const QString capitalised = spelled.left(1).toUpper() + spelled.mid(1).toLower();
    for (const QString &candidate : {spelled, spelled.toUpper(), capitalised}) {
        if (const uchar code = keys.code(candidate))
            return code;
    }
    if (spelled.startsWith("0x", Qt::CaseInsensitive)) {
        bool ok = false;
        const int code = spelled.mid(2).toInt(&ok, 16);
        if (ok && code > 0 && code <= 0xFF)
            return code;
    }
    return std::nullopt;
}

QString ButtonFunction::keyName(int code) const
{
    const int button = code - KeyCodeLogic::kFirstMouseButton;
    if (button >= 0 && button < KeyCodeLogic::kMouseButtonCount)
        return kMouseButtons.at(button);
    const QString name = keys.name(uchar(code));
    const int modifier = kModifierKeys.indexOf(name);
    if (modifier >= 0)
        return kModifiers.at(modifier);
    return name.isEmpty() ? QString::asprintf("0x%02X", code) : name;
}

std::optional<KeyCode> ButtonFunction::parseCombo(const QString &argument, QString *error) const
{
    QStringList parts = argument.split('+');
    int modifier = 0;
    if (parts.size() > 1 && kModifiers.contains(parts.first().toLower()))
        modifier = kModifiers.indexOf(parts.takeFirst().toLower()) + 1;
    if (parts.size() > kMaxComboKeys || parts.contains(QString())) {
        *error = tr("a combination is one modifier and one or two keys: combo:ctrl+shift+a");
        return std::nullopt;
    }
    int combo[kMaxComboKeys] = {0, 0};
    for (int i = 0; i < parts.size(); ++i) {
        const std::optional<int> code = keyCode(parts.at(i));
        if (!code) {
            *error = tr("unknown key \"%1\"").arg(parts.at(i));
            return std::nullopt;
        }
        combo[i] = *code;
    }
    return KeyCodeLogic::comboCode(modifier, combo[0], combo[1]);
}

std::optional<ButtonFunction::Request> ButtonFunction::parseMacro(const QString &argument, QString *error) const
{
    Request request;
    request.isMacro = true;
    request.macroName = argument;
    const int colon = argument.lastIndexOf(':');
    if (colon > 0) {
        const QString mode = argument.mid(colon + 1).toLower();
        const std::optional<int> count = number(mode, 0, kMaxRepeat);
        if (kPlayModes.indexOf(mode) > 0 || count) {
            request.macroName = argument.left(colon);
            request.playMode = count ? 0 : kPlayModes.indexOf(mode);
            if (count)
                request.repeatCount = *count;
        }
    }
    if (request.macroName.isEmpty()) {
        *error = tr("macro: needs the name of a macro");
        return std::nullopt;
    }
    return request;
}

std::optional<KeyCode> ButtonFunction::parseFire(const QString &argument, QString *error) const
{
    // The key name may hold a colon ("; :"): speed and count are the last two fields.
    const int countColon = argument.lastIndexOf(':');
    const int speedColon = countColon > 0 ? argument.lastIndexOf(':', countColon - 1) : -1;
    if (speedColon <= 0) {
        *error = tr("fire needs a button or key, a speed 0-7 and a count 0-255: fire:left:5:3");
        return std::nullopt;
    }
    const QString key = argument.left(speedColon);
    const int button = kMouseButtons.indexOf(key.toLower());
    const std::optional<int> code =
        button >= 0 ? std::optional<int>(KeyCodeLogic::kFirstMouseButton + button) : keyCode(key);
    const std::optional<int> speed =
        number(argument.mid(speedColon + 1, countColon - speedColon - 1), 0, KeyCodeLogic::kFireSpeedSteps - 1);
    const std::optional<int> count = number(argument.mid(countColon + 1), 0, kMaxFireCount);
    if (!code)
        *error = tr("unknown key \"%1\"").arg(key);
    else if (!speed)
        *error = tr("fire speed must be 0-7");
    else if (!count)
        *error = tr("fire count must be 0-255");
    else
        return KeyCodeLogic::fireCode(*code, *speed, *count);
    return std::nullopt;
}

std::optional<ButtonFunction::Request> ButtonFunction::parse(const QString &text, QString *error) const
{
    Request request;
    const QString lower = text.toLower();
    const int colon = text.indexOf(':');
    const QString kind = colon < 0 ? lower : lower.left(colon);
    const QString argument = colon < 0 ? QString() : text.mid(colon + 1);
    const int mouseEntry = kMouseFunctions.indexOf(lower);
    std::optional<KeyCode> code;

    if (lower == "none") {
        code = KeyCodeLogic::noCode();
    } else if (lower == "led") {
        code = KeyCodeLogic::ledCode();
    } else if (lower == "default") {
        request.isDefault = true;
        return request;
    } else if (mouseEntry >= 0) {
        code = KeyCodeLogic::mouseCode(KeyCodeLogic::MouseEntry(mouseEntry));
    } else if (lower == "dpi:up" || lower == "dpi:down") {
        code = KeyCodeLogic::mouseCode(lower == "dpi:up" ? KeyCodeLogic::DpiUp : KeyCodeLogic::DpiDown);
    } else if (lower == "mouse:back") {
        code = KeyCodeLogic::mouseCode(KeyCodeLogic::Backward);
    } else if (kind == "key") {
        const std::optional<int> key = keyCode(argument);
        if (key)
            code = KeyCodeLogic::keyboardCode(*key);
        else
            *error = tr("unknown key \"%1\"").arg(argument);
    } else if (kind == "media") {
        const int entry = kMediaNames.indexOf(argument.toLower());
        if (entry >= 0)
            code = KeyCodeLogic::mediaCode(entry);
        else
            *error = tr("unknown media key \"%1\"; one of: %2").arg(argument, kMediaNames.join(", "));
    } else if (kind == "combo") {
        code = parseCombo(argument, error);
    } else if (kind == "fire") {
        code = parseFire(argument, error);
    } else if (kind == "macro") {
        return parseMacro(argument, error);
    } else {
        *error = tr("unknown function \"%1\"; one of: %2").arg(text, functionPatterns().join(", "));
    }
    if (!code)
        return std::nullopt;
    request.code = *code;
    return request;
}

QString ButtonFunction::format(const KeyCode &code, const std::function<QString(int)> &macroName) const
{
    const KeyCodeLogic::Menus menus = KeyCodeLogic::menusForCode(code);
    switch (menus.function) {
    case KeyCodeLogic::Keyboard:
        return "key:" + keyName(menus.key);
    case KeyCodeLogic::Combo: {
        if (code == KeyCodeLogic::noCode())
            return "none";
        QStringList parts;
        if (menus.modifier > 0)
            parts << kModifiers.at(menus.modifier - 1);
        for (int key : {menus.comboKey1, menus.comboKey2})
            if (key)
                parts << keyName(key);
        return "combo:" + parts.join('+');
    }
    case KeyCodeLogic::Mouse:
        if (menus.mouseEntry >= 0)
            return kMouseFunctions.at(menus.mouseEntry);
        break;
    case KeyCodeLogic::Media:
        if (menus.mediaEntry >= 0)
            return "media:" + kMediaNames.at(menus.mediaEntry);
        break;
    case KeyCodeLogic::Macro: {
        const QString name = macroName(menus.macroSlot);
        const QString mode = kPlayModes.value(menus.playMode);
        return "macro:" + (name.isEmpty() ? QString("#%1").arg(menus.macroSlot + 1) : name)
               + (mode.isEmpty() ? QString() : ":" + mode);
    }
    case KeyCodeLogic::FireKey:
        return QString("fire:%1:%2:%3").arg(keyName(menus.fireKey)).arg(menus.fireSpeedStep).arg(menus.fireCount);
    case KeyCodeLogic::LedControl:
        return "led";
    case KeyCodeLogic::NoFunction:
        break;
    }
    return "unknown:" + hexCode(code);
}
