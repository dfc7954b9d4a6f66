import QtQuick 2.15
import W3.Logic 1.0
import W3.Actions 1.0

// The key page's buttons: the menu of the slots that have a product name, in slot order, with
// their names, and the codes of the mouse's 16 buttons as KeyActions holds them.
QtObject {
    id: model
    objectName: "KeyButtons"

    readonly property int slotCount: 16
    readonly property var defaultCodes: KeyActions.defaultCodes
    // Menu position -> slot id, and the names the menu shows.
    property var buttonSlots: KeyCodes.buttons([])
    property var buttonNames: builtInNames()

    function builtInNames() {
        var names = []
        for (var i = 0; i < buttonSlots.length; ++i)
            names.push("KEY " + String.fromCharCode(0xFF11 + i))
        return names
    }

    function code(slot) { return KeyActions.codes[slot] }
    function allCodes() { return KeyActions.codes }

    // Rebuilds the button menu from the product names of the loaded language.
    function setProductNames(productNames) {
        buttonSlots = KeyCodes.buttons(productNames)
        var named = productNames && productNames.length > 0
        var names = []
        for (var i = 0; i < buttonSlots.length; ++i)
            names.push(named && productNames[buttonSlots[i]] !== "" ? productNames[buttonSlots[i]]
                                                                    : "KEY " + String.fromCharCode(0xFF11 + i))
        buttonNames = names
    }
}
