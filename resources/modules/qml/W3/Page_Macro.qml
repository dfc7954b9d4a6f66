import QtQuick 2.15
import "qrc:/modules/qml/basic"
import "qrc:/modules/qml/common"

// The macro page: the macro library on the left, the steps of the chosen macro in the middle,
// recording and editing tools on the right. Every change of the steps is saved at once.
Item {
    id: page
    objectName: "Page_Macro"
    width: 710
    height: 472

    readonly property string downTag: "    [Down]"
    readonly property string upTag: "      [Up]"
    readonly property string delayTag: "   [Delay]"
    readonly property int tagLength: 10
    readonly property int minimumDelay: 10
    readonly property int firstMouseButton: 0xF0

    property bool recording: false
    property string clipboard: ""
    property bool clipboardReusable: false
    property int delayValue: 1000
    readonly property string selectedMacro: nameList.textAt(nameList.currentIndex)
    readonly property bool hasMacro: selectedMacro !== ""
    readonly property bool hasAction: actionList.currentIndex >= 0 && actionList.currentIndex < actionList.count
    readonly property var mouseEntries: {
        var names = [Theme.text(51, "LEFT"), Theme.text(52, "RIGHT"), Theme.text(53, "MIDDLE"),
                     Theme.text(54, "BACKWARD"), Theme.text(55, "FORWARD")]
        var entries = []
        for (var i = 0; i < names.length; ++i)
            entries.push(Theme.text(47, "MOUSE") + "\u3010 " + names[i] + " \u3011")
        return entries
    }
    property int menuIndex: -1
    property string loadedMacro: ""
    // The key page's buttons (Model_KeyDefine_W3): their codes before APPLY, numbers and names.
    property var keyButtons: null
    // Why a new macro name is refused, by the macro library's answer (getMacroNameProblem).
    readonly property var nameProblemTexts: ["", Theme.text(135, "A macro needs a name."),
        Theme.text(136, "Another macro has this name."),
        Theme.text(137, "Not a file name: no / \\ or control characters.")]

    signal protectUI(int interval)
    // Every edit is saved and sent as it is made: nothing waits for an APPLY.
    readonly property bool pending: false
    // Buttons that played the deleted macro in slot `slot` have their factory code again.
    signal macroUnbound(int slot)

    KeyCodeString { id: keyNames }

    // --- page interface ------------------------------------------------------------------

    function initUI(deviceConfig) {
        refreshNames("")
    }

    // The labels are bound to the string list.
    function translateStrings() {}

    function keyEvent(isDown, usbCode) {
        if (recording) {
            var name = keyNames.nameOf(usbCode)
            if (name !== undefined) {
                actionList.rows.append({ textX: name, textR: isDown ? downTag : upTag })
                actionList.showRow(actionList.count - 1)
            }
            return
        }
        keyInput.detectKeyboard(isDown, usbCode)
    }

    function totalReset() {}
    function totalApply() {}
    function profileChanged() {}

    // Recording ends with the page: its keys would otherwise keep landing in a hidden list.
    onVisibleChanged: if (!visible) stopRecording()

    // --- the macro library ---------------------------------------------------------------

    function refreshNames(selectName) {
        var files = ui_View.getMacroIniNames()
        var names = []
        for (var i = 0; i < files.length; ++i)
            names.push(String(files[i]).slice(0, -4))
        nameList.setRows(names)
        nameList.currentIndex = names.indexOf(selectName)
        loadActions()
    }

    // Choosing the macro already shown keeps its steps and the selected step.
    function selectMacro(index) {
        nameList.currentIndex = index
        if (selectedMacro !== loadedMacro)
            loadActions()
    }

    function loadActions() {
        loadedMacro = selectedMacro
        var rows = []
        if (hasMacro) {
            var lines = ui_View.loadMacroIni(selectedMacro)
            for (var i = 0; i < lines.length; ++i)
                rows.push(rowOf(String(lines[i])))
        }
        actionList.setRows(rows)
    }

    function rowOf(line) {
        return { textX: line.slice(0, -tagLength), textR: line.slice(-tagLength) }
    }

    function addMacro() {
        var name = String(ui_View.createMacroIni())
        if (name === "")
            return
        nameList.rows.append({ textX: name, textR: "" })
        selectMacro(nameList.count - 1)
    }

    function keyCodes() {
        return keyButtons ? keyButtons.allCodes() : []
    }

    // A macro that buttons play is deleted only after the user has seen which ones; they then
    // get their factory function back in every profile.
    function deleteMacro() {
        if (!hasMacro)
            return
        var name = selectedMacro
        var users = ui_View.getMacroUsers(name, keyCodes())
        if (users.length === 0) {
            removeMacro(name)
            return
        }
        Questions.ask(Theme.text(80, "DELETE") + "  " + name,
                      Theme.text(141, "Played by: %1. Deleting the macro gives these buttons their factory function.")
                          .arg(describeUsers(users)),
                      [Theme.text(80, "DELETE"), Theme.text(78, "CANCEL")], 1,
                      function (choice) { if (choice === 0) removeMacro(name) })
    }

    function removeMacro(name) {
        var slot = ui_View.unbindMacro(name)
        if (slot >= 0)
            macroUnbound(slot)
        if (!ui_View.deleteMacroIni(name))
            return
        refreshNames(selectedMacro === name ? "" : selectedMacro)
    }

    // "P01 4 BACKWARD, P02 5 FORWARD": profile, the button's number and name on the key page.
    function describeUsers(users) {
        var texts = []
        for (var i = 0; i < users.length; ++i) {
            var profile = "P" + (users[i].profile < 9 ? "0" : "") + (users[i].profile + 1)
            texts.push(profile + " " + buttonLabel(users[i].button))
        }
        return texts.join(", ")
    }

    function buttonLabel(slot) {
        var position = keyButtons ? keyButtons.buttonSlots.indexOf(slot) : -1
        return position < 0 ? String(slot + 1) : (position + 1) + " " + keyButtons.buttonNames[position]
    }

    function nameRefusal(oldName, newName) {
        return nameProblemTexts[ui_View.getMacroNameProblem(newName)] || ""
    }

    function openMenu(index) {
        menuIndex = index
    }

    function chooseMenuEntry(entry) {
        var index = menuIndex
        var name = nameList.textAt(index)
        menuIndex = -1
        if (name === "")
            return
        switch (entry) {
        case 0:
            ui_View.loadMacroIniFromFile(name)
            if (index === nameList.currentIndex)
                loadActions()
            break
        case 1:
            ui_View.saveMacroIniToFile(name)
            break
        case 2:
            nameList.editFileName(index)
            break
        }
    }

    // The list is read back after a rename, so a refused name (one already taken) never shows.
    function renameMacro(oldName, newName) {
        var selected = selectedMacro
        ui_View.renameMacroIniFile(oldName, newName)
        var files = ui_View.getMacroIniNames()
        var renamed = files.indexOf(newName + ".bin") >= 0 && files.indexOf(oldName + ".bin") < 0
        refreshNames(selected === oldName && renamed ? newName : selected === newName && !renamed ? oldName : selected)
    }

    // --- recording -----------------------------------------------------------------------

    function startRecording() {
        if (!hasMacro || recording)
            return
        actionList.setRows([])
        recording = true
    }

    function stopRecording() {
        if (!recording)
            return
        recording = false
        save()
    }

    // --- editing the steps ---------------------------------------------------------------

    // Inserts before the selected step, or appends when none is selected; the selection stays
    // on the same step so further insertions keep their order.
    function insertRows(rows) {
        if (!hasMacro)
            return
        var at = hasAction ? actionList.currentIndex : -1
        for (var i = 0; i < rows.length; ++i) {
            if (at < 0)
                actionList.rows.append(rows[i])
            else
                actionList.rows.insert(at + i, rows[i])
        }
        if (at >= 0)
            actionList.currentIndex = at + rows.length
        save()
    }

    function insertKey(usbCode) {
        var name = keyNames.nameOf(usbCode)
        if (name !== undefined)
            insertRows([{ textX: name, textR: downTag }, { textX: name, textR: upTag }])
    }

    function insertMouseButton(position) {
        var name = keyNames.mousecodeTostr(firstMouseButton + position)
        if (name !== undefined)
            insertRows([{ textX: name, textR: downTag }, { textX: name, textR: upTag }])
    }

    function insertDelay(milliseconds) {
        delayValue = Math.max(milliseconds, minimumDelay)
        delayEditor.text = String(delayValue)
        insertRows([{ textX: String(delayValue), textR: delayTag }])
    }

    function lineAt(index) {
        var row = actionList.rows.get(index)
        return row.textX + row.textR
    }

    function deleteAction() {
        if (!hasAction)
            return
        var at = actionList.currentIndex
        actionList.rows.remove(at)
        actionList.currentIndex = Math.min(at, actionList.count - 1)
        save()
    }

    function cutAction() {
        if (!hasAction)
            return
        clipboard = lineAt(actionList.currentIndex)
        clipboardReusable = false
        deleteAction()
    }

    function copyAction() {
        if (!hasAction)
            return
        clipboard = lineAt(actionList.currentIndex)
        clipboardReusable = true
    }

    function pasteAction() {
        if (clipboard === "")
            return
        var line = clipboard
        if (!clipboardReusable)
            clipboard = ""
        insertRows([rowOf(line)])
    }

    // Writes the whole list; a macro that can no longer be saved shows no steps.
    function save() {
        if (!hasMacro)
            return
        var lines = []
        for (var i = 0; i < actionList.count; ++i)
            lines.push(lineAt(i))
        if (!ui_View.saveMacroIni(selectedMacro, lines))
            actionList.setRows([])
    }

    // --- layout --------------------------------------------------------------------------

    component Panel: Rectangle {
        color: Theme.panel
        border.color: Theme.stroke
        radius: Theme.radius
    }

    // Macro names
    Label {
        x: 16
        y: 16
        width: 120
        height: 28
        text: Theme.text(44, "MACRO")
        heading: true
    }
    Button_2state {
        objectName: "addMacro"
        x: 154
        y: 16
        width: 28
        height: 28
        normalSource: "common/plus_0.png"
        hoverSource: "common/plus_1.png"
        enabled: !page.recording
        onClicked: page.addMacro()
    }
    Button_2state {
        objectName: "deleteMacro"
        x: 188
        y: 16
        width: 28
        height: 28
        normalSource: "common/delete_0.png"
        hoverSource: "common/delete_1.png"
        enabled: !page.recording && page.hasMacro
        onClicked: page.deleteMacro()
    }
    Panel {
        x: 16
        y: 52
        width: 200
        height: 404
        FileList {
            id: nameList
            objectName: "macroNames"
            anchors.fill: parent
            anchors.margins: 6
            enabled: !page.recording
            onListElementClicked: page.selectMacro(index)
            nameRefusal: page.nameRefusal
            onListElementRightBtnClicked: page.openMenu(index)
            onEditFileName_completed: page.renameMacro(oldName, newName)
        }
    }

    // Steps of the chosen macro
    Label {
        x: 232
        y: 16
        width: page.recording ? 164 : 228
        height: 28
        text: Theme.text(45, "ACTION") + (page.hasMacro ? "  \u00B7  " + page.selectedMacro : "")
        heading: true
    }
    Panel {
        x: 232
        y: 52
        width: 228
        height: 404
        FileList {
            id: actionList
            objectName: "actionList"
            anchors.fill: parent
            anchors.margins: 6
            rowHeight: 24
        }
    }
    Label {
        x: 400
        y: 16
        width: 60
        height: 28
        horizontalAlignment: Text.AlignRight
        visible: page.recording
        text: "\u25CF REC"
        color: "#FFFF4040"
        heading: true
        SequentialAnimation on opacity {
            running: page.recording
            loops: Animation.Infinite
            NumberAnimation { to: 0.3; duration: 400 }
            NumberAnimation { to: 1.0; duration: 400 }
        }
    }

    // Tools
    Item {
        id: tools
        x: 476
        y: 16
        width: 218
        height: 440

        PushButton {
            objectName: "recordButton"
            width: 104
            height: 32
            primary: true
            text: "\u25CF " + "RECORD"
            enabled: page.hasMacro && !page.recording
            onClicked: page.startRecording()
        }
        PushButton {
            objectName: "stopButton"
            x: 114
            width: 104
            height: 32
            text: "\u25A0 " + Theme.text(58, "STOP")
            enabled: page.recording
            onClicked: page.stopRecording()
        }

        Item {
            id: insertTools
            y: 52
            width: parent.width
            height: 150
            enabled: page.hasMacro && !page.recording
            opacity: enabled ? 1.0 : 0.2

            KeyInput_2 {
                id: keyInput
                objectName: "insertKey"
                width: parent.width
                onInputComplete: page.insertKey(usbCode)
            }
            Panel {
                y: 84
                width: 110
                height: 32
                radius: 4
                TextInput {
                    id: delayEditor
                    objectName: "delayField"
                    anchors.fill: parent
                    anchors.leftMargin: 8
                    anchors.rightMargin: 8
                    verticalAlignment: TextInput.AlignVCenter
                    horizontalAlignment: TextInput.AlignRight
                    color: Theme.textColor
                    selectionColor: Theme.accentGlow
                    selectByMouse: true
                    font.family: Theme.fontFamily
                    font.pixelSize: Theme.fontSize
                    maximumLength: 5
                    validator: IntValidator { bottom: 0; top: 65535 }
                    Component.onCompleted: text = String(page.delayValue)
                    Keys.onReturnPressed: page.insertDelay(Number(text))
                    Keys.onEnterPressed: page.insertDelay(Number(text))
                }
            }
            Label {
                x: 118
                y: 84
                width: 40
                height: 32
                text: Theme.text(126, "ms")
            }
            Button_2state {
                objectName: "insertDelay"
                x: 190
                y: 86
                width: 28
                height: 28
                normalSource: "common/plus_0.png"
                hoverSource: "common/plus_1.png"
                onClicked: page.insertDelay(delayEditor.acceptableInput ? Number(delayEditor.text) : page.delayValue)
            }
            DropdownList {
                id: mouseMenu
                objectName: "insertMouse"
                y: 42
                width: parent.width
                model: page.mouseEntries
                currentIndex: 0
                onListElementClicked: page.insertMouseButton(index)
            }
        }

        Grid {
            y: 218
            columns: 2
            spacing: 10
            enabled: page.hasMacro && !page.recording
            PushButton {
                objectName: "deleteAction"
                width: 104; height: 32
                text: Theme.text(80, "DELETE")
                enabled: page.hasAction
                onClicked: page.deleteAction()
            }
            PushButton {
                objectName: "cutAction"
                width: 104; height: 32
                text: Theme.text(81, "CUT")
                enabled: page.hasAction
                onClicked: page.cutAction()
            }
            PushButton {
                objectName: "copyAction"
                width: 104; height: 32
                text: Theme.text(83, "COPY")
                enabled: page.hasAction
                onClicked: page.copyAction()
            }
            PushButton {
                objectName: "pasteAction"
                width: 104; height: 32
                text: Theme.text(82, "PASTE")
                enabled: page.clipboard !== ""
                onClicked: page.pasteAction()
            }
        }
    }

    // Right-click menu of a macro name; a click anywhere else closes it.
    MouseArea {
        anchors.fill: parent
        visible: page.menuIndex >= 0
        z: 299
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        onClicked: page.menuIndex = -1
    }
    Panel {
        id: contextMenu
        objectName: "nameMenu"
        visible: page.menuIndex >= 0
        z: 300
        x: 80
        y: Math.min(52 + 6 + (page.menuIndex + 1) * nameList.rowHeight, page.height - height - 8)
        width: 130
        height: menuColumn.height + 8
        radius: 4
        border.color: Theme.accent
        Column {
            id: menuColumn
            x: 4
            y: 4
            width: parent.width - 8
            Repeater {
                model: [Theme.text(84, "LOAD"), Theme.text(85, "SAVE"), Theme.text(112, "RENAME"), Theme.text(78, "CANCEL")]
                delegate: Rectangle {
                    objectName: "nameMenu_" + index
                    width: menuColumn.width
                    height: 26
                    radius: 3
                    color: entryArea.containsMouse ? Theme.accentGlow : "transparent"
                    Label {
                        anchors.fill: parent
                        anchors.leftMargin: 8
                        text: modelData
                        highlight: entryArea.containsMouse
                    }
                    MouseArea {
                        id: entryArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: page.chooseMenuEntry(index)
                    }
                }
            }
        }
    }
}
