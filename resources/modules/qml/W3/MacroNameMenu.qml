import QtQuick 2.15
import "qrc:/modules/qml/common"

// The right-click menu of a macro name: LOAD, SAVE, RENAME, CANCEL. It opens under the row at
// `openAt` and a click anywhere else closes it.
Item {
    id: menu
    objectName: "MacroNameMenu"
    visible: isOpen

    property bool isOpen: false
    property real openAt: 0

    signal chosen(int entry)
    signal dismissed()

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        onClicked: menu.dismissed()
    }
    FramedPanel {
        objectName: "nameMenu"
        x: 80
        y: Math.min(menu.openAt, menu.height - height - 8)
        width: 130
        height: menuColumn.height + 8
        radius: 4
        border.color: Theme.accent
        Column {
            id: menuColumn
            x: 4
            y: 4
            width: parent.width - 8
            Repeater {
                model: [Theme.text(84, "LOAD"), Theme.text(85, "SAVE"), Theme.text(112, "RENAME"), Theme.text(78, "CANCEL")]
                delegate: Rectangle {
                    objectName: "nameMenu_" + index
                    width: menuColumn.width
                    height: 26
                    radius: 3
                    color: entryArea.containsMouse ? Theme.accentGlow : "transparent"
                    Label {
                        anchors.fill: parent
                        anchors.leftMargin: 8
                        text: modelData
                        highlight: entryArea.containsMouse
                    }
                    MouseArea {
                        id: entryArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: menu.chosen(index)
                    }
                }
            }
        }
    }
}
