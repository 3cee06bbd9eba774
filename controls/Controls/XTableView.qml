import QtQuick 2.15
import Tavo5 1.0

// A table: the rows, columns and selection of XListView, drawn with cell borders and exposed as a
// table. Rows are XListRow delegates holding XTableCell* cells.
XListView {
    xtableStyle: true
}
