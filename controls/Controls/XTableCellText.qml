import QtQuick 2.15
import Tavo5 1.0

// A text cell of an XTableView row: data, shown as it is (not a text id).
XTableCellBase {
    id: cell

    property string text: ""
    property color color: enabled ? XTheme.text_color_regular : XTheme.text_color_disabled
    property int xalign: Text.AlignHCenter
    property int xfontSize: XTheme.font_size

    xaccessText: text

    Text {
        anchors.fill: parent
        leftPadding: 6
        rightPadding: 6
        verticalAlignment: Text.AlignVCenter
        horizontalAlignment: cell.xalign
        elide: Text.ElideRight
        text: cell.text
        color: cell.color
        font.pixelSize: cell.xfontSize
        Accessible.ignored: true
    }
}
