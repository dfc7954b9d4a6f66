import QtQuick 2.15

// The menu's name, dimmed, while the closed menu has nothing chosen.
Label {
    property Item menu
    x: menu.x + 10
    y: menu.y
    width: menu.width - 48
    height: menu.height
    visible: menu.visible && menu.currentIndex < 0 && !menu.isOpen
    color: Theme.textColorDisable
}
