import QtQuick 2.15
import QtQuick.Window 2.15

// The question sheet over the whole window: a dim veil that takes every click, and a panel with
// the heading, one sentence and the choices at the bottom right, the safe one primary.
Item {
    id: sheet
    objectName: "QuestionSheet"
    visible: Questions.active
    z: 1000

    // Asked from a control the keyboard was on, the keyboard starts on the safe choice (asked
    // after a click, no ring shows until Tab). It stays among the choices while the question
    // is open and goes back to where it was once it is answered.
    property Item focusBefore: null
    function focusChoice(index) {
        var count = choices.count
        if (count > 0)
            choices.itemAt((index + count) % count).forceActiveFocus(Qt.TabFocusReason)
    }
    function focusedChoice() {
        for (var i = 0; i < choices.count; ++i)
            if (choices.itemAt(i).activeFocus)
                return i
        return Questions.safeChoice
    }
    onVisibleChanged: {
        if (visible) {
            focusBefore = Window.activeFocusItem
            forceActiveFocus()
            if (focusBefore !== null && focusBefore.activeFocusOnTab)
                focusChoice(Questions.safeChoice)
        } else if (focusBefore !== null && focusBefore.visible && focusBefore.enabled) {
            focusBefore.forceActiveFocus(Qt.TabFocusReason)
        }
    }
    Keys.onEscapePressed: Questions.cancel()
    Keys.onTabPressed: focusChoice(Questions.safeChoice)
    Keys.onBacktabPressed: focusChoice(Questions.safeChoice)
    Keys.onRightPressed: focusChoice(focusedChoice() + 1)
    Keys.onLeftPressed: focusChoice(focusedChoice() - 1)
    Accessible.role: Accessible.Dialog
    Accessible.name: Questions.heading
    Accessible.description: Questions.sentence

    Rectangle {
        anchors.fill: parent
        color: "#B0000000"
        MouseArea {
            anchors.fill: parent
            hoverEnabled: true
            acceptedButtons: Qt.AllButtons
            Accessible.ignored: true
            onWheel: wheel.accepted = true
        }
    }

    Rectangle {
        id: panel
        objectName: "questionPanel"
        anchors.centerIn: parent
        width: 460
        height: column.height + 48 + choiceRow.height
        radius: Theme.radius
        color: Theme.panel
        border.color: Theme.stroke
        border.width: 1

        Column {
            id: column
            x: 24
            y: 20
            width: panel.width - 48
            spacing: 10
            Label {
                objectName: "questionHeading"
                width: parent.width
                heading: true
                highlight: true
                text: Questions.heading
            }
            Label {
                objectName: "questionSentence"
                width: parent.width
                wrapMode: Text.Wrap
                elide: Text.ElideNone
                text: Questions.sentence
            }
        }
        Row {
            id: choiceRow
            objectName: "questionChoices"
            anchors.right: parent.right
            anchors.rightMargin: 20
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 16
            spacing: 10
            Repeater {
                id: choices
                model: Questions.choices
                PushButton {
                    objectName: "questionChoice" + index
                    width: 120
                    text: modelData
                    primary: index === Questions.safeChoice
                    // A choice would pass Tab on to the window behind the veil.
                    Keys.onTabPressed: sheet.focusChoice(index + 1)
                    Keys.onBacktabPressed: sheet.focusChoice(index - 1)
                    onClicked: Questions.answer(index)
                }
            }
        }
    }
}
