import QtQuick 2.15

// Tells whether a page shows settings other than those the mouse (or the settings file) holds.
// The page binds `shown` to its settings and calls markHeld() when it loads or applies them.
QtObject {
    property var shown: []
    property string held: ""
    readonly property bool pending: held !== "" && JSON.stringify(shown) !== held

    function markHeld() { held = JSON.stringify(shown) }
    function heldValues() { return held !== "" ? JSON.parse(held) : [] }
}
