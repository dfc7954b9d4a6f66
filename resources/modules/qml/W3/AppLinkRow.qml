import QtQuick 2.15
import "qrc:/modules/qml/common"

// One linked application of the links panel: its name, how it matches, and ✕ to unlink it.
Rectangle {
    id: row
    objectName: "AppLinkRow"
    property string name: ""
    property string matchText: ""
    signal unlinkClicked()

    height: 34
    radius: 4
    color: area.containsMouse ? Theme.accentGlow : "transparent"
    border.color: Theme.stroke

    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        acceptedButtons: Qt.NoButton
    }
    Label {
        x: 12
        width: parent.width * 0.55 - 12
        height: parent.height
        text: row.name
        highlight: true
    }
    Label {
        x: parent.width * 0.55
        width: parent.width * 0.45 - removeButton.width - 16
        height: parent.height
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: 10
        text: row.matchText
    }
    Rectangle {
        id: removeButton
        objectName: "AppLinkRow_unlink"
        anchors.right: parent.right
        anchors.rightMargin: 6
        anchors.verticalCenter: parent.verticalCenter
        width: 24; height: 24
        radius: 3
        color: removeArea.containsMouse ? Theme.warning : "transparent"
        border.color: Theme.stroke
        Label {
            anchors.centerIn: parent
            text: "╳"
            highlight: removeArea.containsMouse
        }
        MouseArea {
            id: removeArea
            anchors.fill: parent
            hoverEnabled: true
            onClicked: row.unlinkClicked()
        }
    }
}
