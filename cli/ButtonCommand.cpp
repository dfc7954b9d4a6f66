#include "cli/Commands.h"

#include "actions/KeyActions.h"

#include "cli/CommandSupport.h"
#include "cli/CommandTable.h"
#include "cli/ButtonFunction.h"
#include "cli/WindowLanguage.h"
#include "controller/MacroLibrary.h"
#include "controller/MacroSlots.h"
#include "controller/MouseOperations.h"
#include "controller/ProfileStore.h"

#include <algorithm>

using namespace cli;

namespace {

QStringList completeButton(const CompletionRequest &request)
{
    if (request.before.isEmpty()) {
        const std::vector<int> buttons = KeyCodeLogic::namedButtons(windowButtonNames(*request.controllers));
        const QStringList english = englishButtonNames(*request.controllers);
        QStringList numbers = numberWords(1, int(buttons.size()));
        QStringList names;
        for (int slot : buttons)
            if (!english.value(slot).isEmpty())
                names << commandName(english.value(slot));
        return numbers + names;
    }
    if (request.before.size() != 1)
        return {};
    if (request.current.startsWith("media:")) {
        QStringList words;
        for (const QString &name : ButtonFunction::mediaNames())
            words << "media:" + name;
        return words;
    }
    return {"key:",        "mouse:left",    "mouse:right", "mouse:middle",  "mouse:backward",
            "mouse:forward", "mouse:triple-click", "media:", "combo:",  "macro:",
            "fire:",       "led",           "dpi:+",       "dpi:-",         "dpi:switch",
            "scroll:up",   "scroll:down",   "none",        "default"};
}

}  // namespace

const CommandRow &buttonCommand()
{
    static const CommandRow row = {
        "button", "button [NAME|N [FUNCTION]]",
         "Show the buttons' functions, or give button NAME or N a function.",
         "Buttons are numbered as the window's key page numbers them (`w3ctl button` lists them);\n"
         "their English names and the names the window shows work too.\n"
         "Functions:\n"
         "  key:KEY                a keyboard key: key:A, key:F5, key:Enter, \"key:L Ctrl\", key:0x04\n"
         "  mouse:BUTTON           left, right, middle, backward, forward or triple-click\n"
         "  media:NAME             MEDIA_NAMES\n"
         "  combo:[MOD+]KEY[+KEY]  MOD one of MODIFIERS; e.g. combo:ctrl+shift+a\n"
         "  macro:NAME[:COUNT|:always|:held]  macro NAME, played COUNT times (NORMAL PLAY; default:\n"
         "                         the macro's own count), always repeated (ALWAYS REPEAT) or\n"
         "                         repeated while the button is pressed (REPEAT ON PRESSED)\n"
         "  fire:BUTTON|KEY:SPEED:COUNT  repeat fire; SPEED 0 (slow) to 7 (fast), COUNT 0-255\n"
         "  led                    the lighting control key\n"
         "  dpi:+  dpi:-  dpi:switch  scroll:up  scroll:down\n"
         "  none                   no function\n"
         "  default                the button's factory function\n"
         "Taking the left click away from the last button that has it is refused unless --force\n"
         "is given.\n",
        {},
        MouseUse::ForChanges,
        &Commands::button,
        completeButton};
    return row;
}

// The codes the key page starts with: the profile's, or the factory code of a button the
// profile lacks.
KeyCodeLogic::KeyCodes Commands::storedButtons()
{
    actions.keys->start();
    return actions.keys->codes();
}

std::vector<int> Commands::namedButtons() const
{
    return KeyCodeLogic::namedButtons(windowButtonNames(controllers));
}

QString Commands::buttonLabel(int slot) const
{
    const QString name = commandName(englishButtonNames(controllers).value(slot));
    return name.isEmpty() ? QString("button-%1").arg(buttonNumber(slot)) : name;
}

// The number of the button's callout on the window's key page: its place in the button menu.
int Commands::buttonNumber(int slot) const
{
    const std::vector<int> buttons = namedButtons();
    return int(std::find(buttons.begin(), buttons.end(), slot) - buttons.begin()) + 1;
}

// The callout number, the English name ("left-button") or the name in the window's language;
// the button's slot in the key matrix.
int Commands::buttonArgument(const QString &text) const
{
    const std::vector<int> buttons = namedButtons();
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    if (isNumber && number >= 1 && number <= int(buttons.size()))
        return buttons[size_t(number - 1)];
    const QStringList local = windowButtonNames(controllers);
    const QString name = commandName(text);
    for (int slot : buttons)
        if (!isNumber && (name == buttonLabel(slot) || name == commandName(local.value(slot))))
            return slot;
    QStringList offered;
    for (int slot : buttons)
        offered << QString("%1 (%2)").arg(buttonNumber(slot)).arg(buttonLabel(slot));
    usageError(tr("no button \"%1\" on this mouse; buttons: %2").arg(text, offered.join(", ")));
}

