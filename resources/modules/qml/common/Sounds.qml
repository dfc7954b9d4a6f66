pragma Singleton
import QtQuick 2.15

// The scene's sounds by what they mean; the view's player knows them by number. Every control
// takes its click through here, so the sound of a click is chosen in one place.
QtObject {
    function music() { ui_View.playMedia_Index(0) }
    function opening() { ui_View.playMedia_Index(1) }
    function slide() { ui_View.playMedia_Index(2) }
    function link() { ui_View.playMedia_Index(3) }
    function click() { ui_View.playMedia_Index(4) }
}
