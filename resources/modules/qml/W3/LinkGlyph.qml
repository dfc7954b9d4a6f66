import QtQuick 2.15
import "qrc:/modules/qml/common"

// Two chain links side by side: the profile row's sign that applications are linked to it.
Item {
    id: glyph
    objectName: "LinkGlyph"
    property color color: Theme.accent
    width: 16
    height: 10
    Repeater {
        model: 2
        Rectangle {
            x: index * 6
            width: 10
            height: glyph.height
            radius: height / 2
            color: "transparent"
            border.color: glyph.color
            border.width: 2
        }
    }
}
