import QtQuick 2.15
import W3.Logic 1.0
import W3.Actions 1.0
import "qrc:/modules/qml/common"

// The key page: gives each mouse button a function. It shows the codes KeyActions holds and
// hands every choice to it; only the menus' unfinished choices live here. Codes reach the
// mouse on APPLY; only macro contents reach it earlier, when a macro is bound.
Item {
    id: page
    objectName: "Page_Keydefine"
    width: 710
    height: 472

    // Positions in the function menu (KeyCodes.Function).
    readonly property int fnKeyboard: 0
    readonly property int fnMouse: 1
    readonly property int fnMedia: 2
    readonly property int fnCombo: 3
    readonly property int fnMacro: 4
    readonly property int fnFire: 5
    readonly property int fnLed: 6
    readonly property int firstMouseButton: 0xF0
    readonly property int normalPlay: 0
    // A new fire key starts where the speed slider starts: its default, the fastest step.
    readonly property int defaultFireSpeedStep: 7

    property int selectedPosition: 0
    readonly property int selectedSlot: keyModel.buttonSlots[selectedPosition] !== undefined
                                        ? keyModel.buttonSlots[selectedPosition] : 0
    property int functionIndex: -1
    property var macroNames: []
    property int repeatCount: 1
    property int fireKey: 0
    property int fireSpeedStep: defaultFireSpeedStep
    property int fireCount: 10
    readonly property bool pending: KeyActions.pending

    readonly property var functionLabels: [Theme.text(46, "KEYBOARD"), Theme.text(47, "MOUSE"), Theme.text(48, "MEDIA"),
        Theme.text(49, "COMBO KEY"), Theme.text(50, "MACRO"), Theme.text(93, "FIRE KEY"), Theme.text(111, "LED CONTROL")]
    readonly property var mouseLabels: textsOf([51, 52, 53, 54, 55, 94, 115, 116, 95, 109, 110],
        ["LEFT", "RIGHT", "MIDDLE", "BACKWARD", "FORWARD", "TRIPLE CLICK", "DPI +", "DPI \u2212", "DPI SWITCH",
         "SCROLL UP", "SCROLL DOWN"])
    readonly property var mediaLabels: textsOf([56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70, 71, 72, 73],
        ["NEXT TRACK", "PREVIOUS TRACK", "STOP", "PLAY / PAUSE", "MUTE", "VOLUME UP", "VOLUME DOWN", "MEDIA SELECT",
         "MAIL", "CALCULATOR", "MY COMPUTER", "WWW SEARCH", "WWW HOME", "WWW BACK", "WWW FORWARD", "WWW STOP",
         "WWW REFRESH", "WWW FAVORITES"])
    readonly property var playModeLabels: textsOf([96, 98, 99], ["NORMAL PLAY", "ALWAYS REPEAT", "REPEAT ON PRESSED"])
    readonly property var modifierNames: ["\u2014", "L Ctrl", "L Shift", "L Alt", "L Win",
                                          "R Ctrl", "R Shift", "R Alt", "R Win"]

    signal protectUI(int interval)

    KeyButtons { id: keyModel }
    property alias buttons: keyModel

    // Codes read, reset or taken from a deleted macro's buttons: the selected one is shown again.
    Connections {
        target: KeyActions
        function onCodesReplaced() {
            refreshMacroNames()
            showSelected()
        }
    }

    Component.onCompleted: {
        refreshMacroNames()
        showSelected()
    }

    // --- start-up, texts -----------------------------------------------------------------

    // The codes are KeyActions' (started with the window); the page shows them.
    function initUI(deviceConfig) {
        keyModel.setProductNames(Theme.productStrings)
        if (selectedPosition >= keyModel.buttonSlots.length)
            selectedPosition = 0
        refreshMacroNames()
        showSelected()
    }

    // The labels are bound to the string list; the button names follow the product names.
    function translateStrings() {
        if (Theme.productStrings && Theme.productStrings.length > 0) {
            keyModel.setProductNames(Theme.productStrings)
            selectedPosition = Math.min(3, keyModel.buttonSlots.length - 1)
            showSelected()
        }
    }

    function textsOf(indices, fallbacks) {
        var texts = []
        for (var i = 0; i < indices.length; ++i)
            texts.push(Theme.text(indices[i], fallbacks[i]))
        return texts
    }

    // --- showing a code ------------------------------------------------------------------

    function selectButton(position) {
        if (position < 0 || position >= keyModel.buttonSlots.length)
            return
        selectedPosition = position
        showSelected()
    }

    function selectSlot(slot) {
        selectButton(keyModel.buttonSlots.indexOf(slot))
    }

    function clearSecondLevel() {
        keyboardPanel.key = 0
        mousePanel.entry = -1
        mediaPanel.entry = -1
        comboPanel.modifier = 0
        comboPanel.key1 = 0
        comboPanel.key2 = 0
        macroPanel.macroIndex = -1
        macroPanel.playMode = normalPlay
        repeatCount = 1
        firePanel.mouseEntry = -1
        firePanel.key = 0
        fireKey = 0
        fireSpeedStep = defaultFireSpeedStep
        fireCount = 10
        stopCapturing()
    }

    function stopCapturing() {
        keyboardPanel.stopCapturing()
        comboPanel.stopCapturing()
        firePanel.stopCapturing()
    }

    function showSelected() {
        showCode(keyModel.code(selectedSlot))
    }

    function showCode(code) {
        clearSecondLevel()
        var menus = KeyCodes.menusOf(code)
        functionIndex = menus["function"]
        switch (functionIndex) {
        case fnKeyboard:
            keyboardPanel.key = menus.key
            break
        case fnMouse:
            mousePanel.entry = menus.mouseEntry
            break
        case fnMedia:
            mediaPanel.entry = menus.mediaEntry
            break
        case fnCombo:
            comboPanel.modifier = menus.modifier
            comboPanel.key1 = menus.comboKey1
            comboPanel.key2 = menus.comboKey2
            break
        case fnMacro:
            showMacro(menus.macroSlot, menus.playMode)
            break
        case fnFire:
            showFireKey(menus.fireKey, menus.fireSpeedStep, menus.fireCount)
            break
        }
    }

    // The names are read again: the macro page may have renamed or added macros meanwhile.
    function showMacro(slot, playMode) {
        refreshMacroNames()
        macroPanel.playMode = playMode
        for (var i = 0; i < macroNames.length; ++i) {
            var config = ui_View.loadMacroIniConfig(macroNames[i])
            if (config.length >= 2 && Number(config[0]) === slot) {
                macroPanel.macroIndex = i
                repeatCount = Number(config[1])
                return
            }
        }
    }

    function showFireKey(key, speedStep, count) {
        fireKey = key
        fireSpeedStep = speedStep
        fireCount = count
        if (key >= firstMouseButton && key < firstMouseButton + 5)
            firePanel.mouseEntry = key - firstMouseButton
        else
            firePanel.key = key
    }

    // --- changing a code -----------------------------------------------------------------

    function setSelectedCode(code) {
        KeyActions.assign(selectedSlot, code)
    }

    // Taking the last left click away from the named buttons needs the user's word; a "no"
    // puts the menus back to MOUSE / LEFT.
    function confirmLeftClickLoss() {
        if (!KeyCodes.isLastLeftClick(keyModel.allCodes(), selectedSlot, keyModel.buttonSlots))
            return true
        if (ui_View.getMsgAns_FoolProofing())
            return true
        showSelected()
        return false
    }

    // Leaving MACRO gives the macro up at once, so its slot is free for others.
    function chooseFunction(index) {
        if (index === functionIndex)
            return
        if (!confirmLeftClickLoss())
            return
        clearSecondLevel()
        if (KeyCodes.macroSlot(keyModel.code(selectedSlot)) >= 0)
            setSelectedCode(KeyCodes.none())
        functionIndex = index
        if (index === fnLed)
            setSelectedCode(KeyCodes.led())
    }

    function captureKeyboardKey(usbCode) {
        if (usbCode !== 0)
            setSelectedCode(KeyCodes.keyboard(usbCode))
    }

    function chooseMouseEntry(entry) {
        var code = KeyCodes.mouse(entry)
        if (!KeyCodes.isLeftClick(code) && !confirmLeftClickLoss())
            return
        mousePanel.entry = entry
        setSelectedCode(code)
    }

    function chooseMediaEntry(entry) {
        mediaPanel.entry = entry
        setSelectedCode(KeyCodes.media(entry))
    }

    function updateCombo() {
        setSelectedCode(KeyCodes.combo(comboPanel.modifier, comboPanel.key1, comboPanel.key2))
    }

    function chooseFireMouseButton(position) {
        firePanel.mouseEntry = position
        firePanel.key = 0
        fireKey = firstMouseButton + position
        updateFireKey()
    }

    function captureFireKey(usbCode) {
        if (usbCode === 0)
            return
        firePanel.mouseEntry = -1
        fireKey = usbCode
        updateFireKey()
    }

    // Speed or count alone give no code until a key is chosen.
    function updateFireKey() {
        if (fireKey !== 0)
            setSelectedCode(KeyCodes.fire(fireKey, fireSpeedStep, fireCount))
    }

    // --- macros --------------------------------------------------------------------------

    function refreshMacroNames() {
        var current = macroPanel.macroName
        var files = ui_View.getMacroIniNames()
        var names = []
        for (var i = 0; i < files.length; ++i)
            names.push(String(files[i]).slice(0, -4))
        macroNames = names
        macroPanel.setNames(names)
        macroPanel.macroIndex = names.indexOf(current)
    }

    function chooseMacro(index) {
        macroPanel.macroIndex = index
        assignMacro()
    }

    function choosePlayMode(mode) {
        macroPanel.playMode = mode
        assignMacro()
    }

    function enterRepeatCount(count) {
        repeatCount = count
        if (macroPanel.playMode === normalPlay)
            assignMacro()
    }

    // The button plays the chosen macro; with no macro chosen it plays nothing. With all
    // twelve slots in use the button is left without a function, and the page says why.
    function assignMacro() {
        var name = macroPanel.macroName
        if (macroPanel.macroIndex < 0 || name === "") {
            setSelectedCode(KeyCodes.none())
            return
        }
        var slot = KeyActions.assignMacro(selectedSlot, name, macroPanel.playMode, repeatCount)
        if (slot === -1 && ui_View.loadMacroIniConfig(name).length >= 2)
            macroPanel.showHint(Theme.text(139, "All 12 macro slots of the mouse are in use."))
    }

    // --- reset and apply -----------------------------------------------------------------

    function resetSelected() {
        var fallback = keyModel.defaultCodes[selectedSlot]
        if (!KeyCodes.isLeftClick(fallback) && !confirmLeftClickLoss())
            return
        KeyActions.restore(selectedSlot)
        showSelected()
    }

    // Why APPLY cannot send the page yet: the selected button shows a function whose choice is
    // not finished (MACRO with no macro, KEYBOARD with no key, ...), so its code is not the one
    // shown. Empty when it can.
    function applyRefusal() {
        if (functionIndex < 0 || KeyCodes.menusOf(keyModel.code(selectedSlot))["function"] === functionIndex)
            return ""
        if (functionIndex === fnMacro)
            return Theme.text(138, "Choose a macro first.")
        return Theme.text(140, "Finish this button's choice first.")
    }

    function apply() {
        var refusal = applyRefusal()
        if (refusal !== "") {
            applyHint.show(refusal)
            return
        }
        applyHint.hide()
        protectUI(800)
        KeyActions.apply()
    }

    function keyEvent(isDown, usbCode) {
        keyboardPanel.detectKeyboard(isDown, usbCode)
        comboPanel.detectKeyboard(isDown, usbCode)
        firePanel.detectKeyboard(isDown, usbCode)
    }

    // A hidden page takes no keys: they belong to the page on show (recording a macro).
    onVisibleChanged: if (!visible) stopCapturing()

    // The menu changes its own state when used; this keeps it showing the page's.
    Binding { target: buttonMenu; property: "currentIndex"; value: page.selectedPosition }

    KeyPicture {
        x: 10
        y: 36
        buttonSlots: keyModel.buttonSlots
        buttonNames: keyModel.buttonNames
        selectedPosition: page.selectedPosition
        onButtonClicked: page.selectButton(position)
    }

    // --- menus ---------------------------------------------------------------------------

    Item {
        id: controls
        x: 322
        y: 20
        width: 378
        height: 440

        Label {
            width: 100
            height: 32
            text: Theme.text(74, "KEY")
            heading: true
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: 10
        }
        DropdownList {
            id: buttonMenu
            objectName: "buttonMenu"
            x: 110
            width: 268
            z: isOpen ? 200 : 0
            maxRows: 9
            model: {
                var items = []
                for (var i = 0; i < keyModel.buttonNames.length; ++i)
                    items.push((i + 1) + "  " + keyModel.buttonNames[i])
                return items
            }
            onListElementClicked: page.selectButton(index)
        }

        KeyFunctionMenu {
            y: 52
            labels: page.functionLabels
            currentIndex: page.functionIndex
            onFunctionClicked: page.chooseFunction(index)
        }

        // The second-level choices of the chosen function.
        Item {
            id: details
            x: 152
            y: 52
            width: 226
            height: 330

            KeyboardPanel {
                id: keyboardPanel
                anchors.fill: parent
                visible: page.functionIndex === page.fnKeyboard
                onKeyEntered: page.captureKeyboardKey(usbCode)
            }
            KeyEntryPanel {
                id: mousePanel
                anchors.fill: parent
                visible: page.functionIndex === page.fnMouse
                menuName: "mouseMenu"
                hint: Theme.text(47, "MOUSE")
                rows: 11
                labels: page.mouseLabels
                onEntryClicked: page.chooseMouseEntry(index)
            }
            KeyEntryPanel {
                id: mediaPanel
                anchors.fill: parent
                visible: page.functionIndex === page.fnMedia
                menuName: "mediaMenu"
                hint: Theme.text(48, "MEDIA")
                rows: 10
                labels: page.mediaLabels
                onEntryClicked: page.chooseMediaEntry(index)
            }
            ComboPanel {
                id: comboPanel
                anchors.fill: parent
                visible: page.functionIndex === page.fnCombo
                modifierNames: page.modifierNames
                onComboChanged: page.updateCombo()
            }
            MacroPanel {
                id: macroPanel
                anchors.fill: parent
                visible: page.functionIndex === page.fnMacro
                playModeLabels: page.playModeLabels
                repeatCount: page.repeatCount
                onMacroClicked: page.chooseMacro(index)
                onPlayModeClicked: page.choosePlayMode(mode)
                onRepeatEntered: page.enterRepeatCount(count)
                onNamesRequested: page.refreshMacroNames()
            }
            FireKeyPanel {
                id: firePanel
                anchors.fill: parent
                visible: page.functionIndex === page.fnFire
                mouseLabels: page.mouseLabels.slice(0, 5)
                speedStep: page.fireSpeedStep
                count: page.fireCount
                onMouseButtonClicked: page.chooseFireMouseButton(position)
                onKeyEntered: page.captureFireKey(usbCode)
                onSpeedClicked: {
                    page.fireSpeedStep = step
                    page.updateFireKey()
                }
                onCountEntered: {
                    page.fireCount = number
                    page.updateFireKey()
                }
            }

            Label {
                width: parent.width
                height: 32
                visible: page.functionIndex === page.fnLed
                text: "\u3010 " + Theme.text(111, "LED CONTROL") + " \u3011"
                highlight: true
            }
        }

        PushButton {
            objectName: "keyResetButton"
            x: 58
            y: 404
            width: 150
            text: Theme.text(77, "RESET")
            onClicked: page.resetSelected()
        }
        PushButton {
            objectName: "keyApplyButton"
            x: 228
            y: 404
            width: 150
            primary: true
            glow: page.pending
            text: Theme.text(107, "APPLY")
            onClicked: page.apply()
        }
        InlineHint {
            id: applyHint
            objectName: "applyHint"
            x: 58
            y: 380
            width: 320
            height: 20
            horizontalAlignment: Text.AlignRight
        }
    }
}
