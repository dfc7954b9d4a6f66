import QtQuick 2.15
import "qrc:/modules/qml/common"

// The bottom bar: ALL RESET locks input for 800 ms, ALL SAVE for 2000 ms; the pages act on
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

    SkinImage {
        anchors.fill: parent
        source: "list_dn/bar.png"
        fallbackColor: Theme.backgroundBottom
        fallbackRadius: Theme.radius
    }
    PushButton {
        objectName: "Menu_Down_reset"
        x: save.x - width - 12
        y: 10
        text: Theme.text(113, "ALL RESET")
        onClicked: {
            bar.protectUI(bar.resetLockMs)
            bar.btnTotalResetClicked()
        }
    }
    PushButton {
        id: save
        objectName: "Menu_Down_save"
        x: bar.width - width - 24
        y: 10
        primary: true
        text: Theme.text(114, "ALL SAVE")
        onClicked: {
            bar.protectUI(bar.saveLockMs)
            bar.btnTotalApplyClicked()
        }
    }
}
