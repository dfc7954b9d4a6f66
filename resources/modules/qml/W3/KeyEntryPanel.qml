import QtQuick 2.15
import "qrc:/modules/qml/common"

// MOUSE or MEDIA: one entry of a menu, the function's name shown while none is chosen.
Item {
    id: panel
    objectName: "KeyEntryPanel"

    property string menuName: ""
    property string hint: ""
    property var labels: []
    property int rows: 8
    property alias entry: menu.currentIndex
    signal entryClicked(int index)

    DropdownList {
        id: menu
        objectName: panel.menuName
        accessibleName: panel.hint
        width: parent.width
        maxRows: panel.rows
        model: panel.labels
        onListElementClicked: panel.entryClicked(index)
    }
    MenuHint { menu: menu; text: panel.hint }
}
