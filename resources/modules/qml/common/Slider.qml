import QtQuick 2.15
import W3.Logic 1.0

// A slider of 8 positions (0..7, default 7). On release at x the position is
// ceil(x / (width − 1) × 7), x clamped to the track, and sliderClicked(position) is emitted.
// With `positions` 11 it is the 11-step slider (see Slider_11).
Item {
    id: slider
    property int position: 7
    property int positions: 8
    signal sliderClicked(int position)

    function positionAt(x) { return positions === 11 ? Palette.slider11(x, width) : Palette.slider(x, width) }

    width: 240
    height: 24
    opacity: Theme.ownOpacity(slider)

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
}
