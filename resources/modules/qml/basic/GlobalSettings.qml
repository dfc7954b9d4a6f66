import QtQuick 2.15
import W3.Logic 1.0
import W3.Actions 1.0
import "qrc:/modules/qml/common"

// The global settings as the scene lives with them: skin, sound, animation, language,
// background, text size, text colour and brightness, and what the program does beside the
// window (keep running in the tray, desktop notices), which the program follows at once, and
// (start with the desktop, the OpenRGB server) which SAVE writes where they live: the desktop's
// autostart entry and the server's setting file. Start-up applies the stored list to the
// scene root's data model (`sceneRoot`) before any panel exists; the settings panel, made when
// first opened, shows this state and forwards the user's choices here. A change takes effect
// at once and stays `pending` until store(); discard() puts the stored settings back.
// An Item without size, so that the scene's test drivers find it by its name.
Item {
    id: settings
    objectName: "GlobalSettings"
    visible: false

    property Item sceneRoot
    property bool skinShown: false
    property bool soundOn: true
    property var languageNames: []
    property var languageCodes: []
    property int languagePosition: -1
    property var presets: Palette.presets()
    property int presetIndex: 0
    property int brightnessStep: 7

    readonly property int configVersion: 1
    readonly property int speedOn: 800
    readonly property int speedOff: 10
    readonly property int sizeNormal: 11
    readonly property int sizeLarger: 12

    // What the root's data model holds now, as the panel shows it.
    readonly property int skinIndex: sceneRoot ? sceneRoot.skin_No - 1 : 0
    readonly property int animationSpeed: sceneRoot ? sceneRoot.animation_speed : speedOn
    readonly property int textSize: sceneRoot ? sceneRoot.globalSetting_size : sizeNormal
    readonly property bool customBackground: sceneRoot ? sceneRoot.isCustomBackground : false
    readonly property var presetColor: presets[presetIndex]
    readonly property bool keepRunning: SettingsActions.keepRunning
    readonly property bool notificationsOn: SettingsActions.notificationsOn

    // START WITH THE DESKTOP and OPENRGB SERVER as chosen in the panel; null while the panel
    // shows them as they are stored.
    property var autostartChoice: null
    property var openRgbChoice: null
    readonly property bool autostartOn: autostartChoice !== null ? autostartChoice : Autostart.enabled
    readonly property bool openRgbOn: openRgbChoice !== null ? openRgbChoice : OpenRgbSetting.enabled

    // SAVE could not write a choice: the panel tells why; the choice stays pending.
    signal autostartRefused()
    signal openRgbRefused()

    PendingChanges { id: changes; shown: settings.sceneRoot ? settings.buildConfigList() : [] }
    readonly property bool pending: changes.pending || autostartChoice !== null || openRgbChoice !== null

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
        autostartChoice = null
        openRgbChoice = null
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
        setAnimated(number(SettingsActions.AnimationOff, 0, 0, 1) === 0)
        fillLanguages()
        setLanguage(number(SettingsActions.Language, 0, 0, 999))
        var background = String(item(SettingsActions.BackgroundPath, ""))
        sceneRoot.isCustomBackground = String(item(SettingsActions.CustomBackground, false)) === "true" && background !== ""
        sceneRoot.sourceCustomBackground = sceneRoot.isCustomBackground ? background : ""
        setLargerText(number(SettingsActions.LargerText, 0, 0, 1) === 1)
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
        setKeepRunning(number(SettingsActions.KeepRunning, 0, 0, 1) === 1)
        setNotifications(number(SettingsActions.NotificationsOff, 0, 0, 1) === 0)
    }

    // The items of the application configuration, as SAVE stores them.
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
        list[SettingsActions.KeepRunning] = keepRunning ? 1 : 0
        list[SettingsActions.NotificationsOff] = notificationsOn ? 0 : 1
        return list
    }

    // True when everything was written; a refused choice stays pending and is told.
    function store() {
        SettingsActions.save(buildConfigList())
        changes.markHeld()
        var stored = true
        if (autostartChoice !== null) {
            if (Autostart.setEnabled(autostartChoice)) {
                autostartChoice = null
            } else {
                stored = false
                autostartRefused()
            }
        }
        if (openRgbChoice !== null) {
            if (OpenRgbSetting.setEnabled(openRgbChoice)) {
                openRgbChoice = null
            } else {
                stored = false
                openRgbRefused()
            }
        }
        return stored
    }

    // A choice back to what is stored is no change.
    function setAutostart(on) {
        autostartChoice = on === Autostart.enabled ? null : on
    }

    function setOpenRgb(on) {
        openRgbChoice = on === OpenRgbSetting.enabled ? null : on
    }

    // Sound off and cleared, factory configuration, start-up again, then the "sound on" cue.
    function resetSettings() {
        setSound(false)
        ui_View.resetApconfig()
        initUI()
        Sounds.music()
    }

    function setSkin(index) {
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

    function setAnimated(on) {
        sceneRoot.animation_speed = on ? speedOn : speedOff
    }

    function setKeepRunning(on) {
        SettingsActions.keepRunning = on
    }

    function setNotifications(on) {
        SettingsActions.notificationsOn = on
    }

    function setLargerText(larger) {
        sceneRoot.globalSetting_size = larger ? sizeLarger : sizeNormal
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
        var strings = ui_View.getGlobalStrings(code)
        SettingsActions.languageCode = code
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
        applyColor()
    }

    function storeColor(r, g, b) {
        var updated = presets.slice()
        updated[presetIndex] = [r, g, b]
        presets = updated
        applyColor()
    }

    function setBrightness(step) {
        brightnessStep = step
        applyColor()
    }

    function applyColor() {
        var rgb = presets[presetIndex]
        sceneRoot.globalSetting_color = Palette.withBrightness(rgb[0], rgb[1], rgb[2], brightnessStep)
    }
}
