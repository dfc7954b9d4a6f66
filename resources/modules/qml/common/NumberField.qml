import QtQuick 2.15

// A whole number typed in place; Return, Enter or leaving the field enters a changed value.
Rectangle {
    id: field
    property int maximum: 65535
    property int value: 0
    property string accessibleName: ""
    signal entered(int number)
    height: 32
    radius: 4
    color: Theme.panel
    border.color: editor.activeFocus ? Theme.accent : Theme.stroke
    opacity: enabled ? 1.0 : 0.2
    onValueChanged: editor.text = String(value)
    TextInput {
        id: editor
        objectName: field.objectName + "_editor"
        anchors.fill: parent
        anchors.leftMargin: 8
        anchors.rightMargin: 8
        verticalAlignment: TextInput.AlignVCenter
        horizontalAlignment: TextInput.AlignRight
        color: Theme.textColor
        selectionColor: Theme.accentGlow
        selectByMouse: true
        font.family: Theme.fontFamily
        font.pixelSize: Theme.fontSize
        maximumLength: String(field.maximum).length
        activeFocusOnTab: true
        Accessible.name: field.accessibleName
        validator: IntValidator { bottom: 0; top: field.maximum }
        Component.onCompleted: text = String(field.value)
        onEditingFinished: {
            var number = Number(text)
            if (number !== field.value)
                field.entered(number)
        }
        onActiveFocusChanged: if (!activeFocus) text = String(field.value)
    }
}
