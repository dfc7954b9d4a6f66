import QtQuick 2.15
import QtTest 1.2
import "qrc:/modules/qml/basic"
import "qrc:/modules/qml/common"

Item {
    width: 1000
    height: 600

    KeyCodeString { id: keyNames }
    Slider { id: slider8; x: 10; y: 10; width: 241 }
    Slider_11 { id: slider11; x: 10; y: 50; width: 241 }
    ColorPalette { id: palette; objectName: "palette"; x: 300; y: 10; height: 201 }
    KeyInput_2 { id: capture; x: 10; y: 100 }
    KeyInput { id: display; x: 10; y: 150 }
    Checkbox { id: check; x: 10; y: 200; text: "CHECK" }
    DropdownList { id: dropdown; objectName: "dropdown"; x: 500; y: 10; model: ["ONE", "TWO", "THREE"]; currentIndex: 0 }
    FileList { id: files; objectName: "files"; x: 500; y: 300; width: 200; height: 200 }
    ButtonGroup_4 { id: group4; objectName: "group4"; x: 10; y: 260; labels: ["125", "250", "500", "1000"] }
    ButtonGroupPro_8 { id: stages; objectName: "stages"; x: 10; y: 420; width: 690; menuItems: ["400", "800", "1600"] }
    FileListButton { id: fileButton; objectName: "fileButton"; x: 760; y: 10 }
    QuestionSheet { id: questionSheet; anchors.fill: parent }

    SignalSpy { id: sliderSpy; target: slider8; signalName: "sliderClicked" }
    SignalSpy { id: slider11Spy; target: slider11; signalName: "sliderClicked" }
    SignalSpy { id: colorSpy; target: palette; signalName: "colorPicked" }
    SignalSpy { id: captureSpy; target: capture; signalName: "inputComplete" }
    SignalSpy { id: renameSpy; target: files; signalName: "editFileName_completed" }
    SignalSpy { id: rightSpy; target: files; signalName: "listElementRightBtnClicked" }
    SignalSpy { id: pickSpy; target: dropdown; signalName: "listElementClicked" }
    SignalSpy { id: group4Spy; target: group4; signalName: "clicked" }
    SignalSpy { id: stageSpy; target: stages; signalName: "stageClicked" }
    SignalSpy { id: stageValueSpy; target: stages; signalName: "stageValuePicked" }
    SignalSpy { id: updateSpy; target: fileButton; signalName: "requestToUpdateList" }
    SignalSpy { id: fileButtonSpy; target: fileButton; signalName: "listElementClicked" }

    TestCase {
        name: "Sliders"
        when: windowShown

        function test_releasePosition_data() {
            // Tracks of 241 pixels: x runs 0..240.
            return [
                { tag: "left end", x: 0, eight: 0, eleven: 0 },
                { tag: "band edge", x: 22, eight: 1, eleven: 1 },
                { tag: "middle", x: 120, eight: 4, eleven: 5 },
                { tag: "right end", x: 240, eight: 7, eleven: 10 },
            ]
        }
        function test_releasePosition(data) {
            sliderSpy.clear()
            slider11Spy.clear()
            mouseClick(slider8, data.x, 12)
            mouseClick(slider11, data.x, 12)
            compare(slider8.position, data.eight)
            compare(sliderSpy.count, 1)
            compare(sliderSpy.signalArguments[0][0], data.eight)
            compare(slider11.position, data.eleven)
            compare(slider11Spy.signalArguments[0][0], data.eleven)
        }
        function test_defaults() {
            var eight = Qt.createQmlObject('import "qrc:/modules/qml/common"; Slider { visible: false }', slider8)
            var eleven = Qt.createQmlObject('import "qrc:/modules/qml/common"; Slider_11 { visible: false }', slider8)
            compare(eight.position, 7)
            compare(eleven.position, 5)
            eight.destroy()
            eleven.destroy()
        }
    }

    TestCase {
        name: "ColorPalette"
        when: windowShown

        function test_stripPress_data() {
            // A strip of 201 pixels: 25 pixels a band.
            return [
                { tag: "top", y: 0, rgb: [0, 0, 0] },
                { tag: "red edge", y: 25, rgb: [255, 0, 0] },
                { tag: "cyan edge", y: 100, rgb: [0, 255, 255] },
                { tag: "white edge", y: 175, rgb: [255, 255, 255] },
                { tag: "bottom", y: 200, rgb: [0, 0, 0] },
            ]
        }
        function test_stripPress(data) {
            colorSpy.clear()
            mousePress(palette, 12, data.y)
            mouseRelease(palette, 12, data.y)
            compare([palette.r, palette.g, palette.b], data.rgb)
            compare(colorSpy.count, 1)
            var args = colorSpy.signalArguments[0]
            compare([args[0], args[1], args[2]], data.rgb)
        }

        function test_fieldAppliesOnLeaving_data() {
            return [
                { tag: "valid value", typed: "128", expected: 128, signals: 1 },
                { tag: "zero", typed: "0", expected: 0, signals: 1 },
                { tag: "empty restores", typed: "", expected: 77, signals: 0 },
            ]
        }
        function test_fieldAppliesOnLeaving(data) {
            palette.setColor(77, 10, 10)
            colorSpy.clear()
            var field = findChild(palette, "palette_r")
            verify(field)
            field.forceActiveFocus()
            field.selectAll()
            field.remove(0, field.text.length)
            for (var i = 0; i < data.typed.length; ++i)
                keyClick(data.typed.charAt(i))
            compare(palette.r, 77, "nothing applies while typing")
            field.focus = false
            compare(palette.r, data.expected)
            compare(field.text, String(data.expected))
            compare(colorSpy.count, data.signals)
        }
        // A number beyond 255 is refused aloud: the range hint shows; on Return the field
        // stays open with the entry, on leaving the colour's value comes back.
        function test_fieldOutOfRange_data() {
            return [
                { tag: "300 on Return stays with the hint", typed: "300", leave: false, expected: 2, text: "300", hint: true },
                { tag: "999 on leaving returns, with the hint", typed: "999", leave: true, expected: 2, text: "2", hint: true },
                { tag: "a fourth digit is refused", typed: "1234", leave: false, expected: 123, text: "123", hint: false },
                { tag: "Return applies", typed: "99", leave: false, expected: 99, text: "99", hint: false },
            ]
        }
        function test_fieldOutOfRange(data) {
            palette.setColor(1, 2, 3)
            var field = findChild(palette, "palette_g")
            var hint = findChild(palette, "palette_hint")
            hint.hide()
            field.forceActiveFocus()
            field.selectAll()
            for (var i = 0; i < data.typed.length; ++i)
                keyClick(data.typed.charAt(i))
            if (data.leave)
                field.focus = false
            else
                keyClick(Qt.Key_Return)
            compare(palette.g, data.expected)
            compare(field.text, data.text)
            compare(field.activeFocus, !data.leave)
            compare(hint.visible, data.hint)
            if (data.hint)
                compare(hint.text, "Enter 0 to 255")
            field.focus = false
            hint.hide()
        }
    }

    TestCase {
        name: "KeyCodeString"

        function test_names_data() {
            return [
                { tag: "A", code: 0x04, name: "A" },
                { tag: "KP 7 keeps its blank", code: 0x5F, name: "KP 7 " },
                { tag: "Intl'2", code: 0x88, name: "Intl'2" },
                { tag: "backslash as 0x31", code: 0x31, name: "\\ |" },
                { tag: "backslash as 0x32 from older profiles", code: 0x32, name: "\\ |" },
                { tag: "right arrow", code: 0x4F, name: "\u25BA" },
                { tag: "F24", code: 0x73, name: "F24" },
                { tag: "no name", code: 0x74, name: undefined },
            ]
        }
        function test_names(data) {
            compare(keyNames.keycodeTostr(data.code), data.name)
        }
        function test_backslashNameAssignsTheTableCode() {
            compare(keyNames.strTokeycode("\\ |"), 0x31)
            compare(keyNames.strTokeycode("KP 7"), undefined)
            compare(keyNames.strTokeycode("a"), undefined)
        }
        function test_mouseNames() {
            compare(keyNames.strTomousecode("MS-B5"), 0xF4)
            compare(keyNames.mousecodeTostr(0xF0), "MS-L")
            compare(keyNames.keycodeTostr(0xF0), undefined)
        }
        function test_everyKeyboardNameMapsBack() {
            var count = 0
            for (var code in keyNames.keycode2str) {
                ++count
                var back = keyNames.strTokeycode(keyNames.keycode2str[code])
                compare(back, Number(code) === 0x32 ? 0x31 : Number(code))
            }
            compare(count, 128, "127 names of the table and the second backslash code")
        }
        function test_logByte_data() {
            return [
                { tag: "none", value: 0, position: 0 },
                { tag: "bit 0", value: 1, position: 1 },
                { tag: "lowest of several", value: 0x0C, position: 3 },
                { tag: "bit 7", value: 0x80, position: 8 },
                { tag: "only the low byte", value: 0x100, position: 0 },
            ]
        }
        function test_logByte(data) {
            compare(keyNames.logByte(data.value), data.position)
        }
    }

    TestCase {
        name: "KeyInputs"
        when: windowShown

        function test_capture_data() {
            return [
                { tag: "named key", code: 0x04, stored: 0x04, text: "KEY \u3010 A \u3011" },
                { tag: "backslash as 0x31", code: 0x31, stored: 0x31, text: "KEY \u3010 \\ | \u3011" },
                { tag: "code without a name", code: 0x74, stored: 0, text: "KEY\u3010 PRESS ANY \u3011" },
            ]
        }
        function test_capture(data) {
            captureSpy.clear()
            capture.tmpKeycodeUSB = 0
            capture.detectKeyboard(true, data.code)
            compare(captureSpy.count, 0, "not capturing before the click")
            mouseClick(capture)
            verify(capture.isCapturing)
            capture.detectKeyboard(true, data.code)
            verify(!capture.isCapturing)
            compare(capture.tmpKeycodeUSB, data.stored)
            compare(captureSpy.count, 1)
            compare(captureSpy.signalArguments[0][0], data.stored)
            compare(capture.keyName === "" ? "KEY\u3010 PRESS ANY \u3011" : "KEY \u3010 " + capture.keyName + " \u3011", data.text)
        }
        function test_secondClickLeavesCaptureEmpty() {
            capture.tmpKeycodeUSB = 0x04
            mouseClick(capture)
            compare(capture.tmpKeycodeUSB, 0)
            verify(capture.isCapturing)
            mouseClick(capture)
            verify(!capture.isCapturing)
        }
        function test_display_data() {
            return [
                { tag: "key", code: 0x29, stored: 0x29, name: "Esc" },
                { tag: "mouse button", code: 0xF2, stored: 0xF2, name: "MS-M" },
                { tag: "no name", code: 0x00, stored: -1, name: "" },
            ]
        }
        function test_display(data) {
            display.setKeycodeUSB(data.code)
            compare(display.keycodeUSB, data.stored)
            compare(display.keyName, data.name)
            mouseClick(display)
            compare(display.keycodeUSB, -1)
        }
    }

    TestCase {
        name: "Lists"
        when: windowShown

        function init() {
            files.setRows(["alpha", { textX: "beta", textR: "3" }, "gamma"])
            renameSpy.clear()
            rightSpy.clear()
        }
        function row(index) {
            var found = null
            tryVerify(function() { found = findChild(files, "files_row" + index); return found !== null }, 2000)
            return found
        }
        function test_selectionAndRightClick() {
            compare(files.currentIndex, -1)
            mouseClick(row(1))
            compare(files.currentIndex, 1)
            mouseClick(row(2), 5, 5, Qt.RightButton)
            compare(rightSpy.count, 1)
            compare(rightSpy.signalArguments[0][0], 2)
        }
        function test_rename_data() {
            return [
                { tag: "Return stores", typed: "delta", key: Qt.Key_Return, name: "delta", signals: 1 },
                { tag: "Enter stores", typed: "delta", key: Qt.Key_Enter, name: "delta", signals: 1 },
                { tag: "leaving restores", typed: "delta", key: 0, name: "beta", signals: 0 },
                { tag: "empty name restores", typed: "", key: Qt.Key_Return, name: "beta", signals: 0 },
            ]
        }
        function test_rename(data) {
            var editedRow = row(1)
            files.editFileName(1)
            var editor = null
            for (var i = 0; i < editedRow.children.length; ++i)
                if (editedRow.children[i].activeFocus)
                    editor = editedRow.children[i]
            verify(editor, "the row's name is open for editing")
            editor.selectAll()
            editor.remove(0, editor.text.length)
            for (var k = 0; k < data.typed.length; ++k)
                keyClick(data.typed.charAt(k))
            if (data.key !== 0)
                keyClick(data.key)
            else
                editor.focus = false
            compare(files.editingIndex, -1)
            compare(files.textAt(1), data.name)
            compare(renameSpy.count, data.signals)
            if (data.signals > 0)
                compare([renameSpy.signalArguments[0][0], renameSpy.signalArguments[0][1]], ["beta", "delta"])
        }
        function test_dropdownPicksAndCloses() {
            pickSpy.clear()
            mouseClick(dropdown)
            verify(dropdown.isOpen)
            mouseClick(findChild(dropdown, "dropdown_item2"))
            verify(!dropdown.isOpen)
            compare(dropdown.getCurIndex(), 2)
            compare(dropdown.currentText, "THREE")
            compare(pickSpy.signalArguments[0][0], 2)
        }
    }

    // Long lists in boxes of the page sizes: MEDIA's 18 entries in ten rows, the ANDS3325's
    // 18 DPI values in the stage menu's ten rows, 17 macro steps in the action list's box.
    Component {
        id: longDropdown
        DropdownList { objectName: "longList"; maxRows: 10 }
    }
    Component {
        id: longStageMenu
        ButtonGroupPro_8 { objectName: "longList"; width: 400; height: 40 }
    }
    Component {
        id: longFileList
        FileList { objectName: "longList"; width: 216; height: 392; rowHeight: 24 }
    }

    TestCase {
        name: "LongLists"
        when: windowShown

        function entries(count) {
            var list = []
            for (var i = 0; i < count; ++i)
                list.push("ENTRY " + (i + 1))
            return list
        }
        // The control with `count` entries, opened, and the names of its bar and rows.
        function openList(kind, count) {
            var place = { x: 560, y: 60, z: 500 }
            if (kind === "dropdown") {
                place.model = entries(count)
                var dropdown = createTemporaryObject(longDropdown, parent, place)
                mouseClick(dropdown)
                return { control: dropdown, bar: "longList_scrollBar", row: "longList_item" }
            }
            if (kind === "stage menu") {
                place.menuItems = entries(count)
                var stages = createTemporaryObject(longStageMenu, parent, place)
                mouseClick(findChild(stages, "longList_0"), 10, 10, Qt.RightButton)
                return { control: stages, bar: "longList_menuScrollBar", row: "longList_menu" }
            }
            var files = createTemporaryObject(longFileList, parent, place)
            files.setRows(entries(count))
            return { control: files, bar: "longList_scrollBar", row: "longList_row" }
        }
        function inView(view, row) {
            var top = row.mapToItem(view, 0, 0).y
            return top >= -0.5 && top + row.height <= view.height + 0.5
        }

        function test_lastEntryReachedAndPicked_data() {
            var table = []
            var kinds = ["dropdown", "stage menu", "file list"]
            for (var k = 0; k < kinds.length; ++k) {
                var count = kinds[k] === "file list" ? 17 : 18
                table.push({ tag: kinds[k] + ", wheel", kind: kinds[k], count: count, way: "wheel", bar: true })
                table.push({ tag: kinds[k] + ", bar dragged", kind: kinds[k], count: count, way: "drag", bar: true })
                table.push({ tag: kinds[k] + ", bar pressed below the thumb", kind: kinds[k], count: count, way: "press", bar: true })
                table.push({ tag: kinds[k] + ", short: no bar", kind: kinds[k], count: 5, way: "none", bar: false })
            }
            return table
        }
        function test_lastEntryReachedAndPicked(data) {
            var list = openList(data.kind, data.count)
            var bar = null
            tryVerify(function() { bar = findChild(list.control, list.bar); return bar !== null }, 2000)
            var view = bar.view
            var last = null
            tryVerify(function() { last = findChild(list.control, list.row + (data.count - 1)); return last !== null }, 2000)
            compare(bar.visible, data.bar)
            compare(inView(view, last), !data.bar, "the last entry starts out of view exactly when the bar shows")
            var thumb = findChild(bar, list.bar + "_thumb")
            if (data.way === "wheel") {
                for (var i = 0; i < 40 && !inView(view, last); ++i) {
                    mouseWheel(view, view.width / 2, view.height / 2, 0, -120)
                    tryVerify(function() { return !view.moving }, 3000)
                }
            } else if (data.way === "drag") {
                mouseDrag(thumb, 1, 2, 0, bar.height)
            } else if (data.way === "press") {
                mouseClick(bar, bar.width / 2, bar.height - 2)
            }
            tryVerify(function() { return !view.moving && inView(view, last) }, 3000)
            if (data.bar)
                compare(thumb.y + thumb.height, bar.height, "the thumb sits at the end")
            mouseClick(last)
            if (data.kind === "dropdown") {
                compare(list.control.currentIndex, data.count - 1)
                verify(!list.control.isOpen)
            } else if (data.kind === "stage menu") {
                compare(list.control.menuStage, -1)
            } else {
                compare(list.control.currentIndex, data.count - 1)
            }
        }

        function test_dropdownOpensWithTheCurrentEntryInView() {
            var dropdown = createTemporaryObject(longDropdown, parent, { x: 560, y: 60, z: 500, model: entries(18), currentIndex: 15 })
            mouseClick(dropdown)
            var current = null
            tryVerify(function() { current = findChild(dropdown, "longList_item15"); return current !== null }, 2000)
            verify(inView(findChild(dropdown, "longList_scrollBar").view, current))
        }
    }

    TestCase {
        name: "DisabledLook"

        function test_ownDisablingDims() {
            check.enabled = false
            compare(check.opacity, 0.2)
            check.enabled = true
            compare(check.opacity, 1.0)
        }
        function test_disabledRegionDimsOnlyOnce() {
            var region = Qt.createQmlObject('import QtQuick 2.15; import "qrc:/modules/qml/common"; '
                                            + 'Item { enabled: false; property alias box: inner; Checkbox { id: inner } }', check)
            compare(region.box.enabled, false)
            compare(region.box.opacity, 1.0)
            region.destroy()
        }
    }

    TestCase {
        name: "ClickCues"
        when: windowShown

        function test_checkboxTogglesWithTheClickCue() {
            var before = sceneTest.cues.length
            var wasSelected = check.isSelect
            mouseClick(check)
            compare(check.isSelect, !wasSelected)
            compare(sceneTest.cues[sceneTest.cues.length - 1], 4)
            compare(sceneTest.cues.length, before + 1)
        }
    }

    TestCase {
        name: "Groups"
        when: windowShown

        function test_buttonGroup4EmitsTheClickedSegment() {
            group4Spy.clear()
            var before = sceneTest.cues.length
            mouseClick(findChild(group4, "group4_2"))
            compare(group4Spy.count, 1)
            compare(group4Spy.signalArguments[0][0], 2)
            compare(sceneTest.cues.length, before + 1)
            compare(group4.currentIndex, 0, "the owner decides the selection")
        }

        function test_stages_data() {
            return [
                { tag: "left click selects", button: Qt.LeftButton, clicked: 1, menuOpen: false },
                { tag: "right click opens the value menu", button: Qt.RightButton, clicked: 0, menuOpen: true },
            ]
        }
        function test_stages(data) {
            stageSpy.clear()
            stages.closeMenu()
            mouseClick(findChild(stages, "stages_5"), 10, 10, data.button)
            compare(stageSpy.count, data.clicked)
            compare(stages.menuStage >= 0, data.menuOpen)
            if (data.clicked > 0)
                compare(stageSpy.signalArguments[0][0], 5)
        }

        function test_valueMenuPicksForItsStage() {
            stageValueSpy.clear()
            mouseClick(findChild(stages, "stages_3"), 10, 10, Qt.RightButton)
            var entry = null
            tryVerify(function() { entry = findChild(stages, "stages_menu2"); return entry !== null }, 2000)
            mouseClick(entry)
            compare(stageValueSpy.count, 1)
            compare([stageValueSpy.signalArguments[0][0], stageValueSpy.signalArguments[0][1]], [3, 2])
            compare(stages.menuStage, -1)
        }

        function test_fileListButtonAsksForRowsBeforeOpening() {
            updateSpy.clear()
            fileButtonSpy.clear()
            fileButton.requestToUpdateList.connect(function() { fileButton.setRows(["one", "two"]) })
            mouseClick(fileButton)
            compare(updateSpy.count, 1)
            verify(fileButton.isOpen)
            var row = null
            tryVerify(function() { row = findChild(fileButton, "fileButton_list_row1"); return row !== null }, 2000)
            mouseClick(row)
            verify(!fileButton.isOpen)
            compare(fileButton.currentText, "two")
            compare(fileButtonSpy.signalArguments[0][0], 1)
        }
    }

    TestCase {
        name: "QuestionSheet"
        when: windowShown

        function askAndRecord(safeIndex) {
            var answers = []
            verify(Questions.ask("RESET P01?", "The profile's settings go back to the factory ones.",
                                 ["RESET", "CANCEL"], safeIndex, function(choice) { answers.push(choice) }))
            return answers
        }

        function test_answer_data() {
            return [
                { tag: "click the dangerous choice", click: 0, key: 0, expected: 0 },
                { tag: "click the safe choice", click: 1, key: 0, expected: 1 },
                { tag: "Esc gives the safe choice", click: -1, key: Qt.Key_Escape, expected: 1 },
            ]
        }
        function test_answer(data) {
            var answers = askAndRecord(1)
            verify(questionSheet.visible)
            waitForRendering(questionSheet)     // the row places its buttons on the next polish
            verify(findChild(questionSheet, "questionChoice1").primary)
            verify(!findChild(questionSheet, "questionChoice0").primary)
            if (data.click >= 0)
                mouseClick(findChild(questionSheet, "questionChoice" + data.click))
            else
                keyClick(data.key)
            compare(answers, [data.expected])
            verify(!questionSheet.visible)
        }

        function test_veilTakesClicksMeantForControlsBeneath() {
            var answers = askAndRecord(1)
            group4Spy.clear()
            mouseClick(group4, 10, 10)
            compare(group4Spy.count, 0)
            compare(answers, [])
            Questions.cancel()
            compare(answers, [1])
        }

        function test_secondQuestionGetsItsSafeAnswerAtOnce() {
            var first = askAndRecord(1)
            var second = []
            verify(!Questions.ask("LOAD?", "", ["LOAD", "CANCEL"], 1, function(choice) { second.push(choice) }))
            compare(second, [1])
            compare(Questions.heading, "RESET P01?")
            Questions.answer(0)
            compare(first, [0])
        }
    }

    TestCase {
        name: "Keys"
        when: windowShown

        function test_sliderArrows_data() {
            return [
                { tag: "right from the middle", from: 4, key: Qt.Key_Right, position: 5, signals: 1 },
                { tag: "down from the middle", from: 4, key: Qt.Key_Down, position: 3, signals: 1 },
                { tag: "right at the end", from: 7, key: Qt.Key_Right, position: 7, signals: 0 },
                { tag: "left at the start", from: 0, key: Qt.Key_Left, position: 0, signals: 0 },
                { tag: "home", from: 5, key: Qt.Key_Home, position: 0, signals: 1 },
                { tag: "end", from: 2, key: Qt.Key_End, position: 7, signals: 1 },
            ]
        }
        function test_sliderArrows(data) {
            slider8.position = data.from
            slider8.forceActiveFocus()
            sliderSpy.clear()
            keyClick(data.key)
            compare(slider8.position, data.position)
            compare(sliderSpy.count, data.signals)
        }

        function test_spaceToggles() {
            check.isSelect = false
            check.forceActiveFocus()
            keyClick(Qt.Key_Space)
            verify(check.isSelect)
            keyClick(Qt.Key_Return)
            verify(!check.isSelect)
        }

        // Down opens, the arrows move, Return picks; Esc closes without picking.
        function test_dropdownKeys() {
            dropdown.currentIndex = 0
            dropdown.forceActiveFocus()
            pickSpy.clear()
            keyClick(Qt.Key_Down)
            verify(dropdown.isOpen)
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Down)
            keyClick(Qt.Key_Return)
            verify(!dropdown.isOpen)
            compare(dropdown.currentIndex, 2)
            compare(pickSpy.count, 1)
            keyClick(Qt.Key_Space)
            verify(dropdown.isOpen)
            keyClick(Qt.Key_Up)
            keyClick(Qt.Key_Escape)
            verify(!dropdown.isOpen)
            compare(dropdown.currentIndex, 2)
            compare(pickSpy.count, 1)
        }

        // While listening, Tab stays in the field and the first key down is the key: a key
        // released from before does not count.
        function test_captureKeepsTab() {
            capture.isCapturing = false
            capture.forceActiveFocus()
            captureSpy.clear()
            keyClick(Qt.Key_Space)
            verify(capture.isCapturing)
            keyClick(Qt.Key_Tab)
            verify(capture.activeFocus)
            capture.detectKeyboard(false, 0x2C)
            verify(capture.isCapturing)
            capture.detectKeyboard(true, 0x2B)
            verify(!capture.isCapturing)
            compare(captureSpy.signalArguments[0][0], 0x2B)
            keyClick(Qt.Key_Tab)
            verify(!capture.activeFocus)
        }

        function test_focusRingOnlyWithFocus() {
            check.forceActiveFocus()
            var rings = []
            for (var i = 0; i < check.children.length; ++i)
                if (check.children[i].border !== undefined && check.children[i].border.width === 2)
                    rings.push(check.children[i])
            compare(rings.length, 1)
            verify(rings[0].visible)
            slider8.forceActiveFocus()
            verify(!rings[0].visible)
        }
    }
}
