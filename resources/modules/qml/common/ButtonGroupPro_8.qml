import QtQuick 2.15

// The eight DPI stage buttons: each shows its value (stageTexts; "×" for an unused stage is
// the owner's text), the current stage is marked, a colour swatch sits under each when
// stageColors is set. A left click emits stageClicked(index); a right click, or the small
// arrow of a button, opens the value menu (menuItems) beside it, and picking an entry emits
// stageValuePicked(index, menuIndex); a menu longer than ten rows scrolls, with the scroll bar
// <objectName>_menuScrollBar. Buttons are named <objectName>_<index>, menu rows
// <objectName>_menu<menuIndex>.
Item {
    id: group
    property var stageTexts: ["", "", "", "", "", "", "", ""]
    property var stageColors: []
    property int currentStage: 0
    property int stageCount: 8  // stages at or beyond it are hidden
    property var menuItems: []
    property int menuStage: -1
    readonly property int buttonWidth: (width - 7 * spacing) / 8
    readonly property int spacing: 6
    signal stageClicked(int index)
    signal stageValuePicked(int index, int menuIndex)

    // Opens the value menu of a stage with the stage's value in view.
    function openMenu(index) {
        menuStage = index
        menuKeyIndex = -1
        menu.positionViewAtIndex(Math.max(0, menuItems.indexOf(stageTexts[index])), ListView.Contain)
    }
    function closeMenu() { menuStage = -1 }

    // From the keyboard: Space or Return chooses the focused stage, Down (or the Menu key) opens
    // its value menu, where the arrows move, Return picks and Esc closes.
    property int menuKeyIndex: -1
    function openMenuFromKeys(index) {
        if (menuItems.length === 0)
            return
        openMenu(index)
        menuKeyIndex = Math.max(0, menuItems.indexOf(stageTexts[index]))
    }
    function moveMenuKey(by) {
        menuKeyIndex = Math.max(0, Math.min(menuItems.length - 1, menuKeyIndex + by))
        menu.positionViewAtIndex(menuKeyIndex, ListView.Contain)
    }
    function pickMenuKey() {
        var stageIndex = menuStage
        closeMenu()
        stageValuePicked(stageIndex, menuKeyIndex)
    }
    function stageKey(event, index) {
        var open = menuStage === index
        if (event.key === Qt.Key_Escape && open)
            closeMenu()
        else if ((event.key === Qt.Key_Down || event.key === Qt.Key_Up) && open)
            moveMenuKey(event.key === Qt.Key_Down ? 1 : -1)
        else if ((event.key === Qt.Key_Return || event.key === Qt.Key_Enter || event.key === Qt.Key_Space) && open)
            pickMenuKey()
        else if (event.key === Qt.Key_Down || event.key === Qt.Key_Menu)
            openMenuFromKeys(index)
        else if (event.key === Qt.Key_Return || event.key === Qt.Key_Enter || event.key === Qt.Key_Space)
            stageClicked(index)
        else
            return
        event.accepted = true
    }

    width: 690
    height: 64
    z: menuStage >= 0 ? 100 : 0
    opacity: Theme.ownOpacity(group)
    onEnabledChanged: if (!enabled) closeMenu()

    Row {
        spacing: group.spacing
        Repeater {
            model: 8
            delegate: Item {
                id: stage
                objectName: group.objectName + "_" + index
                readonly property bool current: index === group.currentStage
                visible: index < group.stageCount
                width: group.buttonWidth
                height: group.height
                activeFocusOnTab: visible
                onActiveFocusChanged: if (!activeFocus && group.menuStage === index) group.closeMenu()
                Keys.onPressed: group.stageKey(event, index)
                Accessible.role: Accessible.RadioButton
                Accessible.name: Theme.text(104, "DPI LEVEL") + " " + (index + 1)
                Accessible.description: group.stageTexts[index] !== undefined ? String(group.stageTexts[index]) : ""
                Accessible.checkable: true
                Accessible.checked: current
                Accessible.focusable: true
                Accessible.onPressAction: group.stageClicked(index)
                Rectangle {
                    id: face
                    width: parent.width
                    height: 40
                    radius: 6
                    color: stage.current ? Theme.accentGlow : Theme.panel
                    border.color: stage.current ? Theme.accent : stageArea.containsMouse ? Theme.textColorEnable : Theme.stroke
                    border.width: stage.current ? 2 : 1
                    FocusRing { shapeRadius: 6; visible: stage.activeFocus }
                    Label {
                        anchors.fill: parent
                        anchors.rightMargin: 14
                        horizontalAlignment: Text.AlignHCenter
                        text: group.stageTexts[index] !== undefined ? String(group.stageTexts[index]) : ""
                        highlight: stage.current
                        heading: true
                    }
                    Label {
                        id: arrow
                        anchors.right: parent.right
                        anchors.rightMargin: 5
                        anchors.verticalCenter: parent.verticalCenter
                        visible: group.menuItems.length > 0
                        text: "\u25BE"
                    }
                    MouseArea {
                        id: stageArea
                        anchors.fill: parent
                        hoverEnabled: true
                        acceptedButtons: Qt.LeftButton | Qt.RightButton
                        onClicked: {
                            var onArrow = mouse.x >= face.width - 16
                            if (mouse.button === Qt.RightButton || (onArrow && group.menuItems.length > 0)) {
                                group.menuStage === index ? group.closeMenu() : group.openMenu(index)
                                return
                            }
                            group.closeMenu()
                            group.stageClicked(index)
                        }
                    }
                }
                Rectangle {
                    anchors.top: face.bottom
                    anchors.topMargin: 6
                    anchors.horizontalCenter: face.horizontalCenter
                    width: face.width - 16
                    height: 10
                    radius: 3
                    visible: group.stageColors.length > index
                    color: group.stageColors.length > index ? group.stageColors[index] : "transparent"
                    border.color: Theme.stroke
                }
            }
        }
    }

    Rectangle {
        visible: group.menuStage >= 0
        x: Math.min(Math.max(0, group.menuStage) * (group.buttonWidth + group.spacing), group.width - width)
        y: 44
        width: Math.max(group.buttonWidth, 110)
        height: Math.min(group.menuItems.length, 10) * 24 + 4
        color: Theme.panel
        border.color: Theme.accent
        radius: 4
        ListView {
            id: menu
            anchors.fill: parent
            anchors.margins: 2
            clip: true
            model: group.menuItems
            boundsBehavior: Flickable.StopAtBounds
            delegate: Rectangle {
                objectName: group.objectName + "_menu" + index
                width: menu.width - (menuScrollBar.needed ? menuScrollBar.width : 0)
                height: 24
                color: menuArea.containsMouse || index === group.menuKeyIndex ? Theme.accentGlow : "transparent"
                Accessible.role: Accessible.MenuItem
                Accessible.name: String(modelData)
                Label {
                    anchors.fill: parent
                    anchors.leftMargin: 8
                    text: String(modelData)
                }
                MouseArea {
                    id: menuArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: {
                        var stageIndex = group.menuStage
                        group.closeMenu()
                        group.stageValuePicked(stageIndex, index)
                    }
                }
            }
        }
        ListScrollBar {
            id: menuScrollBar
            objectName: group.objectName + "_menuScrollBar"
            anchors.right: menu.right
            y: menu.y
            height: menu.height
            view: menu
        }
    }
}
