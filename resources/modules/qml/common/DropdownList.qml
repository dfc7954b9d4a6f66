import QtQuick 2.15

// A closed field showing the current item; a click opens the list below it (above the
// siblings) with the current item in view, a click on an item picks it and closes the list.
// A list longer than maxRows scrolls, with its scroll bar <objectName>_scrollBar. Rows are
// named <objectName>_item<index> for tests.
Item {
    id: dropdown
    property var model: []
    property int currentIndex: -1
    property bool isOpen: false
    property int rowHeight: 28
    property int maxRows: 8
    readonly property string currentText: currentIndex >= 0 && currentIndex < model.length ? String(model[currentIndex]) : ""
    property string accessibleName: ""
    property int keyIndex: -1     // the row the arrow keys point at while the list is open
    signal listElementClicked(int index)
    signal listOpened()
    signal listClosed()

    function getCurIndex() { return currentIndex }
    function setCurIndex(index) { currentIndex = index }
    function open() {
        if (isOpen)
            return
        rowsLoader.active = true
        isOpen = true
        keyIndex = currentIndex
        if (currentIndex >= 0)
            rowsLoader.item.rows.positionViewAtIndex(currentIndex, ListView.Contain)
        listOpened()
    }
    function pick(index) {
        currentIndex = index
        close()
        listElementClicked(index)
    }
    // Arrows open the closed list, then move through its rows; Space or Return picks.
    function moveKey(by) {
        if (!isOpen) {
            open()
            return
        }
        keyIndex = Math.max(0, Math.min(model.length - 1, keyIndex + by))
        rowsLoader.item.rows.positionViewAtIndex(keyIndex, ListView.Contain)
    }
    function pressKey() {
        if (!isOpen)
            open()
        else if (keyIndex >= 0 && keyIndex < model.length)
            pick(keyIndex)
        else
            close()
    }
    function close() {
        if (!isOpen)
            return
        isOpen = false
        listClosed()
    }

    width: 200
    height: 32
    z: isOpen ? 100 : 0
    opacity: Theme.ownOpacity(dropdown)
    onEnabledChanged: if (!enabled) close()
    onActiveFocusChanged: if (!activeFocus) close()
    activeFocusOnTab: true
    Keys.onDownPressed: moveKey(1)
    Keys.onUpPressed: moveKey(-1)
    Keys.onSpacePressed: pressKey()
    Keys.onReturnPressed: pressKey()
    Keys.onEnterPressed: pressKey()
    Keys.onEscapePressed: {
        event.accepted = isOpen
        close()
    }
    Accessible.role: Accessible.ComboBox
    Accessible.name: accessibleName !== "" ? accessibleName : currentText
    Accessible.description: currentText
    Accessible.focusable: true
    Accessible.onPressAction: pressKey()
    FocusRing { shapeRadius: 4 }

    SkinImage {
        anchors.fill: parent
        source: field.containsMouse || dropdown.isOpen ? "common/dropdown_1.png" : "common/dropdown_0.png"
        fallbackBorder: field.containsMouse || dropdown.isOpen ? Theme.accent : Theme.stroke
    }
    Label {
        anchors.fill: parent
        anchors.leftMargin: 10
        anchors.rightMargin: 28
        text: dropdown.currentText
        highlight: true
    }
    SkinImage {
        id: arrow
        width: 12; height: 12
        anchors.right: parent.right
        anchors.rightMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        source: "common/arrow_down.png"
        fallbackVisible: false
        rotation: dropdown.isOpen ? 180 : 0
    }
    Label {
        anchors.right: parent.right
        anchors.rightMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        visible: !arrow.ready
        text: dropdown.isOpen ? "\u25B2" : "\u25BC"
        font.pixelSize: 9
    }
    MouseArea {
        id: field
        anchors.fill: parent
        hoverEnabled: true
        onClicked: dropdown.isOpen ? dropdown.close() : dropdown.open()
    }

    Rectangle {
        id: popup
        visible: dropdown.isOpen
        y: dropdown.height + 2
        width: dropdown.width
        height: Math.min(dropdown.model.length, dropdown.maxRows) * dropdown.rowHeight + 4
        color: Theme.panel
        border.color: Theme.accent
        radius: 4
        // The rows are made when the list first opens and kept from then on.
        Loader {
            id: rowsLoader
            anchors.fill: parent
            anchors.margins: 2
            active: false
            sourceComponent: Item {
                property alias rows: rows
                ListView {
                    id: rows
                    anchors.fill: parent
                    clip: true
                    model: dropdown.model
                    boundsBehavior: Flickable.StopAtBounds
                    delegate: Rectangle {
                        objectName: dropdown.objectName + "_item" + index
                        width: rows.width - (scrollBar.needed ? scrollBar.width : 0)
                        height: dropdown.rowHeight
                        color: rowArea.containsMouse || index === dropdown.keyIndex ? Theme.accentGlow : "transparent"
                        Accessible.role: Accessible.ListItem
                        Accessible.name: String(modelData)
                        Accessible.selected: index === dropdown.currentIndex
                        Accessible.onPressAction: dropdown.pick(index)
                        radius: 3
                        Label {
                            anchors.fill: parent
                            anchors.leftMargin: 8
                            text: String(modelData)
                            highlight: index === dropdown.currentIndex
                        }
                        MouseArea {
                            id: rowArea
                            anchors.fill: parent
                            hoverEnabled: true
                            onClicked: dropdown.pick(index)
                        }
                    }
                }
                ListScrollBar {
                    id: scrollBar
                    objectName: dropdown.objectName + "_scrollBar"
                    anchors.right: parent.right
                    height: parent.height
                    view: rows
                }
            }
        }
    }
}
