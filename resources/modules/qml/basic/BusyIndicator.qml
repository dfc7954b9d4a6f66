import QtQuick 2.15

// Locks the scene's input for a while and shows that the device is busy.
Rectangle {
    id: busy
    color: "#80000000"
    visible: false
    radius: 14

    function show(busyTime) {
        visible = true
        ui_View.setEnabled(false)
        release.interval = Math.max(0, busyTime)
        release.restart()
    }

    Timer {
        id: release
        onTriggered: { busy.visible = false; ui_View.setEnabled(true) }
    }
    Text {
        anchors.centerIn: parent
        text: "\u2026"
        color: "#e8eef5"
        font.pixelSize: 48
    }
}
