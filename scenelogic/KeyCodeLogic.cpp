#include "scenelogic/KeyCodeLogic.h"

#include <algorithm>
#include <cmath>

namespace {

using KeyCode = KeyCodeLogic::KeyCode;

// Consumer page usages of the MEDIA menu, in menu order.
constexpr int kMediaUsages[] = {
    0x00B5, 0x00B6, 0x00B7, 0x00CD, 0x00E2, 0x00E9, 0x00EA, 0x0183, 0x018A,
    0x0192, 0x0194, 0x0221, 0x0223, 0x0224, 0x0225, 0x0226, 0x0227, 0x022A,
};
constexpr int kMediaCount = int(sizeof(kMediaUsages) / sizeof(kMediaUsages[0]));

// Mouse menu codes, in menu order.
const KeyCode kMouseCodes[KeyCodeLogic::MouseEntryCount] = {
    {0x01, 0, 0xF0, 0}, {0x01, 0, 0xF1, 0}, {0x01, 0, 0xF2, 0}, {0x01, 0, 0xF3, 0}, {0x01, 0, 0xF4, 0},
    {0x0A, 0xF0, 0x21, 0x03},
    {0x07, 0, 1, 0}, {0x07, 0, 2, 0}, {0x07, 0, 3, 0},
    {0x04, 0, 1, 0}, {0x04, 0, 2, 0},
};
const KeyCode kLeftClick = kMouseCodes[KeyCodeLogic::Left];
const KeyCode kTripleClick = kMouseCodes[KeyCodeLogic::TripleClick];

// Factory assignment of the 16 buttons when the default profile lacks it.
const KeyCode kBuiltInDefaults[KeyCodeLogic::kButtonCount] = {
    {0x01, 0, 0xF0, 0}, {0x01, 0, 0xF1, 0}, {0x01, 0, 0xF2, 0}, {0x01, 0, 0xF4, 0},
    {0x01, 0, 0xF3, 0}, {0x07, 0, 0x03, 0}, {0x0B, 0, 0, 0}, {0x07, 0, 0x03, 0},
    {0x05, 0, 0x03, 0}, {0x03, 0, 0x8A, 0x01}, {0x03, 0, 0x23, 0x02}, {0x03, 0, 0x94, 0x01},
    {0, 0, 0, 0}, {0, 0, 0, 0}, {0x04, 0, 0x01, 0}, {0x04, 0, 0x02, 0},
};

// Buttons of the mouse before a language names them.
const std::vector<int> kBuiltInButtons = {0, 1, 2, 3, 4, 5, 6, 14, 15};

constexpr int kFireSpeedBase = 10;
constexpr int kFireSpeedPerStep = 35;
constexpr int kMaxFireStep = KeyCodeLogic::kFireSpeedSteps - 1;

bool isMouseButton(int key)
{
    return key >= KeyCodeLogic::kFirstMouseButton
        && key < KeyCodeLogic::kFirstMouseButton + KeyCodeLogic::kMouseButtonCount;
}

KeyCodeLogic::Menus keyMenus(const KeyCode &code)
{
    KeyCodeLogic::Menus menus;
    if (code[1] == 0 && code[2] != 0 && code[3] == 0) {
        menus.function = KeyCodeLogic::Keyboard;
        menus.key = code[2];
        return menus;
    }
    menus.function = KeyCodeLogic::Combo;
    menus.modifier = KeyCodeLogic::lowestSetBit(code[1]);
    menus.comboKey1 = code[2];
    menus.comboKey2 = code[3];
    return menus;
}

KeyCodeLogic::Menus mouseMenus(int entry)
{
    KeyCodeLogic::Menus menus;
    menus.function = KeyCodeLogic::Mouse;
    menus.mouseEntry = entry;
    return menus;
}

KeyCodeLogic::Menus fireMenus(const KeyCode &code)
{
    KeyCodeLogic::Menus menus;
    menus.function = KeyCodeLogic::FireKey;
    menus.fireKey = code[1];
    menus.fireSpeedStep = KeyCodeLogic::fireSpeedStep(code[2]);
    menus.fireCount = code[3];
    return menus;
}

}  // namespace

// Unknown types and parameters select nothing.
KeyCodeLogic::Menus KeyCodeLogic::menusForCode(const KeyCode &code)
{
    Menus menus;
    switch (code[0]) {
    case KeyType:
        return keyMenus(code);
    case MouseButtonType:
        return mouseMenus(isMouseButton(code[2]) ? code[2] - kFirstMouseButton : -1);
    case MediaType:
        menus.function = Media;
        menus.mediaEntry = mediaEntryOfUsage(code[2] | (code[3] << 8));
        return menus;
    case WheelType:
        if (code[2] == 1 || code[2] == 2)
            return mouseMenus(ScrollUp + code[2] - 1);
        return menus;
    case DpiType:
        if (code[2] >= 1 && code[2] <= 3)
            return mouseMenus(DpiUp + code[2] - 1);
        return menus;
    case MacroType:
        menus.function = Macro;
        menus.playMode = code[1];
        menus.macroSlot = code[2] - 1;
        return menus;
    case FireType:
        return code == kTripleClick ? mouseMenus(TripleClick) : fireMenus(code);
    case LedType:
        menus.function = LedControl;
        return menus;
    default:
        return menus;
    }
}

