import QtQuick 2.15
import Tavo5 1.0

// Action buttons in a table cell; see XListCellEdit. clicked(index) gives the button's index.
XTableCellBase {
    id: cell

    property var xeditNames: []
    property var xeditColors: []
    property var xeditTips: []
    property int xiconSize: 18
    property int xspacing: 4

    signal clicked(int index)

    XListCellEdit {
        anchors.fill: parent
        xeditNames: cell.xeditNames
        xeditColors: cell.xeditColors
        xeditTips: cell.xeditTips
        xiconSize: cell.xiconSize
        xspacing: cell.xspacing
        onClicked: cell.clicked(index)
    }
}
