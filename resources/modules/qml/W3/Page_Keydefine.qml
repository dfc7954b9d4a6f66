import QtQuick 2.15
import W3.Logic 1.0
import "qrc:/modules/qml/common"

// The key page: gives each mouse button a function. Codes live here until APPLY sends the
// whole matrix; only macro contents reach the mouse earlier, when a macro is bound.
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
    property bool scrollSwap: false
    property var macroNames: []
    property int repeatCount: 1
    property int fireKey: 0
    property int fireSpeedStep: defaultFireSpeedStep
    property int fireCount: 10

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

    // Button positions on the mouse picture (centres, picture pixels) and their hit areas.
    readonly property var buttonSpots: ({
        0: { x: 100, y: 100, w: 70, h: 90 }, 1: { x: 200, y: 100, w: 70, h: 90 },
        2: { x: 150, y: 105, w: 22, h: 24 }, 14: { x: 150, y: 78, w: 22, h: 24 },
        15: { x: 150, y: 132, w: 22, h: 24 }, 5: { x: 150, y: 170, w: 22, h: 24 },
        6: { x: 150, y: 196, w: 22, h: 24 }, 4: { x: 46, y: 170, w: 26, h: 44 },
        3: { x: 46, y: 222, w: 26, h: 44 }
    })

    Model_KeyDefine_W3 { id: keyModel }
    property alias buttons: keyModel

    // Pending while the codes shown differ from those the profile holds (loaded or applied).
    property var shownCodes: []
    PendingChanges { id: changes; shown: [page.shownCodes, page.scrollSwap] }
    readonly property bool pending: changes.pending
    Connections {
        target: keyModel.keySlots
        function onDataChanged() { page.shownCodes = keyModel.allCodes() }
    }
    function markHeld() {
        shownCodes = keyModel.allCodes()
        changes.markHeld()
    }

    // --- start-up, texts, profile switch ------------------------------------------------

    function initUI(deviceConfig) {
        keyModel.loadDefaults(ui_View.loadDefaultProfile(0))
        keyModel.setProductNames(Theme.productStrings)
        if (selectedPosition >= keyModel.buttonSlots.length)
            selectedPosition = 0
        refreshMacroNames()
        scrollSwap = ui_View.getScrollPinSwap()
        for (var i = 0; i < keyModel.slotCount; ++i)
            loadSlot(i)
        showSelected()
        markHeld()
    }

    // A profile without the entry keeps the default code rather than a blank one.
    function loadSlot(slot) {
        var stored = ui_View.getKeydefine(slot)
        if (stored.length >= 4)
            keyModel.setCode(slot, stored)
        else
            keyModel.resetSlot(slot)
    }

    function profileChanged() { initUI() }
    function discard() { initUI() }

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
        keyboardInput.tmpKeycodeUSB = 0
        mouseMenu.setCurIndex(-1)
        mediaMenu.setCurIndex(-1)
        modifierMenu.setCurIndex(0)
        comboKey1.tmpKeycodeUSB = 0
        comboKey2.tmpKeycodeUSB = 0
        macroMenu.currentIndex = -1
        playModeMenu.setCurIndex(normalPlay)
        repeatCount = 1
        fireMouseMenu.setCurIndex(-1)
        fireKeyInput.tmpKeycodeUSB = 0
        fireKey = 0
        fireSpeedStep = defaultFireSpeedStep
        fireCount = 10
        for (var i = 0; i < keyInputs.length; ++i)
            keyInputs[i].isCapturing = false
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
            keyboardInput.tmpKeycodeUSB = menus.key
            break
        case fnMouse:
            mouseMenu.setCurIndex(menus.mouseEntry)
            break
        case fnMedia:
            mediaMenu.setCurIndex(menus.mediaEntry)
            break
        case fnCombo:
            modifierMenu.setCurIndex(menus.modifier)
            comboKey1.tmpKeycodeUSB = menus.comboKey1
            comboKey2.tmpKeycodeUSB = menus.comboKey2
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
        playModeMenu.setCurIndex(playMode)
        for (var i = 0; i < macroNames.length; ++i) {
            var config = ui_View.loadMacroIniConfig(macroNames[i])
            if (config.length >= 2 && Number(config[0]) === slot) {
                macroMenu.currentIndex = i
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
            fireMouseMenu.setCurIndex(key - firstMouseButton)
        else
            fireKeyInput.tmpKeycodeUSB = key
    }

    // --- changing a code -----------------------------------------------------------------

    function setSelectedCode(code) {
        keyModel.setCode(selectedSlot, code)
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

    function chooseFunction(index) {
        if (index === functionIndex)
            return
        if (!confirmLeftClickLoss())
            return
        clearSecondLevel()
        if (KeyCodes.macroSlot(keyModel.code(selectedSlot)) >= 0) {
            setSelectedCode(KeyCodes.none())
            releaseUnusedMacros()
        }
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
        mouseMenu.setCurIndex(entry)
        setSelectedCode(code)
    }

    function chooseMediaEntry(entry) {
        mediaMenu.setCurIndex(entry)
        setSelectedCode(KeyCodes.media(entry))
    }

    function updateCombo() {
        setSelectedCode(KeyCodes.combo(modifierMenu.currentIndex, comboKey1.tmpKeycodeUSB, comboKey2.tmpKeycodeUSB))
    }

    function chooseFireMouseButton(position) {
        fireMouseMenu.setCurIndex(position)
        fireKeyInput.tmpKeycodeUSB = 0
        fireKey = firstMouseButton + position
        updateFireKey()
    }

    function captureFireKey(usbCode) {
        if (usbCode === 0)
            return
        fireMouseMenu.setCurIndex(-1)
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
        var current = macroMenu.currentText
        var files = ui_View.getMacroIniNames()
        var names = []
        for (var i = 0; i < files.length; ++i)
            names.push(String(files[i]).slice(0, -4))
        macroNames = names
        macroMenu.setRows(names)
        macroMenu.currentIndex = names.indexOf(current)
    }

    function chooseMacro(index) {
        macroMenu.currentIndex = index
        assignMacro()
    }

    function choosePlayMode(mode) {
        playModeMenu.setCurIndex(mode)
        assignMacro()
    }

    function enterRepeatCount(count) {
        repeatCount = count
        if (playModeMenu.currentIndex === normalPlay)
            assignMacro()
    }

    // Binds the chosen macro to a device slot (its own when it has one, else the lowest one no
    // profile uses), sends its contents and gives the button the macro code. The slot the
    // button gave up is free again first. With all twelve slots in use the button is left
    // without a function, and the page says why.
    function assignMacro() {
        setSelectedCode(KeyCodes.none())
        var name = macroMenu.currentText
        if (macroMenu.currentIndex < 0 || name === "") {
            releaseUnusedMacros()
            return
        }
        var slot = ui_View.bindMacro(keyModel.allCodes(), name, repeatCount)
        if (slot >= 0)
            setSelectedCode(KeyCodes.macro(playModeMenu.currentIndex, slot))
        else if (slot === -1 && ui_View.loadMacroIniConfig(name).length >= 2)
            macroHint.show(Theme.text(139, "All 12 macro slots of the mouse are in use."))
    }

    // Every bound macro whose slot no button of any profile plays is unbound.
    function releaseUnusedMacros() {
        ui_View.releaseUnusedMacros(keyModel.allCodes())
    }

    // A deleted macro's buttons get their factory code back on this page too; the profile's
    // stored buttons have been given them already.
    function releaseMacroSlot(slot) {
        for (var i = 0; i < keyModel.slotCount; ++i)
            if (KeyCodes.macroSlot(keyModel.code(i)) === slot)
                keyModel.resetSlot(i)
        refreshMacroNames()
        showSelected()
    }

    // --- reset and apply -----------------------------------------------------------------

    function resetSelected() {
        var fallback = keyModel.defaultCodes[selectedSlot]
        if (!KeyCodes.isLeftClick(fallback) && !confirmLeftClickLoss())
            return
        keyModel.resetSlot(selectedSlot)
        releaseUnusedMacros()
        showSelected()
    }

    function totalReset() {
        keyModel.resetAll()
        releaseUnusedMacros()
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
        applyHint.hide()
        ui_View.setScrollPinSwap(scrollSwap)
        ui_View.ui_12H_SetKeyMatrix(KeyCodes.matrix(keyModel.allCodes()))
        markHeld()
    }

    function totalApply() { apply() }

    readonly property var keyInputs: [keyboardInput, comboKey1, comboKey2, fireKeyInput]

    function keyEvent(isDown, usbCode) {
        for (var i = 0; i < keyInputs.length; ++i)
            keyInputs[i].detectKeyboard(isDown, usbCode)
    }

    // A hidden page takes no keys: they belong to the page on show (recording a macro).
    onVisibleChanged: {
        if (!visible)
            for (var i = 0; i < keyInputs.length; ++i)
                keyInputs[i].isCapturing = false
    }

    // The controls change their own state when used; these keep them showing the page's.
    Binding { target: buttonMenu; property: "currentIndex"; value: page.selectedPosition }
    Binding { target: fireSpeed; property: "position"; value: page.fireSpeedStep }

    // --- the mouse picture with its callouts ---------------------------------------------

    Item {
        id: picture
        x: 10
        y: 36
        width: 300
        height: 400

        SkinImage {
            anchors.fill: parent
            source: "model_ms/model_W3_KeyDefine.png"
            fallbackVisible: false
        }

        Repeater {
            model: keyModel.buttonSlots
            delegate: MouseArea {
                readonly property var spot: page.buttonSpots[modelData]
                objectName: "buttonArea_" + modelData
                visible: spot !== undefined
                x: visible ? spot.x - spot.w / 2 : 0
                y: visible ? spot.y - spot.h / 2 : 0
                width: visible ? spot.w : 0
                height: visible ? spot.h : 0
                z: visible && spot.w > 30 ? 0 : 1
                onClicked: page.selectButton(index)
            }
        }

        Repeater {
            model: keyModel.buttonSlots
            delegate: Rectangle {
                readonly property var spot: page.buttonSpots[modelData]
                readonly property bool selected: index === page.selectedPosition
                objectName: "callout_" + modelData
                visible: spot !== undefined
                z: 2
                width: 18
                height: 18
                radius: 9
                x: visible ? spot.x - width / 2 : 0
                y: visible ? spot.y - height / 2 : 0
                color: selected ? Theme.accent : calloutArea.containsMouse ? Theme.accentGlow : "#C0101418"
                border.color: Theme.accent
                border.width: selected ? 2 : 1
                Text {
                    anchors.centerIn: parent
                    text: index + 1
                    color: parent.selected ? "#FF101418" : Theme.textColor
                    font.family: Theme.fontFamily
                    font.pixelSize: 10
                    font.bold: true
                }
                MouseArea {
                    id: calloutArea
                    anchors.fill: parent
                    anchors.margins: -3
                    hoverEnabled: true
                    onClicked: page.selectButton(index)
                }
            }
        }
    }

    Label {
        x: 10
        y: 440
        width: 300
        height: 20
        horizontalAlignment: Text.AlignHCenter
        text: (page.selectedPosition + 1) + "  \u00B7  " + (keyModel.buttonNames[page.selectedPosition] || "")
        highlight: true
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

        Column {
            id: functionMenu
            y: 52
            width: 140
            spacing: 4
            Repeater {
                model: page.functionLabels
                delegate: Rectangle {
                    readonly property bool selected: index === page.functionIndex
                    objectName: "function_" + index
                    width: functionMenu.width
                    height: 32
                    radius: 4
                    color: selected ? Theme.accentGlow : functionArea.containsMouse ? "#14FFFFFF" : "transparent"
                    border.color: selected ? Theme.accent : Theme.stroke
                    Rectangle {
                        visible: parent.selected
                        width: 3
                        height: parent.height - 8
                        anchors.verticalCenter: parent.verticalCenter
                        x: 3
                        color: Theme.accent
                    }
                    Label {
                        anchors.fill: parent
                        anchors.leftMargin: 12
                        anchors.rightMargin: 6
                        text: modelData
                        highlight: parent.selected
                        fontSizeMode: Text.HorizontalFit
                        minimumPixelSize: 10
                    }
                    MouseArea {
                        id: functionArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: {
                            Sounds.click()
                            page.chooseFunction(index)
                        }
                    }
                }
            }
        }

        // The second-level choices of the chosen function.
        Item {
            id: details
            x: 152
            y: 52
            width: 226
            height: 330

            KeyInput_2 {
                id: keyboardInput
                objectName: "keyboardInput"
                width: parent.width
                visible: page.functionIndex === page.fnKeyboard
                onInputComplete: page.captureKeyboardKey(usbCode)
            }

            DropdownList {
                id: mouseMenu
                objectName: "mouseMenu"
                width: parent.width
                maxRows: 11
                visible: page.functionIndex === page.fnMouse
                model: page.mouseLabels
                onListElementClicked: page.chooseMouseEntry(index)
            }
            MenuHint { menu: mouseMenu; text: Theme.text(47, "MOUSE") }

            DropdownList {
                id: mediaMenu
                objectName: "mediaMenu"
                width: parent.width
                maxRows: 10
                visible: page.functionIndex === page.fnMedia
                model: page.mediaLabels
                onListElementClicked: page.chooseMediaEntry(index)
            }
            MenuHint { menu: mediaMenu; text: Theme.text(48, "MEDIA") }

            Item {
                anchors.fill: parent
                visible: page.functionIndex === page.fnCombo
                KeyInput_2 {
                    id: comboKey1
                    objectName: "comboKey1"
                    y: 42
                    width: parent.width
                    onInputComplete: page.updateCombo()
                }
                KeyInput_2 {
                    id: comboKey2
                    objectName: "comboKey2"
                    y: 84
                    width: parent.width
                    onInputComplete: page.updateCombo()
                }
                DropdownList {
                    id: modifierMenu
                    objectName: "modifierMenu"
                    width: parent.width
                    maxRows: 9
                    model: page.modifierNames
                    onListElementClicked: page.updateCombo()
                }
            }

            Item {
                anchors.fill: parent
                visible: page.functionIndex === page.fnMacro
                Label {
                    y: 84
                    width: 90
                    height: 32
                    text: Theme.text(97, "TIMES")
                    enabled: playModeMenu.currentIndex === page.normalPlay
                }
                NumberField {
                    id: repeatField
                    objectName: "repeatCount"
                    x: parent.width - 110
                    y: 84
                    width: 110
                    maximum: 65535
                    value: page.repeatCount
                    enabled: playModeMenu.currentIndex === page.normalPlay
                    onEntered: page.enterRepeatCount(number)
                }
                DropdownList {
                    id: playModeMenu
                    objectName: "playModeMenu"
                    y: 42
                    width: parent.width
                    model: page.playModeLabels
                    onListElementClicked: page.choosePlayMode(index)
                }
                InlineHint {
                    id: macroHint
                    objectName: "macroHint"
                    y: 122
                    width: parent.width
                    height: 20
                }
                FileListButton {
                    id: macroMenu
                    objectName: "macroMenu"
                    width: parent.width
                    maxRows: 8
                    placeholder: Theme.text(50, "MACRO")
                    onRequestToUpdateList: page.refreshMacroNames()
                    onListElementClicked: page.chooseMacro(index)
                }
            }

            Item {
                anchors.fill: parent
                visible: page.functionIndex === page.fnFire
                KeyInput_2 {
                    id: fireKeyInput
                    objectName: "fireKeyInput"
                    y: 42
                    width: parent.width
                    onInputComplete: page.captureFireKey(usbCode)
                }
                Label {
                    y: 86
                    width: parent.width
                    height: 20
                    text: Theme.text(3, "SPEED") + "  " + (page.fireSpeedStep + 1)
                }
                Slider {
                    id: fireSpeed
                    objectName: "fireSpeed"
                    y: 108
                    width: parent.width
                    onSliderClicked: {
                        page.fireSpeedStep = position
                        page.updateFireKey()
                    }
                }
                Label {
                    y: 146
                    width: 90
                    height: 32
                    text: Theme.text(97, "TIMES")
                }
                NumberField {
                    objectName: "fireCount"
                    x: parent.width - 110
                    y: 146
                    width: 110
                    maximum: 255
                    value: page.fireCount
                    onEntered: {
                        page.fireCount = number
                        page.updateFireKey()
                    }
                }
                DropdownList {
                    id: fireMouseMenu
                    objectName: "fireMouseMenu"
                    width: parent.width
                    model: page.mouseLabels.slice(0, 5)
                    onListElementClicked: page.chooseFireMouseButton(index)
                }
                MenuHint { menu: fireMouseMenu; text: Theme.text(47, "MOUSE") }
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
            onClicked: {
                var refusal = page.applyRefusal()
                if (refusal !== "") {
                    applyHint.show(refusal)
                    return
                }
                page.protectUI(800)
                page.apply()
            }
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

    // The menu's name, dimmed, while the closed menu has nothing chosen.
    component MenuHint: Label {
        property Item menu
        x: menu.x + 10
        y: menu.y
        width: menu.width - 48
        height: menu.height
        visible: menu.visible && menu.currentIndex < 0 && !menu.isOpen
        color: Theme.textColorDisable
    }

    // A whole number typed in place; Return, Enter or leaving the field enters a changed value.
    component NumberField: Rectangle {
        id: field
        property int maximum: 65535
        property int value: 0
        signal entered(int number)
        height: 32
        radius: 4
        color: Theme.panel
        border.color: editor.activeFocus ? Theme.accent : Theme.stroke
        opacity: enabled ? 1.0 : 0.2
        onValueChanged: editor.text = String(value)
        TextInput {
            id: editor
            objectName: field.objectName + "_editor"
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
            maximumLength: String(field.maximum).length
            validator: IntValidator { bottom: 0; top: field.maximum }
            Component.onCompleted: text = String(field.value)
            onEditingFinished: {
                var number = Number(text)
                if (number !== field.value)
                    field.entered(number)
            }
            onActiveFocusChanged: if (!activeFocus) text = String(field.value)
        }
    }
}
