import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0

// Rows under a header of column captions. The delegate is normally an XListRow whose cells take the
// columns in order; with xselectEnable column 0 is the selection column and its header holds the check
// box that selects or clears every item. Selection lives in the items themselves (edit_select), so it
// survives scrolling and is what the views read back.
Rectangle {
    id: root

    // Column widths: entries above 1 are pixels, entries of at most 1 share what the fixed ones leave.
    property var xcolumnWidthArray: [1]
    property var xcolumnNameArray: []
    property int xrowHeight: 32
    property int xheaderHeight: 32
    property int xcolumnSpacing: 0
    property int xmargin: 0
    property var model: null
    property Component delegate: null
    property int xcurrentRow: -1
    property int xhoverRow: -1
    property bool xselectEnable: false
    property bool xselectAll: false
    property int xselectRows: 0
    // 0: an array (or list property) of objects, 1: a list model read through get(i).
    property int xmodelType: 0
    // Name for assistive technology; the captions stand in when empty.
    property string xname: ""

    // Set by XTableView: cell borders, table roles.
    property bool xtableStyle: false
    readonly property bool xisListView: true
    readonly property alias xlistView: list
    readonly property int xcount: list.count
    readonly property real xcontentWidth: Math.max(0, width - 2 * xmargin)
    readonly property var xcolumnXs: _layout[0]
    readonly property var xcolumnWidths: _layout[1]

    // Bumped on every selection change: plain JavaScript items notify nobody when edit_select changes.
    property int _selectSerial: 0
    property var _currentItem: null
    property bool _completed: false
    readonly property var _layout: _columnLayout(xcolumnWidthArray, xcontentWidth, xcolumnSpacing)

    signal xrowClicked(int row)
    signal xrowDoubleClicked(int row)

    color: XTheme.background_color
    border.color: XTheme.border_color_light
    border.width: xtableStyle ? 1 : 0
    clip: true

    Accessible.role: xtableStyle ? Accessible.Table : Accessible.List
    Accessible.name: xname !== "" ? xname : _captionsText()
    Accessible.description: xselectEnable ? qsTrId("SelectedRows") + " " + xselectRows : ""

    function _columnLayout(arr, avail, spacing) {
        var n = (arr && arr.length > 0) ? arr.length : 0
        var xs = [], ws = []
        var fixed = 0, shares = 0, i, v
        var vals = []
        for (i = 0; i < n; ++i) {
            v = Number(arr[i])
            if (!(v > 0))
                v = 0
            vals.push(v)
            if (v > 1)
                fixed += v
            else
                shares += v
        }
        var rest = Math.max(0, avail - spacing * Math.max(0, n - 1) - fixed)
        var pos = 0
        for (i = 0; i < n; ++i) {
            v = vals[i]
            var w = v > 1 ? v : (shares > 0 ? rest * v / shares : 0)
            // Whole pixels, without losing the fractions along the row.
            var x0 = Math.round(pos), x1 = Math.round(pos + w)
            xs.push(x0)
            ws.push(x1 - x0)
            pos += w + spacing
        }
        return [xs, ws]
    }

    function xcolumnX(k) {
        return (k >= 0 && k < xcolumnXs.length) ? xcolumnXs[k] : 0
    }

    function xcolumnWidth(k) {
        return (k >= 0 && k < xcolumnWidths.length) ? xcolumnWidths[k] : 0
    }

    function _captionsText() {
        var names = xcolumnNameArray || []
        var out = []
        for (var i = 0; i < names.length; ++i)
            if (names[i] !== undefined && names[i] !== null && String(names[i]) !== "")
                out.push(qsTrId(String(names[i])))
        return out.join(", ")
    }

    // Number of items in the model as the selection sees it.
    function xitemCount() {
        var m = model
        if (m === null || m === undefined)
            return 0
        if (xmodelType === 1) {
            if (typeof m.count === "number")
                return m.count
            return (typeof m.rowCount === "function") ? m.rowCount() : 0
        }
        return (typeof m.length === "number") ? m.length : 0
    }

    // The model's own item (not the delegate's copy), or null.
    function xitem(i) {
        if (i < 0 || i >= xitemCount())
            return null
        var it = (xmodelType === 1) ? (typeof model.get === "function" ? model.get(i) : null) : model[i]
        return (it !== undefined && typeof it === "object") ? it : null
    }

    function xisSelected(i) {
        var it = xitem(i)
        return it !== null && it.edit_select === true
    }

    function _write(i, it, v) {
        if (xmodelType === 1 && typeof model.setProperty === "function")
            model.setProperty(i, "edit_select", v)
        else
            it.edit_select = v
    }

    function xsetSelected(i, v) {
        var it = xitem(i)
        if (it === null)
            return
        _write(i, it, v === true)
        xselectUpdate()
    }

    // The header check box: select every item, or clear them all.
    function xsetSelectAll(v) {
        var n = xitemCount()
        for (var i = 0; i < n; ++i) {
            var it = xitem(i)
            if (it !== null && (it.edit_select === true) !== (v === true))
                _write(i, it, v === true)
        }
        xselectUpdate()
    }

    function xselectUpdate() {
        var n = xitemCount()
        var selected = 0
        for (var i = 0; i < n; ++i)
            if (xisSelected(i))
                ++selected
        xselectRows = selected
        xselectAll = n > 0 && selected === n
        ++_selectSerial
    }

    function _selectRow(i) {
        if (i < 0 || i >= list.count)
            return
        xcurrentRow = i
        list.positionViewAtIndex(i, ListView.Contain)
    }

    // After the model is replaced the highlighted item keeps its highlight if it is still there: a refresh
    // that rebuilds the items must not leave an operation pointed at a different camera.
    function _modelReplaced() {
        // The declared model and current row arrive together: nothing to carry over yet.
        if (!_completed)
            return
        var n = xitemCount()
        var row = -1
        if (_currentItem !== null)
            for (var i = 0; i < n; ++i)
                if (xitem(i) === _currentItem) {
                    row = i
                    break
                }
        xhoverRow = -1
        xcurrentRow = row
        xselectUpdate()
    }

    function _modelReset() {
        xcurrentRow = -1
        xhoverRow = -1
        xselectUpdate()
    }

    onModelChanged: _modelReplaced()
    onXmodelTypeChanged: _modelReplaced()
    onXcurrentRowChanged: _currentItem = xitem(xcurrentRow)
    Component.onCompleted: {
        _completed = true
        if (xcurrentRow >= xitemCount())
            xcurrentRow = -1
        _currentItem = xitem(xcurrentRow)
        xselectUpdate()
    }

    // A list model changes in place: keep the highlight on its row and the count right at once (the
    // ListView's own count follows only at its next layout).
    Connections {
        target: root.xmodelType === 1 ? root.model : null
        ignoreUnknownSignals: true
        function onDataChanged() { root.xselectUpdate() }
        function onRowsInserted(parent, first, last) {
            if (root.xcurrentRow >= first)
                root.xcurrentRow += last - first + 1
            root.xhoverRow = -1
            root.xselectUpdate()
        }
        function onRowsRemoved(parent, first, last) {
            if (root.xcurrentRow > last)
                root.xcurrentRow -= last - first + 1
            else if (root.xcurrentRow >= first)
                root.xcurrentRow = -1
            root.xhoverRow = -1
            root.xselectUpdate()
        }
        function onRowsMoved() { root._modelReset() }
        function onModelReset() { root._modelReset() }
        function onLayoutChanged() { root._modelReset() }
    }

    Rectangle {
        id: header
        x: root.xmargin
        y: root.xmargin
        width: root.xcontentWidth
        height: root.xheaderHeight
        visible: height > 0
        color: XTheme.form_color_head
        Accessible.ignored: true

        Repeater {
            model: root.xcolumnWidths.length
            delegate: Item {
                id: headCell
                readonly property bool isSelect: root.xselectEnable && index === 0
                readonly property var caption: (root.xcolumnNameArray && index < root.xcolumnNameArray.length)
                                                ? root.xcolumnNameArray[index] : ""
                x: root.xcolumnX(index)
                width: root.xcolumnWidth(index)
                height: header.height
                Accessible.role: Accessible.ColumnHeader
                Accessible.name: captionText.text
                Accessible.ignored: captionText.text === ""

                Text {
                    id: captionText
                    anchors.fill: parent
                    anchors.leftMargin: headCell.isSelect ? selectAllBox.width + 8 : 8
                    anchors.rightMargin: 4
                    verticalAlignment: Text.AlignVCenter
                    elide: Text.ElideRight
                    text: (headCell.caption === undefined || headCell.caption === null || headCell.caption === "")
                          ? "" : qsTrId(String(headCell.caption))
                    color: XTheme.text_color_primary
                    font.pixelSize: XTheme.font_size
                    font.bold: true
                    Accessible.ignored: true
                }

                // The box is drawn by XCheckBox; the item around it is what assistive technology sees.
                Item {
                    id: selectAllBox
                    objectName: "xselectAllBox"
                    visible: headCell.isSelect
                    enabled: root.enabled && root.xitemCount() > 0
                    x: 4
                    width: selectAllCheck.implicitWidth
                    height: parent.height
                    Accessible.role: Accessible.CheckBox
                    Accessible.name: qsTrId("SelectAll")
                    Accessible.checkable: true
                    Accessible.checked: root.xselectAll
                    Accessible.ignored: !headCell.isSelect
                    Accessible.onPressAction: selectAllBox.toggle()
                    Accessible.onToggleAction: selectAllBox.toggle()

                    function toggle() {
                        if (enabled)
                            root.xsetSelectAll(!root.xselectAll)
                    }

                    XCheckBox {
                        id: selectAllCheck
                        anchors.verticalCenter: parent.verticalCenter
                        text: ""
                        checked: root.xselectAll
                        // A click flips the box itself; the items decide what it shows.
                        onClicked: {
                            selectAllBox.toggle()
                            checked = Qt.binding(function () { return root.xselectAll })
                        }
                        Accessible.ignored: true
                    }
                }

                Rectangle {
                    visible: root.xtableStyle && index < root.xcolumnWidths.length - 1
                    anchors.right: parent.right
                    width: 1
                    height: parent.height
                    color: XTheme.border_color_light
                    Accessible.ignored: true
                }
            }
        }
    }

    ListView {
        id: list
        x: root.xmargin
        y: header.y + header.height
        width: root.xcontentWidth
        height: Math.max(0, root.height - y - root.xmargin)
        clip: true
        model: root.model
        delegate: root.delegate
        boundsBehavior: Flickable.StopAtBounds
        activeFocusOnTab: true
        currentIndex: root.xcurrentRow
        highlightFollowsCurrentItem: false
        ScrollBar.vertical: ScrollBar {
            policy: ScrollBar.AsNeeded
        }

        // The view fills in after the model is set: compare with the model, not with the rows made so far.
        onCountChanged: {
            var n = root.xitemCount()
            if (root.xcurrentRow >= n)
                root.xcurrentRow = -1
            if (root.xhoverRow >= n)
                root.xhoverRow = -1
            root.xselectUpdate()
        }

        Keys.onUpPressed: root._selectRow(root.xcurrentRow > 0 ? root.xcurrentRow - 1 : 0)
        Keys.onDownPressed: root._selectRow(Math.min(count - 1, root.xcurrentRow + 1))
        Keys.onSpacePressed: {
            if (root.xselectEnable && root.xcurrentRow >= 0)
                root.xsetSelected(root.xcurrentRow, !root.xisSelected(root.xcurrentRow))
        }
    }
}
