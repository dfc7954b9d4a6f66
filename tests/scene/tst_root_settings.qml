import QtQuick 2.15
import QtTest 1.2
import "qrc:/modules/qml/common"

// The scene root's global settings from start-up on: applied to the window before the settings
// panel exists, shown by the panel when it is made late, and settled (SAVE / DISCARD / CANCEL)
// whether or not the panel was ever made. Every test starts a scene of its own.
Item {
    id: stage
    width: 1000
    height: 600

    Component {
        id: sceneMaker
        Loader { source: "qrc:/modules/qml/main.qml" }
    }

    readonly property var languageCodes: ["025044", "031000", "059000"]
    readonly property int larger: 12
    readonly property int normal: 11

    TestCase {
        name: "RootSettings"
        when: windowShown

        // A program start on the stored `config`: the scene made and started up as the view does.
        function startScene(config) {
            sceneTest.writeAppConfig(config)
            sceneTest.keepLanguages(languageCodes)
            ui_View.setEnableAudio(true)
            var root = createTemporaryObject(sceneMaker, stage).item
            root.initUI()
            return root
        }

        function settingsOf(root) { return findChild(root, "GlobalSettings") }

        function cleanup() {
            sceneTest.writeAppConfig([])
            ui_View.setEnableAudio(true)
        }

        function test_startUpWithoutThePanel_data() {
            return [
                { tag: "first start", config: [], skin: 1, sound: true, speed: 800, size: 11, language: -1 },
                { tag: "stored: skin 2, quiet, still, Japanese, larger", config: [1, 2, 1, 1, 2, false, "", 1],
                  skin: 2, sound: false, speed: 10, size: 12, language: 2 },
                { tag: "stored: skin 1, sound, animated, Chinese", config: [1, 1, 0, 0, 0, false, "", 0],
                  skin: 1, sound: true, speed: 800, size: 11, language: 0 },
            ]
        }
        function test_startUpWithoutThePanel(data) {
            var root = startScene(data.config)
            compare(root.settingsPage, null, "the start-up makes no panel")
            compare(findChild(root, "Page_Globalsetting"), null)
            compare(root.skin_No, data.skin)
            compare(Theme.skinNo, data.skin, "the window draws in the stored skin")
            compare(sceneTest.audio, data.sound)
            compare(root.animation_speed, data.speed)
            compare(Theme.animationSpeed, data.speed)
            compare(root.globalSetting_size, data.size)
            compare(Theme.fontSize, data.size)
            if (data.language >= 0) {
                var strings = ui_View.getGlobalStrings(languageCodes[data.language])
                compare(Theme.text(26, "SKIN"), strings[26])
                compare(root.globalSetting_fontFamily, strings[0])
            } else {
                compare(Theme.text(26, "SKIN"), "SKIN")
            }
            verify(!settingsOf(root).pending)

            // Opened late, the panel shows what the start-up applied.
            root.showGlobalSetting(true)
            var page = root.settingsPage
            verify(page !== null)
            compare(findChild(page, "skinList").currentIndex, data.skin - 1)
            compare(findChild(page, "soundSwitch_on").isSelect, data.sound)
            compare(findChild(page, "animationSwitch_on").isSelect, data.speed === 800)
            compare(findChild(page, "animationSwitch_off").isSelect, data.speed === 10)
            compare(findChild(page, "textSizeSwitch_larger").isSelect, data.size === 12)
            compare(findChild(page, "languageList").currentIndex, data.language)
            verify(!settingsOf(root).pending, "opening the panel changes nothing")
        }

        // The panel is made by whatever opens it; opened by its button it slides in from aside.
        function test_panelMadeByWhateverOpensIt_data() {
            return [
                { tag: "settings button", byButton: true },
                { tag: "open state set directly", byButton: false },
            ]
        }
        function test_panelMadeByWhateverOpensIt(data) {
            var root = startScene([1, 1, 0, 0, 1])
            root.visible = true
            compare(root.settingsPage, null)
            if (data.byButton)
                root.showGlobalSetting(true)
            else
                root.isGlobalSettingSelect = true
            var page = root.settingsPage
            verify(page !== null)
            if (data.byButton)
                verify(page.x > 160, "still on its way in")
            tryCompare(page, "x", 160, 5000)
            verify(page.visible)
        }

        // The pointer on the settings toggle has the panel made in the background, closed.
        function test_panelMadeAheadWhenThePointerReachesItsToggle() {
            var root = startScene([1, 1, 0, 1, 1])
            root.run()
            tryVerify(function() { return root.ready }, 5000)
            compare(root.settingsPage, null, "the opening makes no panel")
            mouseMove(findChild(root, "Menu_Up_settings"), 16, 16)
            tryVerify(function() { return root.settingsPage !== null }, 5000)
            verify(!root.isGlobalSettingSelect)
            verify(!root.settingsPage.visible, "made aside, not shown")
            verify(!settingsOf(root).pending)
        }

        // A change made with the panel open (its switch) or without a panel (the settings
        // themselves, as the program's other callers do) is settled the same way.
        function test_unsavedSettingsAreSettled_data() {
            var rows = []
            var answers = [{ name: "SAVE", choice: 0 }, { name: "DISCARD", choice: 1 }, { name: "CANCEL", choice: 2 }]
            for (var made = 0; made < 2; ++made)
                for (var a = 0; a < answers.length; ++a)
                    rows.push({ tag: answers[a].name + (made ? ", panel made" : ", no panel"), panel: made === 1,
                                choice: answers[a].choice })
            rows.push({ tag: "nothing changed, no panel", panel: false, unchanged: true })
            rows.push({ tag: "nothing changed, panel made", panel: true, unchanged: true })
            return rows
        }
        function test_unsavedSettingsAreSettled(data) {
            var root = startScene([1, 1, 0, 1, 1])
            var settings = settingsOf(root)
            var page = null
            if (data.panel) {
                root.visible = true
                root.showGlobalSetting(true)
                page = root.settingsPage
                tryCompare(page, "x", 160, 2000)
            }
            if (!data.unchanged) {
                if (page)
                    mouseClick(findChild(page, "textSizeSwitch_larger"))
                else
                    settings.setLargerText(true)
                compare(root.globalSetting_size, larger)
                verify(settings.pending)
            }
            var proceeded = false
            root.settleSettings(function() { proceeded = true })
            if (data.unchanged) {
                verify(!Questions.active, "nothing to ask")
                verify(proceeded)
                compare(sceneTest.storedAppConfig(), ["1", "1", "0", "1", "1"], "nothing stored")
                return
            }
            verify(Questions.active)
            verify(!proceeded, "nothing goes on before the answer")
            Questions.answer(data.choice)
            compare(proceeded, data.choice !== 2)
            compare(sceneTest.storedAppConfig()[7] === "1", data.choice === 0, "stored only by SAVE")
            compare(root.globalSetting_size, data.choice === 1 ? normal : larger)
            compare(settings.pending, data.choice === 2)
            if (page)
                compare(findChild(page, "textSizeSwitch_larger").isSelect, data.choice !== 1)
        }
    }
}
