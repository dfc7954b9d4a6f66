import QtQuick 2.15
import W3.Logic 1.0

// The mouse's 16 buttons, each with its four-byte key code (keyCode0..keyCode3), their
// default codes, and the button menu: the slots that have a product name, in slot order.
QtObject {
    id: model

    readonly property int slotCount: 16
    property ListModel keySlots: ListModel {}
    property var defaultCodes: KeyCodes.defaults([])
    // Menu position -> slot id, and the names the menu shows.
    property var buttonSlots: KeyCodes.buttons([])
    property var buttonNames: builtInNames()

    function builtInNames() {
        var names = []
        for (var i = 0; i < buttonSlots.length; ++i)
            names.push("KEY " + String.fromCharCode(0xFF11 + i))
        return names
    }

    function code(slot) {
        var row = keySlots.get(slot)
        return [row.keyCode0, row.keyCode1, row.keyCode2, row.keyCode3]
    }

    function setCode(slot, code) {
        keySlots.set(slot, { keyCode0: Number(code[0]), keyCode1: Number(code[1]),
                          keyCode2: Number(code[2]), keyCode3: Number(code[3]) })
    }

    function allCodes() {
        var codes = []
        for (var i = 0; i < slotCount; ++i)
            codes.push(code(i))
        return codes
    }

    // The 64 values of the default profile replace the built-in defaults; a short list keeps them.
    function loadDefaults(profileValues) {
        defaultCodes = KeyCodes.defaults(profileValues)
    }

    function resetSlot(slot) {
        setCode(slot, defaultCodes[slot])
    }

    function resetAll() {
        for (var i = 0; i < slotCount; ++i)
            resetSlot(i)
    }

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

    Component.onCompleted: resetAll()
}
