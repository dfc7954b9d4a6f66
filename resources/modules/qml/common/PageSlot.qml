import QtQuick 2.15

// Where a page lives: made at start while its start-up, profile refresh, ALL SAVE and ALL RESET
// still need its controls, otherwise the first time it is shown (the owner sets `active`).
// Creation is synchronous, so a page asked for exists when the call returns. A page made after
// the labels were set takes the current ones.
Loader {
    property bool madeAtStart: true
    property bool labelled: false

    active: madeAtStart
    onLoaded: if (labelled) item.translateStrings()
}
