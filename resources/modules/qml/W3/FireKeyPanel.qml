import QtQuick 2.15
import "qrc:/modules/qml/common"

// FIRE KEY: a mouse button or a key, repeated `count` times at speed step `speedStep`.
Item {
    id: panel
    objectName: "FireKeyPanel"

    property var mouseLabels: []
    property int speedStep: 7
    property int count: 10
    property alias mouseEntry: fireMouseMenu.currentIndex
    property alias key: fireKeyInput.tmpKeycodeUSB
    signal mouseButtonClicked(int position)
    signal keyEntered(int usbCode)
    signal speedClicked(int step)
    signal countEntered(int number)

    function detectKeyboard(isDown, usbCode) { fireKeyInput.detectKeyboard(isDown, usbCode) }
    function stopCapturing() { fireKeyInput.isCapturing = false }

    // The slider moves itself when clicked; this keeps it on the step shown.
    Binding { target: fireSpeed; property: "position"; value: panel.speedStep }

    KeyInput_2 {
        id: fireKeyInput
        objectName: "fireKeyInput"
        y: 42
        width: parent.width
        onInputComplete: panel.keyEntered(usbCode)
    }
    Label {
        y: 86
        width: parent.width
        height: 20
        text: Theme.text(3, "SPEED") + "  " + (panel.speedStep + 1)
    }
    Slider {
        id: fireSpeed
        objectName: "fireSpeed"
        accessibleName: Theme.text(3, "SPEED")
        y: 108
        width: parent.width
        onSliderClicked: panel.speedClicked(position)
    }
    Label {
        y: 146
        width: 90
        height: 32
        text: Theme.text(97, "TIMES")
    }
    NumberField {
        objectName: "fireCount"
        accessibleName: Theme.text(97, "TIMES")
        x: parent.width - 110
        y: 146
        width: 110
        maximum: 255
        value: panel.count
        onEntered: panel.countEntered(number)
    }
    DropdownList {
        id: fireMouseMenu
        objectName: "fireMouseMenu"
        accessibleName: Theme.text(47, "MOUSE")
        width: parent.width
        model: panel.mouseLabels
        onListElementClicked: panel.mouseButtonClicked(index)
    }
    MenuHint { menu: fireMouseMenu; text: Theme.text(47, "MOUSE") }
}
