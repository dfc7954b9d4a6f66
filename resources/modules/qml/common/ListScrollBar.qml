import QtQuick 2.15

// The thin accent bar at the right edge of a list that is longer than its box; hidden while
// the whole list fits. Its thumb shows which part is in view; dragging it, or pressing beside
// it, scrolls the list (the wheel scrolls the list itself). Place it over the list's right
// edge and keep the rows clear of `width` while `needed`.
Item {
    id: bar
    property Flickable view: null
    readonly property bool needed: view !== null && view.contentHeight > view.height + 0.5
    readonly property real scrollRange: view !== null ? Math.max(0, view.contentHeight - view.height) : 0
    readonly property real travel: Math.max(0, height - thumb.height)

    width: 8
    visible: needed

    // Scrolls so the thumb's top lands at y (bar coordinates).
    function scrollThumbTo(y) {
        var share = travel > 0 ? Math.max(0, Math.min(1, y / travel)) : 0
        view.contentY = view.originY + share * scrollRange
    }

    Rectangle {
        id: thumb
        objectName: bar.objectName + "_thumb"
        anchors.right: parent.right
        width: 3
        radius: 1.5
        color: Theme.accent
        height: bar.view !== null && bar.view.contentHeight > 0
                ? Math.max(16, bar.height * bar.view.height / bar.view.contentHeight) : bar.height
        y: bar.scrollRange > 0 ? (bar.view.contentY - bar.view.originY) / bar.scrollRange * bar.travel : 0
    }

    MouseArea {
        anchors.fill: parent
        property real grabOffset: 0
        preventStealing: true
        onPressed: {
            var onThumb = mouse.y >= thumb.y && mouse.y <= thumb.y + thumb.height
            grabOffset = onThumb ? mouse.y - thumb.y : thumb.height / 2
            bar.scrollThumbTo(mouse.y - grabOffset)
        }
        onPositionChanged: if (pressed) bar.scrollThumbTo(mouse.y - grabOffset)
    }
}
