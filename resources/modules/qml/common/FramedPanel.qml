import QtQuick 2.15

// The rounded, framed background of a group of controls in the skin's panel colour.
Rectangle {
    color: Theme.panel
    border.color: Theme.stroke
    radius: Theme.radius
}
