import QtQuick 2.15
import "qrc:/modules/qml/common"

// The frame's overlay: region outlines, corner accents and glow lines of the skin
// ("frame/decoration.png"); while it is missing, the regions are outlined plainly.
Item {
    id: decoration
    Image {
        id: overlay
        anchors.fill: parent
        source: Theme.img("frame/decoration.png")
        asynchronous: Theme.picturesInBackground
    }
    Item {
        anchors.fill: parent
        visible: overlay.status !== Image.Ready
        Rectangle {
            x: 4; y: 64; width: 150; height: 472
            color: "transparent"; border.color: Theme.stroke; radius: Theme.radius
        }
        Rectangle {
            x: 160; y: 64; width: 710; height: 472
            color: Theme.panel; border.color: Theme.stroke; radius: Theme.radius
        }
        Rectangle {
            x: 876; y: 64; width: 120; height: 472
            color: "transparent"; border.color: Theme.stroke; radius: Theme.radius
        }
    }
}
