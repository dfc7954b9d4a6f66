import QtQuick 2.15
import QtTest 1.2
import W3.Actions 1.0
import "qrc:/modules/qml/common"
import "qrc:/modules/qml/W3"

// The product frame with the key page not made yet: start-up, ALL SAVE, ALL RESET and the
// pending mark work on KeyActions alone, and a page made late shows its current state.
Item {
    id: scene
    width: 1000
    height: 488

    Component {
        id: frameMaker
        Main_W3 {}
    }

    readonly property int keyPage: 0
    readonly property int forwardSlot: 4
    readonly property var f5: [0, 0, 0x3E, 0]
    readonly property var f6: [0, 0, 0x3F, 0]
    readonly property int setMatrix: 0x12

    TestCase {
        name: "KeyFrameWithoutThePage"
        when: windowShown

        property var frame: null

        function init() {
            frame = createTemporaryObject(frameMaker, scene)
            frame.initUI()
            sceneTest.clearRecords()
        }

        function keyPageMade() { return findChild(frame, "Page_Keydefine") !== null }
        function matrixSent() { return sceneTest.sentData(setMatrix) }

        // What the bottom bar and the settle question do reaches the unit; the page stays unmade.
        function test_wholeFrameStepsWithoutThePage_data() {
            return [
                { tag: "ALL SAVE sends the change", step: "totalApply", forward: "changed", sent: true },
                { tag: "ALL RESET gives the factory code back", step: "totalReset", forward: "factory", sent: false },
                { tag: "APPLY of the settle question", step: "applyPending", forward: "changed", sent: true },
                { tag: "DISCARD of the settle question", step: "discardPending", forward: "started", sent: false },
                { tag: "the profile menu's switch reads the profile", step: "selectProfile", forward: "started", sent: false },
            ]
        }
        function test_wholeFrameStepsWithoutThePage(data) {
            var started = KeyActions.codes[forwardSlot]
            // A code the profile does not hold yet, whatever an earlier row applied.
            var changed = started[2] === f5[2] ? f6 : f5
            KeyActions.assign(forwardSlot, changed)
            verify(frame.pending, "a change on the unit is pending on the frame")
            tryVerify(function() { return findChild(frame, "Menu_Func_0_pending").visible })
            if (data.step === "selectProfile")
                ProfileActions.select(ProfileActions.current)
            else
                frame[data.step]()
            verify(!keyPageMade(), "the key page is not made for " + data.step)
            var expected = data.forward === "started" ? started
                         : data.forward === "factory" ? KeyActions.defaultCodes[forwardSlot] : changed
            compare(KeyActions.codes[forwardSlot], expected)
            var matrix = matrixSent()
            compare(matrix.length > 0, data.sent)
            if (data.sent)
                compare(matrix.slice(4 * forwardSlot, 4 * forwardSlot + 4), changed)
            if (data.step !== "totalReset")
                verify(!frame.pending)
            KeyActions.discard()
        }

        function test_pageMadeLateShowsTheCurrentCodes() {
            KeyActions.assign(0, f5)
            frame.showPage(keyPage)
            var page = findChild(frame, "Page_Keydefine")
            verify(page !== null)
            compare(page.selectedSlot, 0)
            compare(page.functionIndex, 0, "KEYBOARD")
            compare(findChild(page, "keyboardInput").tmpKeycodeUSB, 0x3E)
            verify(findChild(page, "keyApplyButton").glow, "the change is pending on the page too")
            KeyActions.discard()
        }
    }
}
