import QtQuick 2.15
import W3.Actions 1.0
import "qrc:/modules/qml/basic"
import "qrc:/modules/qml/common"
import "qrc:/modules/qml/W3"

// The scene root: the global data model every page reads, the functions the program calls by
// name (initUI, run, detectKeyboard, detectMouse, setProtectUI), the window drag, the input
// lock, and the opening and closing sequences. Invisible until "run".
Item {
    id: root
    objectName: "root"
    width: 1000
    height: 600
    visible: false
    clip: true

    // The data model, with the built-in defaults used until a configuration is loaded.
    property var globalSetting_stringList: defaultStrings
    property string globalSetting_fontFamily: "Arial"
    property int globalSetting_size: 11
    property color globalSetting_color: "#FF00FFFF"
    property color globalSetting_color_enable: "#FFAAAAAA"
    property color globalSetting_color_disable: "#80FFFFFF"
    property int animation_speed: 800
    property int skin_No: 1
    property bool isCustomBackground: false
    property string sourceCustomBackground: ""
    property string globalSetting_url: ""

    property bool isGlobalSettingSelect: false
    readonly property var settingsPage: settingsSlot.item   // null until the panel is made
    property bool initialised: false
    property bool openingDone: false
    readonly property bool ready: openingDone && mainW3.menusIn     // the opening sequence is over
    // A desktop without tray icons: the user learns once how to get them, after the opening.
    readonly property bool trayNoticeWanted: ready && SettingsActions.trayMissing
    onTrayNoticeWantedChanged: if (trayNoticeWanted) tellMissingTray()

    // The product frame, the bottom bar and the menus take no input while the settings are open.
    readonly property bool frameEnabled: !isGlobalSettingSelect
    readonly property real frameOpacity: frameEnabled ? 1.0 : 0.2

    signal msg_KB(bool isDown, int usbCode)
    signal emptyAreaPressed()

    readonly property var defaultStrings: [
        "Arial", "OPTIONS", "LOOP", "SPEED", "BRIGHTNESS", "DIRECTION", "PAINTING", "EFFECTS",
        "USER DEFINE 1", "USER DEFINE 2", "USER DEFINE 3", "USER DEFINE 4", "USER DEFINE 5", "STATIC",
        "BREATHING", "WAVE", "INDUCTION DARKEN", "MARQUEE", "RIPPLE", "INDUCTION BRIGHTEN", "NEON",
        "MARQUEE COLORFUL", "RAINING", "MARQUEE CIRCLE", "SPOTLIGHT", "ROTATION", "SKIN", "SOUND",
        "ANIMATED", "LANGUAGE", "BACKGROUND", "ON", "OFF", "TEXT", "SIZE", "COLOR", "BRIGHTNESS",
        "NORMAL", "LARGER", "SKIN 1", "SKIN 2", "SKIN 3", "SKIN 4", "SKIN 5", "MACRO", "ACTION",
        "KEYBOARD", "MOUSE", "MEDIA", "COMBO KEY", "MACRO", "LEFT", "RIGHT", "MIDDLE", "BACKWARD",
        "FORWARD", "NEXT TRACK", "PREVIOUS TRACK", "STOP", "PLAY / PAUSE", "MUTE", "VOLUME UP",
        "VOLUME DOWN", "MEDIA SELECT", "MAIL", "CALCULATOR", "MY COMPUTER", "WWW SEARCH", "WWW HOME",
        "WWW BACK", "WWW FORWARD", "WWW STOP", "WWW REFRESH", "WWW FAVORITES", "KEY", "MACRO", "COLOR",
        "RESET", "CANCEL", "GAMING MODE", "DELETE", "CUT", "PASTE", "COPY", "LOAD", "SAVE", "SENSOR",
        "LED POWER ON", "TWINKLING", "GLIDING", "FINGER MOVING", "VERTICAL FLIPPING", "YO-YO",
        "FIRE KEY", "TRIPLE CLICK", "DPI SWITCH", "NORMAL PLAY", "TIMES", "ALWAYS REPEAT",
        "REPEAT ON PRESSED", "POLLING RATE", "CURSOR SPEED", "VERTICAL SCROLL SPEED",
        "DOUBLE CLICK SPEED", "DPI LEVEL", "DPI INDICATOR LED", "DEFAULT", "APPLY", "SCROLL SWAP",
        "SCROLL UP", "SCROLL DOWN", "LED CONTROL", "RENAME", "ALL RESET", "ALL SAVE"
    ]

    // Start-up: the global settings first (language strings), the product frame second. The
    // settings panel is made when it is first opened and shows them as they are then.
    function initUI() {
        globalSettings.initUI()
        mainW3.initUI()
        deviceBadge.refresh()
        initialised = true
    }

    function run() {
        Sounds.opening()
        visible = true
        Theme.picturesInBackground = false
        opening.start()
    }

    function detectKeyboard(isDown, usbCode) {
        msg_KB(isDown, usbCode)
    }

    function detectMouse(isDown, code, x, y) {
    }

    function setProtectUI(interval) {
        busy.show(interval === undefined ? 1000 : interval)
    }

    // After a language was loaded: every page relabels from the new strings.
    function translateStrings(code) {
        if (settingsPage)
            settingsPage.translateStrings()
        mainW3.translateStrings(code)
    }

    function toggleGlobalSetting() {
        if (isGlobalSettingSelect)
            settleSettings(function() { root.showGlobalSetting(false) })
        else
            showGlobalSetting(true)
    }

    // The panel is made before it is asked to open, so that it slides in from its place aside.
    function showGlobalSetting(open) {
        Sounds.slide()
        if (open)
            settingsSlot.make()
        isGlobalSettingSelect = open
    }

    // Unsaved settings are saved or dropped first (SAVE / DISCARD / CANCEL), then `proceed` runs
    // unless the answer was CANCEL.
    function settleSettings(proceed) {
        if (!globalSettings.pending) {
            proceed()
            return
        }
        Questions.ask(Theme.text(153, "UNSAVED SETTINGS"),
                      Theme.text(154, "These settings are not saved yet: the next start would not keep them."),
                      [Theme.text(85, "SAVE"), Theme.text(152, "DISCARD"), Theme.text(78, "CANCEL")], 2,
                      function(choice) {
                          if (choice === 0) {
                              // A choice SAVE could not write keeps the panel, which says why.
                              if (!globalSettings.store())
                                  return
                          } else if (choice === 1) {
                              globalSettings.discard()
                          } else {
                              return
                          }
                          proceed()
                      })
    }

    // Unsaved settings and unapplied pages are settled before the closing sequence.
    function closeProgram() {
        if (closing.running)
            return
        settleSettings(function() {
            mainW3.settlePending(function() { closing.start() })
        })
    }

    function openWebAddress() {
        Sounds.link()
        if (globalSetting_url !== "" && !Qt.openUrlExternally(globalSetting_url))
            showHelpLocation(globalSetting_url)
    }

    // Without a program that opens the page, the user is told where it is.
    function showHelpLocation(url) {
        var place = url.indexOf("file://") === 0 ? decodeURIComponent(url.substring(7)) : url
        Questions.ask(Theme.text(122, "HELP"),
                      Theme.text(123, "No web browser could open the help page. It is at:") + "\n" + place,
                      [Theme.text(124, "OK")], 0, null)
    }

    // Remembered as soon as it shows: it is not shown again, in this run or the next.
    function tellMissingTray() {
        if (!SettingsActions.trayNoticeDue())
            return
        SettingsActions.rememberTrayNotice()
        Questions.ask(Theme.text(179, "NO TRAY ICON"),
                      Theme.text(172, "This desktop shows no tray icons, so W3 Config has none; in the background it still answers w3ctl and the session bus. On GNOME the AppIndicator and KStatusNotifierItem Support extension brings them."),
                      [Theme.text(124, "OK")], 0, null)
    }

    Component.onCompleted: {
        Theme.skinNo = Qt.binding(function() { return root.skin_No })
        Theme.strings = Qt.binding(function() { return root.globalSetting_stringList })
        Theme.fontFamily = Qt.binding(function() { return root.globalSetting_fontFamily })
        Theme.fontSize = Qt.binding(function() { return root.globalSetting_size })
        Theme.textColor = Qt.binding(function() { return root.globalSetting_color })
        Theme.textColorEnable = Qt.binding(function() { return root.globalSetting_color_enable })
        Theme.textColorDisable = Qt.binding(function() { return root.globalSetting_color_disable })
        Theme.animationSpeed = Qt.binding(function() { return root.animation_speed })
    }
    onEmptyAreaPressed: focusSink.forceActiveFocus()
    // Keys no control took: Esc closes the settings panel, Ctrl+S is ALL SAVE.
    focus: true
    Keys.onEscapePressed: if (isGlobalSettingSelect) toggleGlobalSetting()
    Keys.onPressed: {
        if (event.key === Qt.Key_S && (event.modifiers & Qt.ControlModifier)) {
            event.accepted = true
            if (ready && frameEnabled && !Questions.active)
                menuDown.saveAll()
        }
    }
    // Whoever else opens the panel (the property set directly) finds it made too.
    onIsGlobalSettingSelectChanged: if (isGlobalSettingSelect) settingsSlot.make()

    // Takes the keyboard focus from any text field when the empty area is pressed.
    Item { id: focusSink }

    Environment {
        id: environment
        objectName: "Environment"
        anchors.fill: parent
        opacity: 0
        customSource: root.isCustomBackground ? root.sourceCustomBackground : ""
    }
    Environment_Decoration {
        id: decoration
        objectName: "Environment_Decoration"
        anchors.fill: parent
        opacity: environment.opacity
    }

    // Dragging the empty area moves the frameless window.
    MouseArea {
        id: dragArea
        objectName: "dragArea"
        anchors.fill: parent
        Accessible.ignored: true
        property point pressAt
        onPressed: {
            pressAt = Qt.point(mouse.x, mouse.y)
            root.emptyAreaPressed()
        }
        onPositionChanged: {
            ui_Ctl.onXChanged(mouse.x - pressAt.x)
            ui_Ctl.onYChanged(mouse.y - pressAt.y)
        }
    }

    // The keyboard walks the items in the order they are declared: top bar (logo, settings,
    // close), product frame (function menu, page, profile menu), settings panel, bottom bar.
    // What is drawn over what is set apart from that order: the top bar over the frame and the
    // panel, the web logo over the top bar, and the busy veil and questions over everything.
    // The web logo: fades in at the centre, then rises into the top bar.
    Item {
        id: webLogo
        z: 2
        x: (root.width - width) / 2
        y: 270
        width: 180
        height: 40
        opacity: 0
        Button_2state {
            objectName: "webLogo"
            anchors.fill: parent
            normalSource: "frame/web_0.png"
            hoverSource: "frame/web_1.png"
            fallbackText: "W3 \u00B7 HELP"
            accessibleName: Theme.text(122, "HELP")
            onClicked: root.openWebAddress()
        }
    }

    Menu_Up {
        id: menuUp
        z: 1
        y: -height
        onSettingsClicked: root.toggleGlobalSetting()
        // Made between frames while the pointer is on its way, the panel opens at once.
        onSettingsApproached: settingsSlot.prepare()
        onCloseClicked: root.closeProgram()
    }

    Main_W3 {
        id: mainW3
        y: 56
        enabled: root.frameEnabled
        opacity: root.frameOpacity
        onProtectUI: root.setProtectUI(interval)
        Connections {
            target: root
            function onMsg_KB(isDown, usbCode) { mainW3.keyEvent(isDown, usbCode) }
        }
    }

    // The global settings live here from start-up on; the panel over them is made when first opened.
    GlobalSettings {
        id: globalSettings
        sceneRoot: root
    }

    PageSlot {
        id: settingsSlot
        madeAtStart: false
        sourceComponent: Page_Globalsetting {
            settings: globalSettings
            x: root.isGlobalSettingSelect ? 160 : root.width
            y: 64
            visible: x < root.width
            enabled: root.isGlobalSettingSelect
            onCloseRequested: root.isGlobalSettingSelect = false
            Behavior on x {
                NumberAnimation { duration: 0.8 * root.animation_speed; easing.type: Easing.OutCubic }
            }
        }
    }

    Menu_Down {
        id: menuDown
        y: root.height
        enabled: root.frameEnabled
        opacity: root.frameOpacity
        profileName: mainW3.profileName
        onBtnTotalResetClicked: mainW3.totalReset()
        onBtnTotalApplyClicked: mainW3.totalApply()
        onProtectUI: root.setProtectUI(interval)
        DeviceBadge {
            id: deviceBadge
            objectName: "deviceBadge"
            x: 24
            anchors.verticalCenter: parent.verticalCenter
        }
    }

    // The lock disables the whole view, so its veil covers the whole window.
    BusyIndicator {
        id: busy
        objectName: "BusyIndicator"
        z: 3
        anchors.fill: parent
    }

    // Questions before what cannot be undone, over everything, the input lock included.
    QuestionSheet {
        z: 3
        anchors.fill: parent
    }

    SequentialAnimation {
        id: opening
        NumberAnimation { target: webLogo; property: "opacity"; from: 0; to: 1; duration: root.animation_speed }
        // The opening ends on the key page: made meanwhile, between the opening's frames.
        ScriptAction { script: mainW3.preparePage(0) }
        NumberAnimation { target: webLogo; property: "y"; from: 270; to: 4; duration: 1.5 * root.animation_speed; easing.type: Easing.InOutQuad }
        NumberAnimation { target: environment; property: "opacity"; from: 0; to: 1; duration: root.animation_speed }
        ScriptAction { script: mainW3.slideMenusIn() }
        ParallelAnimation {
            NumberAnimation { target: menuUp; property: "y"; from: -menuUp.height; to: 0; duration: root.animation_speed; easing.type: Easing.OutElastic; easing.amplitude: 1.0; easing.period: 0.6 }
            NumberAnimation { target: menuDown; property: "y"; from: root.height; to: root.height - menuDown.height; duration: root.animation_speed; easing.type: Easing.OutElastic; easing.amplitude: 1.0; easing.period: 0.6 }
        }
        ScriptAction { script: { mainW3.showPage(0); root.openingDone = true } }
    }

    SequentialAnimation {
        id: closing
        NumberAnimation { target: root; property: "height"; from: 600; to: 0; duration: root.animation_speed; easing.type: Easing.InCubic }
        ScriptAction { script: ui_Ctl.onMinimize() }
    }
}
