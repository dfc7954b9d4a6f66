import QtQuick 2.15
import "qrc:/modules/qml/common"

// The top bar: the wordmark, the settings toggle (button 0) and the close button (button 1).
Item {
    id: bar
    objectName: "Menu_Up"
    width: 1000
    height: 56
    signal settingsClicked()
    signal settingsApproached()     // the pointer reached the settings toggle: a click may follow
    signal closeClicked()

    SkinImage {
        anchors.fill: parent
        source: "list_up/bar.png"
        fallbackColor: Theme.backgroundTop
        fallbackRadius: Theme.radius
    }
    SkinImage {
        id: wordmark
        x: 16
        y: 8
        width: 220
        height: 40
        source: "frame/wordmark.png"
        fallbackVisible: false
    }
    Label {
        anchors.left: wordmark.left
        anchors.verticalCenter: wordmark.verticalCenter
        visible: !wordmark.ready
        text: "W3 CONFIG"
        color: Theme.accent
        font.pixelSize: 20
        font.bold: true
        font.letterSpacing: 3
    }
    Button_2state {
        objectName: "Menu_Up_settings"
        x: 906
        y: 12
        width: 32
        height: 32
        normalSource: "list_up/settings_0.png"
        hoverSource: "list_up/settings_1.png"
        fallbackText: "\u2699"
        accessibleName: Theme.text(210, "SETTINGS")
        onHoveredChanged: if (hovered) bar.settingsApproached()
        onClicked: bar.settingsClicked()
    }
    Button_2state {
        objectName: "Menu_Up_close"
        x: 950
        y: 12
        width: 32
        height: 32
        normalSource: "list_up/close_0.png"
        hoverSource: "list_up/close_1.png"
        fallbackText: "\u2715"
        accessibleName: Theme.text(211, "CLOSE")
        onClicked: bar.closeClicked()
    }
}
