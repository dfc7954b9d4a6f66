import QtQuick 2.15

// The question sheet over the whole window: a dim veil that takes every click, and a panel with
// the heading, one sentence and the choices at the bottom right, the safe one primary.
Item {
    id: sheet
    objectName: "QuestionSheet"
    visible: Questions.active
    focus: visible
    z: 1000

    onVisibleChanged: if (visible) forceActiveFocus()
    Keys.onEscapePressed: Questions.cancel()

    Rectangle {
        anchors.fill: parent
        color: "#B0000000"
        MouseArea {
            anchors.fill: parent
            hoverEnabled: true
            acceptedButtons: Qt.AllButtons
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
                model: Questions.choices
                PushButton {
                    objectName: "questionChoice" + index
                    width: 120
                    text: modelData
                    primary: index === Questions.safeChoice
                    onClicked: Questions.answer(index)
                }
            }
        }
    }
}
