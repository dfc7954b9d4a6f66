import QtQuick 2.15
import W3.Logic 1.0
import "qrc:/modules/qml/common"

// Eight colour entries (R, G, B and a fixed-colour id each) with a current entry, edited with
// the palette strip and R/G/B fields, or, in fixed-colour mode (isCompat8Color), with the
// eight fixed colours. Entries at or beyond stageLimit are hidden. Every colour change lands
// in the current entry and emits clicked(current); choosing another entry emits
// entrySelected(index). Entries are named <objectName>_entry<index>, the fixed swatches
// <objectName>_fixed<id>, the palette <objectName>_palette.
Item {
    id: group
    readonly property int count: 8
    property var rgb: [255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 0, 255, 0, 255, 255, 255, 255, 0, 255, 255, 255, 255, 127, 0]
    property var ids: [0, 1, 2, 3, 4, 5, 6, 7]
    property int current: 0
    property int stageLimit: 8
    property bool isCompat8Color: false
    property int entryWidth: 30
    property int entryHeight: 30
    property int entrySpacing: 6
    property string title: ""
    signal clicked(int current)
    signal entrySelected(int index)

    function clampIndex(index) { return Math.max(0, Math.min(Math.max(stageLimit, 1) - 1, index)) }

    function colorOf(index) {
        if (isCompat8Color)
            return Lighting.fixedColor(ids[index])
        return Qt.rgba(rgb[3 * index] / 255, rgb[3 * index + 1] / 255, rgb[3 * index + 2] / 255, 1)
    }
    readonly property color currentColor: colorOf(current)

    // Loads 24 numbers (R, G, B per entry); anything else is ignored.
    function setColors(values) {
        if (!values || values.length !== 3 * count)
            return false
        var list = []
        for (var i = 0; i < values.length; ++i)
            list.push(Math.max(0, Math.min(255, Math.round(Number(values[i])) || 0)))
        rgb = list
        showCurrent()
        return true
    }
    // Loads 8 fixed-colour ids; ids outside 0..7 read as 0.
    function setIds(values) {
        if (!values || values.length !== count)
            return false
        var list = []
        for (var i = 0; i < values.length; ++i) {
            var id = Math.round(Number(values[i]))
            list.push(id >= 0 && id < count ? id : 0)
        }
        ids = list
        return true
    }
    function colorList() { return rgb.slice() }
    function idList() { return ids.slice() }

    function setCurrent(index) {
        current = clampIndex(index)
        showCurrent()
    }
    function showCurrent() {
        palette.setColor(rgb[3 * current], rgb[3 * current + 1], rgb[3 * current + 2])
    }

    function setCurrentColor(r, g, b) {
        var list = rgb.slice()
        list[3 * current] = r
        list[3 * current + 1] = g
        list[3 * current + 2] = b
        rgb = list
        clicked(current)
    }
    function setCurrentId(id) {
        var list = ids.slice()
        list[current] = id
        ids = list
        clicked(current)
    }

    onStageLimitChanged: if (current >= stageLimit) setCurrent(current)

    width: 8 * entryWidth + 7 * entrySpacing
    height: entries.height + (title !== "" ? heading.height + 8 : 0) + 12 + (isCompat8Color ? fixed.height : palette.height)
    opacity: Theme.ownOpacity(group)

    Row {
        id: entries
        spacing: group.entrySpacing
        Repeater {
            model: group.count
            delegate: Rectangle {
                objectName: group.objectName + "_entry" + index
                readonly property bool isCurrent: index === group.current
                visible: index < group.stageLimit
                width: group.entryWidth
                height: group.entryHeight
                radius: 4
                activeFocusOnTab: visible
                Keys.onSpacePressed: entryArea.choose()
                Keys.onReturnPressed: entryArea.choose()
                Keys.onEnterPressed: entryArea.choose()
                Accessible.role: Accessible.RadioButton
                Accessible.name: Theme.text(35, "COLOR") + " " + (index + 1)
                Accessible.description: String(color)
                Accessible.checkable: true
                Accessible.checked: isCurrent
                Accessible.focusable: true
                Accessible.onPressAction: entryArea.choose()
                FocusRing { shapeRadius: 4 }
                color: group.colorOf(index)
                border.width: isCurrent ? 2 : 1
                border.color: isCurrent ? Theme.accent : entryArea.containsMouse ? Theme.textColorEnable : Theme.stroke
                Rectangle {
                    anchors.fill: parent
                    anchors.margins: -4
                    radius: 7
                    color: "transparent"
                    border.width: 2
                    border.color: Theme.accentGlow
                    visible: parent.isCurrent
                }
                MouseArea {
                    id: entryArea
                    anchors.fill: parent
                    hoverEnabled: true
                    function choose() {
                        group.setCurrent(index)
                        group.entrySelected(group.current)
                    }
                    onClicked: choose()
                }
            }
        }
    }

    Label {
        id: heading
        y: entries.height + 8
        width: group.width
        height: 20
        visible: group.title !== ""
        text: group.title
        heading: true
    }

    ColorPalette {
        id: palette
        objectName: group.objectName + "_palette"
        y: entries.height + (heading.visible ? heading.height + 8 : 0) + 12
        height: 150
        visible: !group.isCompat8Color
        onColorPicked: group.setCurrentColor(r, g, b)
    }

    Grid {
        id: fixed
        y: palette.y
        columns: 4
        spacing: 8
        visible: group.isCompat8Color
        Repeater {
            model: group.count
            delegate: Rectangle {
                objectName: group.objectName + "_fixed" + index
                readonly property bool chosen: group.ids[group.current] === index
                width: 36
                height: 36
                radius: 4
                color: Lighting.fixedColor(index)
                activeFocusOnTab: true
                Keys.onSpacePressed: group.setCurrentId(index)
                Keys.onReturnPressed: group.setCurrentId(index)
                Keys.onEnterPressed: group.setCurrentId(index)
                Accessible.role: Accessible.RadioButton
                Accessible.name: [Theme.text(212, "RED"), Theme.text(213, "GREEN"), Theme.text(214, "BLUE"),
                                  Theme.text(215, "MAGENTA"), Theme.text(216, "CYAN"), Theme.text(217, "YELLOW"),
                                  Theme.text(218, "WHITE"), Theme.text(219, "ORANGE")][index]
                Accessible.checkable: true
                Accessible.checked: chosen
                Accessible.focusable: true
                Accessible.onPressAction: group.setCurrentId(index)
                FocusRing { shapeRadius: 4 }
                border.width: chosen ? 2 : 1
                border.color: chosen ? Theme.accent : fixedArea.containsMouse ? Theme.textColorEnable : Theme.stroke
                MouseArea {
                    id: fixedArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: group.setCurrentId(index)
                }
            }
        }
    }
}
