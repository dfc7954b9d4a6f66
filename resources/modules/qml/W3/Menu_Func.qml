import QtQuick 2.15
import "qrc:/modules/qml/common"

// The function menu: KEY, MACRO, COLOR, SENSOR as tall tabs; the open page's tab carries the
// accent bar, and a page with changes not yet applied (`pendingPages`) a small accent dot. A click
// emits entryClicked(index); the product frame opens or closes the page.
// Tabs are named Menu_Func_<index>, their dots Menu_Func_<index>_pending.
Item {
    id: menu
    objectName: "Menu_Func"
    width: 150
    height: 488
    property int currentIndex: -1
    property var pendingPages: []
    signal entryClicked(int index)

    function focusEntry(index) {
        if (index >= 0 && index < tabs.count)
            tabs.itemAt(index).forceActiveFocus(Qt.TabFocusReason)
    }
    function entryLabel(index) { return Theme.text(entries[index].label, entries[index].fallback) }

    readonly property var entries: [
        { label: 74, fallback: "KEY", icon: "list_fn/icon_key.png", glyph: "\u2328" },
        { label: 75, fallback: "MACRO", icon: "list_fn/icon_macro.png", glyph: "\u2261" },
        { label: 76, fallback: "COLOR", icon: "list_fn/icon_color.png", glyph: "\u25D0" },
        { label: 86, fallback: "SENSOR", icon: "list_fn/icon_sensor.png", glyph: "\u25CE" }
    ]

    Column {
        y: 16
        spacing: 8
        Repeater {
            id: tabs
            model: menu.entries.length
            delegate: Item {
                id: tab
                objectName: "Menu_Func_" + index
                readonly property var entry: menu.entries[index]
                readonly property bool selected: index === menu.currentIndex
                width: 150
                height: 96
                activeFocusOnTab: true
                Keys.onSpacePressed: menu.entryClicked(index)
                Keys.onReturnPressed: menu.entryClicked(index)
                Keys.onEnterPressed: menu.entryClicked(index)
                Keys.onUpPressed: menu.focusEntry(index - 1)
                Keys.onDownPressed: menu.focusEntry(index + 1)
                Accessible.role: Accessible.PageTab
                Accessible.name: menu.entryLabel(index)
                Accessible.selected: tab.selected
                Accessible.focusable: true
                Accessible.onPressAction: menu.entryClicked(index)
                FocusRing { shapeRadius: 6 }
                SkinImage {
                    anchors.fill: parent
                    source: tab.selected ? "list_fn/tab_2.png" : tabArea.containsMouse ? "list_fn/tab_1.png" : "list_fn/tab_0.png"
                    fallbackColor: tab.selected ? Theme.accentGlow : tabArea.containsMouse ? Theme.panel : "transparent"
                    fallbackBorder: tab.selected ? Theme.accent : "transparent"
                    fallbackRadius: 6
                }
                Rectangle {
                    visible: tab.selected
                    anchors.right: parent.right
                    anchors.verticalCenter: parent.verticalCenter
                    width: 3
                    height: 56
                    color: Theme.accent
                }
                SkinImage {
                    id: icon
                    anchors.horizontalCenter: parent.horizontalCenter
                    y: 14
                    width: 36
                    height: 36
                    source: tab.entry.icon
                    fallbackVisible: false
                }
                Text {
                    anchors.centerIn: icon
                    visible: !icon.ready
                    text: tab.entry.glyph
                    color: tab.selected ? Theme.accent : Theme.textColorEnable
                    font.pixelSize: 26
                }
                Label {
                    anchors.horizontalCenter: parent.horizontalCenter
                    y: 58
                    width: parent.width - 12
                    height: 24
                    horizontalAlignment: Text.AlignHCenter
                    text: menu.entryLabel(index)
                    heading: true
                    highlight: tab.selected
                }
                Rectangle {
                    objectName: "Menu_Func_" + index + "_pending"
                    visible: menu.pendingPages[index] === true
                    x: parent.width - 22
                    y: 12
                    width: 8
                    height: 8
                    radius: 4
                    color: Theme.accent
                }
                MouseArea {
                    id: tabArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: menu.entryClicked(index)
                }
            }
        }
    }
}
