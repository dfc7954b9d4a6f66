import QtQuick 2.15
import QtTest 1.2
import "qrc:/modules/qml/common"
import "qrc:/modules/qml/W3"

Item {
    id: scene
    width: 710
    height: 472

    Page_Macro { id: page }
    Model_KeyDefine_W3 { id: keyButtons }

    readonly property string down: "    [Down]"
    readonly property string up: "      [Up]"
    readonly property string delay: "   [Delay]"

    // A fresh page on a library of the given macros (name -> step lines), the first selected.
    function startPage(macros, select) {
        ui_View.reset()
        for (var name in macros)
            ui_View.addMacro(name, -1, macros[name])
        page.clipboard = ""
        page.initUI([])
        if (select !== undefined)
            page.selectMacro(names().indexOf(select))
        ui_View.clearCalls()
    }

    // The named item among the page's visual descendants.
    function find(name, item) {
        item = item || page
        if (item.objectName === name)
            return item
        for (var i = 0; i < item.children.length; ++i) {
            var found = find(name, item.children[i])
            if (found)
                return found
        }
        return null
    }

    function names() {
        var list = find("macroNames")
        var result = []
        for (var i = 0; i < list.count; ++i)
            result.push(list.textAt(i))
        return result
    }

    function actions() {
        var list = find("actionList")
        var result = []
        for (var i = 0; i < list.count; ++i)
            result.push(list.rows.get(i).textX + "|" + list.rows.get(i).textR)
        return result
    }

    function selectAction(index) { find("actionList").currentIndex = index }

    TestCase {
        name: "MacroLibrary"
        when: windowShown

        function test_namesAndStepsAreSplitByTagLength() {
            startPage({ "Beta": ["KP 7 " + down, "1000" + delay], "alpha": [] }, "Beta")
            compare(names(), ["Beta", "alpha"])
            compare(actions(), ["KP 7 |" + down, "1000|" + delay])
        }

        function test_addAppendsSelectsAndLoads() {
            startPage({ "Macro. 001": ["A" + down] }, "Macro. 001")
            mouseClick(findChild(page, "addMacro"))
            compare(names(), ["Macro. 001", "Macro. 002"])
            compare(page.selectedMacro, "Macro. 002")
            compare(actions(), [])
        }

        function test_mouseEntriesFollowTheLanguage() {
            compare(page.mouseEntries[0], "MOUSE\u3010 LEFT \u3011")
            var strings = []
            for (var i = 0; i <= 116; ++i)
                strings.push("")
            strings[47] = "MAUS"
            strings[55] = "VOR"
            Theme.strings = strings
            compare(page.mouseEntries[4], "MAUS\u3010 VOR \u3011")
            Theme.strings = []
        }

        function test_deleteRemovesTheRow() {
            startPage({ "A": ["A" + down], "B": [] }, "A")
            mouseClick(findChild(page, "deleteMacro"))
            verify(!Questions.active, "an unbound macro goes at once")
            compare(ui_View.calls, ["deleteMacroIni(A)"])
            compare(names(), ["B"])
            compare(page.selectedMacro, "")
            compare(actions(), [])
        }

        // A macro that buttons play is deleted only on the user's word, which names them.
        function test_deletingABoundMacroAsksFirst_data() {
            return [
                { tag: "DELETE", choice: 0, calls: ["unbindMacro(A)", "deleteMacroIni(A)"], names: ["B"], unbound: [2] },
                { tag: "CANCEL", choice: 1, calls: [], names: ["A", "B"], unbound: [] },
            ]
        }
        function test_deletingABoundMacroAsksFirst(data) {
            startPage({ "A": ["A" + down], "B": [] }, "A")
            ui_View.addMacro("A", 2, ["A" + down])
            keyButtons.setCode(5, [9, 0, 3, 0])
            page.keyButtons = keyButtons
            var unbound = []
            var record = function (slot) { unbound.push(slot) }
            page.macroUnbound.connect(record)
            mouseClick(findChild(page, "deleteMacro"))
            verify(Questions.active)
            verify(Questions.sentence.indexOf("P01 6 KEY \uFF16") >= 0, Questions.sentence)
            compare(Questions.safeChoice, 1)
            Questions.answer(data.choice)
            page.macroUnbound.disconnect(record)
            page.keyButtons = null
            keyButtons.resetAll()
            compare(ui_View.calls, data.calls)
            compare(names(), data.names)
            compare(unbound, data.unbound)
        }

        // The menu acts on the clicked name and leaves the selection, and the steps shown, alone;
        // LOAD reloads the steps only when it loaded the selected macro.
        function test_rightClickMenu_data() {
            return [
                { tag: "LOAD of another macro", row: 1, entry: 0, call: "loadMacroIniFromFile(B)", shown: ["A|" + down] },
                { tag: "LOAD of the selected macro", row: 0, entry: 0, call: "loadMacroIniFromFile(A)", shown: ["A|" + up] },
                { tag: "SAVE", row: 1, entry: 1, call: "saveMacroIniToFile(B)", shown: ["A|" + down] },
                { tag: "CANCEL", row: 1, entry: 3, call: "", shown: ["A|" + down] },
            ]
        }
        function test_rightClickMenu(data) {
            startPage({ "A": ["A" + down], "B": ["B" + down] }, "A")
            ui_View.addMacro("A", -1, ["A" + up])  // what LOAD brings in from the file
            var row
            tryVerify(function () { return row = findChild(page, "macroNames_row" + data.row) }, 2000)
            mouseClick(row, 10, 10, Qt.RightButton)
            verify(findChild(page, "nameMenu").visible)
            compare(page.selectedMacro, "A")
            mouseClick(findChild(page, "nameMenu_" + data.entry))
            verify(!findChild(page, "nameMenu").visible)
            compare(ui_View.calls, data.call === "" ? [] : [data.call])
            compare(page.selectedMacro, "A")
            compare(actions(), data.shown)
        }

        function test_rightClickOnTheShownMacroKeepsTheSelectedStep() {
            startPage({ "A": ["A" + down, "A" + up] }, "A")
            selectAction(1)
            var row
            tryVerify(function () { return row = findChild(page, "macroNames_row0") }, 2000)
            mouseClick(row, 10, 10, Qt.RightButton)
            mouseClick(findChild(page, "nameMenu_3"))
            compare(find("actionList").currentIndex, 1)
            compare(ui_View.calls, [])
        }

        function renameRow(row, typed) {
            mouseClick(row, 10, 10, Qt.RightButton)
            mouseClick(findChild(page, "nameMenu_2"))
            var editor = findChild(row, "macroNames_editor")
            tryVerify(function () { return editor && editor.activeFocus }, 2000)
            keyClick(Qt.Key_A, Qt.ControlModifier)
            keyClick(Qt.Key_Delete)
            for (var i = 0; i < typed.length; ++i)
                keyClick(typed[i])
            keyClick(Qt.Key_Return)
            return editor
        }

        function test_rename_data() {
            return [
                { tag: "the selected macro", row: 1, select: "B", typed: "Fast", names: ["A", "Fast"], selected: "Fast" },
                { tag: "another macro", row: 1, select: "A", typed: "Fast", names: ["A", "Fast"], selected: "A" },
            ]
        }
        function test_rename(data) {
            startPage({ "A": [], "B": [] }, data.select)
            var row
            tryVerify(function () { return row = findChild(page, "macroNames_row" + data.row) }, 2000)
            renameRow(row, data.typed)
            compare(ui_View.calls, ["renameMacroIniFile(B, " + data.typed + ")"])
            compare(names(), data.names)
            compare(page.selectedMacro, data.selected)
        }

        // A refused name keeps the field open with the typed text and says why under it.
        function test_refusedNameSaysWhy_data() {
            return [
                { tag: "taken", typed: "A", reason: "Another macro has this name." },
                { tag: "empty", typed: "", reason: "A macro needs a name." },
                { tag: "blank", typed: "   ", reason: "A macro needs a name." },
                { tag: "a path", typed: "a/b", reason: "Not a file name: no / \\ or control characters." },
            ]
        }
        function test_refusedNameSaysWhy(data) {
            startPage({ "A": [], "B": [] }, "B")
            var row
            tryVerify(function () { return row = findChild(page, "macroNames_row1") }, 2000)
            var editor = renameRow(row, data.typed)
            compare(ui_View.calls, [])
            verify(editor.visible && editor.activeFocus, "the field stays open")
            compare(editor.text, data.typed)
            var hint = findChild(page, "macroNames_refusal")
            verify(hint.visible)
            compare(hint.text, data.reason)
            keyClick(Qt.Key_Escape)
            verify(!hint.visible)
            compare(names(), ["A", "B"])
        }
    }

    TestCase {
        name: "MacroRecording"
        when: windowShown

        function test_recordsNamedKeysAndSavesOnStop() {
            startPage({ "M": ["OLD" + down] }, "M")
            mouseClick(findChild(page, "recordButton"))
            verify(page.recording)
            compare(actions(), [])
            verify(!findChild(page, "macroNames").enabled)
            verify(!findChild(page, "addMacro").enabled)
            verify(!findChild(page, "deleteMacro").enabled)
            verify(!findChild(page, "recordButton").enabled)
            page.keyEvent(true, 0xE1)
            page.keyEvent(true, 0x04)
            page.keyEvent(true, 0x74)   // no name: ignored
            page.keyEvent(false, 0x04)
            page.keyEvent(false, 0xE1)
            compare(ui_View.countCalls("saveMacroIni"), 0)
            mouseClick(findChild(page, "stopButton"))
            verify(!page.recording)
            compare(ui_View.macroLines("M"), ["L Shift" + down, "A" + down, "A" + up, "L Shift" + up])
            verify(findChild(page, "macroNames").enabled)
        }

        // The action list's box holds 16 rows: the 17th recorded step scrolls into view.
        function test_recordedStepsStayInView() {
            startPage({ "M": [] }, "M")
            page.startRecording()
            for (var i = 0; i < 17; ++i)
                page.keyEvent(i % 2 === 0, 0x04)
            var list = findChild(page, "actionList")
            var last = null
            tryVerify(function() { last = findChild(list, "actionList_row16"); return last !== null }, 2000)
            verify(findChild(list, "actionList_scrollBar").visible)
            var top = last.mapToItem(list, 0, 0).y
            verify(top >= 0 && top + last.height <= list.height + 0.5, "row 17 at " + top)
            page.stopRecording()
        }

        function test_recordingNeedsAMacro() {
            startPage({ "M": [] })
            page.startRecording()
            verify(!page.recording)
        }

        function test_leavingThePageStopsAndSaves() {
            startPage({ "M": [] }, "M")
            page.startRecording()
            page.keyEvent(true, 0x05)
            page.visible = false
            verify(!page.recording)
            compare(ui_View.macroLines("M"), ["B" + down])
            page.visible = true
        }
    }

    TestCase {
        name: "MacroEditing"
        when: windowShown

        function test_insertion_data() {
            return [
                { tag: "key at a selected row: Down first, Up right after", at: 1, insert: function () { page.insertKey(0x05) },
                  lines: ["A|" + down, "B|" + down, "B|" + up, "A|" + up], selected: 3 },
                { tag: "key appended without a selection", at: -1, insert: function () { page.insertKey(0x05) },
                  lines: ["A|" + down, "A|" + up, "B|" + down, "B|" + up], selected: -1 },
                { tag: "mouse forward", at: 0, insert: function () { page.insertMouseButton(4) },
                  lines: ["MS-B5|" + down, "MS-B5|" + up, "A|" + down, "A|" + up], selected: 2 },
                { tag: "delay below the minimum", at: 1, insert: function () { page.insertDelay(3) },
                  lines: ["A|" + down, "10|" + delay, "A|" + up], selected: 2 },
                { tag: "long delay", at: -1, insert: function () { page.insertDelay(65535) },
                  lines: ["A|" + down, "A|" + up, "65535|" + delay], selected: -1 },
            ]
        }
        function test_insertion(data) {
            startPage({ "M": ["A" + down, "A" + up] }, "M")
            selectAction(data.at)
            data.insert()
            compare(actions(), data.lines)
            compare(findChild(page, "actionList").currentIndex, data.selected)
            compare(ui_View.macroLines("M").join("/"), data.lines.join("/").replace(/\|/g, ""), "saved at once")
        }

        function test_capturedKeyIsInserted() {
            startPage({ "M": [] }, "M")
            mouseClick(findChild(page, "insertKey"))
            page.keyEvent(true, 0x2C)
            compare(ui_View.macroLines("M"), ["Space" + down, "Space" + up])
        }

        function test_delayFieldDefaultAndEntry() {
            startPage({ "M": [] }, "M")
            var field = findChild(page, "delayField")
            compare(field.text, "1000")
            mouseClick(findChild(page, "insertDelay"))
            mouseClick(field)
            keyClick(Qt.Key_A, Qt.ControlModifier)
            keyClick(Qt.Key_7)
            keyClick(Qt.Key_Return)
            compare(ui_View.macroLines("M"), ["1000" + delay, "10" + delay])
            compare(field.text, "10")
        }

        function test_clipboard_data() {
            return [
                { tag: "paste after COPY keeps the clipboard", button: "copyAction", kept: true,
                  lines: ["A|" + down, "A|" + up, "A|" + up] },
                { tag: "paste after CUT empties it", button: "cutAction", kept: false,
                  lines: ["A|" + down, "A|" + up] },
            ]
        }
        function test_clipboard(data) {
            startPage({ "M": ["A" + down, "A" + up] }, "M")
            selectAction(1)
            mouseClick(findChild(page, data.button))
            compare(page.clipboard, "A" + up)
            selectAction(-1)
            mouseClick(findChild(page, "pasteAction"))
            compare(actions(), data.lines)
            compare(page.clipboard !== "", data.kept)
            compare(findChild(page, "pasteAction").enabled, data.kept)
            compare(ui_View.macroLines("M").length, data.lines.length)
        }

        function test_deleteRemovesTheSelectedStep() {
            startPage({ "M": ["A" + down, "500" + delay, "A" + up] }, "M")
            selectAction(1)
            mouseClick(findChild(page, "deleteAction"))
            compare(ui_View.macroLines("M"), ["A" + down, "A" + up])
            compare(findChild(page, "actionList").currentIndex, 1)
        }

        function test_failedSaveClearsTheList() {
            startPage({ "M": ["A" + down, "A" + up] }, "M")
            ui_View.saveSucceeds = false
            page.insertDelay(100)
            compare(actions(), [])
        }
    }
}
