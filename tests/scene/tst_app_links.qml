import QtQuick 2.15
import QtTest 1.2
import W3.Actions 1.0
import "qrc:/modules/qml/common"

// The application links sheet over the real scene: opened from a profile's right-click menu,
// each choice (switch, default profile, link, unlink) lands in the links file at once, a
// refused one says why and leaves the file alone, and the profile row shows its link glyph.
Item {
    id: stage
    width: 1000
    height: 600

    Component {
        id: sceneMaker
        Loader { source: "qrc:/modules/qml/main.qml" }
    }

    readonly property string linksFile: "modules/setting/appRules.ini"
    readonly property string noLinks: "[follow]\nenabled=false\n\n[rule]\nsize=0\n"

    TestCase {
        name: "AppLinks"
        when: windowShown

        function init() {
            sceneTest.writeFile(linksFile, noLinks)
            ApplicationLinks.reload()
        }

        // A started scene with the profile menu where the opening sequence leaves it, and the
        // sheet of `profile` opened through the row's right-click menu.
        function openSheet(profile) {
            var root = createTemporaryObject(sceneMaker, stage).item
            root.initUI()
            root.visible = true
            var menu = findChild(root, "Menu_Prof")
            menu.x = 880
            mouseClick(findChild(menu, "Menu_Prof_" + profile), 20, 10, Qt.RightButton)
            var apps = findChild(menu, "Menu_Prof_apps")
            verify(apps.visible)
            mouseClick(apps)
            var page = findChild(root, "Page_AppLinks")
            verify(page !== null, "the sheet is made when first opened")
            tryCompare(page, "x", 0)
            return { root: root, menu: menu, page: page }
        }

        function typeText(text) {
            for (var i = 0; i < text.length; ++i)
                keyClick(text[i])
        }

        function test_linkAndUnlinkFromTheSheet_data() {
            return [
                { tag: "window class", match: "windowClass", name: "steam" },
                { tag: "application id", match: "appId", name: "org.gnome.Gedit" },
                { tag: "program file", match: "program", name: "blender" },
            ]
        }
        function test_linkAndUnlinkFromTheSheet(data) {
            var scene = openSheet(2)
            compare(findChild(scene.page, "appLinksHeading").text, "P03 · APPLICATIONS")
            verify(findChild(scene.page, "appLinksEmpty").visible)
            verify(!findChild(scene.menu, "Menu_Prof_link_2").visible)

            mouseClick(findChild(scene.page, "appLinkAdd"))
            var adder = findChild(scene.page, "AppLinkAdder")
            verify(adder.visible)
            typeText(data.name)
            mouseClick(findChild(adder, "appLinkMatch_" + data.match))
            mouseClick(findChild(adder, "appLinkConfirm"))

            var stored = sceneTest.readFile(linksFile)
            verify(stored.indexOf("name=" + data.name) >= 0, stored)
            verify(stored.indexOf("match=" + data.match) >= 0, stored)
            verify(stored.indexOf("profile=2") >= 0, stored)
            verify(!adder.visible, "a stored link closes the +")
            var row = findChild(scene.page, "AppLinkRow_0")
            verify(row !== null)
            compare(row.name, data.name)
            verify(findChild(scene.menu, "Menu_Prof_link_2").visible, "the row shows its link glyph")

            mouseClick(findChild(row, "AppLinkRow_unlink"))
            verify(sceneTest.readFile(linksFile).indexOf(data.name) < 0)
            verify(findChild(scene.page, "appLinksEmpty").visible)
            verify(!findChild(scene.menu, "Menu_Prof_link_2").visible)
        }

        function test_switchAndDefaultProfile() {
            var scene = openSheet(0)
            mouseClick(findChild(scene.page, "autoSwitch_on"))
            verify(sceneTest.readFile(linksFile).indexOf("enabled=true") >= 0)
            var list = findChild(scene.page, "defaultProfileList")
            list.listElementClicked(4)   // P04
            verify(sceneTest.readFile(linksFile).indexOf("default=3") >= 0)
            compare(list.currentText, "P04")
            list.listElementClicked(0)   // none
            verify(sceneTest.readFile(linksFile).indexOf("default") < 0)
            mouseClick(findChild(scene.page, "autoSwitch_off"))
            verify(sceneTest.readFile(linksFile).indexOf("enabled=false") >= 0)
        }

        function test_aRefusedLinkSaysWhyAndChangesNothing_data() {
            return [
                { tag: "no name", name: "", match: "windowClass",
                  hint: "Type the application's name." },
                { tag: "folder in a program", name: "/usr/bin/blender", match: "program",
                  hint: "A program is named by its file name, without a folder." },
                { tag: "blanks around the name", name: " blender ", match: "program",
                  hint: "The name begins or ends with a blank." },
                { tag: "linked to another profile", name: "Steam", match: "windowClass",
                  hint: "This application is already linked to P06." },
            ]
        }
        function test_aRefusedLinkSaysWhyAndChangesNothing(data) {
            compare(ApplicationLinks.link(5, "steam", "windowClass"), ApplicationLinks.Accepted)
            var before = sceneTest.readFile(linksFile)
            var scene = openSheet(1)
            mouseClick(findChild(scene.page, "appLinkAdd"))
            var adder = findChild(scene.page, "AppLinkAdder")
            typeText(data.name)
            mouseClick(findChild(adder, "appLinkMatch_" + data.match))
            mouseClick(findChild(adder, "appLinkConfirm"))
            var hint = findChild(scene.page, "appLinksHint")
            verify(hint.visible)
            compare(hint.text, data.hint)
            verify(adder.visible, "the typed name stays to be mended")
            compare(sceneTest.readFile(linksFile), before)
        }

        function test_aFileThatCannotBeReadIsLeftAlone() {
            var damaged = "[follow]\nenabled=perhaps\n"
            sceneTest.writeFile(linksFile, damaged)
            ApplicationLinks.reload()
            var scene = openSheet(0)
            var problem = findChild(scene.page, "appLinksFileProblem")
            verify(problem.visible, "the sheet says why before anything is tried")
            verify(!findChild(scene.page, "appLinksEmpty").visible)
            compare(problem.text, "The links file cannot be read (the switch is neither true nor false); nothing is changed.")
            mouseClick(findChild(scene.page, "autoSwitch_on"))
            var hint = findChild(scene.page, "appLinksHint")
            verify(hint.visible)
            compare(hint.text, "The links file cannot be read (the switch is neither true nor false); nothing is changed.")
            compare(sceneTest.readFile(linksFile), damaged)
        }

        // A file damaged after it was read (a line lost) is named as the sheet opens, and each
        // control that would change it says why it does not.
        function test_aDamagedFileIsNamedAndLeftAlone() {
            compare(ApplicationLinks.link(0, "steam", "windowClass"), ApplicationLinks.Accepted)
            var damaged = sceneTest.readFile(linksFile).replace("size=1\n", "")
            sceneTest.writeFile(linksFile, damaged)
            var scene = openSheet(0)
            var problem = findChild(scene.page, "appLinksFileProblem")
            verify(problem.visible, "the sheet says why before anything is tried")
            var reason = "The links file cannot be read (it has no size in [rule]); nothing is changed."
            compare(problem.text, reason)
            var hint = findChild(scene.page, "appLinksHint")
            mouseClick(findChild(scene.page, "autoSwitch_on"))
            verify(hint.visible)
            compare(hint.text, reason)
            hint.hide()
            findChild(scene.page, "defaultProfileList").listElementClicked(2)
            verify(hint.visible)
            compare(hint.text, reason)
            hint.hide()
            mouseClick(findChild(scene.page, "appLinkAdd"))
            typeText("blender")
            mouseClick(findChild(findChild(scene.page, "AppLinkAdder"), "appLinkConfirm"))
            verify(hint.visible)
            compare(hint.text, reason)
            compare(sceneTest.readFile(linksFile), damaged)
        }

        function test_recentlySeenFillsTheName() {
            ApplicationLinks.noteApplication("org.kde.kate", "kate", "kate")
            var scene = openSheet(3)
            mouseClick(findChild(scene.page, "appLinkAdd"))
            var adder = findChild(scene.page, "AppLinkAdder")
            findChild(adder, "appLinkRecent").listElementClicked(1)
            mouseClick(findChild(adder, "appLinkConfirm"))
            var stored = sceneTest.readFile(linksFile)
            verify(stored.indexOf("name=org.kde.kate") >= 0, stored)
            verify(stored.indexOf("match=appId") >= 0, stored)
        }

        // Until GNOME's extension first calls, the sheet says how to switch it on; not while
        // an application is being added, whose fields take that place.
        function test_desktopStepShownUntilTheHelperCalls() {
            ApplicationLinks.setDesktopStepNeeded(true)
            var scene = openSheet(2)
            var step = findChild(scene.page, "appLinksDesktopStep")
            verify(step.visible)
            verify(step.text.indexOf("gnome-extensions enable w3config-focus@w3config.org") >= 0, step.text)
            mouseClick(findChild(scene.page, "appLinkAdd"))
            verify(!step.visible)
            ApplicationLinks.setDesktopStepNeeded(false)
            verify(!step.visible)
        }

        function test_closeAndEscape() {
            var scene = openSheet(0)
            mouseClick(findChild(scene.page, "appLinksClose"))
            tryCompare(scene.page, "visible", false)
            mouseClick(findChild(scene.menu, "Menu_Prof_4"), 20, 10, Qt.RightButton)
            mouseClick(findChild(scene.menu, "Menu_Prof_apps"))
            tryCompare(scene.page, "x", 0)
            compare(scene.page.profile, 4)
            keyClick(Qt.Key_Escape)
            tryCompare(scene.page, "visible", false)
        }
    }
}
