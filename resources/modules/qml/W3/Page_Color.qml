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

    // What the page shows is LightingActions' state; the page forwards the user's choices.
    readonly property int effectPosition: LightingActions.effectPosition
    readonly property int brightnessStep: LightingActions.brightnessStep
    readonly property int speedStep: LightingActions.speedStep
    readonly property bool powerOn: LightingActions.powerOn
    readonly property int effect: Lighting.effectNumber(effectPosition)
    readonly property bool speedEnabled: powerOn && Lighting.usesSpeed(effect)
    readonly property bool brightnessEnabled: powerOn && Lighting.usesBrightness(effect)
    readonly property bool colorsEnabled: powerOn && Lighting.usesColors(effect)
    readonly property var effectLabels: effectNames(Theme.strings)
    // The device configuration read at start-up: its first item is how many colours to show.
    property var deviceConfig: []

    signal protectUI(int interval)

    // The effect settings go on APPLY; the colours reach the mouse at once and never pend.
    readonly property bool pending: LightingActions.pending
    readonly property int lockTime: 800    // input lock of APPLY and RESET, ms

    function colorLimit(config) {
        var limit = config && config.length > 0 ? Math.round(Number(config[0])) : colorGroup.count
        return limit >= 1 && limit <= colorGroup.count ? limit : colorGroup.count
    }

    // The palette the unit holds, unless the group shows it already (its own pick).
    function showPalette() {
        if (JSON.stringify(colorGroup.colorList()) !== JSON.stringify(LightingActions.palette))
            colorGroup.setColors(LightingActions.palette)
    }
    Connections {
        target: LightingActions
        function onPaletteChanged() { page.showPalette() }
    }
    // Shown whole once, so the picker shows the current entry's colour.
    Component.onCompleted: colorGroup.setColors(LightingActions.palette)

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
            onListElementClicked: LightingActions.effectPosition = index
        }

        Checkbox {
            id: power
            objectName: "ledPower"
            y: 44
            text: Theme.text(87, "LED POWER ON")
            onClicked: LightingActions.powerOn = select
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
            accessibleName: Theme.text(3, "SPEED")
            x: 120
            y: 82
            width: 220
            enabled: page.speedEnabled
            onSliderClicked: LightingActions.speedStep = position
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
            accessibleName: Theme.text(4, "BRIGHTNESS")
            x: 120
            y: 118
            width: 220
            enabled: page.brightnessEnabled
            onSliderClicked: LightingActions.brightnessStep = position
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
            stageLimit: page.colorLimit(page.deviceConfig)
            enabled: page.colorsEnabled
            onClicked: LightingActions.setPalette(colorList())
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
                LightingActions.reset()
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
                LightingActions.apply()
            }
        }
    }
}
