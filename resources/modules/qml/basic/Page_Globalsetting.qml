import QtQuick 2.15
import W3.Logic 1.0
import W3.Actions 1.0
import "qrc:/modules/qml/common"

// The global settings sheet: skin, sound, animation, language, background, text size, text
// colour and brightness. Changes take effect at once on the scene root's data model
// (`sceneRoot`); SAVE stores them as the 32-item application configuration list. Until then
// the sheet is `pending`, and discard() puts the stored settings back.
Item {
    id: page
    objectName: "Page_Globalsetting"
    width: 710
    height: 472

    property Item sceneRoot
    property bool skinShown: false
    property bool soundOn: true
    property var languageNames: []
    property var languageCodes: []
    property int languagePosition: -1
    property var presets: Palette.presets()
    property int presetIndex: 0
    property int brightnessStep: 7
    signal closeRequested()

    PendingChanges { id: changes; shown: page.sceneRoot ? page.buildConfigList() : [] }
    readonly property bool pending: changes.pending

    readonly property int configVersion: 1
    readonly property int speedOn: 800
    readonly property int speedOff: 10
    readonly property int sizeNormal: 11
    readonly property int sizeLarger: 12

    // Start-up: apply the stored configuration; an empty list keeps the built-in defaults.
    function initUI() {
        skinShown = ui_View.getIsSkinShow()
        var list = SettingsActions.load()
        if (list.length > 0)
            applyConfig(list)
        changes.markHeld()
    }

    // The stored settings again; the sound follows them at once, as its switch does.
    function discard() {
        var wasOn = soundOn
        applyConfig(changes.heldValues())
        if (soundOn !== wasOn)
            setSound(soundOn)
        changes.markHeld()
    }

    function translateStrings() {
        skinList.model = [Theme.text(39, "SKIN 1"), Theme.text(40, "SKIN 2")]
    }

    function applyConfig(list) {
        function item(index, fallback) {
            var value = index < list.length ? list[index] : undefined
            return value === undefined || value === null || String(value) === "" ? fallback : value
        }
        function number(index, fallback, low, high) {
            var value = Number(item(index, fallback))
            return isNaN(value) ? fallback : Math.max(low, Math.min(high, Math.round(value)))
        }
        setSkin(number(SettingsActions.Skin, 1, 1, 2) - 1)
        soundOn = number(SettingsActions.SoundOff, 0, 0, 1) === 0
        ui_View.setEnableAudio(soundOn)
        sceneRoot.animation_speed = number(SettingsActions.AnimationOff, 0, 0, 1) === 0 ? speedOn : speedOff
        fillLanguages()
        setLanguage(number(SettingsActions.Language, 0, 0, 999))
        var background = String(item(SettingsActions.BackgroundPath, ""))
        sceneRoot.isCustomBackground = String(item(SettingsActions.CustomBackground, false)) === "true" && background !== ""
        sceneRoot.sourceCustomBackground = sceneRoot.isCustomBackground ? background : ""
        sceneRoot.globalSetting_size = number(SettingsActions.LargerText, 0, 0, 1) === 1 ? sizeLarger : sizeNormal
        var builtIn = Palette.presets()
        var stored = []
        for (var i = 0; i < builtIn.length; ++i) {
            var first = SettingsActions.PresetColors + 3 * i
            stored.push([number(first, builtIn[i][0], 0, 255), number(first + 1, builtIn[i][1], 0, 255),
                         number(first + 2, builtIn[i][2], 0, 255)])
        }
        presets = stored
        brightnessStep = number(SettingsActions.Brightness, 7, 0, 7)
        choosePreset(number(SettingsActions.Preset, 0, 0, builtIn.length - 1))
        sceneRoot.globalSetting_url = String(item(SettingsActions.WebAddress, ""))
    }

    // The 32 items of the application configuration, as SAVE stores them.
    function buildConfigList() {
        var list = []
        list[SettingsActions.Version] = configVersion
        list[SettingsActions.Skin] = sceneRoot.skin_No
        list[SettingsActions.SoundOff] = soundOn ? 0 : 1
        list[SettingsActions.AnimationOff] = sceneRoot.animation_speed === speedOff ? 1 : 0
        list[SettingsActions.Language] = Math.max(0, languagePosition)
        list[SettingsActions.CustomBackground] = sceneRoot.isCustomBackground
        list[SettingsActions.BackgroundPath] = sceneRoot.isCustomBackground ? sceneRoot.sourceCustomBackground : ""
        list[SettingsActions.LargerText] = sceneRoot.globalSetting_size === sizeLarger ? 1 : 0
        for (var i = 0; i < presets.length; ++i)
            for (var c = 0; c < 3; ++c)
                list[SettingsActions.PresetColors + 3 * i + c] = presets[i][c]
        list[SettingsActions.Preset] = presetIndex
        list[SettingsActions.Brightness] = brightnessStep
        list[SettingsActions.WebAddress] = sceneRoot.globalSetting_url
        return list
    }

    function store() {
        SettingsActions.save(buildConfigList())
        changes.markHeld()
    }

    function save() {
        store()
        closeRequested()
    }

    // Sound off and cleared, factory configuration, start-up again, then the "sound on" cue.
    function resetSettings() {
        setSound(false)
        ui_View.resetApconfig()
        initUI()
        Sounds.music()
    }

    function setSkin(index) {
        skinList.setCurIndex(index)
        sceneRoot.skin_No = index + 1
    }

    function setSound(on) {
        soundOn = on
        ui_View.setEnableAudio(on)
        if (on)
            Sounds.music()
        else
            ui_View.clearAllMedia()
    }

    function fillLanguages() {
        var languages = ui_View.chkLanguages()
        var names = []
        var codes = []
        for (var name in languages) {
            names.push(name)
            codes.push(String(languages[name]))
        }
        languageNames = names
        languageCodes = codes
        languagePosition = -1
    }

    function setLanguage(position) {
        if (position < 0 || position >= languageCodes.length)
            return
        var code = languageCodes[position]
        languagePosition = position
        languageList.setCurIndex(position)
        var strings = ui_View.getGlobalStrings(code)
        sceneRoot.globalSetting_stringList = strings
        if (strings.length > 0 && strings[0] !== "")
            sceneRoot.globalSetting_fontFamily = strings[0]
        sceneRoot.translateStrings(code)
    }

    function toggleBackground() {
        if (sceneRoot.isCustomBackground) {
            sceneRoot.isCustomBackground = false
            sceneRoot.sourceCustomBackground = ""
            return
        }
        var path = ui_View.getCustomFilePath()
        if (path === "")
            return
        sceneRoot.sourceCustomBackground = "file:" + path
        sceneRoot.isCustomBackground = true
    }

    function choosePreset(index) {
        presetIndex = index
        var rgb = presets[index]
        textColorPalette.setColor(rgb[0], rgb[1], rgb[2])
        applyColor()
    }

    function storeColor(r, g, b) {
        var updated = presets.slice()
        updated[presetIndex] = [r, g, b]
        presets = updated
        applyColor()
    }

    function applyColor() {
        var rgb = presets[presetIndex]
        sceneRoot.globalSetting_color = Palette.withBrightness(rgb[0], rgb[1], rgb[2], brightnessStep)
    }

    // Presses on the sheet itself end any text entry and stay on the sheet.
    MouseArea {
        anchors.fill: parent
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

    // Left column: one row per setting, label then control.
    readonly property int labelX: 28
    readonly property int controlX: 164
    readonly property int firstRowY: 68
    readonly property int rowStep: 46
    readonly property int rightX: 430
    function rowY(row) { return firstRowY + row * rowStep }

    Label {
        x: page.labelX; y: page.rowY(0); width: 128; height: 32
        fontSizeMode: Text.HorizontalFit; minimumPixelSize: 10
        visible: page.skinShown
        text: Theme.text(26, "SKIN")
        heading: true
    }
    DropdownList {
        id: skinList
        objectName: "skinList"
        x: page.controlX; y: page.rowY(0)
        visible: page.skinShown
        currentIndex: 0
        Component.onCompleted: page.translateStrings()
        onListElementClicked: page.setSkin(index)
    }

    Label {
        x: page.labelX; y: page.rowY(1); width: 128; height: 32
        fontSizeMode: Text.HorizontalFit; minimumPixelSize: 10
        text: Theme.text(27, "SOUND")
        heading: true
    }
    Row {
        objectName: "soundSwitch"
        x: page.controlX; y: page.rowY(1) + 4
        spacing: 20
        RadioButton {
            objectName: "soundSwitch_on"
            text: Theme.text(31, "ON")
            isSelect: page.soundOn
            onClicked: if (!page.soundOn) page.setSound(true)
        }
        RadioButton {
            objectName: "soundSwitch_off"
            text: Theme.text(32, "OFF")
            isSelect: !page.soundOn
            onClicked: if (page.soundOn) page.setSound(false)
        }
    }

    Label {
        x: page.labelX; y: page.rowY(2); width: 128; height: 32
        fontSizeMode: Text.HorizontalFit; minimumPixelSize: 10
        text: Theme.text(28, "ANIMATED")
        heading: true
    }
    Row {
        objectName: "animationSwitch"
        x: page.controlX; y: page.rowY(2) + 4
        spacing: 20
        RadioButton {
            objectName: "animationSwitch_on"
            text: Theme.text(31, "ON")
            isSelect: page.sceneRoot && page.sceneRoot.animation_speed === page.speedOn
            onClicked: page.sceneRoot.animation_speed = page.speedOn
        }
        RadioButton {
            objectName: "animationSwitch_off"
            text: Theme.text(32, "OFF")
            isSelect: page.sceneRoot && page.sceneRoot.animation_speed === page.speedOff
            onClicked: page.sceneRoot.animation_speed = page.speedOff
        }
    }

    Label {
        x: page.labelX; y: page.rowY(3); width: 128; height: 32
        fontSizeMode: Text.HorizontalFit; minimumPixelSize: 10
        text: Theme.text(29, "LANGUAGE")
        heading: true
    }
    DropdownList {
        id: languageList
        objectName: "languageList"
        x: page.controlX; y: page.rowY(3)
        model: page.languageNames
        maxRows: 8
        onListElementClicked: page.setLanguage(index)
    }

    Label {
        x: page.labelX; y: page.rowY(4); width: 128; height: 32
        fontSizeMode: Text.HorizontalFit; minimumPixelSize: 10
        text: Theme.text(30, "BACKGROUND")
        heading: true
    }
    Button_2state {
        objectName: "backgroundSwitch"
        x: page.controlX; y: page.rowY(4)
        width: 150; height: 32
        normalSource: ""
        hoverSource: ""
        text: "\u3010 " + (page.sceneRoot && page.sceneRoot.isCustomBackground ? Theme.text(31, "ON") : Theme.text(32, "OFF")) + " \u3011"
        onClicked: page.toggleBackground()
    }

    Label {
        x: page.labelX; y: page.rowY(5); width: 128; height: 32
        fontSizeMode: Text.HorizontalFit; minimumPixelSize: 10
        text: Theme.text(127, "TEXT SIZE")
        heading: true
    }
    Row {
        objectName: "textSizeSwitch"
        x: page.controlX; y: page.rowY(5) + 4
        spacing: 20
        RadioButton {
            objectName: "textSizeSwitch_normal"
            text: Theme.text(37, "NORMAL")
            isSelect: page.sceneRoot && page.sceneRoot.globalSetting_size === page.sizeNormal
            onClicked: page.sceneRoot.globalSetting_size = page.sizeNormal
        }
        RadioButton {
            objectName: "textSizeSwitch_larger"
            text: Theme.text(38, "LARGER")
            isSelect: page.sceneRoot && page.sceneRoot.globalSetting_size === page.sizeLarger
            onClicked: page.sceneRoot.globalSetting_size = page.sizeLarger
        }
    }

    Label {
        x: page.labelX; y: page.rowY(6); width: 128; height: 32
        fontSizeMode: Text.HorizontalFit; minimumPixelSize: 10
        text: Theme.text(36, "BRIGHTNESS")
        heading: true
    }
    Slider {
        id: brightnessSlider
        objectName: "brightnessSlider"
        x: page.controlX; y: page.rowY(6) + 4
        width: 240
        onSliderClicked: {
            page.brightnessStep = position
            page.applyColor()
        }
    }

    // The slider moves its own knob on release; this keeps it on the page's step (RESET).
    Binding { target: brightnessSlider; property: "position"; value: page.brightnessStep }

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
            model: page.presets.length
            delegate: Rectangle {
                objectName: "colorPreset_" + index
                readonly property var rgb: page.presets[index]
                width: 30; height: 30
                radius: 6
                color: Qt.rgba(rgb[0] / 255, rgb[1] / 255, rgb[2] / 255, 1)
                border.color: index === page.presetIndex ? Theme.accent : Theme.stroke
                border.width: index === page.presetIndex ? 3 : 1
                MouseArea {
                    anchors.fill: parent
                    onClicked: page.choosePreset(index)
                }
            }
        }
    }
    ColorPalette {
        id: textColorPalette
        objectName: "textColorPalette"
        x: page.rightX; y: page.rowY(2) + 4
        onColorPicked: page.storeColor(r, g, b)
    }

    PushButton {
        objectName: "resetButton"
        x: saveButton.x - width - 12; y: saveButton.y
        text: Theme.text(77, "RESET")
        onClicked: page.resetSettings()
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
