import QtQuick 2.15
import "qrc:/modules/qml/basic"

// Key display: "【 KEYS 】" while empty, the key (or mouse button) name otherwise, and "╳"
// under the pointer. A click clears it (keycodeUSB -1) and emits clearKey.
Item {
    id: input
    property int keycodeUSB: -1
    readonly property string keyName: keycodeUSB < 0 ? "" : (keyNames.nameOf(keycodeUSB) || "")
    signal clearKey()

    function clear() {
        keycodeUSB = -1
        clearKey()
    }

    // A code without a name leaves the field empty (-1).
    function setKeycodeUSB(code) {
        keycodeUSB = keyNames.nameOf(code) !== undefined ? code : -1
    }

    width: 120
    height: 32
    opacity: Theme.ownOpacity(input)
    activeFocusOnTab: true
    Keys.onPressed: {
        if (event.key !== Qt.Key_Space && event.key !== Qt.Key_Return && event.key !== Qt.Key_Enter
                && event.key !== Qt.Key_Delete && event.key !== Qt.Key_Backspace)
            return
        clear()
        event.accepted = true
    }
    Accessible.role: Accessible.Button
    Accessible.name: keyName !== "" ? keyName : "\u3010 KEYS \u3011"
    Accessible.description: keyName !== "" ? "\u2573" : ""
    Accessible.focusable: true
    Accessible.onPressAction: clear()

    KeyCodeString { id: keyNames }

    SkinImage {
        anchors.fill: parent
        source: area.containsMouse ? "common/dropdown_1.png" : "common/dropdown_0.png"
    }
    Label {
        anchors.fill: parent
        anchors.leftMargin: 6
        anchors.rightMargin: 6
        horizontalAlignment: Text.AlignHCenter
        text: area.containsMouse && input.keyName !== "" ? "\u2573"
              : input.keyName === "" ? "\u3010 KEYS \u3011" : input.keyName
        highlight: input.keyName !== ""
    }
    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        onClicked: input.clear()
    }
    FocusRing { shapeRadius: 4 }
}
