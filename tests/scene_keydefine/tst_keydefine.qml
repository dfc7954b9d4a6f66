import QtQuick 2.15
import QtTest 1.2
import W3.Actions 1.0
import "qrc:/modules/qml/common"
import "qrc:/modules/qml/W3"

// The key page on the test view: its codes are KeyActions' over the virtual mouse; what it
// does is read from the wire, the macro files and the questions asked.
Item {
    id: scene
    width: 710
    height: 472

    Page_Keydefine { id: page }
    SignalSpy { id: lockSpy; target: page; signalName: "protectUI" }

    readonly property var leftClick: [1, 0, 0xF0, 0]
    readonly property var rightClick: [1, 0, 0xF1, 0]
    readonly property var zeros: [0, 0, 0, 0]
    readonly property var namesOfTheMouse: ["LEFT BUTTON", "RIGHT BUTTON", "MIDDLE BUTTON", "BACKWARD", "FORWARD",
        "DPI UP", "DPI DOWN", "", "", "", "", "", "", "", "SCROLL UP", "SCROLL DOWN"]
    readonly property string defaultsFile: "modules/setting/pD.bin"
    readonly property int setMatrix: 0x12
    readonly property int setMacro: 0x13
    readonly property int setFunctionOption: 0x03
    readonly property int scrollSwapBit: 0x40
    property string factoryDefaults: ""

    // Set-up outside a test case: a file that cannot be written stops the test.
    function written(relative, text) {
        if (!sceneTest.writeFile(relative, text))
            throw new Error("cannot write " + relative)
    }

    function profileText(codes, swap) {
        var lines = ["[keydefine_W3]"]
        for (var slot in codes)
            lines.push(slot + "=" + codes[slot].join(", "))
        if (swap)
            lines.push("scrollswap=true")
        return lines.join("\n") + "\n"
    }

    // The current profile holds only `codes` (slot -> code) and the wheel direction `swap`; the
    // default profile is empty, so every other button has its built-in code.
    function storeProfile(codes, swap) {
        written(defaultsFile, profileText(codes, swap))
        ui_View.resetProfile(sceneTest.currentProfile)
        written(defaultsFile, "")
    }

    // The macro library holds exactly `macros` (name -> slot, -1 unbound), bound on this mouse.
    function storeMacros(macros) {
        var files = ui_View.getMacroIniNames()
        for (var i = 0; i < files.length; ++i)
            ui_View.deleteMacroIni(String(files[i]).slice(0, -4))
        for (var name in macros) {
            written("modules/macro/" + name + ".bin", "[config]\ntotal=2\n[macro]\n0=A    [Down]\n1=A      [Up]\n")
            ui_View.setMacroIniConfig(name, [macros[name], 1])
        }
    }

    // A fresh page on a profile holding `codes` (slot -> code) and the given macros.
    function startPage(codes, macros, swap) {
        if (factoryDefaults === "")
            factoryDefaults = sceneTest.readFile(defaultsFile)
        Theme.productStrings = []
        storeProfile(codes, swap)
        storeMacros(macros || {})
        KeyActions.start()
        page.selectedPosition = 0
        page.initUI([])
        sceneTest.confirmAnswer = true
        sceneTest.clearRecords()
    }

    function restoreDefaults() {
        if (factoryDefaults !== "")
            sceneTest.writeFile(defaultsFile, factoryDefaults)
    }

    function codeOf(slot) { return page.buttons.code(slot) }
    function macroConfig(name) { return ui_View.loadMacroIniConfig(name).map(Number) }
    function macroCodesOnSlots(first, count) {
        var codes = {}
        for (var i = 0; i < count; ++i)
            codes[first + i] = [9, 0, i + 1, 0]
        return codes
    }
    function sent(command) {
        return sceneTest.sentCommands().filter(function(block) { return block[0] === command })
    }
    function commandOrder() {
        return sceneTest.sentCommands().map(function(block) { return block[0] })
    }
    // Nothing reached the mouse that changes it.
    function nothingSent() {
        return sent(setMatrix).length + sent(setMacro).length + sent(setFunctionOption).length === 0
    }

    TestCase {
        name: "KeyPageShowsCodes"
        when: windowShown

        function test_codeToMenus_data() {
            return [
                { tag: "keyboard A", code: [0, 0, 4, 0], fn: 0, check: function () { return keyInput().tmpKeycodeUSB === 4 } },
                { tag: "mouse right", code: [1, 0, 0xF1, 0], fn: 1, check: function () { return menu("mouseMenu").currentIndex === 1 } },
                { tag: "triple click", code: [0x0A, 0xF0, 0x21, 3], fn: 1, check: function () { return menu("mouseMenu").currentIndex === 5 } },
                { tag: "dpi switch", code: [7, 0, 3, 0], fn: 1, check: function () { return menu("mouseMenu").currentIndex === 8 } },
                { tag: "scroll down", code: [4, 0, 2, 0], fn: 1, check: function () { return menu("mouseMenu").currentIndex === 10 } },
                { tag: "media www back", code: [3, 0, 0x24, 0x02], fn: 2, check: function () { return menu("mediaMenu").currentIndex === 13 } },
                { tag: "media usage not in the table", code: [3, 0, 0x99, 0x01], fn: 2, check: function () { return menu("mediaMenu").currentIndex === -1 } },
                { tag: "combo L Alt + R Win, two keys", code: [0, 0x84, 4, 5], fn: 3, check: function () {
                    return menu("modifierMenu").currentIndex === 3 && find("comboKey1").tmpKeycodeUSB === 4 && find("comboKey2").tmpKeycodeUSB === 5 } },
                { tag: "combo R Win alone", code: [0, 0x80, 0, 0], fn: 3, check: function () { return menu("modifierMenu").currentIndex === 8 } },
                { tag: "fire key mouse forward", code: [0x0A, 0xF4, 80, 7], fn: 5, check: function () {
                    return menu("fireMouseMenu").currentIndex === 4 && page.fireSpeedStep === 5 && page.fireCount === 7 } },
                { tag: "fire key keyboard", code: [0x0A, 0x2C, 255, 0], fn: 5, check: function () {
                    return menu("fireMouseMenu").currentIndex === -1 && find("fireKeyInput").tmpKeycodeUSB === 0x2C && page.fireSpeedStep === 0 } },
                { tag: "led control", code: [0x0B, 0, 0, 0], fn: 6, check: function () { return true } },
                { tag: "unknown type", code: [0x05, 0, 3, 0], fn: -1, check: function () {
                    return menu("mouseMenu").currentIndex === -1 && menu("mediaMenu").currentIndex === -1 } },
            ]
        }

        function find(name) { return findChild(page, name) }
        function menu(name) { return find(name) }
        function keyInput() { return find("keyboardInput") }

        function test_codeToMenus(data) {
            startPage({ 0: data.code })
            compare(page.functionIndex, data.fn)
            verify(data.check(), "second-level menus for " + data.tag)
        }

        function test_macroCodeShowsTheMacroOfThatSlot() {
            startPage({ 0: [9, 2, 4, 0] }, { "Other": 0, "Bound": 3 })
            compare(page.functionIndex, 4)
            compare(findChild(page, "macroMenu").currentText, "Bound")
            compare(findChild(page, "playModeMenu").currentIndex, 2)
        }

        function cleanupTestCase() { restoreDefaults() }

        function test_startUpUsesTheDefaultProfileForMissingEntries() {
            storeProfile({ 0: leftClick })
            var middle = {}
            for (var slot = 0; slot < 16; ++slot)
                middle[slot] = [1, 0, 242, 0]
            verify(sceneTest.writeFile(defaultsFile, profileText(middle)))
            KeyActions.start()
            compare(codeOf(0), leftClick)
            compare(codeOf(9), [1, 0, 242, 0])
            verify(sceneTest.writeFile(defaultsFile, ""))
        }

        function test_buttonMenuFollowsTheProductNames() {
            startPage({})
            compare(page.buttons.buttonSlots, [0, 1, 2, 3, 4, 5, 6, 14, 15])
            compare(page.buttons.buttonNames[8], "KEY \uFF19")
            Theme.productStrings = namesOfTheMouse
            page.translateStrings()
            compare(page.selectedPosition, 3)
            compare(page.selectedSlot, 3)
            compare(page.buttons.buttonNames[7], "SCROLL UP")
            Theme.productStrings = []
        }

        function test_labelsFollowTheLanguage() {
            var strings = []
            for (var i = 0; i <= 116; ++i)
                strings.push("")
            strings[47] = "\u9F20\u6807"
            strings[115] = "DPI \u52A0"
            Theme.strings = strings
            compare(page.functionLabels[1], "\u9F20\u6807")
            compare(page.functionLabels[0], "KEYBOARD", "an empty entry keeps the built-in text")
            compare(page.mouseLabels[6], "DPI \u52A0")
            Theme.strings = []
            compare(page.functionLabels[1], "MOUSE")
        }

        function test_clickingACalloutSelectsItsButton() {
            startPage({ 14: [4, 0, 1, 0] })
            mouseClick(findChild(page, "callout_14"))
            compare(page.selectedSlot, 14)
            compare(page.functionIndex, 1)
            compare(findChild(page, "mouseMenu").currentIndex, 9)
            var area = findChild(page, "buttonArea_1")
            mouseClick(area, 5, area.height - 5)
            compare(page.selectedSlot, 1)
        }

        function test_buttonMenuAndCalloutsAgree() {
            startPage({})
            var menu = findChild(page, "buttonMenu")
            mouseClick(menu)
            mouseClick(findChild(page, "buttonMenu_item2"))
            compare(page.selectedSlot, 2)
            mouseClick(findChild(page, "callout_15"))
            compare(menu.currentIndex, 8)
            compare(menu.currentText, "9  KEY \uFF19")
        }
    }

    TestCase {
        name: "KeyPageBuildsCodes"
        when: windowShown

        function cleanupTestCase() { restoreDefaults() }

        function find(name) { return findChild(page, name) }
        function chooseFromMenu(name, index) {
            var menu = find(name)
            mouseClick(menu)
            var row = find(name + "_item" + index)
            verify(row, name + " row " + index)
            mouseClick(row)
        }

        function init() { startPage({ 0: leftClick, 1: leftClick, 2: rightClick }) }

        function test_keyboardKeyFromACapturedPress() {
            page.chooseFunction(0)
            mouseClick(find("keyboardInput"))
            page.keyEvent(true, 0x04)
            compare(codeOf(0), [0, 0, 4, 0])
            compare(sent(setMatrix).length, 0, "nothing reaches the device before APPLY")
        }

        function test_keyWithoutANameIsIgnored() {
            page.chooseFunction(0)
            mouseClick(find("keyboardInput"))
            page.keyEvent(true, 0x74)
            compare(codeOf(0), leftClick)
        }

        function test_mouseMenu_data() {
            return [
                { tag: "TRIPLE CLICK", entry: 5, code: [0x0A, 0xF0, 0x21, 3] },
                { tag: "DPI -", entry: 7, code: [7, 0, 2, 0] },
                { tag: "SCROLL UP", entry: 9, code: [4, 0, 1, 0] },
                { tag: "FORWARD", entry: 4, code: [1, 0, 0xF4, 0] },
            ]
        }
        function test_mouseMenu(data) {
            page.selectSlot(2)
            chooseFromMenu("mouseMenu", data.entry)
            compare(codeOf(2), data.code)
        }

        function test_mediaMenu_data() {
            return [
                { tag: "NEXT TRACK", entry: 0, code: [3, 0, 0xB5, 0] },
                { tag: "MEDIA SELECT", entry: 7, code: [3, 0, 0x83, 0x01] },
                { tag: "WWW FAVORITES", entry: 17, code: [3, 0, 0x2A, 0x02] },
            ]
        }
        function test_mediaMenu(data) {
            page.selectSlot(2)
            page.chooseFunction(2)
            page.chooseMediaEntry(data.entry)
            compare(codeOf(2), data.code)
        }

        function test_comboOnEveryChange() {
            page.selectSlot(2)
            page.chooseFunction(3)
            chooseFromMenu("modifierMenu", 8)
            compare(codeOf(2), [0, 0x80, 0, 0], "R Win alone")
            mouseClick(find("comboKey1"))
            page.keyEvent(true, 0x06)
            compare(codeOf(2), [0, 0x80, 6, 0])
            mouseClick(find("comboKey2"))
            page.keyEvent(true, 0x19)
            compare(codeOf(2), [0, 0x80, 6, 0x19])
            chooseFromMenu("modifierMenu", 1)
            compare(codeOf(2), [0, 0x01, 6, 0x19])
        }

        function test_fireKeySpeedSteps_data() {
            return [
                { tag: "step 7 sends 10", step: 7, speed: 10 },
                { tag: "step 0 sends 255", step: 0, speed: 255 },
                { tag: "step 2 sends 185", step: 2, speed: 185 },
            ]
        }
        function test_fireKeySpeedSteps(data) {
            page.selectSlot(2)
            page.chooseFunction(5)
            compare(page.fireCount, 10)
            page.chooseFireMouseButton(1)
            var slider = find("fireSpeed")
            mouseClick(slider, Math.floor(data.step / 7 * (slider.width - 1)), slider.height / 2)
            compare(codeOf(2), [0x0A, 0xF1, data.speed, 10])
        }

        // The slider starts at its default, the fastest step, and so does the code.
        function test_newFireKeyStartsAtTheSlidersDefault() {
            page.selectSlot(2)
            page.chooseFunction(5)
            compare(find("fireSpeed").position, 7)
            page.chooseFireMouseButton(0)
            compare(codeOf(2), [0x0A, 0xF0, 10, 10])
        }

        function test_fireKeyWithAKeyboardKeyAndCount() {
            page.selectSlot(2)
            page.chooseFunction(5)
            page.fireSpeedStep = 3
            compare(codeOf(2), rightClick, "no code before a key is chosen")
            mouseClick(find("fireKeyInput"))
            page.keyEvent(true, 0x2C)
            compare(codeOf(2), [0x0A, 0x2C, 150, 10])
            var count = find("fireCount_editor")
            mouseClick(count)
            keyClick(Qt.Key_A, Qt.ControlModifier)
            keyClick(Qt.Key_2)
            keyClick(Qt.Key_5)
            keyClick(Qt.Key_Return)
            compare(codeOf(2), [0x0A, 0x2C, 150, 25])
        }

        function test_ledControlAtOnce() {
            page.selectSlot(2)
            mouseClick(find("function_6"))
            compare(codeOf(2), [0x0B, 0, 0, 0])
        }
    }

    TestCase {
        name: "KeyPageLeftClickGuard"
        when: windowShown

        function cleanupTestCase() { restoreDefaults() }

        function test_lastLeft_data() {
            return [
                { tag: "declined keeps LEFT", codes: { 0: leftClick, 1: rightClick }, answer: false, asked: 1, fn: 1, code: leftClick },
                { tag: "confirmed lets it go", codes: { 0: leftClick, 1: rightClick }, answer: true, asked: 1, fn: 0, code: leftClick },
                { tag: "another named LEFT needs no question", codes: { 0: leftClick, 4: leftClick }, answer: false, asked: 0, fn: 0, code: leftClick },
                { tag: "an unnamed LEFT does not count", codes: { 0: leftClick, 9: leftClick }, answer: false, asked: 1, fn: 1, code: leftClick },
            ]
        }

        function test_lastLeft(data) {
            startPage(data.codes)
            sceneTest.confirmAnswer = data.answer
            page.chooseFunction(0)
            compare(sceneTest.confirmations, data.asked)
            compare(page.functionIndex, data.fn)
            compare(codeOf(0), data.code)
            if (data.fn === 1)
                compare(findChild(page, "mouseMenu").currentIndex, 0, "menus back on MOUSE / LEFT")
        }

        function test_mouseEntryDeclinedKeepsLeft() {
            startPage({ 0: leftClick })
            sceneTest.confirmAnswer = false
            page.chooseMouseEntry(1)
            compare(codeOf(0), leftClick)
            compare(findChild(page, "mouseMenu").currentIndex, 0)
            page.chooseMouseEntry(0)
            compare(sceneTest.confirmations, 1, "choosing LEFT again takes nothing away")
        }

        function test_resetOfTheLastLeftAsks() {
            startPage({ 0: rightClick, 1: leftClick })
            page.selectSlot(1)
            sceneTest.confirmAnswer = false
            page.resetSelected()
            compare(sceneTest.confirmations, 1)
            compare(codeOf(1), leftClick)
        }
    }

    TestCase {
        name: "KeyPageMacros"
        when: windowShown

        function cleanupTestCase() { restoreDefaults() }

        function chooseMacroNamed(name) {
            page.chooseFunction(4)
            var index = page.macroNames.indexOf(name)
            verify(index >= 0, name)
            page.chooseMacro(index)
        }

        function test_allocation_data() {
            return [
                { tag: "slots 0..2 used gives slot 3", codes: macroCodesOnSlots(1, 3), macros: { "A": 0, "B": 1, "C": 2, "New": -1 },
                  macroId: 4, code: [9, 0, 4, 0] },
                { tag: "second button reuses the macro's slot", codes: { 0: leftClick, 2: [9, 0, 6, 0] }, macros: { "Bound": 5 },
                  name: "Bound", macroId: 6, code: [9, 0, 6, 0] },
                { tag: "a slot number out of range is allocated anew", codes: { 0: leftClick }, macros: { "Odd": 40 },
                  name: "Odd", macroId: 1, code: [9, 0, 1, 0] },
                { tag: "all twelve used leaves the button cleared", codes: macroCodesOnSlots(1, 12), macros: { "New": -1 },
                  macroId: -1, code: [0, 0, 0, 0] },
            ]
        }

        function test_allocation(data) {
            startPage(data.codes, data.macros)
            page.selectSlot(0)
            sceneTest.confirmAnswer = true
            var name = data.name || "New"
            chooseMacroNamed(name)
            compare(codeOf(0), data.code)
            if (data.macroId < 0) {
                compare(sent(setMacro).length, 0)
                compare(macroConfig(name)[0], -1)
                verify(findChild(page, "macroHint").visible, "the page says why the button stays cleared")
                compare(findChild(page, "macroHint").text, "All 12 macro slots of the mouse are in use.")
                return
            }
            var macros = sent(setMacro)
            compare(macros.length, 1, "the macro reaches the mouse once")
            compare(macros[0][1], data.macroId, "under its slot's macro number")
            compare(macroConfig(name), [data.macroId - 1, 1])
        }

        function test_playModeAndRepeat() {
            startPage({ 0: leftClick, 2: rightClick }, { "M": -1 })
            page.selectSlot(2)
            chooseMacroNamed("M")
            compare(codeOf(2), [9, 0, 1, 0])
            page.choosePlayMode(1)
            compare(codeOf(2), [9, 1, 1, 0])
            page.choosePlayMode(0)
            var field = findChild(page, "repeatCount_editor")
            mouseClick(field)
            keyClick(Qt.Key_A, Qt.ControlModifier)
            keyClick(Qt.Key_6); keyClick(Qt.Key_5); keyClick(Qt.Key_5); keyClick(Qt.Key_3); keyClick(Qt.Key_5)
            keyClick(Qt.Key_Return)
            compare(macroConfig("M"), [0, 65535])
            compare(codeOf(2), [9, 0, 1, 0])
        }

        function test_switchingToAnotherMacroFreesTheSlot() {
            startPage({ 0: leftClick, 2: [9, 0, 1, 0] }, { "First": 0, "Second": -1 })
            page.selectSlot(2)
            page.chooseMacro(page.macroNames.indexOf("Second"))
            compare(macroConfig("First")[0], -1)
            compare(macroConfig("Second")[0], 0)
            compare(codeOf(2), [9, 0, 1, 0])
        }

        function test_leavingTheMacroFunctionReleasesItsSlot() {
            startPage({ 0: leftClick, 2: [9, 0, 1, 0], 3: [9, 0, 2, 0] }, { "One": 0, "Two": 1, "Idle": -1 })
            page.selectSlot(2)
            page.chooseFunction(1)
            compare(codeOf(2), zeros)
            compare(macroConfig("One"), [-1, 1])
            compare(macroConfig("Two"), [1, 1], "a macro another button plays keeps its slot")
            verify(nothingSent())
        }

        function test_clickingTheChosenFunctionAgainChangesNothing() {
            startPage({ 0: leftClick, 2: [9, 1, 1, 0] }, { "M": 0 })
            page.selectSlot(2)
            mouseClick(findChild(page, "function_4"))
            compare(codeOf(2), [9, 1, 1, 0])
            compare(macroConfig("M"), [0, 1])
            verify(nothingSent())
        }

        function test_resetOfAMacroButtonReleasesItsSlot() {
            startPage({ 0: leftClick, 3: [9, 0, 1, 0] }, { "M": 0 })
            page.selectSlot(3)
            page.resetSelected()
            compare(codeOf(3), page.buttons.defaultCodes[3])
            compare(macroConfig("M"), [-1, 1])
            verify(nothingSent())
            compare(page.functionIndex, 1)
        }

        function test_allResetRestoresEveryButton() {
            startPage({ 0: rightClick, 5: [9, 0, 3, 0], 12: [0, 0, 4, 0] }, { "M": 2 })
            KeyActions.reset()
            for (var slot = 0; slot < 16; ++slot)
                compare(codeOf(slot), page.buttons.defaultCodes[slot])
            compare(macroConfig("M")[0], -1)
        }
    }

    TestCase {
        name: "KeyPageApply"
        when: windowShown

        function cleanupTestCase() { restoreDefaults() }

        function test_applySendsSwapThenTheMatrix() {
            startPage({ 0: leftClick, 1: [3, 0, 0xB5, 0], 15: [0x0B, 0, 0, 0] }, {}, true)
            mouseClick(findChild(page, "keyApplyButton"))
            var order = commandOrder()
            verify(order.indexOf(setFunctionOption) >= 0 && order.indexOf(setFunctionOption) < order.indexOf(setMatrix),
                   "the wheel direction, then the matrix: " + order)
            compare(sent(setMatrix).length, 1)
            verify(sent(setFunctionOption)[0][3] & scrollSwapBit, "the wheel direction is swapped")
            var matrix = sceneTest.sentData(setMatrix)
            compare(matrix.length, 64)
            compare(matrix.slice(0, 8), [1, 0, 0xF0, 0, 3, 0, 0xB5, 0])
            compare(matrix.slice(60, 64), [0x0B, 0, 0, 0])
        }

        // APPLY with a function whose choice is not made says so and sends nothing.
        function test_applyRefusesAnUnfinishedChoice_data() {
            return [
                { tag: "MACRO without a macro", fn: 4, reason: "Choose a macro first." },
                { tag: "KEYBOARD without a key", fn: 0, reason: "Finish this button's choice first." },
                { tag: "LED CONTROL is complete", fn: 6, reason: "" },
            ]
        }
        function test_applyRefusesAnUnfinishedChoice(data) {
            startPage({ 0: leftClick, 2: rightClick }, { "M": -1 })
            page.selectSlot(2)
            mouseClick(findChild(page, "function_" + data.fn))
            sceneTest.clearRecords()
            lockSpy.clear()
            mouseClick(findChild(page, "keyApplyButton"))
            var hint = findChild(page, "applyHint")
            if (data.reason === "") {
                compare(lockSpy.count, 1)
                compare(sent(setMatrix).length, 1)
                verify(!hint.visible)
                return
            }
            compare(lockSpy.count, 0, "no LOADING lock")
            verify(nothingSent())
            verify(hint.visible)
            compare(hint.text, data.reason)
            compare(page.functionIndex, data.fn, "the choice stays open")
        }

        function test_profileSwitchDiscardsUnappliedChanges() {
            startPage({ 0: leftClick, 2: rightClick })
            page.selectSlot(2)
            page.chooseMouseEntry(2)
            compare(codeOf(2), [1, 0, 0xF2, 0])
            KeyActions.refresh()
            compare(codeOf(2), rightClick)
            compare(sent(setMatrix).length, 0)
        }
    }
}
