import QtQuick 2.15
import QtTest 1.2
import "qrc:/modules/qml/basic"
import "qrc:/modules/qml/W3"

Item {
    width: 1000
    height: 600

    BusyIndicator { id: busy; anchors.fill: parent }
    ProductPage { id: page }

    TestCase {
        name: "BusyIndicator"

        function test_locksInputUntilTheTimeIsOver() {
            busy.show(200)
            verify(busy.visible)
            compare(ui_View.enabled, false)
            tryCompare(ui_View, "enabled", true, 2000)
            verify(!busy.visible)
        }

        function test_zeroReleasesAtOnce() {
            busy.show(0)
            verify(busy.visible)
            tryCompare(busy, "visible", false, 1000)
            compare(ui_View.enabled, true)
        }
    }

    TestCase {
        name: "ProductPage"

        function test_summary_data() {
            return [
                { tag: "ANDS3050 at 1000 Hz", sensor: 0, rate: 1, sensorText: "ANDS3050", rateText: "1000 Hz" },
                { tag: "ANDS3325 at 125 Hz", sensor: 3, rate: 8, sensorText: "ANDS3325", rateText: "125 Hz" },
                { tag: "rate as text from the profile", sensor: 1, rate: "2", sensorText: "ANDS3320", rateText: "500 Hz" },
                { tag: "unknown sensor and rate", sensor: 7, rate: 0, sensorText: "\u2014", rateText: "\u2014" },
            ]
        }

        function test_summary(data) {
            ui_View.sensorType = data.sensor
            ui_View.reportRate = data.rate
            page.refresh()
            compare(page.firmware, "1.0A")
            compare(page.sensor, data.sensorText)
            compare(page.reportRate, data.rateText)
            compare(page.dpiStage, "3")
        }
    }
}
