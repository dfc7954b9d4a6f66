import QtQuick 2.15
import QtTest 1.2
import "qrc:/modules/qml/common"
import "qrc:/modules/qml/W3"

Item {
    width: 1420
    height: 472

    Page_Color { id: colorPage }
    Page_Sensor { id: sensorPage; x: 710 }

    SignalSpy { id: colorLock; target: colorPage; signalName: "protectUI" }
    SignalSpy { id: sensorLock; target: sensorPage; signalName: "protectUI" }

    readonly property var palette24: [255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 0, 255,
                                      0, 255, 255, 255, 255, 0, 255, 255, 255, 255, 127, 0]

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
            ui_View.clearProfiles()
            ui_View.store("type0", palette24)
            ui_View.store("ledEffect", [0, 7, 4, 1])
            colorPage.initUI([8])
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
            ui_View.clearCalls()
            mouseClick(child(colorPage, "colorApplyButton"))
            compare(colorLock.count, 1)
            compare(colorLock.signalArguments[0][0], 800)
            compare(ui_View.callNames(), ["0DH"])
            var call = ui_View.lastCall("0DH")
            compare(call.slice(0, 3), data.sent)
            // The sliders an effect does not use keep the values the page started with.
            var brightness = [2, 3, 5].indexOf(data.position) >= 0 ? 7 : data.brightness
            var speed = [2, 3, 4, 7, 8, 9].indexOf(data.position) >= 0 ? data.speed : 4
            compare(call[3], [data.position, brightness, speed, data.on ? 1 : 0])
        }

        function test_totalApplySendsWithoutLock() {
            colorPage.totalApply()
            compare(colorLock.count, 0)
            compare(ui_View.callNames(), ["0DH"])
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
            ui_View.store("ledEffect", data.stored)
            colorPage.profileChanged()
            compare(colorPage.effectPosition, data.position)
            compare(child(colorPage, "effectMenu").currentIndex, data.position)
            compare(colorPage.brightnessStep, data.brightness)
            compare(child(colorPage, "brightnessSlider").position, data.brightness)
            compare(colorPage.speedStep, data.speed)
            compare(child(colorPage, "speedSlider").position, data.speed)
            compare(colorPage.powerOn, data.on)
            compare(child(colorPage, "ledPower").isSelect, data.on)
            compare(ui_View.calls.length, 0)
        }

        function test_refreshKeepsThePageForListsOfOtherLengths() {
            ui_View.store("ledEffect", [4, 3, 5, 1])
            colorPage.profileChanged()
            ui_View.store("ledEffect", [1])
            ui_View.store("type0", [1, 2, 3])
            colorPage.profileChanged()
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
            ui_View.store("ledEffect", [2, 5, 5, data.on ? 0 : 1])
            colorPage.profileChanged()
            compare(colorPage.powerOn, !data.on)
            compare(colorPage.effectPosition, 2)
            ui_View.ui_02H_SetCurrentProfile(0)
            colorPage.profileChanged()
            compare(colorPage.powerOn, data.on)
            compare(child(colorPage, "ledPower").isSelect, data.on)
            compare(colorPage.effectPosition, data.position)
        }

        function test_colourChangeSendsAllEight() {
            chooseEffect(0)
            var group = child(colorPage, "lightColors")
            mouseClick(child(group, "lightColors_entry2"))
            compare(group.current, 2)
            compare(ui_View.calls.length, 0)
            var field = child(group, "lightColors_palette_g")
            mouseClick(field)
            keyClick(Qt.Key_A, Qt.ControlModifier)
            keyClick(Qt.Key_1)
            keyClick(Qt.Key_2)
            keyClick(Qt.Key_8)
            keyClick(Qt.Key_Return)
            compare(ui_View.callNames(), ["10H"])
            var expected = palette24.slice()
            expected[7] = 128
            compare(ui_View.lastCall("10H"), [0, expected])
        }

        function test_paletteStripPicksForTheCurrentEntry() {
            var group = child(colorPage, "lightColors")
            mouseClick(child(group, "lightColors_entry5"))
            var strip = child(group, "lightColors_palette_strip")
            mouseClick(strip, 10, 1)
            var sent = ui_View.lastCall("10H")
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
            colorPage.initUI(data.config)
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
            ui_View.lightingDefaults = colors.concat(data.effect)
            mouseClick(child(colorPage, "colorResetButton"))
            compare(colorLock.signalArguments[0][0], 800)
            compare(ui_View.callNames(), data.noColors ? [] : ["10H"])
            if (!data.noColors)
                compare(ui_View.lastCall("10H"), [0, colors])
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
            ui_View.clearProfiles()
            ui_View.sensorType = 0
            ui_View.logoLedWork = false
            ui_View.maxStage = 8
            ui_View.store("type1", palette24)
            ui_View.store("type2", [0, 1, 2, 3, 4, 5, 6, 7])
            sensorPage.initUI([8])
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
            ui_View.sensorType = data.type
            ui_View.maxStage = 6
            sensorPage.profileChanged()
            var values = sensorPage.stageValues.slice()
            values[data.stage] = data.value
            ui_View.clearCalls()
            pickStageValue(data.stage, data.menuIndex)
            compare(ui_View.callNames(), ["11H"])
            compare(ui_View.lastCall("11H"), [6, data.codes, values])
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
            ui_View.sensorType = data.type
            ui_View.store("dpi", data.stored)
            ui_View.store("stage", 2)
            sensorPage.profileChanged()
            var stages = child(sensorPage, "dpiStages")
            compare(stages.stageTexts, data.texts)
            var note = child(sensorPage, "adjustedNote")
            compare(note.visible, data.texts.join("").indexOf("\u2248") >= 0)
            pickStageValue(0, data.menuIndex)
            compare(ui_View.callNames(), ["11H"])
            compare(ui_View.lastCall("11H")[1], data.codes)
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
            ui_View.store("dpi", data.stored)
            ui_View.store("stage", data.stage)
            sensorPage.profileChanged()
            pickStageValue(data.off, 0)
            compare(ui_View.callNames(), data.sent ? ["11H"] : [])
            compare(sensorPage.currentStage, data.current)
            compare(child(sensorPage, "dpiStages").currentStage, data.current)
            compare(child(sensorPage, "indicatorColors").current, data.current)
            var hint = child(sensorPage, "stageHint")
            compare(hint.visible, !data.sent)
            if (!data.sent)
                compare(child(sensorPage, "dpiStages").stageTexts[data.off], "1500")
            mouseClick(child(sensorPage, "sensorApplyButton"))
            compare(ui_View.lastCall("0BH"), [data.current + 1])
            hint.hide()
        }

        function test_unknownSensorHasNoMenuAndZeroDefaults() {
            ui_View.sensorType = 9
            sensorPage.profileChanged()
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
            ui_View.sensorType = data.type
            sensorPage.profileChanged()
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
            ui_View.maxStage = data.maxStage
            sensorPage.profileChanged()
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
            ui_View.maxStage = data.maxStage
            ui_View.store("stage", data.stored)
            sensorPage.profileChanged()
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
            compare(ui_View.calls.length, 0)
        }

        // The colour of an unused stage can be set; choosing its entry leaves the stage in use.
        function test_unusedStageTakesAColour() {
            ui_View.store("stage", 2)
            sensorPage.profileChanged()
            var group = child(sensorPage, "indicatorColors")
            mouseClick(child(group, "indicatorColors_entry6"))
            compare(group.current, 6)
            compare(sensorPage.currentStage, 1)
            mouseClick(child(group, "indicatorColors_palette_strip"), 10, 0)
            var expected = palette24.slice()
            expected[18] = 0
            expected[19] = 0
            expected[20] = 0
            compare(ui_View.lastCall("10H"), [1, expected])
            compare(group.current, 6)
        }

        function test_indicatorColours_data() {
            return [
                { tag: "colours", fixed: false },
                { tag: "fixed colour ids", fixed: true },
            ]
        }
        function test_indicatorColours(data) {
            ui_View.logoLedWork = data.fixed
            ui_View.store("stage", 2)
            sensorPage.profileChanged()
            var group = child(sensorPage, "indicatorColors")
            compare(group.isCompat8Color, data.fixed)
            compare(child(group, "indicatorColors_palette").visible, !data.fixed)
            compare(child(group, "indicatorColors_fixed5").visible, data.fixed)
            if (data.fixed) {
                mouseClick(child(group, "indicatorColors_fixed5"))
                compare(ui_View.lastCall("10H"), [2, [0, 5, 2, 3, 4, 5, 6, 7]])
                compare(Qt.colorEqual(group.currentColor, "#ffff00"), true)
            } else {
                var strip = child(group, "indicatorColors_palette_strip")
                mouseClick(strip, 10, 0)
                var expected = palette24.slice()
                expected[3] = 0
                expected[4] = 0
                expected[5] = 0
                compare(ui_View.lastCall("10H"), [1, expected])
            }
            compare(ui_View.callNames().length, 1)
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
            ui_View.store("reportRate", data.stored)
            sensorPage.profileChanged()
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
            compare(ui_View.calls.length, 0)
            mouseClick(child(sensorPage, "sensorApplyButton"))
            compare(sensorLock.signalArguments[0][0], 1600)
            compare(ui_View.callNames(), ["01H", "cursor", "scroll", "double", "0BH"])
            compare(ui_View.lastCall("01H"), [data.sentRate])
            compare(ui_View.lastCall("cursor"), [data.sliders[0]])
            compare(ui_View.lastCall("scroll"), [data.sliders[1]])
            compare(ui_View.lastCall("double"), [data.sliders[2]])
            compare(ui_View.lastCall("0BH"), [data.stage + 1])
        }

        function test_startUpReadsThePointerSettings() {
            compare(child(sensorPage, "cursorSpeed").position, 0)
            ui_View.store("cursor", 7)
            ui_View.store("scroll", 3)
            ui_View.store("double", 9)
            sensorPage.profileChanged()
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
            ui_View.logoLedWork = data.fixed
            sensorPage.profileChanged()
            ui_View.sensorDefaults = factoryList()
            ui_View.clearCalls()
            mouseClick(child(sensorPage, "sensorResetButton"))
            compare(sensorLock.signalArguments[0][0], 800)
            compare(ui_View.callNames(), ["11H", "10H"])
            compare(ui_View.lastCall("11H"), [8, [0x02, 0x04, 0x06, 0x08, 0x45, 0x46, 0x47, 0x48],
                                              [500, 1000, 1500, 2000, 2500, 3000, 3500, 4000]])
            if (data.fixed)
                compare(ui_View.lastCall("10H"), [2, [7, 6, 5, 4, 3, 2, 1, 0]])
            else
                compare(ui_View.lastCall("10H"), [1, palette24.slice().reverse()])
            compare(sensorPage.reportRatePosition, 1)
            compare(child(sensorPage, "cursorSpeed").position, 6)
            compare(child(sensorPage, "scrollLines").position, 1)
            compare(child(sensorPage, "doubleClickSpeed").position, 8)
            compare(sensorPage.currentStage, 2)
            compare(child(sensorPage, "indicatorColors").current, 2)
        }

        function test_resetWithoutFullListsKeepsTheStages() {
            ui_View.sensorDefaults = [2, 5, 2, 5, 2]
            var before = sensorPage.stageValues.slice()
            sensorPage.totalReset()
            compare(sensorLock.count, 0)
            compare(ui_View.calls.length, 0)
            compare(sensorPage.stageValues, before)
            compare(sensorPage.reportRatePosition, 2)
        }
    }
}
