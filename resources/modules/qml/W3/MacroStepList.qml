import QtQuick 2.15
import "qrc:/modules/qml/common"

// The steps of the chosen macro, one row per step line: the key, button or delay, then its
// tag ("    [Down]", "      [Up]", "   [Delay]") in a column of its own. While recording, a
// blinking REC stands beside the heading.
Item {
    id: stepArea
    objectName: "MacroStepList"
    width: 228
    height: 440

    property string macroName: ""
    property bool recording: false
    readonly property int tagLength: 10
    readonly property bool hasStep: stepList.currentIndex >= 0 && stepList.currentIndex < stepList.count

    function rowOf(line) {
        return { textX: line.slice(0, -tagLength), textR: line.slice(-tagLength) }
    }
    function lineAt(index) {
        var row = stepList.rows.get(index)
        return row.textX + row.textR
    }
    function selectedLine() { return hasStep ? lineAt(stepList.currentIndex) : "" }
    function lines() {
        var result = []
        for (var i = 0; i < stepList.count; ++i)
            result.push(lineAt(i))
        return result
    }
    function setLines(lines) { stepList.setRows(lines.map(function (line) { return rowOf(String(line)) })) }

    // A recorded step goes at the end and scrolls into view.
    function appendLine(line) {
        stepList.rows.append(rowOf(line))
        stepList.showRow(stepList.count - 1)
    }

    // Inserts before the selected step, or appends when none is selected; the selection stays
    // on the same step so further insertions keep their order.
    function insertLines(lines) {
        var at = hasStep ? stepList.currentIndex : -1
        for (var i = 0; i < lines.length; ++i) {
            if (at < 0)
                stepList.rows.append(rowOf(lines[i]))
            else
                stepList.rows.insert(at + i, rowOf(lines[i]))
        }
        if (at >= 0)
            stepList.currentIndex = at + lines.length
    }

    // The next step is selected, or the last when the removed one was last.
    function removeSelected() {
        var at = stepList.currentIndex
        stepList.rows.remove(at)
        stepList.currentIndex = Math.min(at, stepList.count - 1)
    }

    Label {
        width: stepArea.recording ? 164 : 228
        height: 28
        text: Theme.text(45, "ACTION") + (stepArea.macroName !== "" ? "  \u00B7  " + stepArea.macroName : "")
        heading: true
    }
    FramedPanel {
        y: 36
        width: 228
        height: 404
        FileList {
            id: stepList
            objectName: "actionList"
            accessibleName: Theme.text(45, "ACTION")
            anchors.fill: parent
            anchors.margins: 6
            rowHeight: 24
        }
    }
    Label {
        x: 168
        width: 60
        height: 28
        horizontalAlignment: Text.AlignRight
        visible: stepArea.recording
        text: "\u25CF REC"
        color: "#FFFF4040"
        heading: true
        SequentialAnimation on opacity {
            running: stepArea.recording
            loops: Animation.Infinite
            NumberAnimation { to: 0.3; duration: 400 }
            NumberAnimation { to: 1.0; duration: 400 }
        }
    }
}
