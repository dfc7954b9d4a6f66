import QtQuick 2.15

// Text in the scene's font; `heading` gives the bold, spaced look of section titles.
Text {
    property bool heading: false
    property bool highlight: false
    color: !enabled ? Theme.textColorDisable : highlight ? Theme.textColor : Theme.textColorEnable
    font.family: Theme.fontFamily
    font.pixelSize: Theme.fontSize + (heading ? 1 : 0)
    font.bold: heading
    font.letterSpacing: heading ? 1.5 : 0
    verticalAlignment: Text.AlignVCenter
    elide: Text.ElideRight
}
