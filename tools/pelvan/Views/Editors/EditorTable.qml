import QtQuick 2.15
import Tavo5 1.0

// A correction table as its view holds it: a row number, then one field per column with one decimal.
// rows is the view's own copy (one object per row, a number under each key); rows from rowCount on and
// columns from columnCount on are not in use and cannot be edited.
XTableView {
    id: root

    property var rows: []
    // The row objects' keys, one per editable column, and their caption ids.
    property var keys: []
    property var names: []
    property int rowCount: 0
    // -1: every column in use.
    property int columnCount: -1

    // A field took a new value; rows already holds it.
    signal edited(int row, string key)

    // The field of a row and key, or null when its row is not made.
    function field(row, key) {
        var item = xlistView.itemAtIndex(row)
        if (!item)
            return null
        var cells = item.xcells
        for (var i = 0; i < cells.length; ++i)
            if (cells[i].xkey === key)
                return cells[i].xfield
        return null
    }

    xrowHeight: 28
    xheaderHeight: 30
    xcolumnWidthArray: {
        var widths = [48]
        for (var i = 0; i < keys.length; ++i)
            widths.push(1)
        return widths
    }
    xcolumnNameArray: ["Number"].concat(names)
    model: rows
    // Every row is made at once: assistive technology reaches every field, scrolled into view or not.
    Component.onCompleted: xlistView.cacheBuffer = 100000

    delegate: XListRow {
        id: row

        readonly property int rowIndex: index

        enabled: rowIndex < root.rowCount

        XTableCellText {
            text: String(row.rowIndex + 1)
        }

        Repeater {
            model: root.keys

            XTableCellBase {
                id: cell

                readonly property string xkey: modelData
                readonly property alias xfield: input
                readonly property int column: index

                // The row's value in the view's copy; a new copy is shown even where the field was edited.
                function shown() {
                    var r = root.rows[row.rowIndex]
                    return r ? Number(r[cell.xkey]) : 0
                }

                xcolumn: column + 1
                enabled: root.columnCount < 0 || column < root.columnCount

                XInputFloat {
                    id: input
                    objectName: root.objectName + "_" + row.rowIndex + "_" + cell.xkey
                    anchors.fill: parent
                    xpanelNameWidth: 0
                    xpanelNameSpacing: 0
                    xvalueMargin: 6
                    xformat: 1
                    xname: qsTrId(root.names[cell.column]) + " " + (row.rowIndex + 1)
                    // One node for assistive technology: the text field, which carries the same name.
                    Accessible.ignored: true
                    xvalue: cell.shown()
                    Connections {
                        target: root
                        function onRowsChanged() { input.init(cell.shown()) }
                    }
                    onXvalueChanged: {
                        var r = root.rows[row.rowIndex]
                        if (r && r[cell.xkey] !== xvalue) {
                            r[cell.xkey] = xvalue
                            root.edited(row.rowIndex, cell.xkey)
                        }
                    }
                }
            }
        }
    }
}
