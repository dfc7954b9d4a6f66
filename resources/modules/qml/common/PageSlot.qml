import QtQuick 2.15

// Where a page lives: made at start while its start-up, profile refresh, ALL SAVE and ALL RESET
// still need its controls, otherwise when it is first needed. `prepare()` makes it in the
// background, between frames (a page about to be shown); `make()` makes it now, finishing a
// background making at once, so a page asked for exists when the call returns. A page made
// after the labels were set takes the current ones.
Loader {
    property bool madeAtStart: true
    property bool labelled: false

    function prepare() {
        if (!active) {
            asynchronous = true
            active = true
        }
    }

    function make() {
        asynchronous = false
        active = true
    }

    active: madeAtStart
    onLoaded: if (labelled) item.translateStrings()
}
