import QtQuick 2.15

// One labelled value of the device summary.
Row {
    property alias label: labelText.text
    property alias value: valueText.text
    spacing: 16
    Text { id: labelText; width: 220; color: "#8fa3b8"; font.pixelSize: 16 }
    Text { id: valueText; color: "#e8eef5"; font.pixelSize: 16; font.bold: true }
}
