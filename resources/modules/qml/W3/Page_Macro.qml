import QtQuick 2.15
import W3.Actions 1.0
import "qrc:/modules/qml/basic"
import "qrc:/modules/qml/common"

// The macro page: the macro library on the left, the steps of the chosen macro in the middle,
// recording and editing tools on the right. The library and the chosen macro are
// MacroActions'; every change of the steps is saved at once.
Item {
    id: page
    objectName: "Page_Macro"
    width: 710
    height: 472

    readonly property string downTag: "    [Down]"
    readonly property string upTag: "      [Up]"
    readonly property string delayTag: "   [Delay]"
    readonly property int minimumDelay: 10
    readonly property int firstMouseButton: 0xF0

    property bool recording: false
    property string clipboard: ""
    property bool clipboardReusable: false
    property int delayValue: 1000
    readonly property string selectedMacro: MacroActions.selected
    readonly property bool hasMacro: selectedMacro !== ""
    readonly property var mouseEntries: {
        var names = [Theme.text(51, "LEFT"), Theme.text(52, "RIGHT"), Theme.text(53, "MIDDLE"),
                     Theme.text(54, "BACKWARD"), Theme.text(55, "FORWARD")]
        var entries = []
        for (var i = 0; i < names.length; ++i)
            entries.push(Theme.text(47, "MOUSE") + "\u3010 " + names[i] + " \u3011")
        return entries
    }
    property int menuIndex: -1
    // The key page's buttons (KeyButtons): their numbers and names.
    property var keyButtons: null
    // Why a new macro name is refused, by the macro library's answer (MacroActions.nameProblem).
    readonly property var nameProblemTexts: ["", Theme.text(135, "A macro needs a name."),
        Theme.text(136, "Another macro has this name."),
        Theme.text(137, "Not a file name: no / \\ or control characters.")]

    signal protectUI(int interval)
    // Every edit is saved and sent as it is made: nothing waits for an APPLY.
    readonly property bool pending: false

    KeyCodeString { id: keyNames }

    // --- page interface ------------------------------------------------------------------

    // MacroActions starts with the frame; the page shows what it holds.
    function initUI(deviceConfig) {}

    // The labels are bound to the string list.
    function translateStrings() {}

    function keyEvent(isDown, usbCode) {
        if (recording) {
            var name = keyNames.nameOf(usbCode)
            if (name !== undefined)
                steps.appendLine(name + (isDown ? downTag : upTag))
            return
        }
        tools.detectKeyboard(isDown, usbCode)
    }

    function totalReset() {}
    function totalApply() {}
    function profileChanged() {}

    // Recording ends with the page: its keys would otherwise keep landing in a hidden list.
    onVisibleChanged: if (!visible) stopRecording()

    // --- the macro library ---------------------------------------------------------------

    // Choosing the macro already shown keeps its steps and the selected step.
    onSelectedMacroChanged: loadSteps()
    Component.onCompleted: loadSteps()

    function loadSteps() {
        steps.setLines(MacroActions.steps())
    }

    // A macro that buttons play is deleted only after the user has seen which ones; they then
    // get their factory function back in every profile.
    function deleteMacro() {
        if (!hasMacro)
            return
        var name = selectedMacro
        var users = MacroActions.users(name)
        if (users.length === 0) {
            MacroActions.remove(name)
            return
        }
        Questions.ask(Theme.text(80, "DELETE") + "  " + name,
                      Theme.text(141, "Played by: %1. Deleting the macro gives these buttons their factory function.")
                          .arg(describeUsers(users)),
                      [Theme.text(80, "DELETE"), Theme.text(78, "CANCEL")], 1,
                      function (choice) { if (choice === 0) MacroActions.remove(name) })
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
        return nameProblemTexts[MacroActions.nameProblem(newName)] || ""
    }

    function chooseMenuEntry(entry) {
        var name = names.nameAt(menuIndex)
        var index = menuIndex
        menuIndex = -1
        if (name === "")
            return
        switch (entry) {
        case 0:
            ui_View.loadMacroIniFromFile(name)
            if (name === selectedMacro)
                loadSteps()
            break
        case 1:
            ui_View.saveMacroIniToFile(name)
            break
        case 2:
            names.editName(index)
            break
        }
    }

    // --- recording -----------------------------------------------------------------------

    function startRecording() {
        if (!hasMacro || recording)
            return
        steps.setLines([])
        recording = true
    }

    function stopRecording() {
        if (!recording)
            return
        recording = false
        save()
    }

    // --- editing the steps ---------------------------------------------------------------

    function insertLines(lines) {
        if (!hasMacro)
            return
        steps.insertLines(lines)
        save()
    }

    function insertKey(usbCode) {
        var name = keyNames.nameOf(usbCode)
        if (name !== undefined)
            insertLines([name + downTag, name + upTag])
    }

    function insertMouseButton(position) {
        var name = keyNames.mousecodeTostr(firstMouseButton + position)
        if (name !== undefined)
            insertLines([name + downTag, name + upTag])
    }

    function insertDelay(milliseconds) {
        delayValue = Math.max(milliseconds, minimumDelay)
        insertLines([String(delayValue) + delayTag])
    }

    function deleteAction() {
        if (!steps.hasStep)
            return
        steps.removeSelected()
        save()
    }

    function cutAction() {
        if (!steps.hasStep)
            return
        clipboard = steps.selectedLine()
        clipboardReusable = false
        deleteAction()
    }

    function copyAction() {
        if (!steps.hasStep)
            return
        clipboard = steps.selectedLine()
        clipboardReusable = true
    }

    function pasteAction() {
        if (clipboard === "")
            return
        var line = clipboard
        if (!clipboardReusable)
            clipboard = ""
        insertLines([line])
    }

    // Writes the whole list; a macro that can no longer be saved shows no steps.
    function save() {
        if (hasMacro && !MacroActions.save(steps.lines()))
            steps.setLines([])
    }

    // --- layout --------------------------------------------------------------------------

    MacroNameList {
        id: names
        x: 16
        y: 16
        names: MacroActions.names
        selectedName: page.selectedMacro
        recording: page.recording
        nameRefusal: page.nameRefusal
        onAddClicked: MacroActions.create()
        onDeleteClicked: page.deleteMacro()
        onChosen: MacroActions.select(name)
        onMenuRequested: page.menuIndex = index
        onRenamed: MacroActions.rename(oldName, newName)
    }

    MacroStepList {
        id: steps
        x: 232
        y: 16
        macroName: page.selectedMacro
        recording: page.recording
    }

    MacroTools {
        id: tools
        x: 476
        y: 16
        recording: page.recording
        hasMacro: page.hasMacro
        hasStep: steps.hasStep
        canPaste: page.clipboard !== ""
        mouseEntries: page.mouseEntries
        delayValue: page.delayValue
        onRecordClicked: page.startRecording()
        onStopClicked: page.stopRecording()
        onKeyChosen: page.insertKey(usbCode)
        onMouseButtonChosen: page.insertMouseButton(position)
        onDelayChosen: page.insertDelay(milliseconds)
        onDeleteClicked: page.deleteAction()
        onCutClicked: page.cutAction()
        onCopyClicked: page.copyAction()
        onPasteClicked: page.pasteAction()
    }

    // Where the desktop keeps its input devices to itself (Wayland), recording hears only the
    // keys pressed while this window is active.
    Label {
        objectName: "keysOnlyInWindowNote"
        x: tools.x
        y: 330
        width: page.width - x - 16
        height: 64
        visible: MacroActions.keysOnlyInWindow
        text: Theme.text(270, "Keys are recorded only while this window is active.")
        color: Theme.warning
        wrapMode: Text.WordWrap
        verticalAlignment: Text.AlignTop
    }

    MacroNameMenu {
        anchors.fill: parent
        z: 299
        isOpen: page.menuIndex >= 0
        openAt: names.y + names.rowBottom(page.menuIndex)
        onChosen: page.chooseMenuEntry(entry)
        onDismissed: page.menuIndex = -1
    }
}
