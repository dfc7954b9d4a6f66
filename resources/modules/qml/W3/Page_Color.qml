import QtQuick 2.15
import W3.Logic 1.0
import W3.Actions 1.0
import "qrc:/modules/qml/common"

// The lighting page: the light effect with its speed and brightness, the light's on/off
// state and the eight effect colours. Colours reach the mouse at once; the effect on APPLY.
Item {
    id: page
    objectName: "Page_Color"
    width: 710
    height: 472

    property int effectPosition: 0
    property int brightnessStep: Lighting.defaultBrightnessStep
    property int speedStep: Lighting.defaultSpeedStep
    property bool powerOn: true
    readonly property int effect: Lighting.effectNumber(effectPosition)
    readonly property bool speedEnabled: powerOn && Lighting.usesSpeed(effect)
    readonly property bool brightnessEnabled: powerOn && Lighting.usesBrightness(effect)
    readonly property bool colorsEnabled: powerOn && Lighting.usesColors(effect)
    readonly property var effectLabels: effectNames(Theme.strings)

    signal protectUI(int interval)

    // The effect settings go on APPLY; the colours reach the mouse at once and never pend.
    PendingChanges { id: changes; shown: [page.effectPosition, page.brightnessStep, page.speedStep, page.powerOn] }
    readonly property bool pending: changes.pending
    readonly property int pageId: 2        // this page's factory values in loadDefaultProfile
    readonly property int lockTime: 800    // input lock of APPLY and RESET, ms

    function initUI(deviceConfig) {
        var limit = deviceConfig && deviceConfig.length > 0 ? Math.round(Number(deviceConfig[0])) : colorGroup.count
        colorGroup.stageLimit = limit >= 1 && limit <= colorGroup.count ? limit : colorGroup.count
        refresh()
    }

    function refresh() {
        colorGroup.setColors(ui_View.ui_90H_GetLED8StageColor(0))
        var stored = ui_View.ui_8DH_GetRGBLedEffect()
        if (Lighting.isStoredSettings(stored))
            showSettings(stored, Lighting.isStoredPowerOn(stored))
        changes.markHeld()
    }
    function discard() { refresh() }

    // Shows [position, brightness step, speed step]; values out of range fall back to the
    // slider defaults, so a damaged profile still shows a valid page.
    function showSettings(values, on) {
        effectPosition = inRange(values[0], Lighting.effectCount - 1, 0)
        brightnessStep = inRange(values[1], Lighting.maxStep, Lighting.defaultBrightnessStep)
        speedStep = inRange(values[2], Lighting.maxStep, Lighting.defaultSpeedStep)
        powerOn = on
    }
    function inRange(value, max, fallback) {
        var number = Math.round(Number(value))
        return number >= 0 && number <= max ? number : fallback
    }

    // The labels follow the string list; nothing else to relabel.
    function translateStrings() {}
    function effectNames(strings) {
        var indices = Lighting.effectLabelIndices()
        var labels = []
        for (var i = 0; i < indices.length; ++i)
            labels.push(strings.length > indices[i] && strings[indices[i]] !== "" ? strings[indices[i]] : defaultEffectNames[i])
        return labels
    }
    readonly property var defaultEffectNames: ["STATIC", "TWINKLING", "BREATHING", "NEON", "WAVE", "GLIDING",
        "FINGER MOVING", "VERTICAL FLIPPING", "YO-YO", "SPOTLIGHT"]

    function keyEvent(isDown, usbCode) {}
    function profileChanged() { refresh() }

    function sendColors() {
        LightingActions.sendPalette(colorGroup.colorList())
    }

    function apply() {
        LightingActions.apply(effectPosition, brightnessStep, speedStep, powerOn)
        changes.markHeld()
    }
    // Factory values: 24 colour numbers, then the stored effect list. Without the colour list
    // the effect list comes first.
    function reset() {
        var defaults = ui_View.loadDefaultProfile(pageId)
        var colorLength = 3 * colorGroup.count
        var hasColors = colorGroup.setColors(defaults.slice(0, colorLength))
        if (hasColors)
            sendColors()
        var stored = hasColors ? defaults.slice(colorLength) : defaults
        if (Lighting.isStoredSettings(stored))
            showSettings(stored, Lighting.isStoredPowerOn(stored))
    }

    function totalApply() { apply() }
    function totalReset() { reset() }

    // The controls change their own state when used; these keep them showing the page's.
    Binding { target: effectMenu; property: "currentIndex"; value: page.effectPosition }
    Binding { target: power; property: "isSelect"; value: page.powerOn }
    Binding { target: speed; property: "position"; value: page.speedStep }
    Binding { target: brightness; property: "position"; value: page.brightnessStep }

    Model_Color_W3 {
        id: picture
        x: 20
        y: 36
        lightColor: colorGroup.currentColor
        lit: page.powerOn
        intensity: page.brightnessEnabled ? Lighting.option1(page.effect, page.brightnessStep) / 255 : 1.0
    }

    Item {
        id: controls
        x: 360
        y: 20
        width: 340
        height: 432

        Label {
            id: effectCaption
            width: 110
            height: 32
            text: Theme.text(7, "EFFECTS")
            heading: true
        }
        DropdownList {
            id: effectMenu
            objectName: "effectMenu"
            x: 120
            width: 220
            model: page.effectLabels
            maxRows: 10
            onListElementClicked: page.effectPosition = index
        }

        Checkbox {
            id: power
            objectName: "ledPower"
            y: 44
            text: Theme.text(87, "LED POWER ON")
            onClicked: page.powerOn = select
        }

        Label {
            y: 82
            width: 110
            height: 24
            text: Theme.text(3, "SPEED")
            enabled: page.speedEnabled
        }
        Slider {
            id: speed
            objectName: "speedSlider"
            x: 120
            y: 82
            width: 220
            enabled: page.speedEnabled
            onSliderClicked: page.speedStep = position
        }

        Label {
            y: 118
            width: 110
            height: 24
            text: Theme.text(4, "BRIGHTNESS")
            enabled: page.brightnessEnabled
        }
        Slider {
            id: brightness
            objectName: "brightnessSlider"
            x: 120
            y: 118
            width: 220
            enabled: page.brightnessEnabled
            onSliderClicked: page.brightnessStep = position
        }

        Label {
            y: 158
            width: 340
            height: 20
            text: Theme.text(35, "COLOR")
            heading: true
            enabled: page.colorsEnabled
        }
        ColorGroup_8 {
            id: colorGroup
            objectName: "lightColors"
            y: 184
            entryWidth: 36
            entryHeight: 28
            entrySpacing: 7
            enabled: page.colorsEnabled
            onClicked: page.sendColors()
        }

        PushButton {
            id: resetButton
            objectName: "colorResetButton"
            x: 0
            y: 400
            width: 160
            text: Theme.text(77, "RESET")
            onClicked: {
                page.protectUI(page.lockTime)
                page.reset()
            }
        }
        PushButton {
            id: applyButton
            objectName: "colorApplyButton"
            x: 180
            y: 400
            width: 160
            primary: true
            glow: page.pending
            text: Theme.text(107, "APPLY")
            onClicked: {
                page.protectUI(page.lockTime)
                page.apply()
            }
        }
    }
}
