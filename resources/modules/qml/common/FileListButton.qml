import QtQuick 2.15

// The drop-down form of the file list: a field showing the chosen row's name; before the
// list opens it emits requestToUpdateList so the owner can refill `rows`.
Item {
    id: button
    property alias rows: list.rows
    property alias currentIndex: list.currentIndex
    property bool isOpen: false
    property int maxRows: 6
    property string placeholder: ""
    readonly property string currentText: list.textAt(list.currentIndex)
    signal requestToUpdateList()
    signal listElementClicked(int index)

    function setRows(items) { list.setRows(items) }
    function open() {
        requestToUpdateList()
        isOpen = true
    }
    function close() { isOpen = false }

    // From the keyboard: Space, Return or Down opens the list; the arrows move its selection,
    // Return or Space picks it and Esc closes the list as it was.
    property int indexBeforeKeys: -1
    property string accessibleName: ""
    function keyPressed(event) {
        var picking = event.key === Qt.Key_Return || event.key === Qt.Key_Enter || event.key === Qt.Key_Space
        if (!isOpen && (picking || event.key === Qt.Key_Down)) {
            indexBeforeKeys = list.currentIndex
            open()
        } else if (isOpen && (event.key === Qt.Key_Down || event.key === Qt.Key_Up)) {
            var next = list.currentIndex + (event.key === Qt.Key_Down ? 1 : -1)
            if (next >= 0 && next < list.count) {
                list.currentIndex = next
                list.showRow(next)
            }
        } else if (isOpen && picking) {
            close()
            if (list.currentIndex >= 0)
                listElementClicked(list.currentIndex)
        } else if (isOpen && event.key === Qt.Key_Escape) {
            list.currentIndex = indexBeforeKeys
            close()
        } else {
            return
        }
        event.accepted = true
    }
    activeFocusOnTab: true
    onActiveFocusChanged: if (!activeFocus) close()
    Keys.onPressed: keyPressed(event)
    Accessible.role: Accessible.ComboBox
    Accessible.name: accessibleName !== "" ? accessibleName : (currentText !== "" ? currentText : placeholder)
    Accessible.description: currentText
    Accessible.focusable: true
    Accessible.onPressAction: isOpen ? close() : open()
    FocusRing { shapeRadius: 4 }

    width: 200
    height: 32
    z: isOpen ? 100 : 0
    opacity: Theme.ownOpacity(button)
    onEnabledChanged: if (!enabled) close()

    SkinImage {
        anchors.fill: parent
        source: field.containsMouse || button.isOpen ? "common/dropdown_1.png" : "common/dropdown_0.png"
        fallbackBorder: field.containsMouse || button.isOpen ? Theme.accent : Theme.stroke
    }
    Label {
        anchors.fill: parent
        anchors.leftMargin: 10
        anchors.rightMargin: 24
        text: button.currentText !== "" ? button.currentText : button.placeholder
        highlight: button.currentText !== ""
    }
    Label {
        anchors.right: parent.right
        anchors.rightMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        text: button.isOpen ? "\u25B2" : "\u25BC"
        font.pixelSize: 9
    }
    MouseArea {
        id: field
        anchors.fill: parent
        hoverEnabled: true
        onClicked: button.isOpen ? button.close() : button.open()
    }
    Rectangle {
        visible: button.isOpen
        y: button.height + 2
        width: button.width
        height: Math.max(1, Math.min(list.count, button.maxRows)) * list.rowHeight + 4
        color: Theme.panel
        border.color: Theme.accent
        radius: 4
        FileList {
            id: list
            objectName: button.objectName + "_list"
            anchors.fill: parent
            anchors.margins: 2
            activeFocusOnTab: false
            onListElementClicked: {
                button.close()
                button.listElementClicked(index)
            }
        }
    }
}
