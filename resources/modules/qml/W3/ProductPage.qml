import QtQuick 2.15
import "qrc:/modules/qml/basic"

// Summary of the connected W3 mouse.
Item {
    id: page
    property string lastInput: ""
    property string firmware: ""
    property string sensor: ""
    property string dpiStage: ""
    property string reportRate: ""

    readonly property var sensorNames: ["ANDS3050", "ANDS3320", "ANDS5050", "ANDS3325"]
    readonly property var rates: ({ "1": "1000 Hz", "2": "500 Hz", "4": "250 Hz", "8": "125 Hz" })

    function refresh() {
        firmware = ui_View.ui_80H_GetFWVersion()
        var type = Number(ui_View.getSensorType())
        sensor = sensorNames[type] !== undefined ? sensorNames[type] : "\u2014"
        dpiStage = String(ui_View.ui_8BH_GetCurrentDPIStage())
        var rate = rates[String(ui_View.ui_81H_GetReportRate())]
        reportRate = rate !== undefined ? rate : "\u2014"
    }

    Column {
        spacing: 18
        Text {
            text: "W3 GAMING MOUSE"
            color: "#4fc3f7"
            font.pixelSize: 22
            font.bold: true
            font.letterSpacing: 2
        }
        Text {
            text: "\u25CF  Connected"
            color: "#66bb6a"
            font.pixelSize: 16
        }
        InfoRow { label: "FIRMWARE"; value: page.firmware }
        InfoRow { label: "SENSOR"; value: page.sensor }
        InfoRow { label: "DPI LEVEL"; value: page.dpiStage }
        InfoRow { label: "POLLING RATE"; value: page.reportRate }
        InfoRow { label: "LAST INPUT"; value: page.lastInput }
    }
}
