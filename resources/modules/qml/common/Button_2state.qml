import QtQuick 2.15

// A picture button with its normal and hover pictures. Disabled or pressed it shows at
// opacity 0.2; a click plays the click cue (0x04) and emits clicked.
Item {
    id: button
    property string normalSource: "common/button_0.png"
    property string hoverSource: "common/button_1.png"
    property string text: ""
    property string fallbackText: ""    // shown only while the pictures are missing
    property bool primary: false
    property bool cue: true
    readonly property bool hovered: area.containsMouse
    readonly property bool pressed: area.pressed
    // What a screen reader says: the label, or for a picture-only button a text of its own.
    property string accessibleName: text !== "" ? text : fallbackText
    property string accessibleDescription: ""
    signal clicked()

    // A click, a Space or Return on the focused button, and a screen reader's press.
    function activate() {
        if (cue)
            Sounds.click()
        clicked()
    }

    width: 140
    height: 36
    opacity: pressed ? Theme.dimOpacity : Theme.ownOpacity(button)
    activeFocusOnTab: true
    Keys.onSpacePressed: activate()
    Keys.onReturnPressed: activate()
    Keys.onEnterPressed: activate()
    Accessible.role: Accessible.Button
    Accessible.name: accessibleName
    Accessible.description: accessibleDescription
    Accessible.focusable: true
    Accessible.onPressAction: activate()

    SkinImage {
        id: face
        anchors.fill: parent
        source: button.hovered ? button.hoverSource : button.normalSource
        fallbackColor: button.primary ? Theme.accent : (button.hovered ? Theme.stroke : Theme.panel)
        fallbackBorder: button.hovered ? Theme.accent : Theme.stroke
        fallbackRadius: Math.min(6, height / 2)
    }
    Label {
        anchors.fill: parent
        anchors.leftMargin: 6
        anchors.rightMargin: 6
        visible: text !== ""
        text: button.text !== "" || face.ready ? button.text : button.fallbackText
        horizontalAlignment: Text.AlignHCenter
        heading: true
        color: button.primary ? "#FF101418" : (button.hovered ? Theme.textColor : Theme.textColorEnable)
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: 10
    }
    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        onClicked: button.activate()
    }
    FocusRing { shapeRadius: face.fallbackRadius }
}
