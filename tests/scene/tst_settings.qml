import QtQuick 2.15
import QtTest 1.2
import "qrc:/modules/qml/basic"
import "qrc:/modules/qml/common"
import "qrc:/modules/qml/W3"

Item {
    width: 1000
    height: 600

    // Stands in for the scene root: its data model and translateStrings.
    Item {
        id: sceneRoot
        property var globalSetting_stringList: []
        property string globalSetting_fontFamily: "Arial"
        property int globalSetting_size: 11
        property color globalSetting_color: "#FF00FFFF"
        property int animation_speed: 800
        property int skin_No: 1
        property bool isCustomBackground: false
        property string sourceCustomBackground: ""
        property string globalSetting_url: ""
        property var translated: []
        function translateStrings(code) { translated = translated.concat([code]) }
        function restoreDefaults() {
            globalSetting_stringList = []
            globalSetting_fontFamily = "Arial"
            globalSetting_size = 11
            globalSetting_color = "#FF00FFFF"
            animation_speed = 800
            skin_No = 1
            isCustomBackground = false
            sourceCustomBackground = ""
            globalSetting_url = ""
            translated = []
        }
    }

    Page_Globalsetting { id: page; sceneRoot: sceneRoot }
    Menu_Prof { id: profiles; x: 880 }
    SignalSpy { id: closeSpy; target: page; signalName: "closeRequested" }
    SignalSpy { id: profileSpy; target: profiles; signalName: "profileChanged" }
    SignalSpy { id: requestSpy; target: profiles; signalName: "switchRequested" }

    readonly property var languages: ({ "CHINESE (Simp)": "025044", "ENGLISH": "031000", "JAPANESE": "059000" })

    function resetView() {
        ui_View.apConfig = []
        ui_View.savedApConfig = []
        ui_View.languages = languages
        ui_View.loadedLanguages = []
        ui_View.customFilePath = ""
        ui_View.cues = []
        ui_View.profileCalls = []
        ui_View.audio = true
        ui_View.skinShow = true
    }

    TestCase {
        name: "SettingsStartUp"
        when: windowShown

        function init() {
            resetView()
            sceneRoot.restoreDefaults()
            page.languageNames = []
            page.languageCodes = []
            page.languagePosition = -1
        }

        function test_emptyConfigurationKeepsTheDefaults() {
            page.initUI()
            compare(sceneRoot.skin_No, 1)
            compare(sceneRoot.globalSetting_size, 11)
            compare(String(sceneRoot.globalSetting_color), "#00ffff")
            compare(sceneRoot.animation_speed, 800)
            compare(sceneRoot.globalSetting_fontFamily, "Arial")
            compare(page.languageNames.length, 0, "the language menu stays empty")
            compare(ui_View.loadedLanguages.length, 0)
            verify(page.skinShown)
        }

        function test_skinMenuOnlyWithSeveralSkins() {
            ui_View.skinShow = false
            page.initUI()
            verify(!findChild(page, "skinList").visible)
        }

        function test_saveBuildsTheListAndStartUpReadsItBack_data() {
            return [
                { tag: "defaults", skin: 0, sound: true, animated: true, language: 1, background: "",
                  larger: false, preset: 0, rgb: [0, 255, 255], step: 7, alpha: 255 },
                { tag: "everything changed", skin: 1, sound: false, animated: false, language: 2,
                  background: "/tmp/wall paper.png", larger: true, preset: 4, rgb: [12, 34, 56], step: 0, alpha: 45 },
                { tag: "middle brightness", skin: 1, sound: true, animated: false, language: 0, background: "",
                  larger: false, preset: 6, rgb: [255, 0, 128], step: 3, alpha: 135 },
            ]
        }
        function test_saveBuildsTheListAndStartUpReadsItBack(data) {
            ui_View.apConfig = [1, 1, 0, 0, 0, false, "", 0, 0, 255, 255, 255, 200, 150, 255, 180, 0,
                                200, 200, 100, 200, 170, 255, 255, 180, 180, 160, 190, 160, 0, 7, "https://example.org/help"]
            page.initUI()
            page.setSkin(data.skin)
            if (!data.sound)
                mouseClick(findChild(page, "soundSwitch_off"))
            if (!data.animated)
                mouseClick(findChild(page, "animationSwitch_off"))
            page.setLanguage(data.language)
            if (data.background !== "") {
                ui_View.customFilePath = data.background
                mouseClick(findChild(page, "backgroundSwitch"))
            }
            if (data.larger)
                mouseClick(findChild(page, "textSizeSwitch_larger"))
            mouseClick(findChild(page, "colorPreset_" + data.preset))
            page.storeColor(data.rgb[0], data.rgb[1], data.rgb[2])
            page.brightnessStep = data.step
            page.applyColor()
            closeSpy.clear()
            mouseClick(findChild(page, "saveButton"))
            compare(closeSpy.count, 1, "SAVE closes the panel")

            var saved = ui_View.savedApConfig
            compare(saved.length, 32)
            compare(saved[0], "1")
            compare(saved[1], String(data.skin + 1))
            compare(saved[2], data.sound ? "0" : "1")
            compare(saved[3], data.animated ? "0" : "1")
            compare(saved[4], String(data.language))
            compare(saved[5], data.background !== "" ? "true" : "false")
            compare(saved[6], data.background !== "" ? "file:" + data.background : "")
            compare(saved[7], data.larger ? "1" : "0")
            var first = 8 + 3 * data.preset
            compare([saved[first], saved[first + 1], saved[first + 2]], data.rgb.map(String))
            compare(saved[29], String(data.preset))
            compare(saved[30], String(data.step))
            compare(saved[31], "https://example.org/help", "the web address is kept")

            // The next start reads the stored text back into the same settings.
            sceneRoot.restoreDefaults()
            ui_View.apConfig = saved
            page.initUI()
            compare(sceneRoot.skin_No, data.skin + 1)
            compare(ui_View.audio, data.sound)
            compare(sceneRoot.animation_speed, data.animated ? 800 : 10)
            compare(page.languagePosition, data.language)
            compare(sceneRoot.isCustomBackground, data.background !== "")
            compare(sceneRoot.sourceCustomBackground, data.background !== "" ? "file:" + data.background : "")
            compare(sceneRoot.globalSetting_size, data.larger ? 12 : 11)
            compare(page.presetIndex, data.preset)
            compare(page.brightnessStep, data.step)
            var color = sceneRoot.globalSetting_color
            compare([Math.round(color.r * 255), Math.round(color.g * 255), Math.round(color.b * 255)], data.rgb)
            compare(Math.round(color.a * 255), data.alpha)
            compare(sceneRoot.globalSetting_url, "https://example.org/help")
        }

        function test_damagedItemsFallBackToTheDefaults() {
            ui_View.apConfig = [1, "x", "", 7, 99, "maybe", "", 5]
            page.initUI()
            compare(sceneRoot.skin_No, 1)
            compare(ui_View.audio, true)
            compare(sceneRoot.animation_speed, 10, "out-of-range values are clamped")
            compare(page.languagePosition, -1, "no language at that position")
            verify(!sceneRoot.isCustomBackground)
            compare(sceneRoot.globalSetting_size, 12)
            compare(page.presets[6], [160, 190, 160])
            compare(page.brightnessStep, 7)
        }

        function test_languageLoadsStringsAndRelabels() {
            ui_View.apConfig = [1, 1, 0, 0, 2]
            page.initUI()
            compare(page.languageNames, ["CHINESE (Simp)", "ENGLISH", "JAPANESE"])
            compare(ui_View.loadedLanguages, ["059000"])
            compare(sceneRoot.globalSetting_fontFamily, "DejaVu Sans")
            compare(sceneRoot.globalSetting_stringList[26], "059000:26")
            compare(sceneRoot.translated, ["059000"])
            var languageList = findChild(page, "languageList")
            mouseClick(languageList)
            var item = null
            tryVerify(function() { item = findChild(languageList, "languageList_item0"); return item !== null }, 2000)
            mouseClick(item)
            compare(ui_View.loadedLanguages, ["059000", "025044"])
            compare(page.languagePosition, 0)
        }

        function test_background_data() {
            return [
                { tag: "picked picture", path: "/tmp/pic.png", on: true, source: "file:/tmp/pic.png" },
                { tag: "cancelled or unreadable", path: "", on: false, source: "" },
            ]
        }
        function test_background(data) {
            ui_View.customFilePath = data.path
            var button = findChild(page, "backgroundSwitch")
            mouseClick(button)
            compare(sceneRoot.isCustomBackground, data.on)
            compare(sceneRoot.sourceCustomBackground, data.source)
            compare(button.text, data.on ? "\u3010 ON \u3011" : "\u3010 OFF \u3011")
            mouseClick(button)
            verify(!sceneRoot.isCustomBackground)
            compare(sceneRoot.sourceCustomBackground, "")
        }

        function test_brightness_data() {
            return [
                { tag: "step 0", x: 0, step: 0, alpha: 45 },
                { tag: "step 7", x: 239, step: 7, alpha: 255 },
            ]
        }
        function test_brightness(data) {
            mouseClick(findChild(page, "brightnessSlider"), data.x, 10)
            compare(page.brightnessStep, data.step)
            compare(Math.round(sceneRoot.globalSetting_color.a * 255), data.alpha)
        }

        // A release moved the knob itself; RESET must still bring it back with the step.
        function test_resetPutsTheBrightnessKnobBack() {
            ui_View.apConfig = [1, 1, 0, 0, 0]
            page.initUI()
            var slider = findChild(page, "brightnessSlider")
            mouseClick(slider, 0, 10)
            compare(slider.position, 0)
            mouseClick(findChild(page, "resetButton"))
            compare(page.brightnessStep, 7)
            compare(slider.position, 7, "the knob follows the restored step")
        }

        // Every kind of change is pending until SAVE; discard() puts the stored settings back.
        function test_pendingUntilDiscarded_data() {
            return [
                { tag: "skin", control: "skinList", item: "skinList_item1" },
                { tag: "sound", control: "soundSwitch_off" },
                { tag: "animation", control: "animationSwitch_off" },
                { tag: "language", control: "languageList", item: "languageList_item2" },
                { tag: "text size", control: "textSizeSwitch_larger" },
                { tag: "brightness", control: "brightnessSlider", x: 0 },
                { tag: "colour preset", control: "colorPreset_3" },
            ]
        }
        function test_pendingUntilDiscarded(data) {
            ui_View.apConfig = [1, 1, 0, 0, 1]
            page.initUI()
            verify(!page.pending)
            var stored = JSON.stringify(page.buildConfigList())
            var control = findChild(page, data.control)
            if (data.x !== undefined)
                mouseClick(control, data.x, control.height / 2)
            else
                mouseClick(control)
            if (data.item)
                mouseClick(findChild(page, data.item))
            verify(page.pending, "changed, not saved")
            verify(JSON.stringify(page.buildConfigList()) !== stored)
            page.discard()
            verify(!page.pending)
            compare(JSON.stringify(page.buildConfigList()), stored)
            verify(ui_View.audio, "the stored sound setting is back")
        }

        function test_storeEndsPending() {
            page.initUI()
            mouseClick(findChild(page, "textSizeSwitch_larger"))
            verify(page.pending)
            var closes = closeSpy.count
            page.store()
            verify(!page.pending)
            compare(ui_View.savedApConfig[7], "1")
            compare(closeSpy.count, closes, "storing alone leaves the panel open")
        }

        function test_paletteChangesTheSelectedPreset() {
            mouseClick(findChild(page, "colorPreset_2"))
            var strip = findChild(page, "textColorPalette_strip")
            mousePress(strip, 10, 0)
            mouseRelease(strip, 10, 0)
            compare(page.presets[2], [0, 0, 0])
            compare(page.presets[1], [255, 200, 150], "the other presets stay")
            compare(String(sceneRoot.globalSetting_color), "#000000")
        }

        function test_soundSwitch() {
            page.initUI()
            var clearsBefore = ui_View.clears
            mouseClick(findChild(page, "soundSwitch_off"))
            verify(!ui_View.audio)
            compare(ui_View.clears, clearsBefore + 1)
            mouseClick(findChild(page, "soundSwitch_on"))
            verify(ui_View.audio)
            compare(ui_View.cues[ui_View.cues.length - 1], 0)
        }

        function test_resetRestoresTheFactorySettings() {
            ui_View.apConfig = [1, 2, 1, 1, 0]
            page.initUI()
            verify(!ui_View.audio)
            var resetsBefore = ui_View.resets
            var clearsBefore = ui_View.clears
            ui_View.apConfig = [1, 1, 0, 0, 1]
            mouseClick(findChild(page, "resetButton"))
            compare(ui_View.resets, resetsBefore + 1)
            compare(ui_View.clears, clearsBefore + 1, "sound off and players cleared first")
            compare(sceneRoot.skin_No, 1)
            verify(ui_View.audio, "the restored sound setting applies")
            compare(ui_View.cues[ui_View.cues.length - 1], 0)
        }
    }

    TestCase {
        name: "Menu_Prof"
        when: windowShown

        function row(index) { return findChild(profiles, "Menu_Prof_" + index) }

        function init() {
            resetView()
            profiles.currentIndex = 0
            profiles.closeMenu()
            profiles.holdSwitches = false
            profileSpy.clear()
            requestSpy.clear()
        }

        function test_clickingTheSelectedEntryDoesNothing() {
            mouseClick(row(0))
            compare(ui_View.profileCalls, [])
            compare(profileSpy.count, 0)
        }

        function test_leftClickSwitches() {
            mouseClick(row(3))
            compare(profiles.currentIndex, 3)
            compare(ui_View.profileCalls, ["select 3"])
            compare(profileSpy.count, 1)
        }

        // With unapplied changes on the pages the owner is asked first; nothing switches yet.
        function test_heldSwitchIsOnlyRequested() {
            profiles.holdSwitches = true
            mouseClick(row(3))
            compare(requestSpy.count, 1)
            compare(requestSpy.signalArguments[0][0], 3)
            compare(profiles.currentIndex, 0)
            compare(ui_View.profileCalls, [])
            compare(profileSpy.count, 0)
            mouseClick(row(0))
            compare(requestSpy.count, 1, "the selected entry asks nothing")
        }

        // LOAD and RESET ask first: nothing happens until the question is answered, and
        // CANCEL (the safe answer) leaves everything as it was.
        function test_rightClickMenu_data() {
            return [
                { tag: "LOAD of the selected entry selects again", row: 0, action: "load", answer: 0, calls: ["load 0", "select 0"] },
                { tag: "RESET of the selected entry selects again", row: 0, action: "reset", answer: 0, calls: ["reset 0", "select 0"] },
                { tag: "SAVE of the selected entry", row: 0, action: "save", calls: ["save 0"] },
                { tag: "LOAD of another entry", row: 5, action: "load", answer: 0, calls: ["load 5"] },
                { tag: "RESET of another entry", row: 5, action: "reset", answer: 0, calls: ["reset 5"] },
                { tag: "LOAD cancelled", row: 0, action: "load", answer: 1, calls: [] },
                { tag: "RESET cancelled", row: 5, action: "reset", answer: 1, calls: [] },
                { tag: "CANCEL", row: 5, action: "cancel", calls: [] },
            ]
        }
        function test_rightClickMenu(data) {
            mouseClick(row(data.row), 10, 10, Qt.RightButton)
            var popup = findChild(profiles, "Menu_Prof_menu")
            verify(popup.visible)
            mouseClick(findChild(profiles, "Menu_Prof_" + data.action))
            verify(!popup.visible)
            compare(Questions.active, data.answer !== undefined)
            if (Questions.active) {
                compare(Questions.safeChoice, 1)
                verify(Questions.sentence.indexOf(profiles.label(data.row)) >= 0)
                compare(ui_View.profileCalls, [])
                Questions.answer(data.answer)
            }
            compare(ui_View.profileCalls, data.calls)
            compare(profiles.currentIndex, 0, "the selection stays")
        }

        function test_labels() {
            compare(profiles.label(0), "P01")
            compare(profiles.label(9), "P10")
        }
    }
}
