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

    readonly property int stageCount: Sensor.stageCount
    property int sensorType: -1
    property var valueMenu: []
    property int dpiMAXStage: stageCount
    property var stageValues: [0, 0, 0, 0, 0, 0, 0, 0]
    // Stages whose stored value the sensor lacks and shows as its nearest one, until the
    // stages are next sent.
    property var adjustedStages: []
    property int currentStage: 0
    property int reportRatePosition: Sensor.defaultReportRatePosition
    // The pointer settings: 11-step sliders 0..10.
    readonly property int pointerStepMax: 10
    readonly property int defaultCursorSpeed: 5
    readonly property int defaultScrollLines: 2
    readonly property int defaultDoubleClickSpeed: 5
    property int cursorSpeed: defaultCursorSpeed
    property int scrollLines: defaultScrollLines
    property int doubleClickSpeed: defaultDoubleClickSpeed
    // Positions in the factory list of loadDefaultProfile(3).
    readonly property var factory: ({ reportRate: 0, cursorSpeed: 1, scrollLines: 2, doubleClickSpeed: 3,
                                      stages: 4, stage: 12, colors: 13, ids: 37, length: 45 })

    signal protectUI(int interval)

    // What goes on APPLY; the stage values and colours reach the mouse at once and never pend.
    PendingChanges {
        id: changes
        shown: [page.reportRatePosition, page.cursorSpeed, page.scrollLines, page.doubleClickSpeed, page.currentStage]
    }
    readonly property bool pending: changes.pending
    readonly property int pageId: 3          // this page's factory values in loadDefaultProfile
    readonly property int applyLockTime: 1600  // input lock of APPLY, ms
    readonly property int resetLockTime: 800   // input lock of RESET, ms

    function initUI(deviceConfig) { startUp() }
    function profileChanged() { startUp() }
    function discard() { startUp() }
    function keyEvent(isDown, usbCode) {}
    // The labels follow the string list through their bindings.
    function translateStrings() {}

    function startUp() {
        sensorType = Number(ui_View.getSensorType())
        valueMenu = numbers(Sensor.valueMenu(sensorType))
        colorGroup.isCompat8Color = ui_View.chkIsLogoLedWork()
        dpiMAXStage = clamp(Math.round(Number(ui_View.ui_91H_SyncDPI())), 1, stageCount, stageCount)
        reportRatePosition = Sensor.reportRatePosition(Number(ui_View.ui_81H_GetReportRate()))
        showPointerSettings(ui_View.getCursorSpeed(), ui_View.getVerticalScrollLines(), ui_View.getDoubleClickSpeed())
        var stored = ui_View.ui_91H_GetDPISet()
        stageValues = stored.length > 0 ? menuValues(stored) : numbers(Sensor.defaultStages(sensorType))
        adjustedStages = stored.length > 0 ? Sensor.adjustedStages(sensorType, stored) : []
        currentStage = stageInUse(Number(ui_View.ui_8BH_GetCurrentDPIStage()) - 1)
        colorGroup.setColors(ui_View.ui_90H_GetLED8StageColor(1))
        colorGroup.setIds(ui_View.ui_90H_GetLED8StageColor(2))
        colorGroup.setCurrent(currentStage)
        changes.markHeld()
    }

    // Steps outside 0..10 are clamped; what is no number shows the slider's default.
    function showPointerSettings(cursor, scroll, doubleClick) {
        cursorSpeed = clamp(cursor, 0, pointerStepMax, defaultCursorSpeed)
        scrollLines = clamp(scroll, 0, pointerStepMax, defaultScrollLines)
        doubleClickSpeed = clamp(doubleClick, 0, pointerStepMax, defaultDoubleClickSpeed)
    }

    function numbers(list) {
        var result = []
        for (var i = 0; i < list.length; ++i)
            result.push(Number(list[i]))
        return result
    }
    function clamp(value, low, high, fallback) {
        var number = Math.round(Number(value))
        return isNaN(number) ? fallback : Math.max(low, Math.min(high, number))
    }

    // Eight stage values as the mouse gets them: a value the sensor's table lacks shows as
    // the sensor's nearest value, so the page never shows a value the mouse does not have.
    function menuValues(values) {
        return numbers(Sensor.usableStages(sensorType, values))
    }
    function stageText(value, stage) {
        if (value === 0)
            return "\u00D7"
        return (adjustedStages[stage] === true ? "\u2248" : "") + String(value)
    }
    // The wanted stage when it is used, else the nearest used one (an unused stage cannot be
    // the stage in use).
    function stageInUse(wanted) {
        var stage = Sensor.stageInUse(stageValues, clamp(wanted, 0, dpiMAXStage - 1, 0), dpiMAXStage)
        return stage >= 0 ? stage : 0
    }

    function sendStages() {
        SensorActions.sendStages(sensorType, dpiMAXStage, stageValues)
        adjustedStages = []
    }
    function sendColors() {
        SensorActions.sendStageColors(colorGroup.isCompat8Color,
                                      colorGroup.isCompat8Color ? colorGroup.idList() : colorGroup.colorList())
    }

    // The mouse needs one used stage: switching off the last one is refused. When the stage
    // in use is switched off, the nearest used stage takes its place.
    function setStageValue(stage, menuIndex) {
        if (menuIndex < 0 || menuIndex >= valueMenu.length)
            return
        var values = stageValues.slice()
        values[stage] = valueMenu[menuIndex]
        if (Sensor.stageInUse(values, stage, dpiMAXStage) < 0) {
            stageHint.show(Theme.text(165, "One DPI stage at least stays in use"))
            return
        }
        stageValues = values
        sendStages()
        if (stageValues[currentStage] === 0) {
            currentStage = stageInUse(currentStage)
            colorGroup.setCurrent(currentStage)
        }
    }
    // An unused stage cannot be the stage in use.
    function selectStage(stage) {
        if (isUsed(stage))
            currentStage = stage
        colorGroup.setCurrent(currentStage)
    }
    // Any shown entry takes a colour, an unused stage's too; a used one also becomes the
    // stage in use.
    function selectColorEntry(stage) {
        if (isUsed(stage))
            currentStage = stage
    }
    function isUsed(stage) { return stage >= 0 && stage < dpiMAXStage && stageValues[stage] !== 0 }

    function apply() {
        SensorActions.apply(reportRatePosition, cursorSpeed, scrollLines, doubleClickSpeed, currentStage)
        changes.markHeld()
    }

    // Factory values: report rate, the three pointer settings, eight stage values, the stage
    // in use, 24 indicator colour numbers and 8 colour ids. The stage values and colours go
    // to the mouse at once; the rest on APPLY. Without its lists (an absent list shifts the
    // later positions) only the four numbers in front are taken.
    function reset() {
        var d = ui_View.loadDefaultProfile(pageId)
        if (d.length < factory.stages)
            return
        reportRatePosition = Sensor.reportRatePosition(Number(d[factory.reportRate]))
        showPointerSettings(d[factory.cursorSpeed], d[factory.scrollLines], d[factory.doubleClickSpeed])
        if (d.length < factory.length)
            return
        stageValues = menuValues(d.slice(factory.stages, factory.stage))
        currentStage = stageInUse(Number(d[factory.stage]) - 1)
        sendStages()
        colorGroup.setColors(d.slice(factory.colors, factory.ids))
        colorGroup.setIds(d.slice(factory.ids, factory.length))
        colorGroup.setCurrent(currentStage)
        sendColors()
    }

    function totalApply() { apply() }
    function totalReset() { reset() }

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
            onClicked: page.reportRatePosition = index
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
            y: 98
            width: 340
            onSliderClicked: page.cursorSpeed = position
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
            y: 152
            width: 340
            onSliderClicked: page.scrollLines = position
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
            y: 206
            width: 340
            onSliderClicked: page.doubleClickSpeed = position
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
            page.reset()
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
            page.apply()
        }
    }
}
