import QtQuick 2.15

// Four segments side by side, one of them selected (the polling rate of the sensor page).
// A click plays the click cue and emits clicked(index); the owner sets currentIndex.
// Segments are named <objectName>_<index>.
Item {
    id: group
    property var labels: ["", "", "", ""]
    property int currentIndex: 0
    signal clicked(int index)

    width: 400
    height: 32
    opacity: Theme.ownOpacity(group)

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
                    onClicked: {
                        Sounds.click()
                        group.clicked(index)
                    }
                }
            }
        }
    }
}
