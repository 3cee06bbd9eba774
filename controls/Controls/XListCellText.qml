import QtQuick 2.15
import Tavo5 1.0

// A text cell of an XListRow: data, shown as it is (not a text id).
Item {
    id: cell

    property string text: ""
    property color color: enabled ? XTheme.text_color_regular : XTheme.text_color_disabled
    property int xalign: Text.AlignLeft
    property int xfontSize: XTheme.font_size
    property int xpadding: 8
    // Column in the view; -1 takes the cell's place among the row's cells.
    property int xcolumn: -1
    readonly property string xaccessText: text
    readonly property Item xrow: _findRow(cell.parent)

    implicitWidth: label.implicitWidth
    implicitHeight: 32

    Accessible.role: Accessible.StaticText
    Accessible.name: text
    Accessible.ignored: text === ""

    function _findRow(p) {
        for (; p; p = p.parent)
            if (p.xisListRow === true)
                return p
        return null
    }

    Text {
        id: label
        anchors.fill: parent
        leftPadding: cell.xpadding
        rightPadding: cell.xpadding
        verticalAlignment: Text.AlignVCenter
        horizontalAlignment: cell.xalign
        elide: Text.ElideRight
        text: cell.text
        color: cell.color
        font.pixelSize: cell.xfontSize
        Accessible.ignored: true
    }
}
