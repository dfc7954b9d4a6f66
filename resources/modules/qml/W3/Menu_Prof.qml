import QtQuick 2.15
import W3.Actions 1.0
import "qrc:/modules/qml/common"

// The profile menu: P01..P10, entry 0 selected at start. A left click on another entry
// switches the profile through ProfileActions; the menu follows every switch, its own or one
// from outside the window, and emits profileChanged(index); clicking the selected entry
// does nothing; while `holdSwitches` (pages hold unapplied changes) the click only emits
// switchRequested(index), and the owner settles the changes and calls select. A right click
// opens LOAD / SAVE / RESET / APPS… / CANCEL beside the row for that entry; LOAD and RESET ask
// first, and after either of the selected entry the selection runs again; APPS… emits
// appsRequested(index). A row with linked applications shows the link glyph at its right.
// The row whose settings the mouse holds carries a thin accent bar on its outer edge (none
// while the mouse holds a mix or what it holds is not known yet).
// Rows are named Menu_Prof_<index> with the bar Menu_Prof_held_<index>, the menu's entries
// Menu_Prof_load, _save, _reset, _apps, _cancel.
Item {
    id: menu
    objectName: "Menu_Prof"
    width: 120
    height: 488
    property int currentIndex: ProfileActions.current  // a scene made later starts on the profile in use
    property int menuIndex: -1
    readonly property int profiles: 10
    property bool holdSwitches: false
    readonly property int heldIndex: ProfileActions.heldByMouse
    signal profileChanged(int index)
    signal switchRequested(int index)
    signal appsRequested(int index)

    function select(index) {
        ProfileActions.select(index)
    }
    function openMenu(index) { menuIndex = index }
    function closeMenu() { menuIndex = -1 }
    // A left click, Space or Return on a row.
    function chooseRow(index) {
        closeMenu()
        if (index === currentIndex)
            return
        if (holdSwitches)
            switchRequested(index)
        else
            select(index)
    }
    function focusRow(index) {
        if (index >= 0 && index < rows.count)
            rows.itemAt(index).forceActiveFocus(Qt.TabFocusReason)
    }
    // From the keyboard (the Menu key, Shift+F10) the row's menu opens with its first entry focused.
    function openMenuFromKeys(index) {
        openMenu(index)
        menuEntries.itemAt(0).forceActiveFocus(Qt.TabFocusReason)
    }
    function focusMenuEntry(entry) {
        if (entry >= 0 && entry < menuEntries.count)
            menuEntries.itemAt(entry).forceActiveFocus(Qt.TabFocusReason)
    }
    // The focus returns to the row before the action runs: a question it asks takes it from there.
    function runMenuActionFromKeys(action) {
        focusRow(menuIndex)
        runMenuAction(action)
    }
    function closeMenuFromKeys() {
        var row = menuIndex
        closeMenu()
        focusRow(row)
    }
    function runMenuAction(action) {
        var index = menuIndex
        closeMenu()
        if (action === "apps")
            appsRequested(index)
        else if (action === "save")
            ui_View.saveProfile(index)
        else if (action === "load" || action === "reset")
            askToReplace(action, index)
    }
    // LOAD and RESET overwrite the profile's file: asked first, CANCEL the safe answer.
    function askToReplace(action, index) {
        var loading = action === "load"
        var heading = loading ? Theme.text(119, "LOAD PROFILE") : Theme.text(117, "RESET PROFILE")
        var sentence = loading
            ? Theme.text(120, "A profile file replaces %1. Its buttons, lighting and sensor settings are lost.")
            : Theme.text(118, "%1 returns to the factory profile. Its buttons, lighting and sensor settings are lost.")
        var choices = [loading ? Theme.text(84, "LOAD") : Theme.text(77, "RESET"), Theme.text(78, "CANCEL")]
        Questions.ask(heading, sentence.arg(label(index)), choices, 1, function(choice) {
            if (choice !== 0)
                return
            if (loading)
                ui_View.loadProfile(index)
            else
                ui_View.resetProfile(index)
            if (index === currentIndex)
                select(index)
        })
    }
    function label(index) { return "P" + (index < 9 ? "0" : "") + (index + 1) }

    opacity: Theme.ownOpacity(menu)
    onEnabledChanged: if (!enabled) closeMenu()

    Column {
        x: 5
        y: 16
        spacing: 6
        Repeater {
            id: rows
            model: menu.profiles
            delegate: Item {
                id: row
                objectName: "Menu_Prof_" + index
                readonly property bool selected: index === menu.currentIndex
                width: 110
                height: 38
                activeFocusOnTab: true
                Keys.onSpacePressed: menu.chooseRow(index)
                Keys.onReturnPressed: menu.chooseRow(index)
                Keys.onEnterPressed: menu.chooseRow(index)
                Keys.onUpPressed: menu.focusRow(index - 1)
                Keys.onDownPressed: menu.focusRow(index + 1)
                Keys.onPressed: {
                    if (event.key === Qt.Key_Menu || (event.key === Qt.Key_F10 && (event.modifiers & Qt.ShiftModifier))) {
                        menu.openMenuFromKeys(index)
                        event.accepted = true
                    }
                }
                Accessible.role: Accessible.RadioButton
                Accessible.name: menu.label(index)
                Accessible.checkable: true
                Accessible.checked: row.selected
                Accessible.focusable: true
                Accessible.onPressAction: menu.chooseRow(index)
                FocusRing { shapeRadius: 5 }
                SkinImage {
                    anchors.fill: parent
                    source: row.selected ? "list_pf/row_2.png" : rowArea.containsMouse ? "list_pf/row_1.png" : "list_pf/row_0.png"
                    fallbackColor: row.selected ? Theme.accentGlow : rowArea.containsMouse ? Theme.panel : "transparent"
                    fallbackBorder: row.selected ? Theme.accent : Theme.stroke
                    fallbackRadius: 5
                }
                Rectangle {
                    objectName: "Menu_Prof_held_" + index
                    visible: index === menu.heldIndex
                    anchors.right: parent.right
                    anchors.rightMargin: 2
                    anchors.verticalCenter: parent.verticalCenter
                    width: 3
                    height: parent.height - 12
                    radius: 1.5
                    color: Theme.accent
                }
                Label {
                    anchors.centerIn: parent
                    text: menu.label(index)
                    heading: true
                    highlight: row.selected
                }
                LinkGlyph {
                    objectName: "Menu_Prof_link_" + index
                    anchors.right: parent.right
                    anchors.rightMargin: 8
                    anchors.verticalCenter: parent.verticalCenter
                    visible: ApplicationLinks.linkedProfiles.indexOf(index) >= 0
                }
                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    acceptedButtons: Qt.LeftButton | Qt.RightButton
                    onClicked: {
                        if (mouse.button === Qt.RightButton)
                            menu.openMenu(index)
                        else
                            menu.chooseRow(index)
                    }
                }
            }
        }
    }

    // The row's menu, to the left of the row.
    Rectangle {
        id: popup
        objectName: "Menu_Prof_menu"
        visible: menu.menuIndex >= 0
        x: -width - 4
        y: Math.min(16 + Math.max(0, menu.menuIndex) * 44, menu.height - height)
        width: 128
        height: actions.height + 8
        color: Theme.panel
        border.color: Theme.accent
        radius: 5
        Column {
            id: actions
            x: 4
            y: 4
            Repeater {
                id: menuEntries
                model: [
                    { key: "load", label: 84, fallback: "LOAD" },
                    { key: "save", label: 85, fallback: "SAVE" },
                    { key: "reset", label: 77, fallback: "RESET" },
                    { key: "apps", label: 180, fallback: "APPS…" },
                    { key: "cancel", label: 78, fallback: "CANCEL" }
                ]
                delegate: Rectangle {
                    objectName: "Menu_Prof_" + modelData.key
                    width: 120
                    height: 28
                    radius: 3
                    color: actionArea.containsMouse || activeFocus ? Theme.accentGlow : "transparent"
                    Keys.onSpacePressed: menu.runMenuActionFromKeys(modelData.key)
                    Keys.onReturnPressed: menu.runMenuActionFromKeys(modelData.key)
                    Keys.onEnterPressed: menu.runMenuActionFromKeys(modelData.key)
                    Keys.onUpPressed: menu.focusMenuEntry(index - 1)
                    Keys.onDownPressed: menu.focusMenuEntry(index + 1)
                    Keys.onEscapePressed: menu.closeMenuFromKeys()
                    Keys.onTabPressed: menu.closeMenuFromKeys()
                    Keys.onBacktabPressed: menu.closeMenuFromKeys()
                    Accessible.role: Accessible.MenuItem
                    Accessible.name: Theme.text(modelData.label, modelData.fallback)
                    Accessible.onPressAction: menu.runMenuAction(modelData.key)
                    Label {
                        anchors.fill: parent
                        anchors.leftMargin: 10
                        text: Theme.text(modelData.label, modelData.fallback)
                        highlight: actionArea.containsMouse
                    }
                    MouseArea {
                        id: actionArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: menu.runMenuAction(modelData.key)
                    }
                }
            }
        }
    }

    Connections {
        target: ProfileActions
        function onProfileSelected(profile) {
            menu.currentIndex = profile
            menu.profileChanged(profile)
        }
    }
}
