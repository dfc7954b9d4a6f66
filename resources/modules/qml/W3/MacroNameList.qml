import QtQuick 2.15
import "qrc:/modules/qml/common"

// The macro library on the macro page: its heading with the add and delete buttons, and the
// macro names with the chosen one selected. A name is renamed in place.
Item {
    id: nameArea
    objectName: "MacroNameList"
    width: 200
    height: 440

    property var names: []
    property string selectedName: ""
    property bool recording: false
    // Why a new name is refused ("" when it is not): nameRefusal(oldName, newName).
    property var nameRefusal: null

    signal addClicked()
    signal deleteClicked()
    signal chosen(string name)
    signal menuRequested(int index)
    signal renamed(string oldName, string newName)

    function nameAt(index) { return nameList.textAt(index) }
    function editName(index) { nameList.editFileName(index) }
    // The bottom edge of row `index`, where a menu for it opens.
    function rowBottom(index) { return namePanel.y + nameList.anchors.margins + (index + 1) * nameList.rowHeight }

    function showNames() {
        nameList.setRows(names)
        showSelection()
    }
    function showSelection() { nameList.currentIndex = names.indexOf(selectedName) }
    onNamesChanged: showNames()
    onSelectedNameChanged: showSelection()
    Component.onCompleted: showNames()

    Label {
        width: 120
        height: 28
        text: Theme.text(44, "MACRO")
        heading: true
    }
    Button_2state {
        objectName: "addMacro"
        x: 138
        width: 28
        height: 28
        normalSource: "common/plus_0.png"
        hoverSource: "common/plus_1.png"
        accessibleName: Theme.text(220, "ADD") + " " + Theme.text(44, "MACRO")
        enabled: !nameArea.recording
        onClicked: nameArea.addClicked()
    }
    Button_2state {
        objectName: "deleteMacro"
        x: 172
        width: 28
        height: 28
        normalSource: "common/delete_0.png"
        hoverSource: "common/delete_1.png"
        accessibleName: Theme.text(80, "DELETE") + " " + nameArea.selectedName
        enabled: !nameArea.recording && nameArea.selectedName !== ""
        onClicked: nameArea.deleteClicked()
    }
    FramedPanel {
        id: namePanel
        y: 36
        width: 200
        height: 404
        FileList {
            id: nameList
            objectName: "macroNames"
            accessibleName: Theme.text(44, "MACRO")
            anchors.fill: parent
            anchors.margins: 6
            enabled: !nameArea.recording
            nameRefusal: nameArea.nameRefusal
            onListElementClicked: nameArea.chosen(textAt(index))
            onListElementRightBtnClicked: nameArea.menuRequested(index)
            onEditFileName_completed: nameArea.renamed(oldName, newName)
        }
    }
}
