import QtQuick 2.15
import "qrc:/modules/qml/common"

// MACRO: the macro, how it plays, and how often under NORMAL PLAY.
Item {
    id: panel
    objectName: "MacroPanel"

    readonly property int normalPlay: 0
    property var playModeLabels: []
    property int repeatCount: 1
    property alias macroIndex: macroMenu.currentIndex
    readonly property string macroName: macroMenu.currentText
    property alias playMode: playModeMenu.currentIndex
    signal macroClicked(int index)
    signal playModeClicked(int mode)
    signal repeatEntered(int count)
    signal namesRequested()

    function setNames(names) { macroMenu.setRows(names) }
    function showHint(text) { macroHint.show(text) }

    Label {
        y: 84
        width: 90
        height: 32
        text: Theme.text(97, "TIMES")
        enabled: panel.playMode === panel.normalPlay
    }
    NumberField {
        objectName: "repeatCount"
        accessibleName: Theme.text(97, "TIMES")
        x: parent.width - 110
        y: 84
        width: 110
        maximum: 65535
        value: panel.repeatCount
        enabled: panel.playMode === panel.normalPlay
        onEntered: panel.repeatEntered(number)
    }
    DropdownList {
        id: playModeMenu
        objectName: "playModeMenu"
        y: 42
        width: parent.width
        model: panel.playModeLabels
        onListElementClicked: panel.playModeClicked(index)
    }
    InlineHint {
        id: macroHint
        objectName: "macroHint"
        y: 122
        width: parent.width
        height: 20
    }
    FileListButton {
        id: macroMenu
        objectName: "macroMenu"
        accessibleName: Theme.text(44, "MACRO")
        width: parent.width
        maxRows: 8
        placeholder: Theme.text(50, "MACRO")
        onRequestToUpdateList: panel.namesRequested()
        onListElementClicked: panel.macroClicked(index)
    }
}
