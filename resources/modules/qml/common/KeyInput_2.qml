import QtQuick 2.15
import "qrc:/modules/qml/basic"

// Key capture field. A click clears it and switches capture mode on or off; in capture mode
// the next detectKeyboard(isDown, usbCode) stores the code in tmpKeycodeUSB (0 when the code
// has no key name), leaves capture mode and emits inputComplete with the stored code.
Item {
    id: input
    property int tmpKeycodeUSB: 0
    property bool isCapturing: false
    readonly property string keyName: tmpKeycodeUSB !== 0 && keyNames.keycodeTostr(tmpKeycodeUSB) !== undefined
                                      ? keyNames.keycodeTostr(tmpKeycodeUSB) : ""
    signal inputComplete(int usbCode)

    // A click, Space or Return: the field is cleared and starts or stops listening.
    function toggleCapture() {
        tmpKeycodeUSB = 0
        isCapturing = !isCapturing
    }

    function detectKeyboard(isDown, usbCode) {
        if (!isCapturing || !isDown)
            return
        tmpKeycodeUSB = keyNames.keycodeTostr(usbCode) !== undefined ? usbCode : 0
        isCapturing = false
        inputComplete(tmpKeycodeUSB)
    }

    width: 200
    height: 32
    opacity: Theme.ownOpacity(input)
    onActiveFocusChanged: if (!activeFocus) isCapturing = false
    activeFocusOnTab: true
    // While listening every key is the key to assign (it arrives through detectKeyboard): the
    // window's own handling of Tab, Space, Return or Esc must not act on it as well.
    Keys.priority: Keys.BeforeItem
    Keys.onPressed: {
        if (isCapturing) {
            event.accepted = true
            return
        }
        if (event.key === Qt.Key_Space || event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
            toggleCapture()
            event.accepted = true
        }
    }
    Accessible.role: Accessible.Button
    Accessible.name: caption.text
    Accessible.description: isCapturing ? Theme.text(125, "KEY\u3010 PRESS ANY \u3011") : ""
    Accessible.focusable: true
    Accessible.onPressAction: toggleCapture()

    KeyCodeString { id: keyNames }

    SkinImage {
        anchors.fill: parent
        source: area.containsMouse || input.isCapturing ? "common/dropdown_1.png" : "common/dropdown_0.png"
        fallbackBorder: input.isCapturing ? Theme.accent : Theme.stroke
    }
    Label {
        id: caption
        anchors.fill: parent
        anchors.leftMargin: 8
        anchors.rightMargin: 8
        horizontalAlignment: Text.AlignHCenter
        text: input.keyName === "" ? Theme.text(125, "KEY\u3010 PRESS ANY \u3011")
                                   : Theme.text(74, "KEY") + " \u3010 " + input.keyName + " \u3011"
        highlight: input.isCapturing || input.keyName !== ""
        SequentialAnimation on opacity {
            running: input.isCapturing
            loops: Animation.Infinite
            NumberAnimation { to: 0.35; duration: 400 }
            NumberAnimation { to: 1.0; duration: 400 }
            onRunningChanged: if (!running) caption.opacity = 1.0
        }
    }
    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        onClicked: input.toggleCapture()
    }
    FocusRing { shapeRadius: 4 }
}
