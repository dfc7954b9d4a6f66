import QtQuick 2.15
import QtTest 1.2

// The scene root as the program loads it, on the test view and the real window controller.
Item {
    id: stage
    width: 1000
    height: 600

    Loader {
        id: scene
        source: "qrc:/modules/qml/main.qml"
    }
    SignalSpy { id: keySpy; target: scene.item; signalName: "msg_KB" }

    TestCase {
        name: "SceneRoot"
        when: windowShown && scene.status === Loader.Ready

        function named(name) { return findChild(scene.item, name) }

        function initTestCase() {
            var root = scene.item
            root.animation_speed = 10
            sceneTest.cues = []
            root.run()
            tryVerify(function() { return root.ready }, 5000)
        }

        function test_builtInDefaultsBeforeAnyConfiguration() {
            var root = scene.item
            compare(root.skin_No, 1)
            compare(root.globalSetting_size, 11)
            compare(root.globalSetting_fontFamily, "Arial")
            compare(root.globalSetting_stringList.length, 115)
            compare(root.globalSetting_stringList[113], "ALL RESET")
        }

        function test_openingShowsTheKeyPage() {
            verify(scene.item.visible)
            compare(named("Main_W3").currentPage, 0)
            compare(sceneTest.cues.indexOf(1), 0, "the start-up cue comes first")
        }

        function test_settingsPanelDisablesTheRest_data() {
            return [
                { tag: "open", clicks: 1, open: true, opacity: 0.2 },
                { tag: "open and closed", clicks: 2, open: false, opacity: 1.0 },
            ]
        }
        function test_settingsPanelDisablesTheRest(data) {
            var root = scene.item
            for (var i = 0; i < data.clicks; ++i) {
                mouseClick(named("Menu_Up_settings"))
                compare(sceneTest.cues[sceneTest.cues.length - 1], 2)
            }
            compare(root.isGlobalSettingSelect, data.open)
            var parts = ["Main_W3", "Menu_Down"]
            for (var p = 0; p < parts.length; ++p) {
                compare(named(parts[p]).enabled, !data.open, parts[p])
                compare(named(parts[p]).opacity, data.opacity, parts[p])
            }
            compare(named("Menu_Down_save").opacity, 1.0, "the region dims once, not each control again")
            tryCompare(named("Page_Globalsetting"), "visible", data.open, 2000)
            root.isGlobalSettingSelect = false
        }

        // The click cue of the two-state button, then the cue of what it does; each once.
        function test_topBarAndLogoCues_data() {
            return [
                { tag: "settings", name: "Menu_Up_settings", cues: [4, 2] },
                { tag: "web logo", name: "webLogo", cues: [4, 3] },
            ]
        }
        function test_topBarAndLogoCues(data) {
            sceneTest.cues = []
            mouseClick(named(data.name))
            compare(sceneTest.cues, data.cues)
            scene.item.isGlobalSettingSelect = false
        }

        function test_keyEventsReachThePages() {
            keySpy.clear()
            scene.item.detectKeyboard(true, 0x29)
            scene.item.detectKeyboard(false, 0x29)
            compare(keySpy.count, 2)
            compare(named("Main_W3").lastKeyCode, 0x29)
        }

        function test_inputLock_data() {
            return [
                { tag: "given time", interval: 150 },
                { tag: "zero releases at once", interval: 0 },
            ]
        }
        function test_inputLock(data) {
            scene.item.setProtectUI(data.interval)
            verify(named("BusyIndicator").visible)
            compare(ui_View.enabled, false)
            tryCompare(ui_View, "enabled", true, 3000)
            verify(!named("BusyIndicator").visible)
        }

        function test_functionMenuOpensAndCloses() {
            var frame = named("Main_W3")
            mouseClick(named("Menu_Func_2"))
            compare(frame.currentPage, 2)
            mouseClick(named("Menu_Func_2"))
            compare(frame.currentPage, -1)
            mouseClick(named("Menu_Func_1"))
            compare(frame.currentPage, 1)
            verify(!named("Menu_Prof").enabled, "no profile switch while the macro page shows")
            compare(named("Menu_Prof").opacity, 0.2)
            frame.showPage(0)
            verify(named("Menu_Prof").enabled)
        }

        // The opening ends on the key page, made meanwhile; the sensor page, which nothing
        // showed yet, is made when it is first shown and shows at once.
        function test_pagesAreMadeWhenFirstShown() {
            var frame = named("Main_W3")
            verify(frame.pages[0] !== null, "the key page the opening ends on")
            compare(frame.pages[3], null)
            frame.showPage(3)
            verify(frame.pages[3] !== null)
            compare(frame.currentPage, 3)
            verify(frame.pages[3].visible)
            frame.showPage(0)
        }

        function test_dragMovesByTheOffset() {
            var before = [sceneTest.windowX, sceneTest.windowY]
            mousePress(scene.item, 300, 30)
            mouseMove(scene.item, 310, 25)
            mouseRelease(scene.item, 310, 25)
            compare(sceneTest.windowX - before[0], 10)
            compare(sceneTest.windowY - before[1], -5)
        }

        // Last: the scene is gone afterwards.
        function test_zz_closeEndsInOnMinimize() {
            sceneTest.cues = []
            mouseClick(named("Menu_Up_close"))
            compare(sceneTest.cues, [4], "the click cue, once")
            tryCompare(sceneTest, "closes", 1, 3000)
            compare(scene.item.height, 0)
        }
    }
}
