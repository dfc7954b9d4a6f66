import QtQuick 2.15

Item {
    id: root
    width: 1000
    height: 600
    visible: false
}
