pragma Singleton
import QtQuick 2.15

// The look every file reads: the root binds these to its global properties at start.
QtObject {
    property int skinNo: 1
    readonly property string skinRoot: "file:modules/img/skin" + skinNo + "/"
    function img(subPath) { return skinRoot + subPath }
    // Nothing of the scene is visible until its opening fades it in: until then pictures load
    // off the GUI thread. Later pictures (hover faces, another skin) show at once, as before.
    property bool picturesInBackground: true

    property var strings: []
    property var productStrings: []
    function text(index, fallback) {
        return strings && strings.length > index && strings[index] !== "" ? strings[index] : fallback
    }

    property string fontFamily: "Arial"
    property int fontSize: 11
    property color textColor: "#FF00FFFF"
    property color textColorEnable: "#FFAAAAAA"
    property color textColorDisable: "#80FFFFFF"
    property int animationSpeed: 800

    // A control disabled on its own draws at 0.2; inside a disabled region it keeps its look
    // and the region dims once for all.
    readonly property real dimOpacity: 0.2
    function ownOpacity(item) {
        return item.enabled || (item.parent && !item.parent.enabled) ? 1.0 : dimOpacity
    }

    readonly property int radius: 10
    readonly property color panel: skinNo === 2 ? "#241A17" : "#1B222C"
    readonly property color stroke: skinNo === 2 ? "#4A3128" : "#2E3A48"
    readonly property color accent: skinNo === 2 ? "#FFB400" : "#00FFFF"
    readonly property color warning: skinNo === 2 ? "#FF7A45" : "#FF5C5C"
    readonly property color accentGlow: skinNo === 2 ? "#59FFB400" : "#5900FFFF"
    readonly property color backgroundTop: skinNo === 2 ? "#17110F" : "#0E1116"
    readonly property color backgroundBottom: skinNo === 2 ? "#231815" : "#161B22"
}
