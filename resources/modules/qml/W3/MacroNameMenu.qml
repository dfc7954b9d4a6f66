import QtQuick 2.15
import QtQuick.Window 2.15
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

    // The keyboard moves into the open menu and returns where it was when it closes.
    property Item focusBefore: null
    onIsOpenChanged: {
        if (isOpen) {
            focusBefore = Window.activeFocusItem
            focusEntry(0)
        } else if (focusBefore !== null && focusBefore.visible && focusBefore.enabled) {
            focusBefore.forceActiveFocus(Qt.TabFocusReason)
        }
    }
    function focusEntry(entry) {
        if (entry >= 0 && entry < entries.count)
            entries.itemAt(entry).forceActiveFocus(Qt.TabFocusReason)
    }

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        Accessible.ignored: true
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
                id: entries
                model: [Theme.text(84, "LOAD"), Theme.text(85, "SAVE"), Theme.text(112, "RENAME"), Theme.text(78, "CANCEL")]
                delegate: Rectangle {
                    objectName: "nameMenu_" + index
                    width: menuColumn.width
                    height: 26
                    radius: 3
                    color: entryArea.containsMouse || activeFocus ? Theme.accentGlow : "transparent"
                    Keys.onSpacePressed: menu.chosen(index)
                    Keys.onReturnPressed: menu.chosen(index)
                    Keys.onEnterPressed: menu.chosen(index)
                    Keys.onUpPressed: menu.focusEntry(index - 1)
                    Keys.onDownPressed: menu.focusEntry(index + 1)
                    Keys.onEscapePressed: menu.dismissed()
                    Keys.onTabPressed: menu.dismissed()
                    Keys.onBacktabPressed: menu.dismissed()
                    Accessible.role: Accessible.MenuItem
                    Accessible.name: modelData
                    Accessible.onPressAction: menu.chosen(index)
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
