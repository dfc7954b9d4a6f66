import QtQuick 2.15
import "qrc:/modules/qml/common"

// The links panel's +: an application chosen from those seen lately, or typed, and how it is
// to be matched; LINK emits linkRequested(name, match). `matchWords` are the rules file's
// words for the kinds, `matchLabels` their labels, in the same order.
Item {
    id: adder
    objectName: "AppLinkAdder"
    property var recent: []
    property var matchWords: []
    property var matchLabels: []
    property int matchIndex: 0
    readonly property string typed: nameInput.text
    signal linkRequested(string name, string match)

    height: 112

    function clear() { nameInput.text = "" }
    function focusName() { nameInput.forceActiveFocus() }
    function take(entry) {
        nameInput.text = entry.name
        matchIndex = Math.max(0, matchWords.indexOf(entry.match))
    }

    Rectangle {
        id: nameField
        objectName: "appLinkName"
        width: 300
        height: 32
        radius: 4
        color: Theme.panel
        border.color: nameInput.activeFocus ? Theme.accent : Theme.stroke
        TextInput {
            id: nameInput
            objectName: "appLinkName_editor"
            anchors.fill: parent
            anchors.leftMargin: 8
            anchors.rightMargin: 8
            verticalAlignment: TextInput.AlignVCenter
            color: Theme.textColor
            selectionColor: Theme.accentGlow
            selectByMouse: true
            clip: true
            font.family: Theme.fontFamily
            font.pixelSize: Theme.fontSize
            onAccepted: adder.linkRequested(text, adder.matchWords[adder.matchIndex])
        }
    }
    DropdownList {
        id: recentList
        objectName: "appLinkRecent"
        x: nameField.width + 12
        width: 230
        z: 2
        visible: adder.recent.length > 0
        model: [Theme.text(199, "RECENTLY SEEN")].concat(adder.recent.map(function(entry) { return entry.name }))
        currentIndex: 0
        onListElementClicked: {
            if (index > 0)
                adder.take(adder.recent[index - 1])
            currentIndex = 0
        }
    }
    PushButton {
        objectName: "appLinkConfirm"
        anchors.right: parent.right
        width: 120
        height: 32
        primary: true
        text: Theme.text(189, "LINK")
        onClicked: adder.linkRequested(nameInput.text, adder.matchWords[adder.matchIndex])
    }
    Row {
        objectName: "appLinkMatch"
        y: 44
        spacing: 20
        Repeater {
            model: adder.matchLabels
            RadioButton {
                objectName: "appLinkMatch_" + adder.matchWords[index]
                index: model.index
                text: modelData
                isSelect: index === adder.matchIndex
                onClicked: adder.matchIndex = index
            }
        }
    }
}
