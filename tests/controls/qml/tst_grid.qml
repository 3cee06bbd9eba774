import QtQuick 2.15
import QtTest 1.15
import Tavo5 1.0

// The grid layout: fixed pixels and shares per row and column, the margins, row-major order, and the
// children and shapes it must leave alone.
Item {
    id: page
    width: 1300
    height: 900

    Component {
        id: gridWithRepeater
        XGrid {
            rows: 1
            columns: 3
            width: 300
            height: 50
            unitMargin: 0
            Repeater {
                model: 3
                Rectangle {}
            }
        }
    }

    TestCase {
        name: "Grid"
        when: windowShown

        // A grid declared with the given properties and `count` children, laid out on completion.
        function makeGrid(props, count) {
            var src = "import QtQuick 2.15; import Tavo5 1.0; XGrid {"
            for (var p in props)
                src += " " + p + ": " + JSON.stringify(props[p]) + ";"
            for (var i = 0; i < count; ++i)
                src += " Rectangle { x: 7; y: 9; width: 11; height: 13 }"
            src += " }"
            var grid = createTemporaryQmlObject(src, page)
            verify(grid)
            compare(grid.children.length, count)
            return grid
        }

        function rect(item) {
            return [item.x, item.y, item.width, item.height]
        }

        function test_layout_data() {
            return [
                {tag: "seven columns, 300 0.1 120 120 120 50 5 in 1200: the share gets the 485 left",
                 props: {rows: 1, columns: 7, width: 1200, height: 40, rowHeightArray: [1],
                         columnWidthArray: [300, 0.1, 120, 120, 120, 50, 5]},
                 count: 7,
                 rects: [[4, 4, 292, 32], [304, 4, 477, 32], [789, 4, 112, 32], [909, 4, 112, 32],
                         [1029, 4, 112, 32], [1149, 4, 42, 32], [1199, 4, -3, 32]]},
                {tag: "default 2 x 2 shares, margin 4",
                 props: {width: 200, height: 100},
                 count: 4,
                 rects: [[4, 4, 92, 42], [104, 4, 92, 42], [4, 54, 92, 42], [104, 54, 92, 42]]},
                {tag: "unequal shares: 1 is a share, 2 is two pixels",
                 props: {rows: 2, columns: 3, width: 400, height: 200, unitMargin: 0,
                         rowHeightArray: [0.25, 0.75], columnWidthArray: [1, 2, 0.6]},
                 count: 6,
                 rects: [[0, 0, 248.75, 50], [248.75, 0, 2, 50], [250.75, 0, 149.25, 50],
                         [0, 50, 248.75, 150], [248.75, 50, 2, 150], [250.75, 50, 149.25, 150]]},
                {tag: "fixed rows, shared columns",
                 props: {rows: 3, columns: 1, width: 100, height: 500, unitMargin: 2,
                         rowHeightArray: [30, 0.5, 40]},
                 count: 3,
                 rects: [[2, 2, 96, 26], [2, 32, 96, 426], [2, 462, 96, 36]]},
                {tag: "fixed sizes wider than the grid leave the shares nothing",
                 props: {rows: 1, columns: 3, width: 100, height: 20, unitMargin: 0,
                         columnWidthArray: [80, 0.5, 40]},
                 count: 3,
                 rects: [[0, 0, 80, 20], [80, 0, 0, 20], [80, 0, 40, 20]]},
            ]
        }
        function test_layout(data) {
            var grid = makeGrid(data.props, data.count)
            for (var k = 0; k < data.count; ++k) {
                var want = data.rects[k].slice()
                // Cells thinner than both margins are drawn empty, never negative.
                want[2] = Math.max(0, want[2])
                want[3] = Math.max(0, want[3])
                compare(rect(grid.children[k]), want, "child " + k)
            }
        }

        function test_relayout_on_resize_and_new_shape() {
            var grid = makeGrid({rows: 1, columns: 2, width: 200, height: 50, unitMargin: 0,
                                 columnWidthArray: [50, 0.1]}, 2)
            compare(rect(grid.children[1]), [50, 0, 150, 50])
            grid.width = 400
            compare(rect(grid.children[1]), [50, 0, 350, 50])
            grid.height = 80
            compare(rect(grid.children[0]), [0, 0, 50, 80])
            // A new shape is laid out at once too.
            grid.columnWidthArray = [0.1, 100]
            compare(rect(grid.children[0]), [0, 0, 300, 80])
            compare(rect(grid.children[1]), [300, 0, 100, 80])
        }

        function test_no_rows_or_columns_leave_children_alone_data() {
            return [
                {tag: "rows 0", rows: 0, columns: 2},
                {tag: "columns 0", rows: 2, columns: 0},
                {tag: "negative rows", rows: -1, columns: 2},
                {tag: "negative columns", rows: 2, columns: -3},
            ]
        }
        function test_no_rows_or_columns_leave_children_alone(data) {
            var grid = makeGrid({rows: data.rows, columns: data.columns, width: 200, height: 100}, 3)
            grid.width = 300
            grid.height = 150
            for (var k = 0; k < 3; ++k)
                compare(rect(grid.children[k]), [7, 9, 11, 13], "child " + k)
            // Nothing was reset either.
            compare(grid.rowHeightArray.length, 0)
            compare(grid.columnWidthArray.length, 0)
        }

        function test_children_beyond_the_grid_are_left_alone() {
            var grid = makeGrid({rows: 1, columns: 2, width: 100, height: 40, unitMargin: 0}, 4)
            compare(rect(grid.children[0]), [0, 0, 50, 40])
            compare(rect(grid.children[1]), [50, 0, 50, 40])
            compare(rect(grid.children[2]), [7, 9, 11, 13])
            compare(rect(grid.children[3]), [7, 9, 11, 13])
        }

        function test_wrong_length_arrays_reset_to_equal_shares_data() {
            return [
                {tag: "too short", rowHeightArray: [0.5], columnWidthArray: [100]},
                {tag: "too long", rowHeightArray: [10, 20, 30], columnWidthArray: [1, 2, 3, 4]},
                {tag: "not an array", rowHeightArray: 5, columnWidthArray: null},
            ]
        }
        function test_wrong_length_arrays_reset_to_equal_shares(data) {
            var grid = makeGrid({rows: 2, columns: 3, width: 300, height: 100, unitMargin: 0,
                                 rowHeightArray: data.rowHeightArray, columnWidthArray: data.columnWidthArray}, 6)
            compare(grid.rowHeightArray.length, 2)
            compare(grid.columnWidthArray.length, 3)
            for (var i = 0; i < 2; ++i)
                fuzzyCompare(grid.rowHeightArray[i], 0.1, 1e-9)
            for (i = 0; i < 3; ++i)
                fuzzyCompare(grid.columnWidthArray[i], 0.1, 1e-9)
            compare(rect(grid.children[4]), [100, 50, 100, 50])
        }

        function test_repeater_items_are_the_cells() {
            var grid = createTemporaryObject(gridWithRepeater, page)
            var cells = []
            for (var i = 0; i < grid.children.length; ++i) {
                if (!(grid.children[i] instanceof Repeater))
                    cells.push(grid.children[i])
            }
            compare(cells.length, 3)
            for (i = 0; i < 3; ++i)
                compare(rect(cells[i]), [i * 100, 0, 100, 50], "item " + i)
        }
    }
}
