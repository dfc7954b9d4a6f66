import QtQuick 2.15

// Why an entry was refused: one line in the skin's warning colour under the field, for 3 s.
Label {
    id: hint
    objectName: "InlineHint"
    visible: false
    color: Theme.warning
    elide: Text.ElideRight

    function show(reason) {
        text = reason
        visible = true
        hideTimer.restart()
    }

    function hide() {
        hideTimer.stop()
        visible = false
    }

    Timer {
        id: hideTimer
        interval: 3000
        onTriggered: hint.visible = false
    }
}