namespace {

QVariantList intsToVariant(const std::vector<int> &values)
{
    QVariantList list;
    for (int value : values)
        list << value;
    return list;
}

std::vector<int> intsFromVariant(const QVariantList &values)
{
    std::vector<int> ints;
    for (const QVariant &value : values)
        ints.push_back(value.toInt());
    return ints;
}

QVariantList codesToVariant(const KeyCodeLogic::KeyCodes &codes)
{
    QVariantList list;
    for (const KeyCode &code : codes)
        list.append(QVariant(KeyCodeLogic::toVariant(code)));
    return list;
}

}  // namespace

KeyCodeLogic::KeyCode KeyCodeLogic::keyboardCode(int key)
{
    return {KeyType, 0, key & 0xFF, 0};
}

KeyCodeLogic::KeyCode KeyCodeLogic::mouseCode(MouseEntry entry)
{
    return entry >= 0 && entry < MouseEntryCount ? kMouseCodes[entry] : noCode();
}

KeyCodeLogic::KeyCode KeyCodeLogic::mediaCode(int mediaEntry)
{
    const int usage = mediaUsage(mediaEntry);
    return usage < 0 ? noCode() : KeyCode{MediaType, 0, usage & 0xFF, usage >> 8};
}

KeyCodeLogic::KeyCode KeyCodeLogic::comboCode(int modifier, int key1, int key2)
{
    const int bits = modifier >= 1 && modifier <= kModifierCount ? 1 << (modifier - 1) : 0;
    return {KeyType, bits, key1 & 0xFF, key2 & 0xFF};
}

KeyCodeLogic::KeyCode KeyCodeLogic::macroCode(int playMode, int slot)
{
    return {MacroType, playMode & 0xFF, (slot + 1) & 0xFF, 0};
}

KeyCodeLogic::KeyCode KeyCodeLogic::fireCode(int key, int speedStep, int count)
{
    return {FireType, key & 0xFF, fireSpeedByte(speedStep), std::clamp(count, 0, 255)};
}

KeyCodeLogic::KeyCode KeyCodeLogic::ledCode()
{
    return {LedType, 0, 0, 0};
}

KeyCodeLogic::KeyCode KeyCodeLogic::noCode()
{
    return {0, 0, 0, 0};
}

int KeyCodeLogic::mediaUsage(int mediaEntry)
{
    return mediaEntry >= 0 && mediaEntry < kMediaCount ? kMediaUsages[mediaEntry] : -1;
}

int KeyCodeLogic::mediaEntryOfUsage(int usage)
{
    const int *end = kMediaUsages + kMediaCount;
    const int *found = std::find(kMediaUsages, end, usage);
    return found == end ? -1 : int(found - kMediaUsages);
}

int KeyCodeLogic::mediaEntryCount()
{
    return kMediaCount;
}

int KeyCodeLogic::fireSpeedByte(int speedStep)
{
    return (kMaxFireStep - std::clamp(speedStep, 0, kMaxFireStep)) * kFireSpeedPerStep + kFireSpeedBase;
}

int KeyCodeLogic::fireSpeedStep(int speedByte)
{
    const double stepsAboveSlowest = double(std::max(speedByte, kFireSpeedBase) - kFireSpeedBase) / kFireSpeedPerStep;
    return std::clamp(kMaxFireStep - int(std::lround(stepsAboveSlowest)), 0, kMaxFireStep);
}

int KeyCodeLogic::lowestSetBit(int byte)
{
    for (int bit = 0; bit < 8; ++bit)
        if (byte & (1 << bit))
            return bit + 1;
    return 0;
}

int KeyCodeLogic::macroSlotOf(const KeyCode &code)
{
    return code[0] == MacroType && code[3] == 0 ? code[2] - 1 : -1;
}

bool KeyCodeLogic::isSlotUsed(const KeyCodes &codes, int slot)
{
    return slot >= 0 && std::any_of(codes.begin(), codes.end(), [slot](const KeyCode &code) {
        return macroSlotOf(code) == slot;
    });
}

int KeyCodeLogic::freeMacroSlot(const KeyCodes &codes)
{
    for (int slot = 0; slot < kMacroSlotCount; ++slot)
        if (!isSlotUsed(codes, slot))
            return slot;
    return -1;
}

bool KeyCodeLogic::holdsLastLeftClick(const KeyCodes &codes, int button, const std::vector<int> &namedButtons)
{
    if (button < 0 || button >= int(codes.size()) || codes[button] != kLeftClick)
        return false;
    return std::none_of(namedButtons.begin(), namedButtons.end(), [&](int other) {
        return other != button && other >= 0 && other < int(codes.size()) && codes[other] == kLeftClick;
    });
}

