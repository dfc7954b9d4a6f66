import QtQuick 2.15
import "qrc:/modules/qml/common"

// KEYBOARD: one key, captured from the keyboard.
Item {
    id: panel
    objectName: "KeyboardPanel"

    property alias key: input.tmpKeycodeUSB
    signal keyEntered(int usbCode)

    function detectKeyboard(isDown, usbCode) { input.detectKeyboard(isDown, usbCode) }
    function stopCapturing() { input.isCapturing = false }

    KeyInput_2 {
        id: input
        objectName: "keyboardInput"
        width: parent.width
        onInputComplete: panel.keyEntered(usbCode)
    }
}
