import QtQuick 2.15
import "qrc:/modules/qml/common"

// The window background: the skin's "background.png", or the user's picture when one is set.
// While the skin picture is missing, the skin's gradient stands in.
Item {
    id: environment
    property string customSource: ""

    Rectangle {
        anchors.fill: parent
        radius: Theme.radius
        gradient: Gradient {
            GradientStop { position: 0.0; color: Theme.backgroundTop }
            GradientStop { position: 1.0; color: Theme.backgroundBottom }
        }
    }
    Image {
        id: skinBackground
        anchors.fill: parent
        visible: environment.customSource === ""
        source: Theme.img("background.png")
        asynchronous: Theme.picturesInBackground
    }
    Image {
        objectName: "customBackground"
        anchors.fill: parent
        visible: environment.customSource !== ""
        source: environment.customSource
        fillMode: Image.PreserveAspectCrop
        cache: false
    }
}
