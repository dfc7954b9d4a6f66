import QtQuick 2.15
import QtTest 1.2
import W3.Actions 1.0
import W3.Logic 1.0
import "qrc:/modules/qml/basic"
import "qrc:/modules/qml/common"
import "qrc:/modules/qml/W3"

Item {
    id: stage
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

    GlobalSettings { id: settings; sceneRoot: sceneRoot }
    readonly property alias settingsUnit: settings
    // The panel as the scene hosts it: made when asked for, over the settings as they are then.
    Component {
        id: panelSlot
        PageSlot {
            madeAtStart: false
            sourceComponent: Page_Globalsetting { settings: stage.settingsUnit }
        }
    }
    property PageSlot slot: null
    Menu_Prof { id: profiles; x: 880 }
    // A menu made later, as a window opened after a switch makes it.
    Component { id: laterMenu; Menu_Prof {} }
    SignalSpy { id: closeSpy; target: slot ? slot.item : null; signalName: "closeRequested" }
    SignalSpy { id: profileSpy; target: profiles; signalName: "profileChanged" }
    SignalSpy { id: requestSpy; target: profiles; signalName: "switchRequested" }

    readonly property var languageCodes: ["025044", "031000", "059000"]
    readonly property string secondSkin: "modules/img/skin2"
    readonly property string secondSkinAway: "skin2"

    // A first start: no stored settings, sound on, three languages, nothing recorded yet.
    function resetView() {
        sceneTest.writeAppConfig([])
        sceneTest.keepLanguages(languageCodes)
        sceneTest.openFileAnswer = ""
        sceneTest.saveFileAnswer = ""
        ui_View.setEnableAudio(true)
        sceneTest.clearRecords()
    }

    // The settings panel, made now if it was not made yet.
    function panel() {
        slot.make()
        return slot.item
    }

    // The language file's own strings, as the program reads them.
    function stringsOf(code) { return ui_View.getGlobalStrings(code) }

    TestCase {
        name: "SettingsStartUp"
        when: windowShown

        function init() {
            resetView()
            sceneRoot.restoreDefaults()
            settings.languageNames = []
            settings.languageCodes = []
            settings.languagePosition = -1
            settings.presets = Palette.presets()
            settings.presetIndex = 0
            settings.brightnessStep = 7
            SettingsActions.keepRunning = false
            SettingsActions.notificationsOn = true
            settings.autostartChoice = null
            settings.openRgbChoice = null
            slot = createTemporaryObject(panelSlot, stage)
        }

        // The row shows the choice at once and SAVE writes the desktop's autostart entry; a
        // folder that cannot hold it is refused with a reason, the panel stays open and the
        // choice stays pending.
        function test_startWithTheDesktop_data() {
            return [
                { tag: "switched on", clicks: ["on"], blocked: false, enabled: true, refused: false },
                { tag: "switched on and off", clicks: ["on", "off"], blocked: false, enabled: false, refused: false },
                { tag: "a folder that cannot be made", clicks: ["on"], blocked: true, enabled: false, refused: true },
            ]
        }
        function test_startWithTheDesktop(data) {
            verify(Autostart.setEnabled(false))
            if (data.blocked) {
                verify(sceneTest.move("config", "config.moved"))
                verify(sceneTest.writeFile("config", "not a folder"))
            }
            slot.make()
            for (var i = 0; i < data.clicks.length; ++i)
                mouseClick(findChild(panel(), "autostartSwitch_" + data.clicks[i]))
            var chosen = data.clicks[data.clicks.length - 1] === "on"
            compare(findChild(panel(), "autostartSwitch_on").isSelect, chosen)
            compare(settings.pending, chosen, "a choice back to the stored state is no change")
            verify(!Autostart.enabled, "nothing is written before SAVE")
            closeSpy.clear()
            mouseClick(findChild(panel(), "saveButton"))
            compare(Autostart.enabled, data.enabled)
            compare(findChild(panel(), "autostartSwitch_on").isSelect, chosen)
            compare(findChild(panel(), "autostartRefusal").visible, data.refused)
            compare(closeSpy.count, data.refused ? 0 : 1)
            compare(settings.pending, data.refused)
            compare(sceneTest.readFile("config/autostart/w3config.desktop").indexOf("--background") >= 0, data.enabled)
        }

        // The OpenRGB server's switch: SAVE writes its setting, where the running program
        // watches it; DISCARD leaves it as it was. The row shows the port served.
        function test_openRgbServer_data() {
            return [
                { tag: "switched on, saved", clicks: ["on"], save: true, enabled: true },
                { tag: "switched on and off, saved", clicks: ["on", "off"], save: true, enabled: false },
                { tag: "switched on, discarded", clicks: ["on"], save: false, enabled: false },
            ]
        }
        function test_openRgbServer(data) {
            verify(OpenRgbSetting.setEnabled(false))
            slot.make()
            for (var i = 0; i < data.clicks.length; ++i)
                mouseClick(findChild(panel(), "openRgbSwitch_" + data.clicks[i]))
            verify(!OpenRgbSetting.enabled, "nothing is written before SAVE")
            if (data.save)
                mouseClick(findChild(panel(), "saveButton"))
            else
                settings.discard()
            verify(!settings.pending)
            compare(OpenRgbSetting.enabled, data.enabled)
            compare(findChild(panel(), "openRgbSwitch_on").isSelect, data.enabled)
            compare(findChild(panel(), "openRgbRefusal").visible, false)
            compare(findChild(panel(), "openRgbProblem").visible, false)
            compare(findChild(panel(), "openRgbPort").text, "PORT 6743")
            verify(sceneTest.readFile("modules/setting/openrgb.ini").indexOf("enabled=" + data.enabled) >= 0)
        }

        function test_emptyConfigurationKeepsTheDefaults() {
            settings.initUI()
            compare(sceneRoot.skin_No, 1)
            compare(sceneRoot.globalSetting_size, 11)
            compare(String(sceneRoot.globalSetting_color), "#00ffff")
            compare(sceneRoot.animation_speed, 800)
            compare(sceneRoot.globalSetting_fontFamily, "Arial")
            compare(settings.languageNames.length, 0, "the language menu stays empty")
            compare(sceneRoot.globalSetting_stringList.length, 0, "no language loaded")
            compare(sceneRoot.translated, [])
            verify(settings.skinShown)
        }

        function test_skinMenuOnlyWithSeveralSkins() {
            verify(sceneTest.move(secondSkin, secondSkinAway))
            settings.initUI()
            verify(sceneTest.move(secondSkinAway, secondSkin))
            verify(!findChild(panel(), "skinList").visible)
        }

        function test_saveBuildsTheListAndStartUpReadsItBack_data() {
            return [
                { tag: "defaults", skin: 0, sound: true, animated: true, language: 1, background: "",
                  larger: false, preset: 0, rgb: [0, 255, 255], step: 7, alpha: 255, keepRunning: false,
                  notifications: true },
                { tag: "everything changed", skin: 1, sound: false, animated: false, language: 2,
                  background: "wall paper.png", larger: true, preset: 4, rgb: [12, 34, 56], step: 0, alpha: 45,
                  keepRunning: true, notifications: false },
                { tag: "middle brightness", skin: 1, sound: true, animated: false, language: 0, background: "",
                  larger: false, preset: 6, rgb: [255, 0, 128], step: 3, alpha: 135, keepRunning: true,
                  notifications: true },
            ]
        }
        function test_saveBuildsTheListAndStartUpReadsItBack(data) {
            sceneTest.writeAppConfig([1, 1, 0, 0, 0, false, "", 0, 0, 255, 255, 255, 200, 150, 255, 180, 0,
                                200, 200, 100, 200, 170, 255, 255, 180, 180, 160, 190, 160, 0, 7, "https://example.org/help"])
            settings.initUI()
            settings.setSkin(data.skin)
            if (!data.sound)
                mouseClick(findChild(panel(), "soundSwitch_off"))
            if (!data.animated)
                mouseClick(findChild(panel(), "animationSwitch_off"))
            settings.setLanguage(data.language)
            var background = data.background !== "" ? sceneTest.path(data.background) : ""
            if (background !== "") {
                verify(sceneTest.writeFile(data.background, "picture"))
                sceneTest.openFileAnswer = background
                mouseClick(findChild(panel(), "backgroundSwitch"))
            }
            if (data.larger)
                mouseClick(findChild(panel(), "textSizeSwitch_larger"))
            if (data.keepRunning)
                mouseClick(findChild(panel(), "keepRunningSwitch"))
            if (!data.notifications)
                mouseClick(findChild(panel(), "notificationsSwitch"))
            compare(SettingsActions.keepRunning, data.keepRunning, "the program follows the switch at once")
            compare(SettingsActions.notificationsOn, data.notifications)
            mouseClick(findChild(panel(), "colorPreset_" + data.preset))
            settings.storeColor(data.rgb[0], data.rgb[1], data.rgb[2])
            settings.setBrightness(data.step)
            closeSpy.clear()
            mouseClick(findChild(panel(), "saveButton"))
            compare(closeSpy.count, 1, "SAVE closes the panel")

            var saved = sceneTest.storedAppConfig()
            compare(saved.length, 34)
            compare(saved[0], "1")
            compare(saved[1], String(data.skin + 1))
            compare(saved[2], data.sound ? "0" : "1")
            compare(saved[3], data.animated ? "0" : "1")
            compare(saved[4], String(data.language))
            compare(saved[5], data.background !== "" ? "true" : "false")
            compare(saved[6], background !== "" ? "file:" + background : "")
            compare(saved[7], data.larger ? "1" : "0")
            var first = 8 + 3 * data.preset
            compare([saved[first], saved[first + 1], saved[first + 2]], data.rgb.map(String))
            compare(saved[29], String(data.preset))
            compare(saved[30], String(data.step))
            compare(saved[31], "https://example.org/help", "the web address is kept")
            compare(saved[32], data.keepRunning ? "1" : "0")
            compare(saved[33], data.notifications ? "0" : "1")

            // The next start reads the stored text back into the same settings.
            sceneRoot.restoreDefaults()
            SettingsActions.keepRunning = !data.keepRunning
            SettingsActions.notificationsOn = !data.notifications
            settings.initUI()
            compare(sceneRoot.skin_No, data.skin + 1)
            compare(sceneTest.audio, data.sound)
            compare(sceneRoot.animation_speed, data.animated ? 800 : 10)
            compare(settings.languagePosition, data.language)
            compare(sceneRoot.isCustomBackground, data.background !== "")
            compare(sceneRoot.sourceCustomBackground, background !== "" ? "file:" + background : "")
            compare(sceneRoot.globalSetting_size, data.larger ? 12 : 11)
            compare(settings.presetIndex, data.preset)
            compare(settings.brightnessStep, data.step)
            var color = sceneRoot.globalSetting_color
            compare([Math.round(color.r * 255), Math.round(color.g * 255), Math.round(color.b * 255)], data.rgb)
            compare(Math.round(color.a * 255), data.alpha)
            compare(sceneRoot.globalSetting_url, "https://example.org/help")
            compare(SettingsActions.keepRunning, data.keepRunning)
            compare(SettingsActions.notificationsOn, data.notifications)
        }

        function test_damagedItemsFallBackToTheDefaults() {
            sceneTest.writeAppConfig([1, "x", "", 7, 99, "maybe", "", 5])
            settings.initUI()
            compare(sceneRoot.skin_No, 1)
            compare(sceneTest.audio, true)
            compare(sceneRoot.animation_speed, 10, "out-of-range values are clamped")
            compare(settings.languagePosition, -1, "no language at that position")
            verify(!sceneRoot.isCustomBackground)
            compare(sceneRoot.globalSetting_size, 12)
            compare(settings.presets[6], [160, 190, 160])
            compare(settings.brightnessStep, 7)
        }

        // Start-up applies the stored settings with no panel made; a panel made afterwards shows
        // them (and any change made meanwhile) at once, without a click.
        function test_panelMadeLateShowsTheState_data() {
            return [
                { tag: "stored defaults", config: [1, 1, 0, 0, 1], skin: 0, sound: true, animated: true,
                  language: 1, larger: false, background: false, preset: 0, rgb: [0, 255, 255], step: 7 },
                { tag: "everything stored otherwise",
                  config: [1, 2, 1, 1, 2, true, "file:/pictures/wall.png", 1, 0, 255, 255, 255, 200, 150, 255, 180, 0,
                           200, 200, 100, 12, 34, 56, 255, 180, 180, 160, 190, 160, 4, 2],
                  skin: 1, sound: false, animated: false, language: 2, larger: true, background: true,
                  preset: 4, rgb: [12, 34, 56], step: 2 },
                { tag: "changed after start, before the panel", config: [1, 1, 0, 0, 1],
                  change: function() { settings.setSkin(1); settings.setLanguage(0); settings.setLargerText(true);
                                       settings.setBrightness(3); settings.choosePreset(2) },
                  skin: 1, sound: true, animated: true, language: 0, larger: true, background: false,
                  preset: 2, rgb: [255, 180, 0], step: 3 },
            ]
        }
        function test_panelMadeLateShowsTheState(data) {
            sceneTest.writeAppConfig(data.config)
            settings.initUI()
            if (data.change)
                data.change()
            compare(slot.item, null, "no panel made by the start-up")
            compare(sceneRoot.skin_No, data.skin + 1)
            compare(sceneTest.audio, data.sound)
            compare(sceneRoot.animation_speed, data.animated ? 800 : 10)
            compare(sceneRoot.globalSetting_stringList[26], stringsOf(languageCodes[data.language])[26])
            compare(sceneRoot.globalSetting_size, data.larger ? 12 : 11)

            var page = panel()
            compare(findChild(page, "skinList").currentIndex, data.skin)
            compare(findChild(page, "soundSwitch_on").isSelect, data.sound)
            compare(findChild(page, "soundSwitch_off").isSelect, !data.sound)
            compare(findChild(page, "animationSwitch_on").isSelect, data.animated)
            compare(findChild(page, "animationSwitch_off").isSelect, !data.animated)
            compare(findChild(page, "languageList").currentIndex, data.language)
            compare(findChild(page, "languageList").currentText, settings.languageNames[data.language])
            compare(findChild(page, "backgroundSwitch").text, data.background ? "\u3010 ON \u3011" : "\u3010 OFF \u3011")
            compare(findChild(page, "textSizeSwitch_larger").isSelect, data.larger)
            compare(findChild(page, "textSizeSwitch_normal").isSelect, !data.larger)
            compare(findChild(page, "brightnessSlider").position, data.step)
            var palette = findChild(page, "textColorPalette")
            compare([palette.r, palette.g, palette.b], data.rgb)
            compare(findChild(page, "colorPreset_" + data.preset).border.width, 3)
            compare(settings.pending, data.change !== undefined, "showing the state changes nothing")
        }

        // The panel follows the settings while it is open: a language or a skin chosen from
        // elsewhere, and DISCARD, move its lists and its palette too.
        function test_openPanelFollowsTheState() {
            sceneTest.writeAppConfig([1, 1, 0, 0, 1])
            settings.initUI()
            var page = panel()
            settings.setLanguage(2)
            settings.setSkin(1)
            settings.storeColor(1, 2, 3)
            compare(findChild(page, "languageList").currentIndex, 2)
            compare(findChild(page, "skinList").currentIndex, 1)
            var palette = findChild(page, "textColorPalette")
            compare([palette.r, palette.g, palette.b], [1, 2, 3])
            settings.discard()
            compare(findChild(page, "languageList").currentIndex, 1)
            compare(findChild(page, "skinList").currentIndex, 0)
            compare([palette.r, palette.g, palette.b], [0, 255, 255])
        }

        function test_languageLoadsStringsAndRelabels() {
            sceneTest.writeAppConfig([1, 1, 0, 0, 2])
            settings.initUI()
            compare(settings.languageNames, ["CHINESE (Simp)", "ENGLISH", "JAPANESE"])
            compare(settings.languageCodes, languageCodes)
            var japanese = stringsOf("059000")
            compare(sceneRoot.globalSetting_fontFamily, japanese[0])
            compare(sceneRoot.globalSetting_stringList[26], japanese[26])
            verify(japanese[26] !== stringsOf("031000")[26], "a string of its own")
            compare(sceneRoot.translated, ["059000"])
            var languageList = findChild(panel(), "languageList")
            mouseClick(languageList)
            var item = null
            tryVerify(function() { item = findChild(languageList, "languageList_item0"); return item !== null }, 2000)
            mouseClick(item)
            compare(sceneRoot.translated, ["059000", "025044"])
            compare(sceneRoot.globalSetting_stringList[26], stringsOf("025044")[26])
            compare(settings.languagePosition, 0)
        }

        // An open list lies over the rows below it: a click on it picks from the list, never
        // the control of a later row underneath.
        function test_openListCoversTheRowsBelow() {
            sceneTest.writeAppConfig([1, 1, 0, 0, 0])
            settings.initUI()
            var page = panel()
            var languageList = findChild(page, "languageList")
            mouseClick(languageList)
            var larger = findChild(page, "textSizeSwitch_larger")
            var spot = larger.mapToItem(page, larger.width / 2, larger.height / 2)
            var over = -1
            tryVerify(function() { return findChild(languageList, "languageList_item0") !== null }, 2000)
            for (var i = 0; i < settings.languageNames.length; ++i) {
                var row = findChild(languageList, "languageList_item" + i)
                if (row && row.contains(row.mapFromItem(page, spot.x, spot.y)))
                    over = i
            }
            verify(over > 0, "a row of the open list, not the one chosen, lies over the switch")
            mouseClick(page, spot.x, spot.y)
            compare(settings.languagePosition, over, "the list's row over the switch")
            verify(!larger.isSelect)
            compare(sceneRoot.globalSetting_size, 11)
        }

        function test_background_data() {
            return [
                { tag: "picked picture", path: "pic.png", on: true },
                { tag: "cancelled", path: "", on: false },
                { tag: "unreadable", path: "missing.png", on: false },
            ]
        }
        function test_background(data) {
            verify(sceneTest.writeFile("pic.png", "picture"))
            sceneTest.openFileAnswer = data.path === "" ? "" : sceneTest.path(data.path)
            var button = findChild(panel(), "backgroundSwitch")
            mouseClick(button)
            compare(sceneRoot.isCustomBackground, data.on)
            compare(sceneRoot.sourceCustomBackground, data.on ? "file:" + sceneTest.path(data.path) : "")
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
            mouseClick(findChild(panel(), "brightnessSlider"), data.x, 10)
            compare(settings.brightnessStep, data.step)
            compare(Math.round(sceneRoot.globalSetting_color.a * 255), data.alpha)
        }

        // A release moved the knob itself; RESET must still bring it back with the step.
        function test_resetPutsTheBrightnessKnobBack() {
            sceneTest.writeAppConfig([1, 1, 0, 0, 0])
            settings.initUI()
            var slider = findChild(panel(), "brightnessSlider")
            mouseClick(slider, 0, 10)
            compare(slider.position, 0)
            mouseClick(findChild(panel(), "resetButton"))
            compare(settings.brightnessStep, 7)
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
            sceneTest.writeAppConfig([1, 1, 0, 0, 1])
            settings.initUI()
            verify(!settings.pending)
            var stored = JSON.stringify(settings.buildConfigList())
            var control = findChild(panel(), data.control)
            if (data.x !== undefined)
                mouseClick(control, data.x, control.height / 2)
            else
                mouseClick(control)
            if (data.item)
                mouseClick(findChild(panel(), data.item))
            verify(settings.pending, "changed, not saved")
            verify(JSON.stringify(settings.buildConfigList()) !== stored)
            settings.discard()
            verify(!settings.pending)
            compare(JSON.stringify(settings.buildConfigList()), stored)
            verify(sceneTest.audio, "the stored sound setting is back")
        }

        function test_storeEndsPending() {
            settings.initUI()
            mouseClick(findChild(panel(), "textSizeSwitch_larger"))
            verify(settings.pending)
            var closes = closeSpy.count
            settings.store()
            verify(!settings.pending)
            compare(sceneTest.storedAppConfig()[7], "1")
            compare(closeSpy.count, closes, "storing alone leaves the panel open")
        }

        function test_paletteChangesTheSelectedPreset() {
            mouseClick(findChild(panel(), "colorPreset_2"))
            var strip = findChild(panel(), "textColorPalette_strip")
            mousePress(strip, 10, 0)
            mouseRelease(strip, 10, 0)
            compare(settings.presets[2], [0, 0, 0])
            compare(settings.presets[1], [255, 200, 150], "the other presets stay")
            compare(String(sceneRoot.globalSetting_color), "#000000")
        }

        function test_soundSwitch() {
            settings.initUI()
            var clearsBefore = sceneTest.clears
            mouseClick(findChild(panel(), "soundSwitch_off"))
            verify(!sceneTest.audio)
            compare(sceneTest.clears, clearsBefore + 1)
            mouseClick(findChild(panel(), "soundSwitch_on"))
            verify(sceneTest.audio)
            compare(sceneTest.cues[sceneTest.cues.length - 1], 0)
        }

        function test_resetRestoresTheFactorySettings() {
            sceneTest.writeAppConfig([1, 2, 1, 1, 0])
            settings.initUI()
            verify(!sceneTest.audio)
            var clearsBefore = sceneTest.clears
            mouseClick(findChild(panel(), "resetButton"))
            compare(sceneTest.storedAppConfig(), sceneTest.factoryAppConfig(), "the factory file is back")
            compare(sceneTest.clears, clearsBefore + 1, "sound off and players cleared first")
            compare(sceneRoot.skin_No, 1)
            verify(sceneTest.audio, "the restored sound setting applies")
            compare(sceneTest.cues[sceneTest.cues.length - 1], 0)
        }
    }

    TestCase {
        name: "Menu_Prof"
        when: windowShown

        function row(index) { return findChild(profiles, "Menu_Prof_" + index) }

        readonly property string marker: "[marker]\nchanged=1\n"
        function profileFile(index) { return "modules/setting/p" + (index + 1) + ".bin" }

        // What reached the mouse and the files, in the words of the table: "load N" (the
        // profile file replaced by the chosen one after an open dialog), "save N" (a save
        // dialog offering the profile's file), "reset N" (the profile file back to the
        // factory one without a dialog), then "select N" for each switch the menu announced.
        function profileCalls(index) {
            var calls = []
            var replaced = sceneTest.readFile(profileFile(index)) === sceneTest.readFile("modules/setting/pD.bin")
            var dialogs = sceneTest.dialogs
            for (var i = 0; i < dialogs.length; ++i) {
                if (dialogs[i] === "Open File Profile(*.pf)" && replaced)
                    calls.push("load " + index)
                else if (dialogs[i].indexOf("Save File") === 0)
                    calls.push("save " + index)
            }
            if (dialogs.length === 0 && replaced)
                calls.push("reset " + index)
            for (var s = 0; s < profileSpy.count; ++s)
                calls.push("select " + profileSpy.signalArguments[s][0])
            return calls
        }

        function init() {
            resetView()
            for (var i = 0; i < 10; ++i)
                sceneTest.writeFile(profileFile(i), marker)
            // An importable profile: the factory one under the extension the dialog offers.
            verify(sceneTest.copyFile("modules/setting/pD.bin", "import.pf"))
            sceneTest.openFileAnswer = sceneTest.path("import.pf")
            ProfileActions.select(0)
            profiles.closeMenu()
            profiles.holdSwitches = false
            profileSpy.clear()
            requestSpy.clear()
        }

        function test_clickingTheSelectedEntryDoesNothing() {
            mouseClick(row(0))
            compare(profileCalls(0), [])
            compare(profileSpy.count, 0)
        }

        // A switch made before the menu was (the tray, the bus, w3ctl with the window closed).
        function test_aMenuMadeAfterASwitchSelectsTheProfileInUse() {
            ProfileActions.select(4)
            var later = createTemporaryObject(laterMenu, stage)
            compare(later.currentIndex, 4)
            verify(findChild(later, "Menu_Prof_4").selected)
            verify(!findChild(later, "Menu_Prof_0").selected)
            mouseClick(findChild(later, "Menu_Prof_0"))
            compare(sceneTest.currentProfile, 0, "P01 is another profile than the one in use")
            compare(profiles.currentIndex, 0)
        }

        function test_leftClickSwitches() {
            mouseClick(row(3))
            compare(profiles.currentIndex, 3)
            compare(profileCalls(3), ["select 3"])
            compare(sceneTest.currentProfile, 3)
            compare(profileSpy.count, 1)
        }

        // With unapplied changes on the pages the owner is asked first; nothing switches yet.
        function test_heldSwitchIsOnlyRequested() {
            profiles.holdSwitches = true
            mouseClick(row(3))
            compare(requestSpy.count, 1)
            compare(requestSpy.signalArguments[0][0], 3)
            compare(profiles.currentIndex, 0)
            compare(sceneTest.currentProfile, 0)
            compare(profileCalls(3), [])
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
                compare(profileCalls(data.row), [])
                Questions.answer(data.answer)
            }
            compare(profileCalls(data.row), data.calls)
            compare(profiles.currentIndex, 0, "the selection stays")
            compare(sceneTest.currentProfile, 0)
        }

        function test_labels() {
            compare(profiles.label(0), "P01")
            compare(profiles.label(9), "P10")
        }
    }
}
