import QtQuick 2.15
import "qrc:/modules/qml/common"

// The input lock: a dim veil with "LOADING ......" pulsing (opacity 1.0 → 0.2 → 1.0, 400 ms
// each way). show(interval) disables the view and releases it after `interval` ms.
Item {
    id: busy
    visible: false

    function show(interval) {
        visible = true
        ui_View.setEnabled(false)
        release.interval = Math.max(0, interval)
        release.restart()
    }

    Timer {
        id: release
        repeat: false
        onTriggered: {
            ui_View.setEnabled(true)
            busy.visible = false
        }
    }
    Rectangle {
        anchors.fill: parent
        radius: Theme.radius
        color: "#B0000000"
    }
    Text {
        id: loading
        objectName: "loadingText"
        anchors.centerIn: parent
        text: "LOADING ......"
        color: Theme.accent
        font.family: Theme.fontFamily
        font.pixelSize: 18
        font.bold: true
        font.letterSpacing: 3
        SequentialAnimation on opacity {
            running: busy.visible
            loops: Animation.Infinite
            NumberAnimation { from: 1.0; to: 0.2; duration: 400 }
            NumberAnimation { from: 0.2; to: 1.0; duration: 400 }
        }
    }
}
