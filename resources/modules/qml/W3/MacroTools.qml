import QtQuick 2.15
import "qrc:/modules/qml/common"

// The macro page's tools: RECORD and STOP, inserting a key, a mouse button or a delay, and
// DELETE, CUT, COPY and PASTE of the selected step.
Item {
    id: tools
    objectName: "MacroTools"
    width: 218
    height: 440

    property bool recording: false
    property bool hasMacro: false
    property bool hasStep: false
    property bool canPaste: false
    property var mouseEntries: []
    // The delay the field shows; it shows it again after every insertion.
    property int delayValue: 1000

    signal recordClicked()
    signal stopClicked()
    signal keyChosen(int usbCode)
    signal mouseButtonChosen(int position)
    signal delayChosen(int milliseconds)
    signal deleteClicked()
    signal cutClicked()
    signal copyClicked()
    signal pasteClicked()

    // A key pressed while the key field listens becomes the key to insert.
    function detectKeyboard(isDown, usbCode) { keyInput.detectKeyboard(isDown, usbCode) }

    function chooseDelay(milliseconds) {
        delayChosen(milliseconds)
        delayEditor.text = String(delayValue)
    }

    // The keyboard follows RECORD to STOP and back, as each one is disabled by the other.
    property bool focusFollows: false
    function passFocus() {
        var next = recording ? stopButton : recordButton
        if (focusFollows && next.enabled)
            next.forceActiveFocus(Qt.TabFocusReason)
        focusFollows = false
    }
    onRecordingChanged: Qt.callLater(passFocus)

    PushButton {
        id: recordButton
        objectName: "recordButton"
        width: 104
        height: 32
        primary: true
        text: "\u25CF " + "RECORD"
        enabled: tools.hasMacro && !tools.recording
        onClicked: {
            tools.focusFollows = activeFocus
            tools.recordClicked()
        }
    }
    PushButton {
        id: stopButton
        objectName: "stopButton"
        x: 114
        width: 104
        height: 32
        text: "\u25A0 " + Theme.text(58, "STOP")
        enabled: tools.recording
        onClicked: {
            tools.focusFollows = activeFocus
            tools.stopClicked()
        }
    }

    Item {
        y: 52
        width: parent.width
        height: 150
        enabled: tools.hasMacro && !tools.recording
        opacity: enabled ? 1.0 : 0.2

        KeyInput_2 {
            id: keyInput
            objectName: "insertKey"
            width: parent.width
            onInputComplete: tools.keyChosen(usbCode)
        }
        FramedPanel {
            y: 84
            width: 110
            height: 32
            radius: 4
            TextInput {
                id: delayEditor
                objectName: "delayField"
                activeFocusOnTab: true
                Accessible.name: Theme.text(126, "ms")
                anchors.fill: parent
                anchors.leftMargin: 8
                anchors.rightMargin: 8
                verticalAlignment: TextInput.AlignVCenter
                horizontalAlignment: TextInput.AlignRight
                color: Theme.textColor
                selectionColor: Theme.accentGlow
                selectByMouse: true
                font.family: Theme.fontFamily
                font.pixelSize: Theme.fontSize
                maximumLength: 5
                validator: IntValidator { bottom: 0; top: 65535 }
                Component.onCompleted: text = String(tools.delayValue)
                Keys.onReturnPressed: tools.chooseDelay(Number(text))
                Keys.onEnterPressed: tools.chooseDelay(Number(text))
            }
        }
        Label {
            x: 118
            y: 84
            width: 40
            height: 32
            text: Theme.text(126, "ms")
        }
        Button_2state {
            objectName: "insertDelay"
            x: 190
            y: 86
            width: 28
            height: 28
            normalSource: "common/plus_0.png"
            hoverSource: "common/plus_1.png"
            accessibleName: Theme.text(220, "ADD") + " " + delayEditor.text + " " + Theme.text(126, "ms")
            onClicked: tools.chooseDelay(delayEditor.acceptableInput ? Number(delayEditor.text) : tools.delayValue)
        }
        DropdownList {
            objectName: "insertMouse"
            y: 42
            width: parent.width
            model: tools.mouseEntries
            currentIndex: 0
            onListElementClicked: tools.mouseButtonChosen(index)
        }
    }

    Grid {
        y: 218
        columns: 2
        spacing: 10
        enabled: tools.hasMacro && !tools.recording
        PushButton {
            objectName: "deleteAction"
            width: 104; height: 32
            text: Theme.text(80, "DELETE")
            enabled: tools.hasStep
            onClicked: tools.deleteClicked()
        }
        PushButton {
            objectName: "cutAction"
            width: 104; height: 32
            text: Theme.text(81, "CUT")
            enabled: tools.hasStep
            onClicked: tools.cutClicked()
        }
        PushButton {
            objectName: "copyAction"
            width: 104; height: 32
            text: Theme.text(83, "COPY")
            enabled: tools.hasStep
            onClicked: tools.copyClicked()
        }
        PushButton {
            objectName: "pasteAction"
            width: 104; height: 32
            text: Theme.text(82, "PASTE")
            enabled: tools.canPaste
            onClicked: tools.pasteClicked()
        }
    }
}
