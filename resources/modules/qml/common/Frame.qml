import QtQuick 2.15
import "qrc:/modules/qml/basic"

// Window frame: rounded panel, title and the close button.
Rectangle {
    id: frame
    property alias title: titleText.text
    signal closeRequested()

    radius: 14
    border.color: "#3a4a5c"
    border.width: 1
    gradient: Gradient {
        GradientStop { position: 0.0; color: "#1d2733" }
        GradientStop { position: 1.0; color: "#0e141b" }
    }

    Text {
        id: titleText
        x: 32; y: 26
        color: "#e8eef5"
        font.pixelSize: 26
        font.bold: true
        font.letterSpacing: 3
    }

    FlatButton {
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: 20
        label: "\u2715"
        onClicked: frame.closeRequested()
    }
}
