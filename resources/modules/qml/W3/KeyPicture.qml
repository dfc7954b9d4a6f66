import QtQuick 2.15
import "qrc:/modules/qml/common"

// The mouse picture with a numbered callout on each named button, and the selected button's
// number and name below it. A click on a button or its callout selects it.
Item {
    id: picture
    objectName: "KeyPicture"
    width: 300
    height: 424

    property var buttonSlots: []
    property var buttonNames: []
    property int selectedPosition: 0
    signal buttonClicked(int position)

    // Button positions on the mouse picture (centres, picture pixels) and their hit areas.
    readonly property var buttonSpots: ({
        0: { x: 100, y: 100, w: 70, h: 90 }, 1: { x: 200, y: 100, w: 70, h: 90 },
        2: { x: 150, y: 105, w: 22, h: 24 }, 14: { x: 150, y: 78, w: 22, h: 24 },
        15: { x: 150, y: 132, w: 22, h: 24 }, 5: { x: 150, y: 170, w: 22, h: 24 },
        6: { x: 150, y: 196, w: 22, h: 24 }, 4: { x: 46, y: 170, w: 26, h: 44 },
        3: { x: 46, y: 222, w: 26, h: 44 }
    })

    Item {
        width: 300
        height: 400

        SkinImage {
            anchors.fill: parent
            source: "model_ms/model_W3_KeyDefine.png"
            fallbackVisible: false
        }

        Repeater {
            model: picture.buttonSlots
            delegate: MouseArea {
                readonly property var spot: picture.buttonSpots[modelData]
                objectName: "buttonArea_" + modelData
                visible: spot !== undefined
                x: visible ? spot.x - spot.w / 2 : 0
                y: visible ? spot.y - spot.h / 2 : 0
                width: visible ? spot.w : 0
                height: visible ? spot.h : 0
                z: visible && spot.w > 30 ? 0 : 1
                // The callout on it is what the keyboard and a screen reader reach.
                Accessible.ignored: true
                onClicked: picture.buttonClicked(index)
            }
        }

        Repeater {
            model: picture.buttonSlots
            delegate: Rectangle {
                readonly property var spot: picture.buttonSpots[modelData]
                readonly property bool selected: index === picture.selectedPosition
                objectName: "callout_" + modelData
                visible: spot !== undefined
                activeFocusOnTab: visible
                Keys.onSpacePressed: picture.buttonClicked(index)
                Keys.onReturnPressed: picture.buttonClicked(index)
                Keys.onEnterPressed: picture.buttonClicked(index)
                Accessible.role: Accessible.RadioButton
                Accessible.name: (index + 1) + " " + (picture.buttonNames[index] || "")
                Accessible.checkable: true
                Accessible.checked: selected
                Accessible.focusable: true
                Accessible.onPressAction: picture.buttonClicked(index)
                FocusRing { shapeRadius: 9 }
                z: 2
                width: 18
                height: 18
                radius: 9
                x: visible ? spot.x - width / 2 : 0
                y: visible ? spot.y - height / 2 : 0
                color: selected ? Theme.accent : calloutArea.containsMouse ? Theme.accentGlow : "#C0101418"
                border.color: Theme.accent
                border.width: selected ? 2 : 1
                Text {
                    anchors.centerIn: parent
                    text: index + 1
                    color: parent.selected ? "#FF101418" : Theme.textColor
                    font.family: Theme.fontFamily
                    font.pixelSize: 10
                    font.bold: true
                }
                MouseArea {
                    id: calloutArea
                    anchors.fill: parent
                    anchors.margins: -3
                    hoverEnabled: true
                    onClicked: picture.buttonClicked(index)
                }
            }
        }
    }

    Label {
        y: 404
        width: 300
        height: 20
        horizontalAlignment: Text.AlignHCenter
        text: (picture.selectedPosition + 1) + "  \u00B7  " + (picture.buttonNames[picture.selectedPosition] || "")
        highlight: true
    }
}
