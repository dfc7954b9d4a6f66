import QtQuick 2.15
import W3.Actions 1.0
import "qrc:/modules/qml/common"

// The global settings sheet: skin, sound, animation, language, background, text size, text
// colour, brightness, and the program beside the window (autostart, tray, notices, the OpenRGB
// server). A view of `settings` (GlobalSettings, which holds them from start-up on): it shows
// their state as it is when the sheet is made and forwards every choice there. SAVE stores them
// and closes the sheet, unless a choice could not be written: the sheet then says why.
Item {
    id: page
    objectName: "Page_Globalsetting"
    width: 710
    height: 472

    property Item settings
    signal closeRequested()

    function translateStrings() {
        skinList.model = [Theme.text(39, "SKIN 1"), Theme.text(40, "SKIN 2")]
    }

    function save() {
        autostartRefusal.visible = false
        openRgbRefusal.visible = false
        if (settings.store())
            closeRequested()
    }
    Connections {
        target: page.settings
        function onAutostartRefused() {
            autostartRefusal.show(Theme.text(169, "The desktop's autostart folder refused the change."))
        }
        function onOpenRgbRefused() {
            openRgbRefusal.show(Theme.text(202, "The settings folder refused the change."))
        }
    }

    // The palette shows the selected preset without announcing it as a pick.
    function showPresetColor() {
        var rgb = settings.presetColor
        textColorPalette.setColor(rgb[0], rgb[1], rgb[2])
    }
    Component.onCompleted: showPresetColor()
    Connections {
        target: page.settings
        function onPresetColorChanged() { page.showPresetColor() }
    }

    // Presses on the sheet itself end any text entry and stay on the sheet.
    MouseArea {
        anchors.fill: parent
        Accessible.ignored: true
        onPressed: page.forceActiveFocus()
    }
    SkinImage {
        anchors.fill: parent
        source: "list_center/settings.png"
        fallbackRadius: Theme.radius
    }

    Label {
        x: 28; y: 18; height: 30
        text: Theme.text(1, "OPTIONS")
        heading: true
        highlight: true
        font.pixelSize: Theme.fontSize + 4
        font.letterSpacing: 2
    }
    Rectangle { x: 28; y: 50; width: 654; height: 1; color: Theme.stroke }

    // Left column: one row per setting, label then control; the controls of all rows line up.
    readonly property int labelX: 28
    readonly property int firstRowY: 68
    // Ten rows end above the RESET and SAVE buttons, whose row the widest switches reach, and
    // the last one below the text colour palette.
    readonly property int rowStep: 34
    readonly property int rightX: 430
    readonly property int switchInset: 4
    function rowY(row) { return firstRowY + row * rowStep }

    SettingRow {
        x: page.labelX; y: page.rowY(0)
        visible: page.settings.skinShown
        label: Theme.text(26, "SKIN")
        DropdownList {
            id: skinList
            objectName: "skinList"
            Component.onCompleted: page.translateStrings()
            onListElementClicked: page.settings.setSkin(index)
        }
    }

    SettingRow {
        x: page.labelX; y: page.rowY(1)
        controlInset: page.switchInset
        label: Theme.text(27, "SOUND")
        Row {
            objectName: "soundSwitch"
            spacing: 20
            RadioButton {
                objectName: "soundSwitch_on"
                text: Theme.text(31, "ON")
                isSelect: page.settings.soundOn
                onClicked: if (!page.settings.soundOn) page.settings.setSound(true)
            }
            RadioButton {
                objectName: "soundSwitch_off"
                text: Theme.text(32, "OFF")
                isSelect: !page.settings.soundOn
                onClicked: if (page.settings.soundOn) page.settings.setSound(false)
            }
        }
    }

    SettingRow {
        x: page.labelX; y: page.rowY(2)
        controlInset: page.switchInset
        label: Theme.text(28, "ANIMATED")
        Row {
            objectName: "animationSwitch"
            spacing: 20
            RadioButton {
                objectName: "animationSwitch_on"
                text: Theme.text(31, "ON")
                isSelect: page.settings.animationSpeed === page.settings.speedOn
                onClicked: page.settings.setAnimated(true)
            }
            RadioButton {
                objectName: "animationSwitch_off"
                text: Theme.text(32, "OFF")
                isSelect: page.settings.animationSpeed === page.settings.speedOff
                onClicked: page.settings.setAnimated(false)
            }
        }
    }

    SettingRow {
        x: page.labelX; y: page.rowY(3)
        label: Theme.text(29, "LANGUAGE")
        DropdownList {
            id: languageList
            objectName: "languageList"
            model: page.settings.languageNames
            maxRows: 8
            onListElementClicked: page.settings.setLanguage(index)
        }
    }

    SettingRow {
        x: page.labelX; y: page.rowY(4)
        label: Theme.text(30, "BACKGROUND")
        Button_2state {
            objectName: "backgroundSwitch"
            width: 150; height: 32
            normalSource: ""
            hoverSource: ""
            text: "\u3010 " + (page.settings.customBackground ? Theme.text(31, "ON") : Theme.text(32, "OFF")) + " \u3011"
            onClicked: page.settings.toggleBackground()
        }
    }

    SettingRow {
        x: page.labelX; y: page.rowY(5)
        controlInset: page.switchInset
        label: Theme.text(127, "TEXT SIZE")
        Row {
            objectName: "textSizeSwitch"
            spacing: 20
            RadioButton {
                objectName: "textSizeSwitch_normal"
                text: Theme.text(37, "NORMAL")
                isSelect: page.settings.textSize === page.settings.sizeNormal
                onClicked: page.settings.setLargerText(false)
            }
            RadioButton {
                objectName: "textSizeSwitch_larger"
                text: Theme.text(38, "LARGER")
                isSelect: page.settings.textSize === page.settings.sizeLarger
                onClicked: page.settings.setLargerText(true)
            }
        }
    }

    SettingRow {
        x: page.labelX; y: page.rowY(6)
        controlInset: page.switchInset
        label: Theme.text(36, "BRIGHTNESS")
        Slider {
            id: brightnessSlider
            objectName: "brightnessSlider"
            accessibleName: Theme.text(4, "BRIGHTNESS")
            width: 240
            onSliderClicked: page.settings.setBrightness(position)
        }
    }

    // What the program does beside the window: followed at once, stored by SAVE. One toggle
    // each, as narrow as BACKGROUND's, so that they stay left of the text colour palette.
    SettingRow {
        x: page.labelX; y: page.rowY(7)
        labelWidth: 200
        controlX: 208
        label: Theme.text(170, "KEEP RUNNING IN THE TRAY")
        Button_2state {
            objectName: "keepRunningSwitch"
            width: 150; height: 32
            normalSource: ""
            hoverSource: ""
            text: "\u3010 " + (page.settings.keepRunning ? Theme.text(31, "ON") : Theme.text(32, "OFF")) + " \u3011"
            onClicked: page.settings.setKeepRunning(!page.settings.keepRunning)
        }
    }

    SettingRow {
        x: page.labelX; y: page.rowY(8)
        labelWidth: 200
        controlX: 208
        label: Theme.text(171, "NOTIFICATIONS")
        Button_2state {
            objectName: "notificationsSwitch"
            width: 150; height: 32
            normalSource: ""
            hoverSource: ""
            text: "\u3010 " + (page.settings.notificationsOn ? Theme.text(31, "ON") : Theme.text(32, "OFF")) + " \u3011"
            onClicked: page.settings.setNotifications(!page.settings.notificationsOn)
        }
    }

    // SAVE writes the choice to the desktop's autostart folder: the entry there is the setting.
    // The last row, below the palette: its switch reaches under the text colour column.
    SettingRow {
        x: page.labelX; y: page.rowY(9)
        controlInset: page.switchInset
        // The long names of the last rows: their controls sit further right.
        labelWidth: 200
        controlX: 208
        label: Theme.text(168, "START WITH THE DESKTOP")
        Row {
            objectName: "autostartSwitch"
            spacing: 20
            RadioButton {
                objectName: "autostartSwitch_on"
                text: Theme.text(31, "ON")
                isSelect: page.settings.autostartOn
                onClicked: page.settings.setAutostart(true)
            }
            RadioButton {
                objectName: "autostartSwitch_off"
                text: Theme.text(32, "OFF")
                isSelect: !page.settings.autostartOn
                onClicked: page.settings.setAutostart(false)
            }
        }
    }
    InlineHint {
        id: autostartRefusal
        objectName: "autostartRefusal"
        x: page.labelX; y: page.rowY(9) + 34
        width: resetButton.x - x - 12
    }

    // SAVE writes the choice to the server's setting: the running program serves OpenRGB's SDK
    // on loopback while it is on, and tells when it cannot.
    // Under the text colour: the name on one line, the switch and the port on the next.
    SettingRow {
        x: page.rightX; y: page.rowY(8)
        labelWidth: page.width - 28 - page.rightX
        controlX: 0
        controlInset: page.rowStep
        label: Theme.text(200, "OPENRGB SERVER")
        Row {
            objectName: "openRgbSwitch"
            spacing: 14
            RadioButton {
                objectName: "openRgbSwitch_on"
                text: Theme.text(31, "ON")
                isSelect: page.settings.openRgbOn
                onClicked: page.settings.setOpenRgb(true)
            }
            RadioButton {
                objectName: "openRgbSwitch_off"
                text: Theme.text(32, "OFF")
                isSelect: !page.settings.openRgbOn
                onClicked: page.settings.setOpenRgb(false)
            }
            Label {
                objectName: "openRgbPort"
                height: 24
                text: Theme.text(201, "PORT") + " " + OpenRgbSetting.port
                color: page.openRgbFails ? Theme.warning : Theme.textColorEnable
            }
        }
    }
    // Where the autostart refusal shows: the two are answers to the last SAVE.
    InlineHint {
        id: openRgbRefusal
        objectName: "openRgbRefusal"
        x: page.labelX; y: page.rowY(9) + 34
        width: resetButton.x - x - 12
    }

    // The running program could not serve the stored setting (the port is taken): told where
    // the refusals show while none is shown, until the setting changes.
    readonly property bool openRgbFails: OpenRgbSetting.enabled && OpenRgbSetting.problem !== ""
    Label {
        objectName: "openRgbProblem"
        x: page.labelX; y: page.rowY(9) + 34
        width: resetButton.x - x - 12
        visible: page.openRgbFails && !autostartRefusal.visible && !openRgbRefusal.visible
        color: Theme.warning
        elide: Text.ElideRight
        text: Theme.text(200, "OPENRGB SERVER") + ": " + OpenRgbSetting.problem
    }

    // The lists and the slider move on a click themselves; these keep them on the settings'
    // state whenever it changes (a language chosen elsewhere, RESET, DISCARD).
    Binding { target: skinList; property: "currentIndex"; value: page.settings.skinIndex }
    Binding { target: languageList; property: "currentIndex"; value: page.settings.languagePosition }
    Binding { target: brightnessSlider; property: "position"; value: page.settings.brightnessStep }

    // Right column: the text colour.
    Rectangle { x: page.rightX - 14; y: 68; width: 1; height: 300; color: Theme.stroke }
    Label {
        x: page.rightX; y: page.rowY(0); height: 32
        text: Theme.text(128, "TEXT COLOR")
        heading: true
    }
    Label {
        objectName: "colorSample"
        x: page.width - 28 - width; y: page.rowY(0); width: 120; height: 32
        horizontalAlignment: Text.AlignRight
        text: "W3 CONFIG"
        highlight: true
        font.bold: true
    }
    Row {
        x: page.rightX; y: page.rowY(1)
        spacing: 6
        Repeater {
            model: page.settings.presets.length
            delegate: Rectangle {
                objectName: "colorPreset_" + index
                readonly property var rgb: page.settings.presets[index]
                width: 30; height: 30
                radius: 6
                function choose() {
                    Sounds.click()
                    page.settings.choosePreset(index)
                }
                activeFocusOnTab: true
                Keys.onSpacePressed: choose()
                Keys.onReturnPressed: choose()
                Keys.onEnterPressed: choose()
                Accessible.role: Accessible.RadioButton
                Accessible.name: Theme.text(35, "COLOR") + " " + (index + 1)
                Accessible.checkable: true
                Accessible.checked: index === page.settings.presetIndex
                Accessible.focusable: true
                Accessible.onPressAction: choose()
                FocusRing { shapeRadius: 6 }
                color: Qt.rgba(rgb[0] / 255, rgb[1] / 255, rgb[2] / 255, 1)
                border.color: index === page.settings.presetIndex ? Theme.accent : Theme.stroke
                border.width: index === page.settings.presetIndex ? 3 : 1
                MouseArea {
                    anchors.fill: parent
                    onClicked: parent.choose()
                }
            }
        }
    }
    ColorPalette {
        id: textColorPalette
        objectName: "textColorPalette"
        x: page.rightX; y: page.rowY(2) + 4
        onColorPicked: page.settings.storeColor(r, g, b)
    }

    PushButton {
        id: resetButton
        objectName: "resetButton"
        x: saveButton.x - width - 12; y: saveButton.y
        text: Theme.text(77, "RESET")
        onClicked: page.settings.resetSettings()
    }
    PushButton {
        id: saveButton
        objectName: "saveButton"
        x: page.width - width - 28; y: page.height - height - 24
        primary: true
        text: Theme.text(85, "SAVE")
        onClicked: page.save()
    }
}
