import QtQuick 2.15
import W3.Actions 1.0
import "qrc:/modules/qml/common"

// The product frame: the function menu (left), the page area hosting the four pages by index
// (0 key, 1 macro, 2 colour, 3 sensor) and the profile menu (right). Pages slide in and out
// horizontally; the bottom bar's ALL RESET / ALL SAVE, key events and profile switches reach
// every page that exists through the page interface. A page is made the first time it is
// needed: shown, or asked for ALL SAVE / ALL RESET while it holds its own state; it starts up
// as it is made, so such a page not made yet has nothing to refresh, nothing pending and no
// key to take. A page whose state lives in its action unit (`pageActions`) is not made for
// those: the unit starts, refreshes, applies, resets and is pending without it. Changes held
// back until APPLY are marked on their tab and settled (applied or dropped) before a profile
// switch or the close.
Item {
    id: frame
    objectName: "Main_W3"
    width: 1000
    height: 488

    property int currentPage: -1
    property int lastKeyCode: 0
    property bool menusIn: false
    property bool labelled: false   // translateStrings ran: a page made later relabels itself
    property bool started: false    // initUI ran: a page made later starts up as it is made
    property var deviceConfig: []   // loadDeviceApConfig(), read once at start-up
    readonly property var slots: [keySlot, macroSlot, colorSlot, sensorSlot]
    // The pages made so far, by index; null for a page not made yet.
    readonly property var pages: [keySlot.item, macroSlot.item, colorSlot.item, sensorSlot.item]
    // The units holding a page's state and life cycle, by page index; null while the page
    // holds its own. A unit's page need not exist for start-up, refresh, ALL SAVE or ALL RESET.
    readonly property var pageActions: [KeyActions, null, null, null]
    readonly property int macroPageIndex: 1
    readonly property var pendingPages: pages.map(function(page, i) {
        return pageActions[i] ? pageActions[i].pending : page !== null && page.pending
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

    // Calls `unitMethod` on each page's unit, or `pageMethod` on a page without one that is
    // made, in page order.
    function eachUnitOrPage(unitMethod, pageMethod) {
        for (var i = 0; i < pages.length; ++i) {
            if (pageActions[i])
                pageActions[i][unitMethod]()
            else if (pages[i] !== null)
                pages[i][pageMethod]()
        }
    }

    // Start-up, after the settings page: key, macro, colour and sensor pages in that order,
    // each page's unit, then the page where it is made.
    function initUI() {
        deviceConfig = ui_View.loadDeviceApConfig()
        started = true
        for (var i = 0; i < pages.length; ++i) {
            if (pageActions[i])
                pageActions[i].start()
            if (pages[i] !== null)
                pages[i].initUI(deviceConfig)
        }
    }

    function startPage(page) {
        if (started)
            page.initUI(deviceConfig)
    }

    // Every page that holds its own state made, for what concerns them all.
    function makeAllPages() {
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
        makeAllPages()
        eachUnitOrPage("reset", "totalReset")
    }

    function totalApply() {
        makeAllPages()
        eachUnitOrPage("apply", "totalApply")
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

    function profileChanged() {
        eachUnitOrPage("refresh", "profileChanged")
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
            onLoaded: frame.startPage(item)
            sourceComponent: Page_Color { visible: false; x: pageArea.width; onProtectUI: frame.protectUI(interval) }
        }
        PageSlot {
            id: sensorSlot
            madeAtStart: false
            labelled: frame.labelled
            onLoaded: frame.startPage(item)
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
