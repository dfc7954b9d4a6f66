import QtQuick 2.15

// Placeholder with the page interface; the page itself replaces it.
Item {
    objectName: "Page_Macro"
    width: 710
    height: 472
    signal protectUI(int interval)
    function initUI(deviceConfig) {}
    function translateStrings() {}
    function keyEvent(isDown, usbCode) {}
    function totalReset() {}
    function totalApply() {}
    function profileChanged() {}
}
