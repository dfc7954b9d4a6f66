import QtQuick 2.15
import "qrc:/modules/qml/common"

// The column of functions a button can have; the chosen one is marked.
Column {
    id: menu
    objectName: "KeyFunctionMenu"
    width: 140
    spacing: 4

    property var labels: []
    property int currentIndex: -1
    signal functionClicked(int index)

    function choose(index) {
        Sounds.click()
        functionClicked(index)
    }
    function focusRow(index) {
        if (index >= 0 && index < rows.count)
            rows.itemAt(index).forceActiveFocus(Qt.TabFocusReason)
    }

    Repeater {
        id: rows
        model: menu.labels
        delegate: Rectangle {
            readonly property bool selected: index === menu.currentIndex
            objectName: "function_" + index
            width: menu.width
            height: 32
            radius: 4
            activeFocusOnTab: true
            Keys.onSpacePressed: menu.choose(index)
            Keys.onReturnPressed: menu.choose(index)
            Keys.onEnterPressed: menu.choose(index)
            Keys.onUpPressed: menu.focusRow(index - 1)
            Keys.onDownPressed: menu.focusRow(index + 1)
            Accessible.role: Accessible.RadioButton
            Accessible.name: modelData
            Accessible.checkable: true
            Accessible.checked: selected
            Accessible.focusable: true
            Accessible.onPressAction: menu.choose(index)
            FocusRing { shapeRadius: 4 }
            color: selected ? Theme.accentGlow : functionArea.containsMouse ? "#14FFFFFF" : "transparent"
            border.color: selected ? Theme.accent : Theme.stroke
            Rectangle {
                visible: parent.selected
                width: 3
                height: parent.height - 8
                anchors.verticalCenter: parent.verticalCenter
                x: 3
                color: Theme.accent
            }
            Label {
                anchors.fill: parent
                anchors.leftMargin: 12
                anchors.rightMargin: 6
                text: modelData
                highlight: parent.selected
                fontSizeMode: Text.HorizontalFit
                minimumPixelSize: 10
            }
            MouseArea {
                id: functionArea
                anchors.fill: parent
                hoverEnabled: true
                onClicked: menu.choose(index)
            }
        }
    }
}
