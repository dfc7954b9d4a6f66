import QtQuick 2.15
import W3.Actions 1.0
import "qrc:/modules/qml/common"
import "qrc:/modules/qml/basic"

// The application links sheet of one profile: the switch for following applications, the
// profile used when none matches, the applications linked to this profile (✕ unlinks one),
// + to link another, CLOSE (or Esc) to leave. Each choice is stored at once by
// ApplicationLinks; a refused one says why under the list and changes nothing.
Item {
    id: page
    objectName: "Page_AppLinks"
    width: 710
    height: 472

    property int profile: 0
    property bool adding: false
    readonly property var matchWords: ["appId", "windowClass", "program"]
    readonly property var matchLabels: [Theme.text(185, "APPLICATION ID"), Theme.text(186, "WINDOW CLASS"),
                                        Theme.text(187, "PROGRAM FILE")]
    readonly property var profileLinks: ApplicationLinks.links.filter(function(link) { return link.profile === page.profile })
    signal closeRequested()

    function label(index) { return "P" + (index < 9 ? "0" : "") + (index + 1) }
    function matchText(match) { return matchLabels[Math.max(0, matchWords.indexOf(match))] }

    // The reason of a refusal in the user's language.
    function reasonOf(refusal) {
        switch (refusal) {
        case ApplicationLinks.NoName: return Theme.text(191, "Type the application's name.")
        case ApplicationLinks.NameTooLong: return Theme.text(192, "The name is longer than 255 characters.")
        case ApplicationLinks.NameNotAllowed: return Theme.text(193, "The name holds invisible or control characters.")
        case ApplicationLinks.BlankAtEnds: return Theme.text(276, "The name begins or ends with a blank.")
        case ApplicationLinks.FolderInProgram: return Theme.text(194, "A program is named by its file name, without a folder.")
        case ApplicationLinks.AlreadyLinked:
            return Theme.text(195, "This application is already linked to %1.")
                .arg(page.label(ApplicationLinks.lastHolder()))
        case ApplicationLinks.TooManyLinks: return Theme.text(196, "No more applications can be linked (64 at most).")
        case ApplicationLinks.FileUnreadable:
            return Theme.text(197, "The links file cannot be read (%1); nothing is changed.").arg(ApplicationLinks.fileProblem)
        case ApplicationLinks.NotWritten:
            return Theme.text(198, "The links file cannot be written (%1); nothing is changed.").arg(ApplicationLinks.writeProblem())
        }
        return ApplicationLinks.describeLast()
    }
    // True when the change was stored; otherwise the reason shows.
    function settle(refusal) {
        if (refusal === ApplicationLinks.Accepted) {
            hint.hide()
            return true
        }
        hint.show(reasonOf(refusal))
        return false
    }
    function link(name, match) {
        if (settle(ApplicationLinks.link(profile, name, match))) {
            adder.clear()
            adding = false
        }
    }
    function openAdder() {
        adding = true
        adder.focusName()
    }

    focus: true
    Keys.onEscapePressed: closeRequested()
    // The file as it is now: one damaged or changed since it was last read shows at once.
    onVisibleChanged: if (visible) {
        ApplicationLinks.reload()
        forceActiveFocus()
    }

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
        objectName: "appLinksHeading"
        x: 28; y: 18; width: 654; height: 30
        text: page.label(page.profile) + " · " + Theme.text(181, "APPLICATIONS")
        heading: true
        highlight: true
        font.pixelSize: Theme.fontSize + 4
        font.letterSpacing: 2
    }
    Rectangle { x: 28; y: 50; width: 654; height: 1; color: Theme.stroke }

    SettingRow {
        x: 28; y: 68
        labelWidth: 330
        controlX: 340
        controlInset: 4
        label: Theme.text(182, "AUTO SWITCH")
        Row {
            objectName: "autoSwitch"
            spacing: 20
            RadioButton {
                objectName: "autoSwitch_on"
                text: Theme.text(31, "ON")
                isSelect: ApplicationLinks.enabled
                onClicked: if (!ApplicationLinks.enabled) page.settle(ApplicationLinks.setEnabled(true))
            }
            RadioButton {
                objectName: "autoSwitch_off"
                text: Theme.text(32, "OFF")
                isSelect: !ApplicationLinks.enabled
                onClicked: if (ApplicationLinks.enabled) page.settle(ApplicationLinks.setEnabled(false))
            }
        }
    }

    SettingRow {
        x: 28; y: 114
        z: 3
        labelWidth: 330
        controlX: 340
        label: Theme.text(183, "WHEN NO APPLICATION MATCHES:")
        DropdownList {
            id: defaultList
            objectName: "defaultProfileList"
            width: 160
            // Entry 0 is "none": the profile stays as it is.
            model: [Theme.text(184, "NONE")].concat([0, 1, 2, 3, 4, 5, 6, 7, 8, 9].map(page.label))
            currentIndex: ApplicationLinks.defaultProfile + 1
            onListElementClicked: {
                page.settle(ApplicationLinks.setDefaultProfile(index - 1))
                currentIndex = Qt.binding(function() { return ApplicationLinks.defaultProfile + 1 })
            }
        }
    }
    Rectangle { x: 28; y: 160; width: 654; height: 1; color: Theme.stroke }

    ListView {
        id: linkList
        objectName: "appLinkList"
        x: 28; y: 170
        width: 654
        height: page.adding ? 112 : 224
        clip: true
        spacing: 4
        model: page.profileLinks
        delegate: AppLinkRow {
            objectName: "AppLinkRow_" + index
            width: linkList.width - (scrollBar.needed ? scrollBar.width + 6 : 0)
            name: modelData.name
            matchText: page.matchText(modelData.match)
            onUnlinkClicked: page.settle(ApplicationLinks.unlink(page.profile, modelData.name, modelData.match))
        }
        Label {
            objectName: "appLinksEmpty"
            visible: linkList.count === 0 && ApplicationLinks.fileProblem === ""
            width: parent.width
            height: 34
            text: Theme.text(190, "No application is linked to %1.").arg(page.label(page.profile))
        }
    }
    // A links file that cannot be read stays as it is until it is mended; the sheet says why.
    Label {
        objectName: "appLinksFileProblem"
        x: 28; y: 170
        width: 654
        height: 34
        visible: ApplicationLinks.fileProblem !== ""
        color: Theme.warning
        wrapMode: Text.Wrap
        text: Theme.text(197, "The links file cannot be read (%1); nothing is changed.").arg(ApplicationLinks.fileProblem)
    }
    ListScrollBar {
        id: scrollBar
        view: linkList
        x: linkList.x + linkList.width - width
        y: linkList.y
        height: linkList.height
    }

    PushButton {
        id: addButton
        objectName: "appLinkAdd"
        x: 28
        y: linkList.y + linkList.height + 8
        width: 40
        visible: !page.adding
        text: "+"
        onClicked: page.openAdder()
    }
    AppLinkAdder {
        id: adder
        x: 28
        y: linkList.y + linkList.height + 8
        width: 654
        z: 2
        visible: page.adding
        recent: ApplicationLinks.recentApplications
        matchWords: page.matchWords
        matchLabels: page.matchLabels
        onLinkRequested: page.link(name, match)
    }

    InlineHint {
        id: hint
        objectName: "appLinksHint"
        x: 28
        y: page.height - 24 - 36 - 28
        width: 654
        height: 24
    }

    // GNOME tells the application in front only through the extension the user switches on.
    Label {
        objectName: "appLinksDesktopStep"
        x: addButton.x + addButton.width + 16
        y: page.height - 24 - 36
        width: closeButton.x - x - 16
        height: 36
        visible: ApplicationLinks.desktopStepNeeded && !page.adding
        wrapMode: Text.Wrap
        verticalAlignment: Text.AlignVCenter
        text: Theme.text(275, "On GNOME, switch on “W3 Config: application in front” in Extensions, or run gnome-extensions enable w3config-focus@w3config.org")
    }

    PushButton {
        id: closeButton
        objectName: "appLinksClose"
        x: page.width - width - 28; y: page.height - height - 24
        primary: true
        text: Theme.text(188, "CLOSE")
        onClicked: page.closeRequested()
    }
}
