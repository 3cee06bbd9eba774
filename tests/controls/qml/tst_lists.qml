import QtQuick 2.15
import QtTest 1.15
import Tavo5 1.0

// Lists and tables: row selection through the items' edit_select for every kind of model, the current
// row across model replacement, column widths, edit buttons and what assistive technology sees.
TestCase {
    id: tc
    name: "Lists"
    width: 800
    height: 600
    visible: true
    when: windowShown

    Component {
        id: nodeComponent
        QtObject {
            property string name
            property bool edit_select: false
        }
    }

    // A list property of objects, as the device list hands its nodes over.
    Component {
        id: listHolderComponent
        QtObject {
            property list<QtObject> items
        }
    }

    Component {
        id: listModelComponent
        ListModel {}
    }

    Component {
        id: editCellComponent
        XListCellEdit {}
    }

    Component {
        id: listViewComponent
        XListView {
            width: 600
            height: 400
            xcolumnWidthArray: [40, 1]
            xcolumnNameArray: ["", "Name"]
            xselectEnable: true
            delegate: XListRow {
                id: r
                XListCellSelect { objectName: "sel" }
                XListCellText { text: r.xitem ? r.xitem.name : "" }
            }
        }
    }

    Component {
        id: tableViewComponent
        XTableView {
            width: 600
            height: 400
            xcolumnWidthArray: [40, 1, 100]
            xcolumnNameArray: ["", "Name", "Edit"]
            xselectEnable: true
            delegate: XListRow {
                id: r
                XTableCellSelect { objectName: "sel" }
                XTableCellText { text: r.xitem ? r.xitem.name : "" }
                XTableCellEdit {
                    objectName: "edit"
                    xeditNames: ["pencil", "delete"]
                    xeditColors: ["update", "delete"]
                    xeditTips: ["Edit", "Delete"]
                }
            }
        }
    }

    SignalSpy {
        id: rowClickedSpy
        signalName: "xrowClicked"
    }

    SignalSpy {
        id: editSpy
        signalName: "clicked"
    }

    // One model of the given kind holding items named after `names`, the ones in `selected` selected.
    function makeModel(kind, names, selected) {
        var i
        if (kind === "objects") {
            var objs = []
            for (i = 0; i < names.length; ++i)
                objs.push({ "name": names[i], "edit_select": selected.indexOf(i) >= 0 })
            return objs
        }
        if (kind === "qobjects" || kind === "listprop") {
            var nodes = []
            for (i = 0; i < names.length; ++i)
                nodes.push(createTemporaryObject(nodeComponent, tc,
                                                 { "name": names[i], "edit_select": selected.indexOf(i) >= 0 }))
            if (kind === "qobjects")
                return nodes
            var holder = createTemporaryObject(listHolderComponent, tc)
            holder.items = nodes
            return holder.items
        }
        var lm = createTemporaryObject(listModelComponent, tc)
        for (i = 0; i < names.length; ++i)
            lm.append({ "name": names[i], "edit_select": selected.indexOf(i) >= 0 })
        return lm
    }

    function makeView(viewKind, modelKind, names, selected, currentRow) {
        var view = createTemporaryObject(viewKind === "table" ? tableViewComponent : listViewComponent, tc, {
                                             "xmodelType": modelKind === "listmodel" ? 1 : 0,
                                             "model": makeModel(modelKind, names, selected),
                                             "xcurrentRow": currentRow === undefined ? -1 : currentRow
                                         })
        verify(view !== null)
        waitForRendering(view)
        return view
    }

    function rowItem(view, i) {
        view.xlistView.forceLayout()
        var r = view.xlistView.itemAtIndex(i)
        verify(r !== null, "row " + i)
        return r
    }

    function selectedFlags(view) {
        var out = []
        for (var i = 0; i < view.xitemCount(); ++i)
            out.push(view.xitem(i).edit_select === true)
        return out
    }

    function combos() {
        var out = []
        var views = ["list", "table"]
        var models = ["objects", "qobjects", "listprop", "listmodel"]
        for (var v = 0; v < views.length; ++v)
            for (var m = 0; m < models.length; ++m)
                out.push({ "tag": views[v] + "/" + models[m], "view": views[v], "model": models[m] })
        return out
    }

    function test_selection_data() {
        return combos()
    }

    // Header check box, single rows and the count, through real clicks on the boxes.
    function test_selection(data) {
        var view = makeView(data.view, data.model, ["a", "b", "c"], [1])
        var head = findChild(view, "xselectAllBox")
        verify(head !== null)

        // steps: what to click, then the expected count, all-flag and flags
        var steps = [
            { "click": "none", "rows": 1, "all": false, "flags": [false, true, false] },
            { "click": "head", "rows": 3, "all": true, "flags": [true, true, true] },
            { "click": "head", "rows": 0, "all": false, "flags": [false, false, false] },
            { "click": 2, "rows": 1, "all": false, "flags": [false, false, true] },
            { "click": 0, "rows": 2, "all": false, "flags": [true, false, true] },
            { "click": 1, "rows": 3, "all": true, "flags": [true, true, true] },
            { "click": 1, "rows": 2, "all": false, "flags": [true, false, true] },
            // some selected: the header selects the rest
            { "click": "head", "rows": 3, "all": true, "flags": [true, true, true] }
        ]
        for (var s = 0; s < steps.length; ++s) {
            var st = steps[s]
            if (st.click === "head")
                mouseClick(head)
            else if (st.click !== "none")
                mouseClick(findChild(rowItem(view, st.click), "sel"))
            var what = "step " + s
            compare(view.xselectRows, st.rows, what)
            compare(view.xselectAll, st.all, what)
            compare(selectedFlags(view), st.flags, what)
            for (var i = 0; i < 3; ++i)
                compare(findChild(rowItem(view, i), "sel").xchecked, st.flags[i], what + " row " + i)
        }
    }

    function test_selection_edges_data() {
        return combos()
    }

    // Empty and one-item models, and a model replaced or grown under the view.
    function test_selection_edges(data) {
        var view = makeView(data.view, data.model, [], [])
        compare(view.xselectRows, 0)
        compare(view.xselectAll, false, "no item: not all selected")
        view.xsetSelectAll(true)
        compare(view.xselectAll, false, "selecting all of nothing")
        mouseClick(findChild(view, "xselectAllBox"))
        compare(view.xselectAll, false)

        view.model = makeModel(data.model, ["only"], [])
        compare(view.xselectRows, 0)
        compare(view.xselectAll, false)
        mouseClick(findChild(rowItem(view, 0), "sel"))
        compare(view.xselectRows, 1)
        compare(view.xselectAll, true, "one item, selected")

        view.model = makeModel(data.model, ["x", "y"], [0, 1])
        compare(view.xselectRows, 2, "count follows a new model")
        compare(view.xselectAll, true)

        if (data.model === "listmodel") {
            view.model.append({ "name": "z", "edit_select": false })
            compare(view.xselectRows, 2)
            compare(view.xselectAll, false, "an added unselected row")
            view.model.setProperty(2, "edit_select", true)
            compare(view.xselectAll, true, "selected from outside the view")
            view.model.clear()
            compare(view.xselectRows, 0)
            compare(view.xselectAll, false, "cleared model")
        }
        if (data.model === "qobjects" || data.model === "listprop") {
            // A node changed by the program, not by a click.
            view.xitem(0).edit_select = false
            tryCompare(view, "xselectRows", 1)
            compare(view.xselectAll, false)
        }
    }

    function test_current_row_data() {
        return combos()
    }

    // Clicking highlights a row; a replaced model keeps the highlight on the same item or drops it.
    function test_current_row(data) {
        // A declared current row survives the rows being made; one beyond the end does not.
        compare(makeView(data.view, data.model, ["a", "b", "c"], [], 2).xcurrentRow, 2)
        compare(makeView(data.view, data.model, ["a", "b", "c"], [], 3).xcurrentRow, -1)

        var view = makeView(data.view, data.model, ["a", "b", "c"], [])
        rowClickedSpy.target = view
        rowClickedSpy.clear()
        compare(view.xcurrentRow, -1)
        mouseClick(rowItem(view, 1), rowItem(view, 1).width - 20, 10)
        compare(view.xcurrentRow, 1)
        compare(rowClickedSpy.count, 1)
        compare(rowClickedSpy.signalArguments[0][0], 1)
        compare(rowItem(view, 1).xcurrent, true)

        if (data.model === "listmodel") {
            view.model.remove(0)
            view.model.remove(0)
            compare(view.xcurrentRow, -1, "highlighted row beyond the end")
            return
        }
        var items = [view.xitem(0), view.xitem(1), view.xitem(2)]
        view.model = [items[2], items[1], items[0]].concat(data.model === "objects" ? [{ "name": "d" }] : [])
        compare(view.xcurrentRow, 1, "same item, same place")
        view.model = [items[1], items[2]]
        compare(view.xcurrentRow, 0, "the item moved")
        view.model = [items[0], items[2]]
        compare(view.xcurrentRow, -1, "the item is gone")
    }

    // Fixed columns take their pixels, shares split the rest; margins and spacing come off first.
    function test_column_layout() {
        var cases = [
            { "arr": [300, 0.1, 120, 120, 120, 50, 5], "width": 1200, "margin": 0, "spacing": 0,
              "widths": [300, 485, 120, 120, 120, 50, 5], "xs": [0, 300, 785, 905, 1025, 1145, 1195] },
            { "arr": [0.5, 0.5], "width": 400, "margin": 10, "spacing": 20,
              "widths": [180, 180], "xs": [0, 200] },
            { "arr": [100, 1, 3], "width": 200, "margin": 0, "spacing": 0,
              "widths": [100, 97, 3], "xs": [0, 100, 197] },
            // more fixed pixels than room: the shares get nothing, never a negative width
            { "arr": [300, 0.5, 0.5], "width": 200, "margin": 0, "spacing": 0,
              "widths": [300, 0, 0], "xs": [0, 300, 300] },
            { "arr": [], "width": 200, "margin": 0, "spacing": 0, "widths": [], "xs": [] },
            { "arr": [-5, "x", 0.5], "width": 200, "margin": 0, "spacing": 0,
              "widths": [0, 0, 200], "xs": [0, 0, 0] }
        ]
        var view = createTemporaryObject(listViewComponent, tc)
        for (var i = 0; i < cases.length; ++i) {
            var c = cases[i]
            view.xmargin = c.margin
            view.xcolumnSpacing = c.spacing
            view.width = c.width
            view.xcolumnWidthArray = c.arr
            compare(view.xcolumnWidths, c.widths, "case " + i)
            compare(view.xcolumnXs, c.xs, "case " + i)
        }
    }

    // Cells sit in their columns.
    function test_cells_follow_columns() {
        var view = makeView("table", "objects", ["a"], [])
        var r = rowItem(view, 0)
        var edit = findChild(r, "edit")
        compare(edit.x, view.xcolumnX(2))
        compare(edit.width, 100)
        view.xcolumnWidthArray = [40, 1, 150]
        compare(edit.x, view.width - 150)
        compare(edit.width, 150)
        compare(edit.height, view.xrowHeight)
    }

    // Edit buttons: icons or captions, the theme's styles, clicked(index) by mouse and by press action.
    function test_edit_buttons() {
        var view = makeView("table", "objects", ["a", "b"], [])
        var edit = findChild(rowItem(view, 1), "edit")
        editSpy.target = edit
        editSpy.clear()
        var b0 = findChild(edit, "xeditButton0")
        var b1 = findChild(edit, "xeditButton1")
        verify(b0 !== null && b1 !== null)
        compare(b0.icon, "qrc:/Controls/icons/pencil.svg")
        compare(b1.style, XTheme._list_delete)
        compare(b0.style, XTheme._list_update)
        compare(edit.xrowIndex, 1)

        mouseClick(b1)
        mouseClick(b0)
        b1.Accessible.pressAction()
        compare(editSpy.count, 3)
        compare(editSpy.signalArguments[0][0], 1)
        compare(editSpy.signalArguments[1][0], 0)
        compare(editSpy.signalArguments[2][0], 1)
        compare(b0.Accessible.role, Accessible.Button)
        compare(b0.Accessible.name, "Edit")

        edit.enabled = false
        mouseClick(b0)
        b0.Accessible.pressAction()
        compare(editSpy.count, 3, "a disabled cell does nothing")
    }

    // Styles and labels of the edit cell for each kind of entry.
    function test_edit_styles() {
        var cell = createTemporaryObject(editCellComponent, tc)
        verify(cell !== null)
        cell.xeditNames = ["plus", "Save", "qrc:/Controls/icons/eye.svg", "delete", "Remove"]
        cell.xeditColors = ["create", undefined, undefined, XTheme._list_text, "#ff0000"]
        var cases = [
            { "style": XTheme._list_create, "icon": "qrc:/Controls/icons/plus.svg", "label": "plus" },
            { "style": XTheme._list_text, "icon": "", "label": "Save" },
            { "style": XTheme._list_icon, "icon": "qrc:/Controls/icons/eye.svg", "label": "qrc:/Controls/icons/eye.svg" },
            { "style": XTheme._list_text, "icon": "qrc:/Controls/icons/delete.svg", "label": "delete" },
            { "style": null, "icon": "", "label": "Remove" }
        ]
        for (var i = 0; i < cases.length; ++i) {
            if (cases[i].style !== null)
                compare(cell.xstyle(i), cases[i].style, "style " + i)
            compare(cell.xiconSource(cell.xeditNames[i]), cases[i].icon, "icon " + i)
            compare(cell.xlabel(i), cases[i].label, "label " + i)
        }
        var plain = cell.xstyle(4)
        verify(Qt.colorEqual(plain.fg[0], "#ff0000"))
        verify(Qt.colorEqual(plain.fg[3], XTheme.text_color_disabled))
    }

    function test_accessibility_data() {
        return combos()
    }

    // Roles, names and press actions of the view, rows, check boxes.
    function test_accessibility(data) {
        var view = makeView(data.view, data.model, ["cam-1", "cam-2"], [])
        var table = data.view === "table"
        compare(view.Accessible.role, table ? Accessible.Table : Accessible.List)
        compare(view.Accessible.name, table ? "Name, Edit" : "Name")
        var r = rowItem(view, 1)
        compare(r.Accessible.role, table ? Accessible.Row : Accessible.ListItem)
        compare(r.Accessible.name, "cam-2")

        rowClickedSpy.target = view
        rowClickedSpy.clear()
        r.Accessible.pressAction()
        compare(view.xcurrentRow, 1)
        compare(rowClickedSpy.count, 1)
        compare(r.Accessible.selected, true)

        var sel = findChild(r, "sel")
        // The table cell hands the role to the list's check box inside it.
        var check = table ? findChild(sel, "xselect") : sel
        compare(check.Accessible.role, Accessible.CheckBox)
        compare(check.Accessible.name, "cam-2")
        check.Accessible.pressAction()
        compare(view.xselectRows, 1)
        compare(check.Accessible.checked, true)
        check.Accessible.toggleAction()
        compare(view.xselectRows, 0)

        var head = findChild(view, "xselectAllBox")
        compare(head.Accessible.role, Accessible.CheckBox)
        head.Accessible.pressAction()
        compare(view.xselectAll, true)
        compare(head.Accessible.checked, true)
        head.Accessible.pressAction()
        compare(view.xselectRows, 0)
    }

    // Keyboard: arrows move the highlight, space selects the highlighted row.
    function test_keyboard() {
        var view = makeView("list", "objects", ["a", "b", "c"], [])
        view.xlistView.forceActiveFocus()
        keyClick(Qt.Key_Down)
        compare(view.xcurrentRow, 0)
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Down)
        compare(view.xcurrentRow, 2, "stops at the last row")
        keyClick(Qt.Key_Space)
        compare(view.xselectRows, 1)
        compare(view.xitem(2).edit_select, true)
        keyClick(Qt.Key_Up)
        compare(view.xcurrentRow, 1)
    }
}
