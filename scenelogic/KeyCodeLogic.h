#pragma once
// Button key codes and the key page's menus, both ways.
//
// A key code is the four bytes a mouse button is given: byte 0 the function type, bytes 1..3
// its parameters. The static functions are plain C++ for the tests and the command line; the
// Q_INVOKABLE wrappers are what the scene calls through the singleton "KeyCodes".
#include <QObject>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>
#include <array>
#include <vector>

class KeyCodeLogic : public QObject {
    Q_OBJECT
public:
    using KeyCode = std::array<int, 4>;
    using KeyCodes = std::vector<KeyCode>;

    // Positions in the first menu of the key page.
    enum Function { NoFunction = -1, Keyboard, Mouse, Media, Combo, Macro, FireKey, LedControl };
    Q_ENUM(Function)

    // Positions in the mouse menu.
    enum MouseEntry {
        Left, Right, Middle, Backward, Forward, TripleClick, DpiUp, DpiDown, DpiSwitch, ScrollUp, ScrollDown,
        MouseEntryCount
    };
    Q_ENUM(MouseEntry)

    // Function types (byte 0).
    enum Type { KeyType = 0x00, MouseButtonType = 0x01, MediaType = 0x03, WheelType = 0x04, DpiType = 0x07,
                MacroType = 0x09, FireType = 0x0A, LedType = 0x0B };

    static constexpr int kButtonCount = 16;
    static constexpr int kMacroSlotCount = 12;
    static constexpr int kModifierCount = 8;
    static constexpr int kFireSpeedSteps = 8;
    static constexpr int kFirstMouseButton = 0xF0;
    static constexpr int kMouseButtonCount = 5;

    // What the page's menus show for one code. -1 means "nothing selected".
    struct Menus {
        Function function = NoFunction;
        int key = 0;             // KEYBOARD key, 0 none
        int mouseEntry = -1;     // MouseEntry
        int mediaEntry = -1;     // position in the media table
        int modifier = 0;        // COMBO modifier menu position: 0 none, 1..8 L Ctrl .. R Win
        int comboKey1 = 0;
        int comboKey2 = 0;
        int macroSlot = -1;      // device macro slot 0..11 (macro number - 1)
        int playMode = 0;        // 0 NORMAL PLAY, 1 ALWAYS REPEAT, 2 REPEAT ON PRESSED
        int fireKey = 0;         // mouse button 0xF0..0xF4 or a keyboard key
        int fireSpeedStep = 0;   // 0..7
        int fireCount = 0;       // 0..255
    };

    static Menus menusForCode(const KeyCode &code);

    static KeyCode keyboardCode(int key);
    static KeyCode mouseCode(MouseEntry entry);
    static KeyCode mediaCode(int mediaEntry);
    static KeyCode comboCode(int modifier, int key1, int key2);
    static KeyCode macroCode(int playMode, int slot);
    static KeyCode fireCode(int key, int speedStep, int count);
    static KeyCode ledCode();
    static KeyCode noCode();

    static int mediaUsage(int mediaEntry);
    static int mediaEntryOfUsage(int usage);
    static int mediaEntryCount();
    static int fireSpeedByte(int speedStep);
    static int fireSpeedStep(int speedByte);
    // 1-based position of the lowest set bit of a byte, 0 when none is set.
    static int lowestSetBit(int byte);

    // The device macro slot a code uses, -1 when it is not a macro code.
    static int macroSlotOf(const KeyCode &code);
    static bool isSlotUsed(const KeyCodes &codes, int slot);
    // Lowest device macro slot no button uses, -1 when all twelve are taken.
    static int freeMacroSlot(const KeyCodes &codes);
    // True when `button` holds the left click and no other of `namedButtons` does, so taking
    // it away would leave the mouse without one.
    static bool holdsLastLeftClick(const KeyCodes &codes, int button, const std::vector<int> &namedButtons);

    static KeyCodes builtInDefaults();
    // 16 codes from the 64 values of the default profile; the built-in ones when it is short.
    static KeyCodes defaultsFromValues(const QVariantList &values);
    // The 64 bytes of the key matrix, button 0 first.
    static std::vector<int> keyMatrix(const KeyCodes &codes);
    // Slot ids offered in the button menu: those with a product name, in slot order.
    static std::vector<int> namedButtons(const QStringList &productNames);
    static std::vector<int> builtInButtons();

    // Scene wrappers: codes cross as arrays of four numbers, code tables as arrays of them.
    Q_INVOKABLE QVariantMap menusOf(const QVariantList &code) const;
    Q_INVOKABLE QVariantList keyboard(int key) const;
    Q_INVOKABLE QVariantList mouse(int mouseEntry) const;
    Q_INVOKABLE QVariantList media(int mediaEntry) const;
    Q_INVOKABLE QVariantList combo(int modifier, int key1, int key2) const;
    Q_INVOKABLE QVariantList macro(int playMode, int slot) const;
    Q_INVOKABLE QVariantList fire(int key, int speedStep, int count) const;
    Q_INVOKABLE QVariantList led() const;
    Q_INVOKABLE QVariantList none() const;
    Q_INVOKABLE int macroSlot(const QVariantList &code) const;
    Q_INVOKABLE bool isLastLeftClick(const QVariantList &codes, int button, const QVariantList &namedButtons) const;
    Q_INVOKABLE bool isLeftClick(const QVariantList &code) const;
    Q_INVOKABLE QVariantList defaults(const QVariantList &profileValues) const;
    Q_INVOKABLE QVariantList matrix(const QVariantList &codes) const;
    Q_INVOKABLE QVariantList buttons(const QStringList &productNames) const;

    static KeyCode codeFromVariant(const QVariant &value);
    static KeyCodes codesFromVariant(const QVariantList &values);
    static QVariantList toVariant(const KeyCode &code);
};
