import QtQuick 2.15
import Tavo5 1.0

// A cell of an XTableView row: a bordered box holding any content (a text, a check box, an input).
// xaccessText is the cell's text for the row's name.
Item {
    id: cell

    property int xcolumn: -1
    property string xaccessText: ""
    property bool xborderVisible: true
    property color xborderColor: XTheme.border_color_light
    property int xpadding: 0
    default property alias xcontent: box.data
    readonly property alias xcontentItem: box
    readonly property Item xrow: _findRow(cell.parent)
    readonly property int xrowIndex: xrow !== null ? xrow.xindex : -1

    implicitWidth: 80
    implicitHeight: 32

    // A cell without text of its own (an input, a check box) leaves the naming to its content.
    Accessible.role: Accessible.Cell
    Accessible.name: xaccessText
    Accessible.ignored: xaccessText === ""

    function _findRow(p) {
        for (; p; p = p.parent)
            if (p.xisListRow === true)
                return p
        return null
    }

    Item {
        id: box
        anchors.fill: parent
        anchors.margins: cell.xpadding
        anchors.rightMargin: cell.xpadding + (cell.xborderVisible ? 1 : 0)
    }

    Rectangle {
        visible: cell.xborderVisible
        anchors.right: parent.right
        width: 1
        height: parent.height
        color: cell.xborderColor
        Accessible.ignored: true
    }
}
