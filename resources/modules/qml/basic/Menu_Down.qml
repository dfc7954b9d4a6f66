import QtQuick 2.15
import "qrc:/modules/qml/common"

// The bottom bar: ALL RESET asks first, then locks input for 800 ms, ALL SAVE for 2000 ms; the pages act on
// btnTotalResetClicked / btnTotalApplyClicked. The device badge sits at its left.
Item {
    id: bar
    objectName: "Menu_Down"
    width: 1000
    height: 56
    signal btnTotalResetClicked()
    signal btnTotalApplyClicked()
    signal protectUI(int interval)

    readonly property int resetLockMs: 800
    readonly property int saveLockMs: 2000
    readonly property int buttonWidth: 180  // "ALLES ZURÜCKSETZEN" at 10 px and more
    property string profileName: ""   // "P03": the profile ALL RESET acts on

    function saveAll() {
        protectUI(saveLockMs)
        btnTotalApplyClicked()
    }

    // ALL RESET returns every page of the profile to its factory values: asked first.
    function askTotalReset() {
        var sentence = Theme.text(121, "Every page of %1 returns to its factory values.")
        Questions.ask(Theme.text(113, "ALL RESET"), sentence.arg(profileName),
                      [Theme.text(113, "ALL RESET"), Theme.text(78, "CANCEL")], 1, function(choice) {
            if (choice !== 0)
                return
            bar.protectUI(bar.resetLockMs)
            bar.btnTotalResetClicked()
        })
    }

    SkinImage {
        anchors.fill: parent
        source: "list_dn/bar.png"
        fallbackColor: Theme.backgroundBottom
        fallbackRadius: Theme.radius
    }
    PushButton {
        objectName: "Menu_Down_reset"
        width: bar.buttonWidth
        x: save.x - width - 12
        y: 10
        text: Theme.text(113, "ALL RESET")
        onClicked: bar.askTotalReset()
    }
    PushButton {
        id: save
        objectName: "Menu_Down_save"
        width: bar.buttonWidth
        x: bar.width - width - 24
        y: 10
        primary: true
        text: Theme.text(114, "ALL SAVE")
        onClicked: bar.saveAll()
    }
}
