import QtQuick 2.15

// Four segments side by side, one of them selected (the polling rate of the sensor page).
// A click plays the click cue and emits clicked(index); the owner sets currentIndex.
// Segments are named <objectName>_<index>.
Item {
    id: group
    property var labels: ["", "", "", ""]
    property int currentIndex: 0
    signal clicked(int index)

    function choose(index) {
        if (index < 0 || index >= 4)
            return
        Sounds.click()
        clicked(index)
    }

    width: 400
    height: 32
    opacity: Theme.ownOpacity(group)
    // One stop for the group; the arrows choose the segment beside the selected one.
    activeFocusOnTab: true
    Keys.onLeftPressed: choose(currentIndex - 1)
    Keys.onRightPressed: choose(currentIndex + 1)
    FocusRing { shapeRadius: 4 }

    Row {
        anchors.fill: parent
        spacing: 4
        Repeater {
            model: 4
            delegate: Rectangle {
                objectName: group.objectName + "_" + index
                readonly property bool selected: index === group.currentIndex
                width: (group.width - 12) / 4
                height: group.height
                radius: 4
                Accessible.role: Accessible.RadioButton
                Accessible.name: group.labels[index] !== undefined ? group.labels[index] : ""
                Accessible.checkable: true
                Accessible.checked: selected
                Accessible.onPressAction: group.choose(index)
                color: selected ? Theme.accentGlow : Theme.panel
                border.color: selected ? Theme.accent : segmentArea.containsMouse ? Theme.textColorEnable : Theme.stroke
                Label {
                    anchors.fill: parent
                    horizontalAlignment: Text.AlignHCenter
                    text: group.labels[index] !== undefined ? group.labels[index] : ""
                    highlight: parent.selected
                    heading: parent.selected
                }
                MouseArea {
                    id: segmentArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: group.choose(index)
                }
            }
        }
    }
}
