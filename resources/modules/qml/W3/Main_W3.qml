import QtQuick 2.15
import "qrc:/modules/qml/common"

// The product frame: the function menu (left), the page area hosting the four pages by index
// (0 key, 1 macro, 2 colour, 3 sensor) and the profile menu (right). Pages slide in and out
// horizontally; the bottom bar's ALL RESET / ALL SAVE, key events and profile switches reach
// every page through the page interface. Changes a page holds back until APPLY are marked on
// its tab and settled (applied or dropped) before a profile switch or the close.
Item {
    id: frame
    objectName: "Main_W3"
    width: 1000
    height: 488

    property int currentPage: -1
    property int lastKeyCode: 0
    property bool menusIn: false
    readonly property var pages: [keyPage, macroPage, colorPage, sensorPage]
    readonly property int macroPageIndex: 1
    readonly property var pendingPages: pages.map(function(page) { return page.pending })
    readonly property bool pending: pendingPages.indexOf(true) >= 0
    readonly property int applyLockTime: 1600   // the longest lock a page's own APPLY takes, ms
    readonly property string profileName: menuProf.label(menuProf.currentIndex)  // "P03"
    signal protectUI(int interval)

    // Start-up, after the settings page: key, macro, colour and sensor pages in that order.
    function initUI() {
        var deviceConfig = ui_View.loadDeviceApConfig()
        for (var i = 0; i < pages.length; ++i)
            pages[i].initUI(deviceConfig)
    }

    function translateStrings(code) {
        Theme.productStrings = ui_View.getProductLayoutStrings_W3(code)
        for (var i = 0; i < pages.length; ++i)
            pages[i].translateStrings()
    }

    function keyEvent(isDown, usbCode) {
        if (isDown)
            lastKeyCode = usbCode
        for (var i = 0; i < pages.length; ++i)
            pages[i].keyEvent(isDown, usbCode)
    }

    function totalReset() {
        for (var i = 0; i < pages.length; ++i)
            pages[i].totalReset()
    }

    function totalApply() {
        for (var i = 0; i < pages.length; ++i)
            pages[i].totalApply()
    }

    // Asks APPLY / DISCARD / CANCEL while a page holds changes, then runs `proceed` unless the
    // answer was CANCEL; without changes it runs at once.
    function settlePending(proceed) {
        if (!pending) {
            proceed()
            return
        }
        Questions.ask(Theme.text(150, "UNAPPLIED CHANGES"),
                      Theme.text(151, "The changes on %1 have not reached the mouse yet.").arg(pendingPageNames()),
                      [Theme.text(107, "APPLY"), Theme.text(152, "DISCARD"), Theme.text(78, "CANCEL")], 2,
                      function(choice) {
                          if (choice === 2)
                              return
                          if (choice === 0)
                              applyPending()
                          else
                              discardPending()
                          // A page that refused its APPLY says why and keeps its changes.
                          if (!pending)
                              proceed()
                      })
    }

    function pendingPageNames() {
        var names = []
        for (var i = 0; i < pages.length; ++i)
            if (pendingPages[i])
                names.push(menuFunc.entryLabel(i))
        return names.join(", ")
    }

    function applyPending() {
        protectUI(applyLockTime)
        for (var i = 0; i < pages.length; ++i)
            if (pages[i].pending)
                pages[i].apply()
    }

    // The pages read their profile again.
    function discardPending() {
        for (var i = 0; i < pages.length; ++i)
            if (pages[i].pending)
                pages[i].discard()
    }

    function profileChanged() {
        for (var i = 0; i < pages.length; ++i)
            pages[i].profileChanged()
    }

    function slideMenusIn() {
        menuSlide.start()
    }

    // Opens page `index`, or closes the page area with -1: the old page slides out first.
    function showPage(index) {
        if (index < -1 || index >= pages.length || index === currentPage)
            return
        ui_View.playMedia_Index(2)
        var previous = currentPage
        currentPage = index
        pageSlide.stop()
        for (var i = 0; i < pages.length; ++i) {
            if (i !== previous) {
                pages[i].visible = false
                pages[i].x = pageArea.width
            }
        }
        slideOut.target = previous >= 0 ? pages[previous] : null
        slideIn.target = index >= 0 ? pages[index] : null
        if (index >= 0)
            pages[index].visible = true
        pageSlide.start()
    }

    Menu_Func {
        id: menuFunc
        x: -width
        currentIndex: frame.currentPage
        pendingPages: frame.pendingPages
        onEntryClicked: frame.showPage(index === frame.currentPage ? -1 : index)
    }

    Item {
        id: pageArea
        objectName: "pageArea"
        x: 160
        y: 8
        width: 710
        height: 472
        clip: true

        Page_Keydefine { id: keyPage; visible: false; x: pageArea.width; onProtectUI: frame.protectUI(interval) }
        Page_Macro {
            id: macroPage
            visible: false
            x: pageArea.width
            keyButtons: keyPage.buttons
            onProtectUI: frame.protectUI(interval)
            onMacroUnbound: keyPage.releaseMacroSlot(slot)
        }
        Page_Color { id: colorPage; visible: false; x: pageArea.width; onProtectUI: frame.protectUI(interval) }
        Page_Sensor { id: sensorPage; visible: false; x: pageArea.width; onProtectUI: frame.protectUI(interval) }
    }

    Menu_Prof {
        id: menuProf
        x: frame.width
        enabled: frame.currentPage !== frame.macroPageIndex
        holdSwitches: frame.pending
        onSwitchRequested: frame.settlePending(function() { menuProf.select(index) })
        onProfileChanged: frame.profileChanged()
    }

    SequentialAnimation {
        id: pageSlide
        NumberAnimation {
            id: slideOut
            property: "x"
            to: -pageArea.width
            duration: target ? 0.5 * Theme.animationSpeed : 0
            easing.type: Easing.InCubic
        }
        ScriptAction { script: if (slideOut.target) slideOut.target.visible = false }
        NumberAnimation {
            id: slideIn
            property: "x"
            to: 0
            duration: target ? 0.5 * Theme.animationSpeed : 0
            easing.type: Easing.OutCubic
        }
    }

    ParallelAnimation {
        id: menuSlide
        onFinished: frame.menusIn = true
        NumberAnimation { target: menuFunc; property: "x"; from: -menuFunc.width; to: 0; duration: Theme.animationSpeed; easing.type: Easing.OutCubic }
        NumberAnimation { target: menuProf; property: "x"; from: frame.width; to: 880; duration: Theme.animationSpeed; easing.type: Easing.OutCubic }
    }
}
