import QtQuick 2.15
import "qrc:/modules/qml/common"

// The device in use: a connection dot, the product and its firmware version.
Row {
    id: badge
    property string firmware: ""
    readonly property bool connected: firmware !== ""
    spacing: 10

    function refresh() {
        firmware = String(ui_View.ui_80H_GetFWVersion()).trim()
    }

    Rectangle {
        anchors.verticalCenter: parent.verticalCenter
        width: 10
        height: 10
        radius: 5
        color: badge.connected ? "#3DDC84" : "#80FFFFFF"
        border.color: badge.connected ? "#803DDC84" : "transparent"
        border.width: 3
    }
    Label {
        objectName: "deviceBadge_product"
        text: "W3 MOUSE"
        heading: true
    }
    Label {
        objectName: "deviceBadge_firmware"
        visible: badge.connected
        text: "\u00B7  FW " + badge.firmware
    }
}