KeyCodeLogic::KeyCodes KeyCodeLogic::builtInDefaults()
{
    return KeyCodes(std::begin(kBuiltInDefaults), std::end(kBuiltInDefaults));
}

KeyCodeLogic::KeyCodes KeyCodeLogic::defaultsFromValues(const QVariantList &values)
{
    if (values.size() < kButtonCount * 4)
        return builtInDefaults();
    KeyCodes codes(kButtonCount);
    for (int i = 0; i < kButtonCount * 4; ++i)
        codes[i / 4][i % 4] = values.at(i).toInt() & 0xFF;
    return codes;
}

std::vector<int> KeyCodeLogic::keyMatrix(const KeyCodes &codes)
{
    std::vector<int> bytes(kButtonCount * 4, 0);
    for (int button = 0; button < kButtonCount && button < int(codes.size()); ++button)
        std::copy(codes[button].begin(), codes[button].end(), bytes.begin() + button * 4);
    return bytes;
}

std::vector<int> KeyCodeLogic::namedButtons(const QStringList &productNames)
{
    std::vector<int> buttons;
    for (int slot = 0; slot < kButtonCount && slot < productNames.size(); ++slot)
        if (!productNames.at(slot).isEmpty())
            buttons.push_back(slot);
    // A language without names for this mouse would leave no button to choose.
    return buttons.empty() ? builtInButtons() : buttons;
}

std::vector<int> KeyCodeLogic::builtInButtons()
{
    return kBuiltInButtons;
}

KeyCodeLogic::KeyCode KeyCodeLogic::codeFromVariant(const QVariant &value)
{
    const QVariantList list = value.toList();
    KeyCode code = noCode();
    for (int i = 0; i < 4 && i < list.size(); ++i)
        code[i] = list.at(i).toInt() & 0xFF;
    return code;
}

KeyCodeLogic::KeyCodes KeyCodeLogic::codesFromVariant(const QVariantList &values)
{
    KeyCodes codes;
    for (const QVariant &value : values)
        codes.push_back(codeFromVariant(value));
    return codes;
}

QVariantList KeyCodeLogic::toVariant(const KeyCode &code)
{
    return {code[0], code[1], code[2], code[3]};
}

QVariantMap KeyCodeLogic::menusOf(const QVariantList &code) const
{
    const Menus menus = menusForCode(codeFromVariant(code));
    return {
        {"function", int(menus.function)}, {"key", menus.key}, {"mouseEntry", menus.mouseEntry},
        {"mediaEntry", menus.mediaEntry}, {"modifier", menus.modifier}, {"comboKey1", menus.comboKey1},
        {"comboKey2", menus.comboKey2}, {"macroSlot", menus.macroSlot}, {"playMode", menus.playMode},
        {"fireKey", menus.fireKey}, {"fireSpeedStep", menus.fireSpeedStep}, {"fireCount", menus.fireCount},
    };
}

QVariantList KeyCodeLogic::keyboard(int key) const { return toVariant(keyboardCode(key)); }
QVariantList KeyCodeLogic::mouse(int mouseEntry) const { return toVariant(mouseCode(MouseEntry(mouseEntry))); }
QVariantList KeyCodeLogic::media(int mediaEntry) const { return toVariant(mediaCode(mediaEntry)); }
QVariantList KeyCodeLogic::combo(int modifier, int key1, int key2) const
{
    return toVariant(comboCode(modifier, key1, key2));
}
QVariantList KeyCodeLogic::macro(int playMode, int slot) const { return toVariant(macroCode(playMode, slot)); }
QVariantList KeyCodeLogic::fire(int key, int speedStep, int count) const
{
    return toVariant(fireCode(key, speedStep, count));
}
QVariantList KeyCodeLogic::led() const { return toVariant(ledCode()); }
QVariantList KeyCodeLogic::none() const { return toVariant(noCode()); }
int KeyCodeLogic::macroSlot(const QVariantList &code) const { return macroSlotOf(codeFromVariant(code)); }

bool KeyCodeLogic::isLastLeftClick(const QVariantList &codes, int button, const QVariantList &namedButtons) const
{
    return holdsLastLeftClick(codesFromVariant(codes), button, intsFromVariant(namedButtons));
}

bool KeyCodeLogic::isLeftClick(const QVariantList &code) const
{
    return codeFromVariant(code) == kLeftClick;
}

QVariantList KeyCodeLogic::defaults(const QVariantList &profileValues) const
{
    return codesToVariant(defaultsFromValues(profileValues));
}

QVariantList KeyCodeLogic::matrix(const QVariantList &codes) const
{
    return intsToVariant(keyMatrix(codesFromVariant(codes)));
}

QVariantList KeyCodeLogic::buttons(const QStringList &productNames) const
{
    return intsToVariant(namedButtons(productNames));
}
