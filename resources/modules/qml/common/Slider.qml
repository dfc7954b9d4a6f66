import QtQuick 2.15
import W3.Logic 1.0

// A slider of 8 positions (0..7, default 7). On release at x the position is
// ceil(x / (width − 1) × 7), x clamped to the track, and sliderClicked(position) is emitted.
// With `positions` 11 it is the 11-step slider (see Slider_11).
Item {
    id: slider
    property int position: 7
    property int positions: 8
    property string accessibleName: ""
    // A screen reader reads the position through these.
    readonly property int value: position
    readonly property int minimumValue: 0
    readonly property int maximumValue: positions - 1
    readonly property int stepSize: 1
    signal sliderClicked(int position)

    // The arrow keys move the knob one position, Home and End to the ends.
    function step(by) { moveTo(position + by) }
    function moveTo(target) {
        var clamped = Math.max(minimumValue, Math.min(maximumValue, target))
        if (clamped === position)
            return
        position = clamped
        sliderClicked(position)
    }

    function positionAt(x) { return positions === 11 ? Palette.slider11(x, width) : Palette.slider(x, width) }

    width: 240
    height: 24
    opacity: Theme.ownOpacity(slider)
    activeFocusOnTab: true
    Keys.onRightPressed: step(1)
    Keys.onUpPressed: step(1)
    Keys.onLeftPressed: step(-1)
    Keys.onDownPressed: step(-1)
    Keys.onPressed: {
        if (event.key === Qt.Key_Home)
            moveTo(minimumValue)
        else if (event.key === Qt.Key_End)
            moveTo(maximumValue)
        else
            return
        event.accepted = true
    }
    Accessible.role: Accessible.Slider
    Accessible.name: accessibleName
    Accessible.description: position + " / " + maximumValue
    Accessible.focusable: true
    Accessible.onIncreaseAction: step(1)
    Accessible.onDecreaseAction: step(-1)

    SkinImage {
        id: track
        anchors.verticalCenter: parent.verticalCenter
        width: parent.width
        height: 8
        source: "common/slider_track.png"
        fallbackRadius: 4
    }
    Rectangle {
        anchors.verticalCenter: track.verticalCenter
        height: 4
        x: 2
        width: Math.max(0, knob.x + knob.width / 2 - 2)
        radius: 2
        color: Theme.accent
        opacity: 0.6
        visible: !track.ready
    }
    SkinImage {
        id: knob
        width: 20; height: 20
        anchors.verticalCenter: parent.verticalCenter
        x: slider.position / (slider.positions - 1) * (slider.width - 1) - width / 2
        source: area.containsMouse ? "common/slider_knob_1.png" : "common/slider_knob_0.png"
        fallbackColor: Theme.accent
        fallbackRadius: 10
    }
    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        onReleased: {
            slider.position = slider.positionAt(mouse.x)
            slider.sliderClicked(slider.position)
        }
    }
    FocusRing { shapeRadius: 4 }
}
