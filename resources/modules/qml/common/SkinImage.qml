import QtQuick 2.15

// A picture of the current skin at 1:1, with a plain panel in the skin's colours underneath
// while the picture is missing, so the scene stays readable without its image files.
Item {
    id: skinImage
    property string source: ""          // path below the skin folder, e.g. "common/check_0.png"
    property color fallbackColor: Theme.panel
    property color fallbackBorder: Theme.stroke
    property real fallbackRadius: 4
    property bool fallbackVisible: true
    readonly property bool ready: picture.status === Image.Ready
    implicitWidth: picture.implicitWidth
    implicitHeight: picture.implicitHeight

    Rectangle {
        anchors.fill: parent
        visible: skinImage.fallbackVisible && !skinImage.ready
        color: skinImage.fallbackColor
        border.color: skinImage.fallbackBorder
        border.width: 1
        radius: skinImage.fallbackRadius
    }
    Image {
        id: picture
        anchors.fill: parent
        source: skinImage.source === "" ? "" : Theme.img(skinImage.source)
        smooth: false
        asynchronous: Theme.picturesInBackground
        fillMode: Image.Stretch
    }
}
