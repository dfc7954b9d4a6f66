import QtQuick 2.15
import QtTest 1.2
import W3.Actions 1.0
import "qrc:/modules/qml/common"
import "qrc:/modules/qml/W3"

// The lighting and sensor pages over their page actions on the test view: what reaches the
// virtual mouse is read from its wire record, what is kept from the profile files.
Item {
    width: 1420
    height: 472

    Page_Color { id: colorPage }
    Page_Sensor { id: sensorPage; x: 710 }

    Component { id: lateColorPage; Page_Color {} }
    Component { id: lateSensorPage; Page_Sensor {} }

    SignalSpy { id: colorLock; target: colorPage; signalName: "protectUI" }
    SignalSpy { id: sensorLock; target: sensorPage; signalName: "protectUI" }

    readonly property var palette24: [255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 0, 255,
                                      0, 255, 255, 255, 255, 0, 255, 255, 255, 255, 127, 0]
    readonly property string factoryFile: "modules/setting/pD.bin"
    readonly property string factoryCopy: "modules/setting/pD.bin.shipped"
    // The shipped factory profile, put back before every case.
    readonly property bool factoryKept: sceneTest.copyFile(factoryFile, factoryCopy)

    // Short names of the profile's entries.
    readonly property var profileKeys: ({
        type0: "color_W3/type0", type1: "color_W3/type1", type2: "color_W3/type2",
        ledEffect: "color_W3/ledEffect", dpi: "sensor/dpi_W3", stage: "sensor/stage_W3",
        reportRate: "sensor/reportRate_W3", cursor: "sensor/cursorSpeed_W3",
        scroll: "sensor/verticalScrollLines_W3", double: "sensor/doubleClickSpeed_W3" })
    function stored(name, value) { sceneTest.storeInProfile(profileKeys[name], value) }
    function numbers(value) {
        if (value === undefined || value === null)
            return []
        if (typeof value !== "object")
            return [Number(value)]
        var list = []
        for (var i = 0; i < value.length; ++i)
            list.push(Number(value[i]))
        return list
    }
    function storedNumbers(name) { return numbers(sceneTest.storedInProfile(profileKeys[name])) }

    // The virtual mouse's sensor, stage count and indicator mode.
    QtObject {
        id: mouse
        property var state: ({ sensorType: 0, stageCount: 8, fixedColorsOnly: false })
        function use(changes) {
            var next = { sensorType: state.sensorType, stageCount: state.stageCount, fixedColorsOnly: state.fixedColorsOnly }
            for (var key in changes)
                next[key] = changes[key]
            state = next
            sceneTest.setMouseSensor(next.sensorType, next.stageCount, next.fixedColorsOnly)
        }
    }

    // The factory profile the RESET buttons read.
    QtObject {
        id: factory
        function storeLighting(colors, effect) {
            sceneTest.storeFactoryValue("color_W3/type0", colors.length > 0 ? colors : undefined)
            sceneTest.storeFactoryValue("color_W3/ledEffect", effect)
        }
        // Report rate, the three pointer settings, then, if the list goes on, eight stage
        // values, the stage in use, 24 colour numbers and 8 colour ids.
        function storeSensor(d) {
            var keys = ["sensor/reportRate_W3", "sensor/cursorSpeed_W3", "sensor/verticalScrollLines_W3",
                        "sensor/doubleClickSpeed_W3"]
            for (var i = 0; i < keys.length; ++i)
                sceneTest.storeFactoryValue(keys[i], d[i])
            var full = d.length > 4 + 8
            sceneTest.storeFactoryValue("sensor/dpi_W3", full ? d.slice(4, 12) : d.slice(4))
            sceneTest.storeFactoryValue("sensor/stage_W3", full ? d[12] : undefined)
            sceneTest.storeFactoryValue("color_W3/type1", full ? d.slice(13, 37) : undefined)
            sceneTest.storeFactoryValue("color_W3/type2", full ? d.slice(37, 45) : undefined)
        }
    }

    // The commands that reached the mouse since the wire was cleared, named by their code
    // ("0DH"); queries are left out.
    QtObject {
        id: wire
        function name(code) { return ("0" + code.toString(16).toUpperCase()).slice(-2) + "H" }
        function names() {
            var result = []
            var blocks = sceneTest.sentCommands()
            for (var i = 0; i < blocks.length; ++i)
                if (blocks[i][0] > 0 && blocks[i][0] < 0x80)
                    result.push(name(blocks[i][0]))
            return result
        }
        // What the last command of that name carried; empty when none was sent:
        // 0DH [effect, option 1, option 2, the stored effect list], 10H [type, the colours or
        // the colour ids], 11H [stage count, the eight codes, the stored values], 0BH [stage],
        // 01H [rate].
        function last(commandName) {
            var code = parseInt(commandName.slice(0, 2), 16)
            var transfers = sceneTest.sentTransfers(code)
            if (transfers.length === 0)
                return []
            var sent = transfers[transfers.length - 1]
            var block = numbers(sent.block)
            var data = numbers(sent.data)
            if (code === 0x0D)
                return [block[1], block[2], block[3], storedNumbers("ledEffect")]
            // The colour command's data is as long as its third byte says; the stage codes are eight.
            if (code === 0x10)
                return [block[1], block[1] === 2 ? unpackIds(data.slice(0, block[2])) : data.slice(0, block[2])]
            if (code === 0x11)
                return [block[1], data.slice(0, 8), storedNumbers("dpi")]
            return [block[1]]
        }
        // Two colour ids a byte, the even stage in the low nibble.
        function unpackIds(bytes) {
            var ids = []
            for (var i = 0; i < bytes.length; ++i)
                ids.push(bytes[i] & 0x0F, bytes[i] >> 4)
            return ids
        }
    }

    // Shared helpers; this case has no tests of its own.
    TestCase { id: tools; name: "tools" }

    // Clicks that land on a given step of the 8-step and 11-step sliders.
    function clickStep8(slider, step) {
        tools.mouseClick(slider, Math.floor(step * (slider.width - 1) / 7), slider.height / 2)
    }
    function clickStep11(slider, step) {
        tools.mouseClick(slider, Math.floor((step + 0.5) * (slider.width - 1) / 11), slider.height / 2)
    }
    function child(parent, name) {
        var item = tools.findChild(parent, name)
        tools.verify(item !== null, "no item " + name)
        return item
    }
    function visibleCount(parent, prefix) {
        var count = 0
        for (var i = 0; i < 8; ++i) {
            if (child(parent, prefix + i).visible)
                ++count
        }
        return count
    }

    TestCase {
        name: "Page_Color"
        when: windowShown

        function init() {
            ui_View.ui_02H_SetCurrentProfile(0)
            verify(factoryKept)
            verify(sceneTest.copyFile(factoryCopy, factoryFile))
            sceneTest.clearProfile()
            stored("type0", palette24)
            stored("ledEffect", [0, 7, 4, 1])
            colorPage.deviceConfig = [8]
            LightingActions.start()
            sceneTest.clearWire()
            colorLock.clear()
        }

        function chooseEffect(position) {
            var menu = child(colorPage, "effectMenu")
            mouseClick(menu)
            mouseClick(child(menu, "effectMenu_item" + position))
            compare(colorPage.effectPosition, position)
        }
        function setPower(on) {
            if (colorPage.powerOn !== on)
                mouseClick(child(colorPage, "ledPower"))
            compare(colorPage.powerOn, on)
        }

        function test_controlsPerEffect_data() {
            return [
                { tag: "STATIC", position: 0, speed: false, brightness: true, colors: true, label: "STATIC" },
                { tag: "TWINKLING", position: 1, speed: false, brightness: true, colors: false, label: "TWINKLING" },
                { tag: "BREATHING", position: 2, speed: true, brightness: false, colors: true, label: "BREATHING" },
                { tag: "NEON", position: 3, speed: true, brightness: false, colors: false, label: "NEON" },
                { tag: "WAVE", position: 4, speed: true, brightness: true, colors: false, label: "WAVE" },
                { tag: "GLIDING", position: 5, speed: false, brightness: false, colors: false, label: "GLIDING" },
                { tag: "FINGER MOVING", position: 6, speed: false, brightness: true, colors: false, label: "FINGER MOVING" },
                { tag: "VERTICAL FLIPPING", position: 7, speed: true, brightness: true, colors: false, label: "VERTICAL FLIPPING" },
                { tag: "YO-YO", position: 8, speed: true, brightness: true, colors: true, label: "YO-YO" },
                { tag: "SPOTLIGHT", position: 9, speed: true, brightness: true, colors: true, label: "SPOTLIGHT" },
            ]
        }
        function test_controlsPerEffect(data) {
            setPower(true)
            chooseEffect(data.position)
            compare(child(colorPage, "effectMenu").currentText, data.label)
            compare(child(colorPage, "speedSlider").enabled, data.speed)
            compare(child(colorPage, "brightnessSlider").enabled, data.brightness)
            compare(child(colorPage, "lightColors").enabled, data.colors)
            setPower(false)
            verify(!child(colorPage, "speedSlider").enabled)
            verify(!child(colorPage, "brightnessSlider").enabled)
            verify(!child(colorPage, "lightColors").enabled)
        }

        function test_apply_data() {
            return [
                { tag: "STATIC brightness 0", position: 0, brightness: 0, speed: 4, on: true, sent: [1, 0, 0] },
                { tag: "STATIC brightness 7", position: 0, brightness: 7, speed: 4, on: true, sent: [1, 255, 0] },
                { tag: "BREATHING speed 0", position: 2, brightness: 7, speed: 0, on: true, sent: [3, 0, 10] },
                { tag: "BREATHING speed 7", position: 2, brightness: 7, speed: 7, on: true, sent: [3, 0, 1] },
                { tag: "WAVE brightness 3 speed 4", position: 4, brightness: 3, speed: 4, on: true, sent: [5, 115, 5] },
                { tag: "VERTICAL FLIPPING speed 0", position: 7, brightness: 1, speed: 0, on: true, sent: [8, 45, 20] },
                { tag: "VERTICAL FLIPPING speed 7", position: 7, brightness: 1, speed: 7, on: true, sent: [8, 45, 10] },
                { tag: "YO-YO speed 0", position: 8, brightness: 7, speed: 0, on: true, sent: [9, 255, 15] },
                { tag: "YO-YO speed 7", position: 8, brightness: 7, speed: 7, on: true, sent: [9, 255, 5] },
                { tag: "SPOTLIGHT speed 0", position: 9, brightness: 7, speed: 0, on: true, sent: [10, 255, 30] },
                { tag: "SPOTLIGHT speed 7", position: 9, brightness: 7, speed: 7, on: true, sent: [10, 255, 20] },
                { tag: "GLIDING ignores both sliders", position: 5, brightness: 7, speed: 0, on: true, sent: [6, 0, 0] },
                { tag: "light off", position: 4, brightness: 7, speed: 0, on: false, sent: [0, 0, 0] },
            ]
        }
        function test_apply(data) {
            setPower(true)
            chooseEffect(data.position)
            clickStep8(child(colorPage, "brightnessSlider"), data.brightness)
            clickStep8(child(colorPage, "speedSlider"), data.speed)
            setPower(data.on)
            sceneTest.clearWire()
            mouseClick(child(colorPage, "colorApplyButton"))
            compare(colorLock.count, 1)
            compare(colorLock.signalArguments[0][0], 800)
            compare(wire.names(), ["0DH"])
            var call = wire.last("0DH")
            compare(call.slice(0, 3), data.sent)
            // The sliders an effect does not use keep the values the page started with.
            var brightness = [2, 3, 5].indexOf(data.position) >= 0 ? 7 : data.brightness
            var speed = [2, 3, 4, 7, 8, 9].indexOf(data.position) >= 0 ? data.speed : 4
            compare(call[3], [data.position, brightness, speed, data.on ? 1 : 0])
        }

        function test_totalApplySendsWithoutLock() {
            LightingActions.apply()
            compare(colorLock.count, 0)
            compare(wire.names(), ["0DH"])
        }

        function test_refresh_data() {
            return [
                { tag: "STATIC on", stored: [0, 6, 2, 1], position: 0, brightness: 6, speed: 2, on: true },
                { tag: "STATIC off", stored: [0, 6, 2, 0], position: 0, brightness: 6, speed: 2, on: false },
                { tag: "WAVE off", stored: [4, 3, 5, 0], position: 4, brightness: 3, speed: 5, on: false },
                { tag: "three items: STATIC reads as off", stored: [0, 7, 3], position: 0, brightness: 7, speed: 3, on: false },
                { tag: "three items: NEON reads as on", stored: [3, 2, 1], position: 3, brightness: 2, speed: 1, on: true },
                { tag: "values out of range", stored: [12, 9, -1, 1], position: 0, brightness: 7, speed: 4, on: true },
            ]
        }
        function test_refresh(data) {
            stored("ledEffect", data.stored)
            LightingActions.refresh()
            compare(colorPage.effectPosition, data.position)
            compare(child(colorPage, "effectMenu").currentIndex, data.position)
            compare(colorPage.brightnessStep, data.brightness)
            compare(child(colorPage, "brightnessSlider").position, data.brightness)
            compare(colorPage.speedStep, data.speed)
            compare(child(colorPage, "speedSlider").position, data.speed)
            compare(colorPage.powerOn, data.on)
            compare(child(colorPage, "ledPower").isSelect, data.on)
            compare(wire.names().length, 0)
        }

        function test_refreshKeepsThePageForListsOfOtherLengths() {
            stored("ledEffect", [4, 3, 5, 1])
            LightingActions.refresh()
            stored("ledEffect", [1])
            stored("type0", [1, 2, 3])
            LightingActions.refresh()
            compare(colorPage.effectPosition, 4)
            compare(child(colorPage, "lightColors").colorList(), palette24)
        }

        function test_lightStateSurvivesProfileSwitch_data() {
            return [
                { tag: "STATIC on", position: 0, on: true },
                { tag: "STATIC off", position: 0, on: false },
                { tag: "SPOTLIGHT off", position: 9, on: false },
                { tag: "SPOTLIGHT on", position: 9, on: true },
            ]
        }
        function test_lightStateSurvivesProfileSwitch(data) {
            setPower(true)
            chooseEffect(data.position)
            setPower(data.on)
            mouseClick(child(colorPage, "colorApplyButton"))
            ui_View.ui_02H_SetCurrentProfile(1)
            stored("ledEffect", [2, 5, 5, data.on ? 0 : 1])
            LightingActions.refresh()
            compare(colorPage.powerOn, !data.on)
            compare(colorPage.effectPosition, 2)
            ui_View.ui_02H_SetCurrentProfile(0)
            LightingActions.refresh()
            compare(colorPage.powerOn, data.on)
            compare(child(colorPage, "ledPower").isSelect, data.on)
            compare(colorPage.effectPosition, data.position)
        }

        function test_colourChangeSendsAllEight() {
            chooseEffect(0)
            var group = child(colorPage, "lightColors")
            mouseClick(child(group, "lightColors_entry2"))
            compare(group.current, 2)
            compare(wire.names().length, 0)
            var field = child(group, "lightColors_palette_g")
            mouseClick(field)
            keyClick(Qt.Key_A, Qt.ControlModifier)
            keyClick(Qt.Key_1)
            keyClick(Qt.Key_2)
            keyClick(Qt.Key_8)
            keyClick(Qt.Key_Return)
            compare(wire.names(), ["10H"])
            var expected = palette24.slice()
            expected[7] = 128
            compare(wire.last("10H"), [0, expected])
        }

        function test_paletteStripPicksForTheCurrentEntry() {
            var group = child(colorPage, "lightColors")
            mouseClick(child(group, "lightColors_entry5"))
            var strip = child(group, "lightColors_palette_strip")
            mouseClick(strip, 10, 1)
            var sent = wire.last("10H")
            compare(sent[0], 0)
            compare(sent[1].length, 24)
            compare(sent[1].slice(0, 15), palette24.slice(0, 15))
            compare(sent[1].slice(18), palette24.slice(18))
            verify(sent[1][15] !== 255 || sent[1][16] !== 255)
        }

        function test_stageLimitHidesEntries_data() {
            return [
                { tag: "four", config: [4], shown: 4 },
                { tag: "eight", config: [8], shown: 8 },
                { tag: "as text", config: ["6"], shown: 6 },
                { tag: "zero falls back to eight", config: [0], shown: 8 },
                { tag: "no configuration", config: [], shown: 8 },
            ]
        }
        function test_stageLimitHidesEntries(data) {
            colorPage.deviceConfig = data.config
            compare(visibleCount(colorPage, "lightColors_entry"), data.shown)
        }

        function test_reset_data() {
            return [
                { tag: "factory STATIC, three items", effect: [0, 7, 3], on: false },
                { tag: "factory WAVE on", effect: [4, 2, 6, 1], on: true },
                { tag: "factory without colours", effect: [3, 5, 1, 0], on: false, noColors: true },
            ]
        }
        function test_reset(data) {
            var colors = data.noColors ? [] : palette24.slice().reverse()
            factory.storeLighting(colors, data.effect)
            mouseClick(child(colorPage, "colorResetButton"))
            compare(colorLock.signalArguments[0][0], 800)
            compare(wire.names(), data.noColors ? [] : ["10H"])
            if (!data.noColors)
                compare(wire.last("10H"), [0, colors])
            compare(colorPage.effectPosition, data.effect[0])
            compare(colorPage.brightnessStep, data.effect[1])
            compare(colorPage.speedStep, data.effect[2])
            compare(colorPage.powerOn, data.on)
        }

        function test_relabelsOnLanguageChange() {
            var strings = ["Noto Sans"]
            for (var i = 1; i <= 116; ++i)
                strings.push("S" + i)
            Theme.strings = strings
            colorPage.translateStrings()
            compare(colorPage.effectLabels[0], "S13")
            compare(colorPage.effectLabels[9], "S24")
            compare(child(colorPage, "ledPower").text, "S87")
            compare(child(sensorPage, "reportRateTitle").text, "S100")
            Theme.strings = []
            colorPage.translateStrings()
            compare(colorPage.effectLabels[1], "TWINKLING")
            compare(child(colorPage, "ledPower").text, "LED POWER ON")
        }
    }

    TestCase {
        name: "Page_Sensor"
        when: windowShown

        function init() {
            ui_View.ui_02H_SetCurrentProfile(0)
            verify(factoryKept)
            verify(sceneTest.copyFile(factoryCopy, factoryFile))
            sceneTest.clearProfile()
            mouse.use({ sensorType: 0, fixedColorsOnly: false, stageCount: 8 })
            stored("type1", palette24)
            stored("type2", [0, 1, 2, 3, 4, 5, 6, 7])
            SensorActions.start()
            sceneTest.clearWire()
            sensorLock.clear()
        }
        function pickStageValue(stage, menuIndex) {
            var stages = child(sensorPage, "dpiStages")
            mouseClick(child(stages, "dpiStages_" + stage), stages.buttonWidth - 5, 20, Qt.RightButton)
            mouseClick(child(stages, "dpiStages_menu" + menuIndex))
        }

        function test_stageValueSentAtOnce_data() {
            var unused = [0x80, 0x80, 0x80, 0x80]
            return [
                { tag: "3050 2500", type: 0, stage: 1, menuIndex: 9, value: 2500, codes: [0x02, 0x45, 0x06, 0x08].concat(unused) },
                { tag: "3050 unused", type: 0, stage: 2, menuIndex: 0, value: 0, codes: [0x02, 0x04, 0x80, 0x08].concat(unused) },
                { tag: "3320 4000", type: 1, stage: 0, menuIndex: 8, value: 4000, codes: [0x48, 0x0A, 0x0E, 0x4E].concat(unused) },
                { tag: "3320 1750", type: 1, stage: 3, menuIndex: 3, value: 1750, codes: [0x04, 0x0A, 0x0E, 0x07].concat(unused) },
                { tag: "5050 2500", type: 2, stage: 0, menuIndex: 9, value: 2500, codes: [0x4A, 0x08, 0x46, 0x4A].concat(unused) },
                { tag: "5050 unused", type: 2, stage: 3, menuIndex: 0, value: 0, codes: [0x04, 0x08, 0x46, 0x80].concat(unused) },
                { tag: "3325 400", type: 3, stage: 0, menuIndex: 1, value: 400, codes: [0x03, 0x13, 0x27, 0x67].concat(unused) },
                { tag: "3325 2000", type: 3, stage: 2, menuIndex: 9, value: 2000, codes: [0x09, 0x13, 0x13, 0x67].concat(unused) },
            ]
        }
        function test_stageValueSentAtOnce(data) {
            mouse.use({ sensorType: data.type })
            mouse.use({ stageCount: 6 })
            SensorActions.refresh()
            var values = sensorPage.stageValues.slice()
            values[data.stage] = data.value
            sceneTest.clearWire()
            pickStageValue(data.stage, data.menuIndex)
            compare(wire.names(), ["11H"])
            compare(wire.last("11H"), [6, data.codes, values])
            compare(child(sensorPage, "dpiStages").stageTexts[data.stage], data.value === 0 ? "\u00D7" : String(data.value))
        }

        // A stored value the sensor lacks shows as the sensor's nearest value, marked, and
        // the first edit sends it as that value: no stage the profile uses goes out unused.
        function test_storedValuesOnEverySensor_data() {
            var shipped = [500, 1000, 1500, 2000, 2500, 3000, 4000, 5000]
            return [
                { tag: "shipped list, ANDS3050", type: 0, stored: shipped, menuIndex: 1,
                  texts: ["500", "1000", "1500", "2000", "2500", "3000", "4000", "\u22484000"],
                  codes: [0x01, 0x04, 0x06, 0x08, 0x45, 0x46, 0x48, 0x48] },
                { tag: "shipped list, ANDS3320", type: 1, stored: shipped, menuIndex: 2,
                  texts: ["500", "1000", "\u22481750", "2000", "2500", "3000", "4000", "5000"],
                  codes: [0x04, 0x04, 0x07, 0x08, 0x0A, 0x0C, 0x48, 0x4A] },
                { tag: "shipped list, ANDS5050", type: 2, stored: shipped, menuIndex: 1,
                  texts: ["500", "1000", "1500", "2000", "2500", "\u22482750", "\u22482750", "\u22482750"],
                  codes: [0x02, 0x08, 0x46, 0x48, 0x4A, 0x4B, 0x4B, 0x4B] },
                { tag: "shipped list, ANDS3325", type: 3, stored: shipped, menuIndex: 1,
                  texts: ["\u2248400", "1000", "\u22481400", "2000", "\u22482400", "\u22482800", "4000", "\u22484800"],
                  codes: [0x03, 0x09, 0x0D, 0x13, 0x17, 0x1B, 0x27, 0x2F] },
                { tag: "ANDS3320 list on an ANDS3325", type: 3, stored: [1000, 2500, 3500, 7000, 0, 0, 0, 0], menuIndex: 4,
                  texts: ["1000", "\u22482400", "\u22483200", "\u22486000", "\u00D7", "\u00D7", "\u00D7", "\u00D7"],
                  codes: [0x09, 0x17, 0x1F, 0x5D, 0x80, 0x80, 0x80, 0x80] },
                { tag: "text that is no value stays unused", type: 1, stored: ["x", 1000, 0, 7000], menuIndex: 1,
                  texts: ["\u00D7", "1000", "\u00D7", "7000", "\u00D7", "\u00D7", "\u00D7", "\u00D7"],
                  codes: [0x02, 0x04, 0x80, 0x4E, 0x80, 0x80, 0x80, 0x80] },
            ]
        }
        function test_storedValuesOnEverySensor(data) {
            mouse.use({ sensorType: data.type })
            stored("dpi", data.stored)
            stored("stage", 2)
            SensorActions.refresh()
            var stages = child(sensorPage, "dpiStages")
            compare(stages.stageTexts, data.texts)
            var note = child(sensorPage, "adjustedNote")
            compare(note.visible, data.texts.join("").indexOf("\u2248") >= 0)
            pickStageValue(0, data.menuIndex)
            compare(wire.names(), ["11H"])
            compare(wire.last("11H")[1], data.codes)
            // Sent: the values are now the mouse's own and lose their mark.
            for (var i = 1; i < 8; ++i)
                verify(String(stages.stageTexts[i]).indexOf("\u2248") < 0, stages.stageTexts[i])
            verify(!note.visible)
        }

        // The stage in use never ends on an unused stage: switching it off moves it to the
        // nearest used one, which APPLY then sends; the last used stage stays.
        function test_switchingOffStages_data() {
            return [
                { tag: "stage in use off: the one below", stored: [500, 1000, 1500, 2000, 0, 0, 0, 0], stage: 3,
                  off: 2, current: 1, sent: true },
                { tag: "first stage in use off: the one above", stored: [500, 0, 1500, 2000, 0, 0, 0, 0], stage: 1,
                  off: 0, current: 2, sent: true },
                { tag: "another stage off: the stage in use stays", stored: [500, 1000, 1500, 2000, 0, 0, 0, 0], stage: 2,
                  off: 3, current: 1, sent: true },
                { tag: "the last used stage stays used", stored: [0, 0, 1500, 0, 0, 0, 0, 0], stage: 3,
                  off: 2, current: 2, sent: false },
            ]
        }
        function test_switchingOffStages(data) {
            stored("dpi", data.stored)
            stored("stage", data.stage)
            SensorActions.refresh()
            pickStageValue(data.off, 0)
            compare(wire.names(), data.sent ? ["11H"] : [])
            compare(sensorPage.currentStage, data.current)
            compare(child(sensorPage, "dpiStages").currentStage, data.current)
            compare(child(sensorPage, "indicatorColors").current, data.current)
            var hint = child(sensorPage, "stageHint")
            compare(hint.visible, !data.sent)
            if (!data.sent)
                compare(child(sensorPage, "dpiStages").stageTexts[data.off], "1500")
            mouseClick(child(sensorPage, "sensorApplyButton"))
            compare(wire.last("0BH"), [data.current + 1])
            hint.hide()
        }

        function test_unknownSensorHasNoMenuAndZeroDefaults() {
            mouse.use({ sensorType: 9 })
            SensorActions.refresh()
            compare(sensorPage.valueMenu, [])
            compare(sensorPage.stageValues, [0, 0, 0, 0, 0, 0, 0, 0])
            compare(child(sensorPage, "dpiStages").menuItems.length, 0)
        }

        function test_defaultsPerSensor_data() {
            return [
                { tag: "3050", type: 0, values: [500, 1000, 1500, 2000, 0, 0, 0, 0] },
                { tag: "3320", type: 1, values: [1000, 2500, 3500, 7000, 0, 0, 0, 0] },
                { tag: "5050", type: 2, values: [500, 1000, 1500, 2500, 0, 0, 0, 0] },
                { tag: "3325", type: 3, values: [1000, 2000, 4000, 8000, 0, 0, 0, 0] },
            ]
        }
        function test_defaultsPerSensor(data) {
            mouse.use({ sensorType: data.type })
            SensorActions.refresh()
            compare(sensorPage.stageValues, data.values)
            compare(child(sensorPage, "dpiStages").stageTexts[5], "\u00D7")
        }

        function test_stageCountShowsButtonsAndEntries_data() {
            return [
                { tag: "four", maxStage: 4, shown: 4 },
                { tag: "eight", maxStage: 8, shown: 8 },
                { tag: "none reported as zero", maxStage: 0, shown: 1 },
            ]
        }
        function test_stageCountShowsButtonsAndEntries(data) {
            mouse.use({ stageCount: data.maxStage })
            SensorActions.refresh()
            compare(visibleCount(sensorPage, "dpiStages_"), data.shown)
            compare(visibleCount(sensorPage, "indicatorColors_entry"), data.shown)
        }

        function test_currentStage_data() {
            return [
                { tag: "stage 3", stored: 3, maxStage: 8, current: 2 },
                { tag: "stage 1", stored: 1, maxStage: 8, current: 0 },
                { tag: "absent", stored: 0, maxStage: 8, current: 0 },
                { tag: "above eight, an unused stage", stored: 12, maxStage: 8, current: 3 },
                { tag: "an unused stage", stored: 6, maxStage: 8, current: 3 },
                { tag: "beyond the mouse's stages", stored: 6, maxStage: 4, current: 3 },
            ]
        }
        function test_currentStage(data) {
            mouse.use({ stageCount: data.maxStage })
            stored("stage", data.stored)
            SensorActions.refresh()
            compare(sensorPage.currentStage, data.current)
            compare(child(sensorPage, "dpiStages").currentStage, data.current)
            compare(child(sensorPage, "indicatorColors").current, data.current)
        }

        function test_clickingAStageMakesItCurrent() {
            var stages = child(sensorPage, "dpiStages")
            mouseClick(child(stages, "dpiStages_3"), 20, 20)
            compare(sensorPage.currentStage, 3)
            compare(child(sensorPage, "indicatorColors").current, 3)
            // An unused stage cannot be chosen.
            mouseClick(child(stages, "dpiStages_6"), 20, 20)
            compare(sensorPage.currentStage, 3)
            mouseClick(child(sensorPage, "indicatorColors_entry1"))
            compare(sensorPage.currentStage, 1)
            compare(wire.names().length, 0)
        }

        // The colour of an unused stage can be set; choosing its entry leaves the stage in use.
        function test_unusedStageTakesAColour() {
            stored("stage", 2)
            SensorActions.refresh()
            var group = child(sensorPage, "indicatorColors")
            mouseClick(child(group, "indicatorColors_entry6"))
            compare(group.current, 6)
            compare(sensorPage.currentStage, 1)
            mouseClick(child(group, "indicatorColors_palette_strip"), 10, 0)
            var expected = palette24.slice()
            expected[18] = 0
            expected[19] = 0
            expected[20] = 0
            compare(wire.last("10H"), [1, expected])
            compare(group.current, 6)
        }

        function test_indicatorColours_data() {
            return [
                { tag: "colours", fixed: false },
                { tag: "fixed colour ids", fixed: true },
            ]
        }
        function test_indicatorColours(data) {
            mouse.use({ fixedColorsOnly: data.fixed })
            stored("stage", 2)
            SensorActions.refresh()
            var group = child(sensorPage, "indicatorColors")
            compare(group.isCompat8Color, data.fixed)
            compare(child(group, "indicatorColors_palette").visible, !data.fixed)
            compare(child(group, "indicatorColors_fixed5").visible, data.fixed)
            if (data.fixed) {
                mouseClick(child(group, "indicatorColors_fixed5"))
                compare(wire.last("10H"), [2, [0, 5, 2, 3, 4, 5, 6, 7]])
                compare(Qt.colorEqual(group.currentColor, "#ffff00"), true)
            } else {
                var strip = child(group, "indicatorColors_palette_strip")
                mouseClick(strip, 10, 0)
                var expected = palette24.slice()
                expected[3] = 0
                expected[4] = 0
                expected[5] = 0
                compare(wire.last("10H"), [1, expected])
            }
            compare(wire.names().length, 1)
        }

        function test_reportRateReadBack_data() {
            return [
                { tag: "1", stored: 1, position: 3, label: "1000 Hz" },
                { tag: "2", stored: 2, position: 2, label: "500 Hz" },
                { tag: "4", stored: 4, position: 1, label: "250 Hz" },
                { tag: "8", stored: 8, position: 0, label: "125 Hz" },
                { tag: "0", stored: 0, position: 3, label: "1000 Hz" },
                { tag: "3", stored: 3, position: 3, label: "1000 Hz" },
            ]
        }
        function test_reportRateReadBack(data) {
            stored("reportRate", data.stored)
            SensorActions.refresh()
            var rate = child(sensorPage, "reportRate")
            verify(rate.visible)
            compare(rate.currentIndex, data.position)
            compare(rate.labels[rate.currentIndex], data.label)
        }

        function test_apply_data() {
            return [
                { tag: "125 Hz, lowest settings", rate: 0, sliders: [0, 0, 0], stage: 0, sentRate: 8 },
                { tag: "1000 Hz, highest settings", rate: 3, sliders: [10, 10, 10], stage: 3, sentRate: 1 },
                { tag: "250 Hz, middle", rate: 1, sliders: [4, 6, 2], stage: 1, sentRate: 4 },
            ]
        }
        function test_apply(data) {
            mouseClick(child(sensorPage, "reportRate_" + data.rate))
            clickStep11(child(sensorPage, "cursorSpeed"), data.sliders[0])
            clickStep11(child(sensorPage, "scrollLines"), data.sliders[1])
            clickStep11(child(sensorPage, "doubleClickSpeed"), data.sliders[2])
            mouseClick(child(sensorPage, "dpiStages_" + data.stage), 20, 20)
            compare(wire.names().length, 0)
            mouseClick(child(sensorPage, "sensorApplyButton"))
            compare(sensorLock.signalArguments[0][0], 1600)
            // The report rate and the stage in use reach the mouse; the pointer settings go to
            // the desktop and the profile.
            compare(wire.names(), ["01H", "0BH"])
            compare(wire.last("01H"), [data.sentRate])
            compare(storedNumbers("cursor"), [data.sliders[0]])
            compare(storedNumbers("scroll"), [data.sliders[1]])
            compare(storedNumbers("double"), [data.sliders[2]])
            compare(wire.last("0BH"), [data.stage + 1])
        }

        function test_startUpReadsThePointerSettings() {
            compare(child(sensorPage, "cursorSpeed").position, 0)
            stored("cursor", 7)
            stored("scroll", 3)
            stored("double", 9)
            SensorActions.refresh()
            compare(child(sensorPage, "cursorSpeed").position, 7)
            compare(child(sensorPage, "scrollLines").position, 3)
            compare(child(sensorPage, "doubleClickSpeed").position, 9)
        }

        function factoryList() {
            var d = [4, 6, 1, 8, 500, 1000, 1500, 2000, 2500, 3000, 3500, 4000, 3]
            d = d.concat(palette24.slice().reverse())
            return d.concat([7, 6, 5, 4, 3, 2, 1, 0])
        }
        function test_reset_data() {
            return [
                { tag: "colours", fixed: false },
                { tag: "fixed colour ids", fixed: true },
            ]
        }
        function test_reset(data) {
            mouse.use({ fixedColorsOnly: data.fixed })
            SensorActions.refresh()
            factory.storeSensor(factoryList())
            sceneTest.clearWire()
            mouseClick(child(sensorPage, "sensorResetButton"))
            compare(sensorLock.signalArguments[0][0], 800)
            compare(wire.names(), ["11H", "10H"])
            compare(wire.last("11H"), [8, [0x02, 0x04, 0x06, 0x08, 0x45, 0x46, 0x47, 0x48],
                                              [500, 1000, 1500, 2000, 2500, 3000, 3500, 4000]])
            if (data.fixed)
                compare(wire.last("10H"), [2, [7, 6, 5, 4, 3, 2, 1, 0]])
            else
                compare(wire.last("10H"), [1, palette24.slice().reverse()])
            compare(sensorPage.reportRatePosition, 1)
            compare(child(sensorPage, "cursorSpeed").position, 6)
            compare(child(sensorPage, "scrollLines").position, 1)
            compare(child(sensorPage, "doubleClickSpeed").position, 8)
            compare(sensorPage.currentStage, 2)
            compare(child(sensorPage, "indicatorColors").current, 2)
        }

        function test_resetWithoutFullListsKeepsTheStages() {
            factory.storeSensor([2, 5, 2, 5, 2])
            var before = sensorPage.stageValues.slice()
            SensorActions.reset()
            compare(sensorLock.count, 0)
            compare(wire.names().length, 0)
            compare(sensorPage.stageValues, before)
            compare(sensorPage.reportRatePosition, 2)
        }
    }

    // A page made after its unit read the profile shows that state at once: the controls, the
    // stage in use and the picker on the current entry's colour.
    TestCase {
        name: "LatePages"
        when: windowShown

        function init() {
            ui_View.ui_02H_SetCurrentProfile(0)
            sceneTest.clearProfile()
            mouse.use({ sensorType: 0, fixedColorsOnly: false, stageCount: 8 })
        }

        function test_colorPageShowsTheUnitsState_data() {
            return [
                { tag: "STATIC on, the shipped palette", effect: [0, 7, 3, 1], first: [255, 0, 0] },
                { tag: "WAVE off, blue first", effect: [4, 3, 5, 0], first: [0, 0, 255] },
                { tag: "SPOTLIGHT on, orange first", effect: [9, 2, 6, 1], first: [255, 127, 0] },
            ]
        }
        function test_colorPageShowsTheUnitsState(data) {
            var colors = data.first.concat(palette24.slice(3))
            stored("type0", colors)
            stored("ledEffect", data.effect)
            LightingActions.refresh()
            var page = createTemporaryObject(lateColorPage, parent, { x: 0, y: 0 })
            compare(child(page, "effectMenu").currentIndex, data.effect[0])
            compare(child(page, "brightnessSlider").position, data.effect[1])
            compare(child(page, "speedSlider").position, data.effect[2])
            compare(child(page, "ledPower").isSelect, data.effect[3] === 1)
            compare(child(page, "lightColors").colorList(), colors)
            var picker = child(page, "lightColors_palette")
            compare([picker.r, picker.g, picker.b], data.first)
        }

        function test_sensorPageShowsTheUnitsState_data() {
            return [
                { tag: "stage 3 of four", stage: 3, stageCount: 4, current: 2, rate: 8, position: 0 },
                { tag: "stage 1 of eight", stage: 1, stageCount: 8, current: 0, rate: 1, position: 3 },
            ]
        }
        function test_sensorPageShowsTheUnitsState(data) {
            mouse.use({ stageCount: data.stageCount })
            stored("dpi", [500, 1000, 1500, 2000, 0, 0, 0, 0])
            stored("stage", data.stage)
            stored("reportRate", data.rate)
            stored("cursor", 8)
            stored("type1", palette24.slice().reverse())
            SensorActions.refresh()
            var page = createTemporaryObject(lateSensorPage, parent, { x: 0, y: 0 })
            compare(child(page, "dpiStages").currentStage, data.current)
            compare(visibleCount(page, "dpiStages_"), data.stageCount)
            compare(child(page, "reportRate").currentIndex, data.position)
            compare(child(page, "cursorSpeed").position, 8)
            var group = child(page, "indicatorColors")
            compare(group.current, data.current)
            compare(group.colorList(), palette24.slice().reverse())
        }
    }
}