QString Commands::macroNameOfSlot(int slot) const
{
    for (QString file : controllers.macros->getMacroIniNames()) {
        const QString name = file.chopped(4);  // ".bin"
        if (controllers.macros->loadMacroIniConfig(name).value(0, -1).toInt() == slot)
            return name;
    }
    return QString();
}

// The key page's macro assignment: the macro keeps its slot, or takes the lowest one no
// profile uses; its image is written to the mouse now.
void Commands::assignMacro(int slot, const QString &name, int playMode, std::optional<int> repeatCount)
{
    const QVariantList config = controllers.macros->loadMacroIniConfig(name);
    if (config.size() < 2)
        usageError(tr("no macro named \"%1\"; `w3ctl macro list` lists them").arg(name));
    const int macroSlot = actions.keys->assignMacro(slot, name, playMode, repeatCount.value_or(config.at(1).toInt()));
    if (macroSlot == MacroSlots::kNotSaved)
        writeFailure(tr("the macro \"%1\" cannot be saved").arg(name));
    if (macroSlot < 0)
        throw CliFailure(ExitCode::UsageError,
                         tr("all %1 macro slots of the mouse are in use; free one by giving its button "
                            "another function").arg(KeyCodeLogic::kMacroSlotCount));
}

void Commands::button()
{
    requireArguments(0, 2);
    const QStringList arguments = invocation.arguments();
    if (arguments.isEmpty())
        showButtons(namedButtons());
    else if (arguments.size() == 1)
        showButtons({buttonArgument(arguments.at(0))});
    else
        setButton(buttonArgument(arguments.at(0)), arguments.at(1));
}

void Commands::showButtons(const std::vector<int> &shown)
{
    const ButtonFunction functions(*controllers.keyNames);
    const KeyCodeLogic::KeyCodes codes = storedButtons();
    QStringList lines;
    QJsonArray buttons;
    for (int slot : shown) {
        const QString function = functions.format(codes[size_t(slot)], [this](int macroSlot) {
            return macroNameOfSlot(macroSlot);
        });
        lines << QString("%1  %2  %3").arg(buttonNumber(slot), 2).arg(buttonLabel(slot), -14).arg(function);
        QJsonArray code;
        for (int byte : codes[size_t(slot)])
            code.append(byte);
        buttons.append(QJsonObject{{"button", buttonNumber(slot)}, {"name", buttonLabel(slot)}, {"function", function},
                                   {"code", code}});
    }
    output.result(lines.join('\n'), {{"buttons", buttons}});
}

// The key page's choice of a function for one button, then its APPLY.
void Commands::setButton(int slot, const QString &functionText)
{
    const ButtonFunction functions(*controllers.keyNames);
    QString error;
    const std::optional<ButtonFunction::Request> request = functions.parse(functionText, &error);
    if (!request)
        usageError(error);
    const KeyCodeLogic::KeyCodes codes = storedButtons();
    const KeyCodeLogic::KeyCode wanted = request->isDefault ? actions.keys->defaults()[size_t(slot)] : request->code;
    const KeyCodeLogic::KeyCode leftClick = KeyCodeLogic::mouseCode(KeyCodeLogic::Left);
    if (wanted != leftClick && KeyCodeLogic::holdsLastLeftClick(codes, slot, namedButtons()) && !invocation.force)
        usageError(tr("button %1 (%2) is the last one with the left click; without it the mouse cannot click. "
                      "Add --force to do it anyway").arg(buttonNumber(slot)).arg(buttonLabel(slot)));
    if (request->isMacro && controllers.macros->loadMacroIniConfig(request->macroName).size() < 2)
        usageError(tr("no macro named \"%1\"; `w3ctl macro list` lists them").arg(request->macroName));

    device();
    if (request->isMacro)
        assignMacro(slot, request->macroName, request->playMode, request->repeatCount);
    else
        actions.keys->assign(slot, wanted);
    actions.keys->apply();
    output.done(tr("button %1 (%2): %3")
                    .arg(buttonNumber(slot))
                    .arg(buttonLabel(slot),
                         functions.format(actions.keys->codes()[size_t(slot)],
                                          [this](int macroSlot) { return macroNameOfSlot(macroSlot); })));
}
