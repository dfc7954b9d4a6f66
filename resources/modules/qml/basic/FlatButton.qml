import QtQuick 2.15

Rectangle {
    id: button
    property alias label: caption.text
    signal clicked()

    width: 36; height: 36; radius: 18
    color: area.containsMouse ? "#c0392b" : "#2a3643"

    Text {
        id: caption
        anchors.centerIn: parent
        color: "#e8eef5"
        font.pixelSize: 16
    }
    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        onClicked: { ui_View.playMedia_Index(4); button.clicked() }
    }
}
