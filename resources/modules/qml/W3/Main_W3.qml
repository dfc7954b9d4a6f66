import QtQuick 2.15
import W3.Actions 1.0
import "qrc:/modules/qml/common"

// The product frame: the function menu (left), the page area hosting the four pages by index
// (0 key, 1 macro, 2 colour, 3 sensor) and the profile menu (right). Pages slide in and out
// horizontally. A page whose state lives in its page action unit is a view over that unit:
// start-up, profile switches, ALL SAVE, ALL RESET and pending changes go to the unit, whether
// or not the page has been made. A page without a unit takes them itself; it is made the first
// time it is needed (shown, or asked for ALL SAVE / ALL RESET) and starts up as it is made, so
// until then it has nothing to refresh, nothing pending and no key to take. Key events and
// labels reach the pages made so far. Changes held back until APPLY are marked on their tab and
// settled (applied or dropped) before a profile switch or the close.
Item {
    id: frame
    objectName: "Main_W3"
    width: 1000
    height: 488

    property int currentPage: -1
    property int lastKeyCode: 0
    property bool menusIn: false
    property bool appLinksOpen: false
    property bool labelled: false   // translateStrings ran: a page made later relabels itself
    property bool started: false    // initUI ran: a page made later starts up as it is made
    property var deviceConfig: []   // loadDeviceApConfig(), read once at start-up
    readonly property var slots: [keySlot, macroSlot, colorSlot, sensorSlot]
    // The pages made so far, by index; null for a page not made yet.
    readonly property var pages: [keySlot.item, macroSlot.item, colorSlot.item, sensorSlot.item]
    // Each page's action unit, by index; null for a page that runs its own life cycle.
    readonly property var pageActions: [KeyActions, null, LightingActions, SensorActions]
    // What each page starts from; the macro library has no APPLY or RESET of its own.
    readonly property var startUnits: [KeyActions, MacroActions, LightingActions, SensorActions]
    readonly property int macroPageIndex: 1
    readonly property var pendingPages: pages.map(function(page, index) {
        var unit = pageActions[index]
        return unit ? unit.pending : page !== null && page.pending
    })
    readonly property bool pending: pendingPages.indexOf(true) >= 0
    readonly property int applyLockTime: 1600   // the longest lock a page's own APPLY takes, ms
    readonly property string profileName: menuProf.label(menuProf.currentIndex)  // "P03"
    signal protectUI(int interval)

    // Calls `method` with `args` on every page made so far, in page order.
    function eachPage(method, args) {
        for (var i = 0; i < pages.length; ++i)
            if (pages[i] !== null)
                pages[i][method].apply(pages[i], args || [])
    }

    // One step of the pages' life cycle, in page order: `unitMethod` of a page's unit, or
    // `pageMethod` with `args` of a page without one, if it is made.
    function eachLifeCycle(unitMethod, pageMethod, args) {
        for (var i = 0; i < pages.length; ++i) {
            if (pageActions[i])
                pageActions[i][unitMethod]()
            else if (pages[i] !== null)
                pages[i][pageMethod].apply(pages[i], args || [])
        }
    }

    // Start-up, after the settings page: key, macro, colour and sensor pages in that order, each
    // page's unit, then the page where it is made and sets itself up over the unit.
    function initUI() {
        deviceConfig = ui_View.loadDeviceApConfig()
        started = true
        for (var i = 0; i < pages.length; ++i) {
            startUnits[i].start()
            if (pages[i] !== null && pages[i].initUI)
                pages[i].initUI(deviceConfig)
        }
    }

    function startPage(page) {
        if (started)
            page.initUI(deviceConfig)
    }

    // Every page without a unit made, for what concerns them all.
    function makePagesWithoutUnits() {
        for (var i = 0; i < slots.length; ++i)
            if (!pageActions[i])
                slots[i].make()
    }

    function translateStrings(code) {
        Theme.productStrings = ui_View.getProductLayoutStrings_W3(code)
        labelled = true
        eachPage("translateStrings")
    }

    function keyEvent(isDown, usbCode) {
        if (isDown)
            lastKeyCode = usbCode
        eachPage("keyEvent", [isDown, usbCode])
    }

    function totalReset() {
        makePagesWithoutUnits()
        eachLifeCycle("reset", "totalReset")
    }

    function totalApply() {
        makePagesWithoutUnits()
        eachLifeCycle("apply", "totalApply")
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
            if (pendingPages[i])
                (pageActions[i] || pages[i]).apply()
    }

    // The pages read their profile again.
    function discardPending() {
        for (var i = 0; i < pages.length; ++i)
            if (pendingPages[i])
                (pageActions[i] || pages[i]).discard()
    }

    // The units read the new profile as it was selected; a page without one reads it itself.
    function profileChanged() {
        for (var i = 0; i < pages.length; ++i)
            if (!pageActions[i] && pages[i] !== null)
                pages[i].profileChanged()
    }

    // The application links sheet of profile `index`.
    function showAppLinks(index) {
        appLinksSlot.make()
        appLinksSlot.item.profile = index
        appLinksOpen = true
        appLinksSlot.item.forceActiveFocus()
    }

    // Makes page `index` in the background, ready for its first showing.
    function preparePage(index) {
        slots[index].prepare()
    }

    function slideMenusIn() {
        menuSlide.start()
    }

    // Opens page `index`, or closes the page area with -1: the old page slides out first.
    function showPage(index) {
        if (index < -1 || index >= pages.length || index === currentPage)
            return
        Sounds.slide()
        if (index >= 0)
            slots[index].make()
        var previous = currentPage
        currentPage = index
        pageSlide.stop()
        for (var i = 0; i < pages.length; ++i) {
            if (i !== previous && pages[i] !== null) {
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

        PageSlot {
            id: keySlot
            madeAtStart: false
            labelled: frame.labelled
            onLoaded: frame.startPage(item)
            sourceComponent: Page_Keydefine {
                visible: false
                x: pageArea.width
                onProtectUI: frame.protectUI(interval)
            }
        }
        PageSlot {
            id: macroSlot
            madeAtStart: false
            labelled: frame.labelled
            onLoaded: frame.startPage(item)
            sourceComponent: Page_Macro {
                visible: false
                x: pageArea.width
                keyButtons: keySlot.item ? keySlot.item.buttons : null
                onProtectUI: frame.protectUI(interval)
            }
        }
        PageSlot {
            id: colorSlot
            madeAtStart: false
            labelled: frame.labelled
            sourceComponent: Page_Color {
                visible: false
                x: pageArea.width
                deviceConfig: frame.deviceConfig
                onProtectUI: frame.protectUI(interval)
            }
        }
        // The application links sheet, over the pages; made when first opened.
        PageSlot {
            id: appLinksSlot
            madeAtStart: false
            z: 1
            sourceComponent: Page_AppLinks {
                x: frame.appLinksOpen ? 0 : pageArea.width
                visible: x < pageArea.width
                enabled: frame.appLinksOpen
                onCloseRequested: frame.appLinksOpen = false
                Behavior on x {
                    NumberAnimation { duration: 0.5 * Theme.animationSpeed; easing.type: Easing.OutCubic }
                }
            }
        }
        PageSlot {
            id: sensorSlot
            madeAtStart: false
            labelled: frame.labelled
            sourceComponent: Page_Sensor { visible: false; x: pageArea.width; onProtectUI: frame.protectUI(interval) }
        }
    }

    Menu_Prof {
        id: menuProf
        x: frame.width
        enabled: frame.currentPage !== frame.macroPageIndex
        holdSwitches: frame.pending
        onSwitchRequested: frame.settlePending(function() { menuProf.select(index) })
        onProfileChanged: frame.profileChanged()
        onAppsRequested: frame.showAppLinks(index)
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
