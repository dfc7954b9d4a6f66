import QtQuick 2.15

// A check box with its label: a click toggles isSelect, plays the click cue and emits
// clicked(select).
Item {
    id: box
    property bool isSelect: false
    property string text: ""
    signal clicked(bool select)

    function toggle() {
        isSelect = !isSelect
        Sounds.click()
        clicked(isSelect)
    }

    implicitWidth: mark.width + (text !== "" ? 8 + caption.implicitWidth : 0)
    implicitHeight: 24
    opacity: Theme.ownOpacity(box)
    activeFocusOnTab: true
    Keys.onSpacePressed: toggle()
    Keys.onReturnPressed: toggle()
    Keys.onEnterPressed: toggle()
    Accessible.role: Accessible.CheckBox
    Accessible.name: text
    Accessible.checkable: true
    Accessible.checked: isSelect
    Accessible.focusable: true
    Accessible.onPressAction: toggle()
    Accessible.onToggleAction: toggle()

    SkinImage {
        id: mark
        width: 20; height: 20
        anchors.verticalCenter: parent.verticalCenter
        source: box.isSelect ? "common/check_1.png" : "common/check_0.png"
        fallbackColor: box.isSelect ? Theme.accent : Theme.panel
        fallbackBorder: box.isSelect ? Theme.accent : Theme.stroke
    }
    Label {
        id: caption
        anchors.left: mark.right
        anchors.leftMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        text: box.text
        highlight: box.isSelect
    }
    MouseArea {
        anchors.fill: parent
        onClicked: box.toggle()
    }
    FocusRing { shapeRadius: 2 }
}
