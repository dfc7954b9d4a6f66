import QtQuick 2.15
import "qrc:/modules/qml/common"

// One line of the settings panel: the setting's name, then its control, which is the row's
// content; every row's control starts at the same place, so the rows line up. `controlInset` lowers a control shorter than the name (switches, sliders). The row
// rises above the rows after it while its control does (an open list).
Item {
    id: row
    objectName: "SettingRow"
    property string label: ""
    property int labelWidth: 128
    property int controlX: 136
    property int controlInset: 0
    default property alias control: area.data

    width: controlX + area.width
    height: 32
    z: {
        var top = 0
        for (var i = 0; i < area.children.length; ++i)
            top = Math.max(top, area.children[i].z)
        return top
    }

    Label {
        width: row.labelWidth
        height: 32
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: 10
        text: row.label
        heading: true
    }
    Item {
        id: area
        x: row.controlX
        y: row.controlInset
        width: childrenRect.width
        height: childrenRect.height
    }
}
