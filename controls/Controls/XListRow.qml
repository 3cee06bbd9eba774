import QtQuick 2.15
import Tavo5 1.0

// One row of an XListView or XTableView. Its children are the cells: the k-th cell takes column k
// (or its own xcolumn when that is set). A click makes the row the view's current row.
Item {
    id: row

    // Index in the view. The view's delegate context provides it; a delegate may also set it.
    property int xindex: typeof index === "number" ? index : -1
    readonly property bool xisListRow: true
    readonly property Item xview: _findView(row.parent)
    // The model's own item (the one that carries edit_select), or null.
    readonly property var xitem: (xview !== null && xview._selectSerial >= 0) ? xview.xitem(xindex) : null
    readonly property bool xcurrent: xview !== null && xindex >= 0 && xview.xcurrentRow === xindex
    readonly property bool xhovered: hover.hovered
    // The cells' texts joined: the row's name for assistive technology.
    readonly property string xtext: _cellsText()
    default property alias xcells: cellBox.data

    signal clicked(int index)
    signal doubleClicked(int index)

    width: xview !== null ? xview.xcontentWidth : implicitWidth
    height: xview !== null ? xview.xrowHeight : 32
    implicitWidth: 200
    implicitHeight: 32

    Accessible.role: (xview !== null && xview.xtableStyle) ? Accessible.Row : Accessible.ListItem
    Accessible.name: xtext !== "" ? xtext : qsTrId("Row") + " " + (xindex + 1)
    Accessible.selectable: true
    Accessible.selected: xcurrent
    Accessible.onPressAction: activate()

    function _findView(p) {
        for (; p; p = p.parent)
            if (p.xisListView === true)
                return p
        return null
    }

    function _cellsText() {
        var out = []
        var cs = cellBox.children
        for (var i = 0; i < cs.length; ++i) {
            var t = cs[i].xaccessText
            if (t !== undefined && t !== null && String(t) !== "")
                out.push(String(t))
        }
        return out.join(", ")
    }

    // What a click does: make the row current and tell the view and the delegate.
    function activate() {
        if (!row.enabled)
            return
        if (xview !== null && xindex >= 0) {
            xview.xcurrentRow = xindex
            xview.xrowClicked(xindex)
        }
        row.clicked(xindex)
    }

    function _layoutCells() {
        if (xview === null)
            return
        // Positions and widths from one layout: the view's two arrays may not both be updated yet.
        var xs = xview._layout[0], ws = xview._layout[1]
        var cs = cellBox.children
        for (var k = 0; k < cs.length; ++k) {
            var c = cs[k]
            var col = (typeof c.xcolumn === "number" && c.xcolumn >= 0) ? c.xcolumn : k
            // Cells beyond the columns are left where they are.
            if (col >= ws.length)
                continue
            c.x = xs[col]
            c.width = ws[col]
            c.y = 0
            c.height = row.height
        }
    }

    Rectangle {
        id: background
        anchors.fill: parent
        color: row.xcurrent ? XTheme.form_colors4[3]
                            : (row.xhovered && row.enabled ? XTheme.form_colors4[1] : XTheme.form_colors4[0])
        Accessible.ignored: true

        Rectangle {
            anchors.bottom: parent.bottom
            width: parent.width
            height: 1
            color: (row.xview !== null && row.xview.xtableStyle) ? XTheme.border_color_light
                                                                  : XTheme.border_color_extra_light
            Accessible.ignored: true
        }
    }

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.LeftButton
        onClicked: row.activate()
        onDoubleClicked: {
            if (!row.enabled)
                return
            if (row.xview !== null && row.xindex >= 0)
                row.xview.xrowDoubleClicked(row.xindex)
            row.doubleClicked(row.xindex)
        }
        Accessible.ignored: true
    }

    HoverHandler {
        id: hover
        onHoveredChanged: {
            if (row.xview === null || row.xindex < 0)
                return
            if (hovered)
                row.xview.xhoverRow = row.xindex
            else if (row.xview.xhoverRow === row.xindex)
                row.xview.xhoverRow = -1
        }
    }

    Item {
        id: cellBox
        anchors.fill: parent
        onChildrenChanged: row._layoutCells()
    }

    Connections {
        target: row.xview
        function on_layoutChanged() { row._layoutCells() }
    }
    onHeightChanged: _layoutCells()
    onXviewChanged: _layoutCells()
    Component.onCompleted: _layoutCells()
    Component.onDestruction: {
        if (xview !== null && xindex >= 0 && xview.xhoverRow === xindex)
            xview.xhoverRow = -1
    }
}
