import QtQuick 2.15
import W3.Logic 1.0

// The palette strip with the R, G and B fields. A press (or drag) on the strip picks the
// colour at that height; a field takes 0..255 and applies when it is left or on Return. A
// number beyond 255 is refused with a hint (<objectName>_hint) that says the range: on Return
// the field stays open with it, on leaving it shows the colour's value again. Every new
// colour lands in r, g, b and is announced by colorPicked(r, g, b).
Item {
    id: palette
    property int r: 0
    property int g: 255
    property int b: 255
    signal colorPicked(int r, int g, int b)

    // Shows a colour without announcing it (a preset loaded by the owner).
    function setColor(red, green, blue) {
        r = red
        g = green
        b = blue
    }
    function pick(red, green, blue) {
        setColor(red, green, blue)
        colorPicked(r, g, b)
    }
    // The arrows move the picking point along the strip in steps of a 48th of its height.
    property real keyPickY: 0
    function stepPick(direction) {
        keyPickY = Math.max(0, Math.min(strip.height - 1, keyPickY + direction * strip.height / 48))
        pickAt(keyPickY)
    }
    function pickAt(y) {
        var color = Palette.colorAt(y, strip.height)
        pick(Math.round(color.r * 255), Math.round(color.g * 255), Math.round(color.b * 255))
    }

    width: 150
    height: 200
    opacity: Theme.ownOpacity(palette)

    SkinImage {
        id: strip
        objectName: palette.objectName + "_strip"
        width: 24
        height: parent.height
        source: "common/palette.png"
        fallbackVisible: false
        Rectangle {
            anchors.fill: parent
            visible: !strip.ready
            gradient: Gradient {
                GradientStop { position: 0.0; color: "black" }
                GradientStop { position: 0.125; color: "red" }
                GradientStop { position: 0.25; color: "yellow" }
                GradientStop { position: 0.375; color: "lime" }
                GradientStop { position: 0.5; color: "cyan" }
                GradientStop { position: 0.625; color: "blue" }
                GradientStop { position: 0.75; color: "magenta" }
                GradientStop { position: 0.875; color: "white" }
                GradientStop { position: 1.0; color: "black" }
            }
        }
        activeFocusOnTab: true
        Keys.onUpPressed: palette.stepPick(-1)
        Keys.onDownPressed: palette.stepPick(1)
        Accessible.role: Accessible.Slider
        Accessible.name: Theme.text(35, "COLOR")
        Accessible.description: "R " + palette.r + ", G " + palette.g + ", B " + palette.b
        Accessible.focusable: true
        Accessible.onIncreaseAction: palette.stepPick(1)
        Accessible.onDecreaseAction: palette.stepPick(-1)
        FocusRing {}
        MouseArea {
            anchors.fill: parent
            onPressed: {
                palette.keyPickY = mouse.y
                palette.pickAt(mouse.y)
            }
            onPositionChanged: if (pressed) palette.pickAt(mouse.y)
        }
    }

    Column {
        id: fields
        x: strip.width + 14
        spacing: 10
        Rectangle {
            objectName: palette.objectName + "_swatch"
            width: 84
            height: 40
            radius: 4
            color: Qt.rgba(palette.r / 255, palette.g / 255, palette.b / 255, 1)
            border.color: Theme.stroke
        }
        Repeater {
            model: [{ name: "R", key: "r" }, { name: "G", key: "g" }, { name: "B", key: "b" }]
            delegate: Row {
                spacing: 8
                Label {
                    width: 14
                    height: 28
                    text: modelData.name
                }
                Rectangle {
                    width: 62
                    height: 28
                    radius: 4
                    color: Theme.panel
                    border.color: field.activeFocus ? Theme.accent : Theme.stroke
                    TextInput {
                        id: field
                        objectName: palette.objectName + "_" + modelData.key
                        anchors.fill: parent
                        anchors.leftMargin: 8
                        anchors.rightMargin: 8
                        verticalAlignment: TextInput.AlignVCenter
                        horizontalAlignment: TextInput.AlignRight
                        color: Theme.textColorEnable
                        selectionColor: Theme.accentGlow
                        font.family: Theme.fontFamily
                        font.pixelSize: Theme.fontSize
                        maximumLength: 3
                        activeFocusOnTab: true
                        Accessible.name: modelData.name
                        validator: IntValidator { bottom: 0; top: 255 }
                        readonly property int value: palette[modelData.key]
                        text: String(value)
                        onValueChanged: text = String(value)
                        function apply(leaving) {
                            var entered = parseInt(text, 10)
                            if (entered > 255) {
                                rangeHint.show(Theme.text(166, "Enter 0 to 255"))
                                if (leaving)
                                    text = String(value)
                                else
                                    selectAll()
                                return
                            }
                            if (isNaN(entered) || entered < 0) {
                                text = String(value)
                                return
                            }
                            rangeHint.hide()
                            text = String(entered)
                            if (entered === value)
                                return
                            var rgb = { r: palette.r, g: palette.g, b: palette.b }
                            rgb[modelData.key] = entered
                            palette.pick(rgb.r, rgb.g, rgb.b)
                        }
                        Keys.onReturnPressed: apply(false)
                        Keys.onEnterPressed: apply(false)
                        onActiveFocusChanged: if (!activeFocus) apply(true)
                    }
                }
            }
        }
    }

    InlineHint {
        id: rangeHint
        objectName: palette.objectName + "_hint"
        x: fields.x
        y: fields.height + 6
        width: 180
        height: 16
    }
}
