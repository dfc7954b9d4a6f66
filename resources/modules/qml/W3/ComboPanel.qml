import QtQuick 2.15
import "qrc:/modules/qml/common"

// COMBO KEY: a modifier and up to two keys; every change gives a new code.
Item {
    id: panel
    objectName: "ComboPanel"

    property var modifierNames: []
    property alias modifier: modifierMenu.currentIndex
    property alias key1: comboKey1.tmpKeycodeUSB
    property alias key2: comboKey2.tmpKeycodeUSB
    signal comboChanged()

    function detectKeyboard(isDown, usbCode) {
        comboKey1.detectKeyboard(isDown, usbCode)
        comboKey2.detectKeyboard(isDown, usbCode)
    }
    function stopCapturing() {
        comboKey1.isCapturing = false
        comboKey2.isCapturing = false
    }

    KeyInput_2 {
        id: comboKey1
        objectName: "comboKey1"
        y: 42
        width: parent.width
        onInputComplete: panel.comboChanged()
    }
    KeyInput_2 {
        id: comboKey2
        objectName: "comboKey2"
        y: 84
        width: parent.width
        onInputComplete: panel.comboChanged()
    }
    DropdownList {
        id: modifierMenu
        objectName: "modifierMenu"
        width: parent.width
        maxRows: 9
        model: panel.modifierNames
        onListElementClicked: panel.comboChanged()
    }
}
