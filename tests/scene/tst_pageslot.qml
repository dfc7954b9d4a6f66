import QtQuick 2.15
import QtTest 1.2
import "qrc:/modules/qml/common"

// Pages made at start or when first shown, and a late page's labels.
Item {
    width: 400
    height: 300

    Component {
        id: page
        Item {
            property int relabels: 0
            function translateStrings() { ++relabels }
        }
    }
    Component {
        id: slotMaker
        PageSlot { sourceComponent: page }
    }

    TestCase {
        name: "PageSlot"
        when: windowShown

        function test_whenThePageIsMade_data() {
            return [
                { tag: "at start", atStart: true, labelled: false, madeAtOnce: true, relabels: 0 },
                { tag: "when shown, before the labels", atStart: false, labelled: false, madeAtOnce: false, relabels: 0 },
                { tag: "when shown, after the labels", atStart: false, labelled: true, madeAtOnce: false, relabels: 1 },
            ]
        }
        function test_whenThePageIsMade(data) {
            var slot = createTemporaryObject(slotMaker, parent, { madeAtStart: data.atStart, labelled: data.labelled })
            compare(slot.item !== null, data.madeAtOnce)
            slot.make()
            verify(slot.item !== null, "made synchronously once asked for")
            compare(slot.item.relabels, data.madeAtOnce ? 0 : data.relabels)
        }

        // A page prepared in the background and then asked for exists when make() returns,
        // whether or not the background making was done.
        function test_preparedThenMade_data() {
            return [
                { tag: "asked for at once", waitForBackground: false },
                { tag: "asked for after the background making", waitForBackground: true },
            ]
        }
        function test_preparedThenMade(data) {
            var slot = createTemporaryObject(slotMaker, parent, { madeAtStart: false, labelled: true })
            slot.prepare()
            if (data.waitForBackground)
                tryCompare(slot, "status", Loader.Ready, 5000)
            slot.make()
            verify(slot.item !== null)
            compare(slot.item.relabels, 1, "labelled once")
        }
    }
}
