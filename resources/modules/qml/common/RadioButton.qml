import QtQuick 2.15

// One choice of a group: a click plays the click cue and emits clicked(index); the owner
// decides which one isSelect.
Item {
    id: radio
    property bool isSelect: false
    property int index: 0
    property string text: ""
    signal clicked(int index)

    function choose() {
        Sounds.click()
        clicked(index)
    }

    implicitWidth: mark.width + (text !== "" ? 8 + caption.implicitWidth : 0)
    implicitHeight: 24
    opacity: Theme.ownOpacity(radio)
    activeFocusOnTab: true
    Keys.onSpacePressed: choose()
    Keys.onReturnPressed: choose()
    Keys.onEnterPressed: choose()
    Accessible.role: Accessible.RadioButton
    Accessible.name: text
    Accessible.checkable: true
    Accessible.checked: isSelect
    Accessible.focusable: true
    Accessible.onPressAction: choose()

    SkinImage {
        id: mark
        width: 20; height: 20
        anchors.verticalCenter: parent.verticalCenter
        source: radio.isSelect ? "common/radio_1.png" : "common/radio_0.png"
        fallbackColor: radio.isSelect ? Theme.accent : Theme.panel
        fallbackRadius: 10
    }
    Label {
        id: caption
        anchors.left: mark.right
        anchors.leftMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        text: radio.text
        highlight: radio.isSelect
    }
    MouseArea {
        anchors.fill: parent
        onClicked: radio.choose()
    }
    FocusRing { shapeRadius: 12 }
}
