import QtQuick 2.15
import "qrc:/modules/qml/basic"
import "qrc:/modules/qml/common"
import "qrc:/modules/qml/W3"

// The scene root. Invisible until "run"; the program calls initUI, run, detectKeyboard,
// detectMouse and setProtectUI by name.
Item {
    id: root
    width: 1000
    height: 600
    visible: false
    clip: true

    property bool initialised: false
    property var strings: []
    property string lastInput: ""

    function text(index, fallback) {
        return strings.length > index && strings[index] !== "" ? strings[index] : fallback
    }

    function initUI() {
        var config = ui_View.loadApConfig()
        if (config.length > 4) {
            ui_View.setEnableAudio(Number(config[2]) === 0)
            var codes = []
            var languages = ui_View.chkLanguages()
            for (var name in languages)
                codes.push(languages[name])
            var code = codes[Number(config[4])]
            if (code !== undefined)
                root.strings = ui_View.getGlobalStrings(code)
        }
        productPage.refresh()
        root.initialised = true
    }

    function run() {
        root.visible = true
        opening.start()
        ui_View.playMedia_Index(1)
    }

    function detectKeyboard(isDown, usbCode) {
        root.lastInput = "Key 0x" + usbCode.toString(16).toUpperCase() + (isDown ? " down" : " up")
    }

    function detectMouse(isDown, code, x, y) {
        root.lastInput = "Button 0x" + code.toString(16).toUpperCase() + (isDown ? " down" : " up")
                + " at " + x + ", " + y
    }

    function setProtectUI(busyTime) {
        busy.show(busyTime)
    }

    // Dragging anywhere moves the frameless window.
    MouseArea {
        anchors.fill: parent
        property point pressAt
        onPressed: pressAt = Qt.point(mouse.x, mouse.y)
        onPositionChanged: {
            ui_Ctl.onXChanged(mouse.x - pressAt.x)
            ui_Ctl.onYChanged(mouse.y - pressAt.y)
        }
    }

    Frame {
        id: frame
        anchors.fill: parent
        title: "W3 CONFIG"
        onCloseRequested: closing.start()
    }

    ProductPage {
        id: productPage
        anchors.fill: parent
        anchors.topMargin: 90
        anchors.margins: 40
        lastInput: root.lastInput
    }

    BusyIndicator { id: busy; objectName: "busy"; anchors.fill: parent }

    NumberAnimation {
        id: opening
        target: root; property: "opacity"; from: 0; to: 1; duration: 400
    }
    NumberAnimation {
        id: closing
        target: root; property: "height"; to: 0; duration: 300
        onFinished: ui_Ctl.onMinimize()
    }
}
