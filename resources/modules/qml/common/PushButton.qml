import QtQuick 2.15

// A labelled 140 × 36 button: outline by default, accent fill when `primary`; `glow` rings it
// in the accent glow (an APPLY with changes the mouse does not have yet).
Button_2state {
    id: button
    property bool glow: false
    normalSource: primary ? "common/button_primary_0.png" : "common/button_0.png"
    hoverSource: primary ? "common/button_primary_1.png" : "common/button_1.png"

    Rectangle {
        z: -1
        visible: button.glow
        anchors.fill: parent
        anchors.margins: -4
        radius: Math.min(10, height / 2)
        color: "transparent"
        border.color: Theme.accentGlow
        border.width: 4
    }
}
