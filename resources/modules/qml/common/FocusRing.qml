import QtQuick 2.15

// The keyboard focus mark: a 2 px accent outline 2 px outside its parent's shape, following the
// parent's corner radius. Shown only while the parent holds the active focus, which only the
// keyboard gives (no control takes the focus on a click).
Rectangle {
    property real shapeRadius: 0
    readonly property int gap: 2
    readonly property int lineWidth: 2

    anchors.fill: parent
    anchors.margins: -(gap + lineWidth)
    radius: shapeRadius > 0 ? shapeRadius + gap + lineWidth : 0
    color: "transparent"
    border.color: Theme.accent
    border.width: lineWidth
    visible: parent !== null && parent.activeFocus
    z: 100
}
