import QtQuick 2.15
import Tavo5 1.0

// The selection cell of an XTableView row: the list's selection check box in a table cell.
XTableCellBase {
    id: cell

    readonly property bool xchecked: select.xchecked

    function toggle() {
        select.toggle()
    }

    XListCellSelect {
        id: select
        objectName: "xselect"
        anchors.fill: parent
    }
}
