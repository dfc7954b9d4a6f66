import QtQuick 2.15

// A list of file rows (`textX` the name, `textR` an optional right-hand note) with a
// selection (-1 for none) that a left click sets, a right-click signal that leaves it, and
// in-place renaming: editFileName(index) opens the row's name for editing; Return or Enter
// stores the new name and emits editFileName_completed(oldName, newName); leaving the field
// otherwise, or an unchanged name, restores the old one. `nameRefusal(oldName, newName)`, when
// set, says why a new name is refused: the field then stays open and shows the reason under
// the row. Without it an empty name is refused silently. More rows than fit scroll, with the
// scroll bar <objectName>_scrollBar. Rows are named <objectName>_row<index>.
Item {
    id: fileList
    property alias rows: rowModel
    property int currentIndex: -1
    property int editingIndex: -1
    property int rowHeight: 28
    property var nameRefusal: null
    property string accessibleName: ""
    readonly property int count: rowModel.count
    signal listElementClicked(int index)
    signal listElementRightBtnClicked(int index)
    signal editFileName_completed(string oldName, string newName)

    // Replaces the rows; each item is a name or {textX, textR}. The selection is cleared.
    function setRows(items) {
        editingIndex = -1
        rowModel.clear()
        for (var i = 0; i < items.length; ++i) {
            var item = items[i]
            if (typeof item === "object")
                rowModel.append({ textX: String(item.textX), textR: item.textR !== undefined ? String(item.textR) : "" })
            else
                rowModel.append({ textX: String(item), textR: "" })
        }
        currentIndex = -1
    }
    function textAt(index) { return index >= 0 && index < rowModel.count ? rowModel.get(index).textX : "" }
    // Scrolls so the row is in view (a row added at the end, say).
    function showRow(index) { view.positionViewAtIndex(index, ListView.Contain) }
    function editFileName(index) {
        if (index >= 0 && index < rowModel.count)
            editingIndex = index
    }
    function finishEditing(index, newName) {
        var oldName = rowModel.get(index).textX
        if (newName !== oldName && nameRefusal) {
            var reason = nameRefusal(oldName, newName)
            if (reason !== "") {
                refusalHint.show(reason)
                return
            }
        }
        editingIndex = -1
        if (newName.trim() === "" || newName === oldName)
            return
        rowModel.setProperty(index, "textX", newName)
        editFileName_completed(oldName, newName)
    }
    onEditingIndexChanged: refusalHint.hide()

    // From the keyboard the list is one stop: the arrows move the selection as a click would,
    // the Menu key (or Shift+F10) is the right click on the selected row.
    function selectFromKeys(index) {
        if (index < 0 || index >= rowModel.count)
            return
        currentIndex = index
        showRow(index)
        listElementClicked(index)
    }
    activeFocusOnTab: true
    Keys.onDownPressed: selectFromKeys(currentIndex + 1)
    Keys.onUpPressed: selectFromKeys(Math.max(0, currentIndex - 1))
    Keys.onPressed: {
        if (event.key === Qt.Key_Menu || (event.key === Qt.Key_F10 && (event.modifiers & Qt.ShiftModifier))) {
            if (currentIndex >= 0)
                listElementRightBtnClicked(currentIndex)
            event.accepted = true
        }
    }
    Accessible.role: Accessible.List
    Accessible.name: accessibleName
    Accessible.description: currentIndex >= 0 ? textAt(currentIndex) : ""
    Accessible.focusable: true
    FocusRing { shapeRadius: 3 }

    opacity: Theme.ownOpacity(fileList)
    ListModel { id: rowModel }

    ListView {
        id: view
        anchors.fill: parent
        clip: true
        model: rowModel
        currentIndex: fileList.currentIndex
        boundsBehavior: Flickable.StopAtBounds
        delegate: Rectangle {
            id: row
            objectName: fileList.objectName + "_row" + index
            readonly property bool selected: index === fileList.currentIndex
            readonly property bool editing: fileList.editingIndex >= 0 && index === fileList.editingIndex
            width: view.width - (scrollBar.needed ? scrollBar.width : 0)
            height: fileList.rowHeight
            radius: 3
            color: selected ? Theme.accentGlow : rowArea.containsMouse ? "#14FFFFFF" : "transparent"
            border.color: selected ? Theme.accent : "transparent"
            Accessible.role: Accessible.ListItem
            Accessible.name: textX + (textR ? " " + textR : "")
            Accessible.selected: selected
            Accessible.onPressAction: fileList.selectFromKeys(index)

            Label {
                anchors.fill: parent
                anchors.leftMargin: 8
                anchors.rightMargin: note.width + 12
                visible: !row.editing
                text: textX
                highlight: row.selected
            }
            Label {
                id: note
                anchors.right: parent.right
                anchors.rightMargin: 8
                anchors.verticalCenter: parent.verticalCenter
                text: textR !== undefined ? textR : ""
            }
            MouseArea {
                id: rowArea
                anchors.fill: parent
                hoverEnabled: true
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                onClicked: {
                    if (mouse.button === Qt.RightButton) {
                        fileList.listElementRightBtnClicked(index)
                        return
                    }
                    fileList.currentIndex = index
                    fileList.listElementClicked(index)
                }
            }
            TextInput {
                id: editor
                objectName: fileList.objectName + "_editor"
                anchors.fill: parent
                anchors.leftMargin: 8
                anchors.rightMargin: 8
                visible: row.editing
                verticalAlignment: TextInput.AlignVCenter
                color: Theme.textColor
                selectionColor: Theme.accentGlow
                font.family: Theme.fontFamily
                font.pixelSize: Theme.fontSize
                maximumLength: 64
                onVisibleChanged: {
                    if (visible) {
                        text = textX
                        forceActiveFocus()
                        selectAll()
                    }
                }
                Keys.onReturnPressed: fileList.finishEditing(index, text)
                Keys.onEnterPressed: fileList.finishEditing(index, text)
                Keys.onEscapePressed: fileList.editingIndex = -1
                onActiveFocusChanged: if (!activeFocus && row.editing) fileList.editingIndex = -1
            }
        }
    }
    ListScrollBar {
        id: scrollBar
        objectName: fileList.objectName + "_scrollBar"
        anchors.right: parent.right
        height: parent.height
        view: view
    }

    // Why the name being typed was refused, on a plate under its row (over it at the bottom).
    InlineHint {
        id: refusalHint
        readonly property real rowTop: fileList.editingIndex * fileList.rowHeight - view.contentY
        objectName: fileList.objectName + "_refusal"
        z: 10
        x: 10
        y: rowTop + fileList.rowHeight + height + 4 <= fileList.height ? rowTop + fileList.rowHeight + 4
                                                                      : rowTop - height - 4
        width: fileList.width - 20
        wrapMode: Text.WordWrap
        elide: Text.ElideNone
        Rectangle {
            z: -1
            anchors.fill: parent
            anchors.margins: -4
            radius: 3
            color: Theme.panel
            border.color: Theme.warning
        }
    }
}
