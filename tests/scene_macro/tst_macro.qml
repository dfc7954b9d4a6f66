import QtQuick 2.15
import QtTest 1.2
import W3.Actions 1.0
import "qrc:/modules/qml/common"
import "qrc:/modules/qml/W3"

// The macro page on the real view: the macro files it writes and MacroActions' state.
Item {
    id: scene
    width: 710
    height: 472

    Page_Macro { id: page }
    Component { id: latePage; Page_Macro {} }
    KeyButtons { id: keyButtons }
    SignalSpy { id: released; target: MacroActions; signalName: "slotReleased" }

    readonly property string down: "    [Down]"
    readonly property string up: "      [Up]"
    readonly property string delay: "   [Delay]"

    function macroFile(name) { return "modules/macro/" + name + ".bin" }

    // A macro file's text as the program stores it; `slot` -1 for an unbound macro.
    function macroText(slot, lines) {
        var text = "[config]\nindex=" + slot + "\ntotal=" + lines.length + "\nrepeat=1\ndid=" + (slot < 0 ? -1 : 1)
                   + "\n\n[macro]\n"
        for (var i = 0; i < lines.length; ++i)
            text += i + "=\"" + lines[i] + "\"\n"
        return text
    }

    function writeMacro(name, slot, lines) {
        if (!sceneTest.writeFile(macroFile(name), macroText(slot, lines)))
            throw new Error("cannot write macro " + name)
    }

    // The step lines stored in the macro's file, read by the program's own library.
    function stored(name) { return ui_View.loadMacroIni(name) }

    // A fresh page on a library of just the given macros (name -> step lines), `select` chosen.
    function startPage(macros, select) {
        var old = MacroActions.names.slice()   // a copy: the property is read again on each use
        for (var i = 0; i < old.length; ++i)
            if (!ui_View.deleteMacroIni(old[i]))
                throw new Error("cannot delete macro " + old[i])
        for (var name in macros)
            writeMacro(name, -1, macros[name])
        page.clipboard = ""
        MacroActions.start()
        if (select !== undefined)
            MacroActions.select(select)
        released.clear()
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

        function nameRow(index) {
            var row = null
            tryVerify(function () { return row = findChild(page, "macroNames_row" + index) }, 2000)
            return row
        }

        function test_namesAndStepsAreSplitByTagLength() {
            startPage({ "Beta": ["KP 7 " + down, "1000" + delay], "alpha": [] }, "Beta")
            compare(names(), ["alpha", "Beta"], "sorted ignoring case")
            compare(find("macroNames").currentIndex, 1)
            compare(actions(), ["KP 7 |" + down, "1000|" + delay])
        }

        function test_addCreatesSelectsAndLoads() {
            startPage({ "Macro. 001": ["A" + down] }, "Macro. 001")
            mouseClick(findChild(page, "addMacro"))
            compare(names(), ["Macro. 001", "Macro. 002"])
            compare(page.selectedMacro, "Macro. 002")
            compare(find("macroNames").currentIndex, 1)
            compare(actions(), [])
            verify(sceneTest.readFile(macroFile("Macro. 002")) !== "", "the file is made")
        }

        // Choosing the macro already shown keeps its steps and the selected step.
        function test_choosingTheShownMacroKeepsTheSelectedStep() {
            startPage({ "A": ["A" + down, "A" + up], "B": [] }, "A")
            selectAction(1)
            mouseClick(nameRow(0))
            compare(find("actionList").currentIndex, 1)
            mouseClick(nameRow(1))
            compare(page.selectedMacro, "B")
            compare(actions(), [])
        }

        // The library and the chosen macro are held without the page: a page made later shows
        // them at once.
        function test_aPageMadeLaterShowsTheChosenMacro() {
            startPage({ "A": ["A" + down], "B": ["B" + down, "B" + up] }, "B")
            var later = createTemporaryObject(latePage, scene, { visible: false })
            compare(later.selectedMacro, "B")
            var list = findChild(later, "macroNames")
            compare(list.count, 2)
            compare(list.currentIndex, 1)
            compare(findChild(later, "actionList").count, 2)
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
            compare(sceneTest.readFile(macroFile("A")), "")
            compare(released.count, 0)
            compare(names(), ["B"])
            compare(page.selectedMacro, "")
            compare(actions(), [])
        }

        // A macro that buttons play is deleted only on the user's word, which names them; the
        // key page's button that played it gets its factory code back.
        function test_deletingABoundMacroAsksFirst_data() {
            return [
                { tag: "DELETE", choice: 0, deleted: true, names: ["B"], unbound: [2] },
                { tag: "CANCEL", choice: 1, deleted: false, names: ["A", "B"], unbound: [] },
            ]
        }
        function test_deletingABoundMacroAsksFirst(data) {
            startPage({ "A": ["A" + down], "B": [] }, "A")
            writeMacro("A", 2, ["A" + down])
            KeyActions.assign(5, [9, 0, 3, 0])   // shown on the key page, not applied
            page.keyButtons = keyButtons
            mouseClick(findChild(page, "deleteMacro"))
            verify(Questions.active)
            var profile = "P0" + (sceneTest.currentProfile + 1)
            verify(Questions.sentence.indexOf(profile + " 6 KEY \uFF16") >= 0, Questions.sentence)
            compare(Questions.safeChoice, 1)
            Questions.answer(data.choice)
            page.keyButtons = null
            var unbound = []
            for (var i = 0; i < released.count; ++i)
                unbound.push(released.signalArguments[i][0])
            compare(unbound, data.unbound)
            compare(sceneTest.readFile(macroFile("A")) === "", data.deleted)
            compare(KeyActions.codes[5][0] === KeyActions.defaultCodes[5][0] && KeyActions.codes[5][2] === KeyActions.defaultCodes[5][2],
                    data.deleted, "the button plays its factory function again")
            compare(names(), data.names)
            KeyActions.start()
        }

        // The menu acts on the clicked name and leaves the selection, and the steps shown, alone;
        // LOAD reloads the steps only when it loaded the selected macro.
        function test_rightClickMenu_data() {
            return [
                { tag: "LOAD of another macro", row: 1, entry: 0, dialogs: 1, loaded: "B", shown: ["A|" + down] },
                { tag: "LOAD of the selected macro", row: 0, entry: 0, dialogs: 1, loaded: "A", shown: ["A|" + up] },
                { tag: "SAVE", row: 1, entry: 1, dialogs: 1, exported: "B", shown: ["A|" + down] },
                { tag: "CANCEL", row: 1, entry: 3, dialogs: 0, shown: ["A|" + down] },
            ]
        }
        function test_rightClickMenu(data) {
            startPage({ "A": ["A" + down], "B": ["B" + down] }, "A")
            // What LOAD brings in from the file, and where SAVE puts its copy.
            verify(sceneTest.writeFile("modules/import.mc", macroText(-1, ["A" + up])))
            sceneTest.openFileAnswer = sceneTest.path("modules/import.mc")
            sceneTest.saveFileAnswer = sceneTest.path("modules/export.mc")
            sceneTest.clearRecords()
            mouseClick(nameRow(data.row), 10, 10, Qt.RightButton)
            verify(findChild(page, "nameMenu").visible)
            compare(page.selectedMacro, "A")
            mouseClick(findChild(page, "nameMenu_" + data.entry))
            verify(!findChild(page, "nameMenu").visible)
            compare(sceneTest.dialogs.length, data.dialogs)
            if (data.loaded)
                compare(stored(data.loaded), ["A" + up])
            if (data.exported)
                compare(sceneTest.readFile("modules/export.mc"), sceneTest.readFile(macroFile(data.exported)))
            compare(page.selectedMacro, "A")
            compare(actions(), data.shown)
            sceneTest.openFileAnswer = ""
            sceneTest.saveFileAnswer = ""
        }

        function test_rightClickOnTheShownMacroKeepsTheSelectedStep() {
            startPage({ "A": ["A" + down, "A" + up] }, "A")
            selectAction(1)
            mouseClick(nameRow(0), 10, 10, Qt.RightButton)
            mouseClick(findChild(page, "nameMenu_3"))
            compare(find("actionList").currentIndex, 1)
            compare(names(), ["A"])
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
            startPage({ "A": [], "B": ["B" + down] }, data.select)
            renameRow(nameRow(data.row), data.typed)
            compare(sceneTest.readFile(macroFile("B")), "")
            compare(stored(data.typed), ["B" + down])
            compare(names(), data.names)
            compare(page.selectedMacro, data.selected)
            compare(find("macroNames").currentIndex, data.names.indexOf(data.selected))
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
            startPage({ "A": [], "B": ["B" + down] }, "B")
            var editor = renameRow(nameRow(1), data.typed)
            compare(stored("B"), ["B" + down], "the file stays")
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
            compare(stored("M"), ["OLD" + down], "nothing saved while recording")
            mouseClick(findChild(page, "stopButton"))
            verify(!page.recording)
            compare(stored("M"), ["L Shift" + down, "A" + down, "A" + up, "L Shift" + up])
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
            compare(stored("M"), ["B" + down])
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
            compare(stored("M").join("/"), data.lines.join("/").replace(/\|/g, ""), "saved at once")
        }

        function test_capturedKeyIsInserted() {
            startPage({ "M": [] }, "M")
            mouseClick(findChild(page, "insertKey"))
            page.keyEvent(true, 0x2C)
            compare(stored("M"), ["Space" + down, "Space" + up])
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
            compare(stored("M"), ["1000" + delay, "10" + delay])
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
            compare(stored("M").length, data.lines.length)
        }

        function test_deleteRemovesTheSelectedStep() {
            startPage({ "M": ["A" + down, "500" + delay, "A" + up] }, "M")
            selectAction(1)
            mouseClick(findChild(page, "deleteAction"))
            compare(stored("M"), ["A" + down, "A" + up])
            compare(findChild(page, "actionList").currentIndex, 1)
        }

        // A macro whose file went away under the page cannot be saved: it shows no steps.
        function test_failedSaveClearsTheList() {
            startPage({ "M": ["A" + down, "A" + up] }, "M")
            verify(sceneTest.move(macroFile("M"), "modules/M.gone"))
            page.insertDelay(100)
            compare(actions(), [])
            verify(sceneTest.move("modules/M.gone", macroFile("M")))
        }
    }
}
