import QtQuick 2.15
import W3.Logic 1.0
import W3.Actions 1.0
import "qrc:/modules/qml/common"

// The sensor page: the DPI stages with their indicator colours, the stage in use, the report
// rate and the desktop's pointer speed, scroll lines and double-click speed. Stage values and
// colours reach the mouse at once; the rest on APPLY.
Item {
    id: page
    objectName: "Page_Sensor"
    width: 710
    height: 472

    // What the page shows is SensorActions' state; the page forwards the user's choices.
    readonly property int sensorType: SensorActions.sensorType
    readonly property var valueMenu: numbers(Sensor.valueMenu(sensorType))
    readonly property int dpiMAXStage: SensorActions.stageCount
    readonly property var stageValues: numbers(SensorActions.stageValues)
    // Stages whose stored value the sensor lacks and shows as its nearest one, until the
    // stages are next sent.
    readonly property var adjustedStages: SensorActions.adjustedStages
    readonly property int currentStage: SensorActions.currentStage
    readonly property int reportRatePosition: SensorActions.reportRatePosition
    readonly property int cursorSpeed: SensorActions.cursorSpeed
    readonly property int scrollLines: SensorActions.scrollLines
    readonly property int doubleClickSpeed: SensorActions.doubleClickSpeed

    signal protectUI(int interval)

    // What goes on APPLY; the stage values and colours reach the mouse at once and never pend.
    readonly property bool pending: SensorActions.pending
    readonly property int applyLockTime: 1600  // input lock of APPLY, ms
    readonly property int resetLockTime: 800   // input lock of RESET, ms

    function keyEvent(isDown, usbCode) {}
    // The labels follow the string list through their bindings.
    function translateStrings() {}

    // The colours and the stage in use as the unit read them.
    function showColors() {
        colorGroup.setColors(SensorActions.stageColors)
        colorGroup.setIds(SensorActions.stageColorIds)
        colorGroup.setCurrent(currentStage)
    }
    Connections {
        target: SensorActions
        function onReloaded() { page.showColors() }
    }
    Component.onCompleted: showColors()

    function numbers(list) {
        var result = []
        for (var i = 0; i < list.length; ++i)
            result.push(Number(list[i]))
        return result
    }

    function stageText(value, stage) {
        if (value === 0)
            return "\u00D7"
        return (adjustedStages[stage] === true ? "\u2248" : "") + String(value)
    }

    function sendColors() {
        if (colorGroup.isCompat8Color)
            SensorActions.setStageColorIds(colorGroup.idList())
        else
            SensorActions.setStageColors(colorGroup.colorList())
    }

    // The mouse needs one used stage: switching off the last one is refused. When the stage
    // in use is switched off, the nearest used stage takes its place.
    function setStageValue(stage, menuIndex) {
        if (menuIndex < 0 || menuIndex >= valueMenu.length)
            return
        var before = currentStage
        if (!SensorActions.setStageValue(stage, valueMenu[menuIndex])) {
            stageHint.show(Theme.text(165, "One DPI stage at least stays in use"))
            return
        }
        if (currentStage !== before)
            colorGroup.setCurrent(currentStage)
    }
    // An unused stage cannot be the stage in use.
    function selectStage(stage) {
        SensorActions.selectStage(stage)
        colorGroup.setCurrent(currentStage)
    }
    // Any shown entry takes a colour, an unused stage's too; a used one also becomes the
    // stage in use.
    function selectColorEntry(stage) {
        SensorActions.selectStage(stage)
    }

    Binding { target: rate; property: "currentIndex"; value: page.reportRatePosition }
    Binding { target: cursor; property: "position"; value: page.cursorSpeed }
    Binding { target: scroll; property: "position"; value: page.scrollLines }
    Binding { target: doubleClick; property: "position"; value: page.doubleClickSpeed }

    Label {
        x: 10
        y: 8
        width: 690
        height: 22
        text: Theme.text(104, "DPI LEVEL") + (Sensor.sensorName(page.sensorType) !== "" ? "  \u00B7  " + Sensor.sensorName(page.sensorType) : "")
        heading: true
    }

    // Only the stages the mouse supports are shown; the indicator colours sit right under
    // their stage buttons.
    ButtonGroupPro_8 {
        id: stages
        objectName: "dpiStages"
        x: 10
        y: 34
        width: 690
        height: 40
        stageCount: page.dpiMAXStage
        stageTexts: page.stageValues.map(page.stageText)
        currentStage: page.currentStage
        menuItems: page.valueMenu.map(function(value) { return page.stageText(value, -1) })
        onStageClicked: page.selectStage(index)
        onStageValuePicked: page.setStageValue(index, menuIndex)
    }
    InlineHint {
        id: stageHint
        objectName: "stageHint"
        x: 360
        y: 8
        width: 340
        height: 22
        horizontalAlignment: Text.AlignRight
    }

    ColorGroup_8 {
        id: colorGroup
        objectName: "indicatorColors"
        x: 10
        y: 82
        z: -1
        stageLimit: page.dpiMAXStage
        entryWidth: stages.buttonWidth
        entryHeight: 14
        entrySpacing: 6
        isCompat8Color: SensorActions.fixedColorsOnly
        title: Theme.text(105, "DPI INDICATOR LED")
        onClicked: page.sendColors()
        onEntrySelected: page.selectColorEntry(index)
    }

    Item {
        x: 360
        y: 104
        width: 340
        height: 230

        Label {
            objectName: "reportRateTitle"
            width: 340
            height: 20
            text: Theme.text(100, "POLLING RATE")
            heading: true
        }
        ButtonGroup_4 {
            id: rate
            objectName: "reportRate"
            y: 26
            width: 340
            labels: Sensor.reportRateLabels()
            onClicked: SensorActions.reportRatePosition = index
        }

        Label {
            y: 76
            width: 340
            height: 20
            text: Theme.text(101, "CURSOR SPEED")
        }
        Slider_11 {
            id: cursor
            objectName: "cursorSpeed"
            accessibleName: Theme.text(101, "CURSOR SPEED")
            y: 98
            width: 340
            onSliderClicked: SensorActions.cursorSpeed = position
        }
        Label {
            y: 130
            width: 340
            height: 20
            text: Theme.text(102, "VERTICAL SCROLL SPEED")
        }
        Slider_11 {
            id: scroll
            objectName: "scrollLines"
            accessibleName: Theme.text(102, "VERTICAL SCROLL SPEED")
            y: 152
            width: 340
            onSliderClicked: SensorActions.scrollLines = position
        }
        Label {
            y: 184
            width: 340
            height: 20
            text: Theme.text(103, "DOUBLE CLICK SPEED")
        }
        Slider_11 {
            id: doubleClick
            objectName: "doubleClickSpeed"
            accessibleName: Theme.text(103, "DOUBLE CLICK SPEED")
            y: 206
            width: 340
            onSliderClicked: SensorActions.doubleClickSpeed = position
        }
    }

    // What the mark of a stage stands for, while a stage carries it.
    Label {
        objectName: "adjustedNote"
        x: 10
        y: 420
        width: 330
        height: 30
        visible: page.adjustedStages.indexOf(true) >= 0
        wrapMode: Text.WordWrap
        maximumLineCount: 2
        text: "\u2248  " + Theme.text(167, "The sensor's nearest value to the one stored in the profile")
    }

    PushButton {
        objectName: "sensorResetButton"
        x: 360
        y: 420
        width: 160
        text: Theme.text(77, "RESET")
        onClicked: {
            page.protectUI(page.resetLockTime)
            SensorActions.reset()
        }
    }
    PushButton {
        objectName: "sensorApplyButton"
        x: 540
        y: 420
        width: 160
        primary: true
        glow: page.pending
        text: Theme.text(107, "APPLY")
        onClicked: {
            page.protectUI(page.applyLockTime)
            SensorActions.apply()
        }
    }
}
