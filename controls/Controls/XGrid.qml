import QtQuick 2.15

// Lays its children out row by row in a rows x columns grid. Each entry of rowHeightArray /
// columnWidthArray above 1 is a fixed size in pixels; an entry of at most 1 is a share of what the fixed
// sizes leave. Every child fills its cell less `unitMargin` on each side. Children beyond rows x columns
// stay where they are.
Item {
    id: root

    property int rows: 2
    property int columns: 2
    property real unitMargin: 4
    property var rowHeightArray: []
    property var columnWidthArray: []

    property bool _completed: false
    property bool _busy: false

    // A group to assistive technology; the cells speak for themselves.
    Accessible.role: Accessible.Grouping

    Component.onCompleted: {
        _completed = true
        xlayout()
    }
    onWidthChanged: xlayout()
    onHeightChanged: xlayout()
    // Not only a resize makes the layout stale: a new shape or a child added later does too.
    onRowsChanged: xlayout()
    onColumnsChanged: xlayout()
    onUnitMarginChanged: xlayout()
    onRowHeightArrayChanged: xlayout()
    onColumnWidthArrayChanged: xlayout()
    onChildrenChanged: xlayout()

    function _hasLength(a, n) {
        return a !== undefined && a !== null && typeof a === "object" && a.length === n
    }

    function _filled(n) {
        var a = []
        for (var i = 0; i < n; ++i)
            a.push(0.1)
        return a
    }

    // Cell sizes along one axis of the given length.
    function _sizes(entries, length) {
        var fixed = 0
        var shares = 0
        var i
        var v = []
        for (i = 0; i < entries.length; ++i) {
            var e = Number(entries[i])
            // Nonsense entries (negative, not a number) take no room.
            if (!isFinite(e) || e < 0)
                e = 0
            v.push(e)
            if (e > 1)
                fixed += e
            else
                shares += e
        }
        // Fixed sizes wider than the grid leave nothing for the shares, never a negative size.
        var rest = Math.max(0, length - fixed)
        var sizes = []
        for (i = 0; i < v.length; ++i)
            sizes.push(v[i] > 1 ? v[i] : shares > 0 ? rest * v[i] / shares : 0)
        return sizes
    }

    function _starts(sizes) {
        var s = []
        var at = 0
        for (var i = 0; i < sizes.length; ++i) {
            s.push(at)
            at += sizes[i]
        }
        return s
    }

    function xlayout() {
        if (!_completed || _busy || rows <= 0 || columns <= 0)
            return
        _busy = true
        try {
            if (!_hasLength(rowHeightArray, rows))
                rowHeightArray = _filled(rows)
            if (!_hasLength(columnWidthArray, columns))
                columnWidthArray = _filled(columns)

            var heights = _sizes(rowHeightArray, height)
            var widths = _sizes(columnWidthArray, width)
            var ys = _starts(heights)
            var xs = _starts(widths)
            var m = unitMargin
            var k = 0
            for (var i = 0; i < children.length && k < rows * columns; ++i) {
                var child = children[i]
                // A Repeater is no cell: the items it makes are.
                if (child instanceof Repeater)
                    continue
                var r = Math.floor(k / columns)
                var c = k % columns
                child.x = xs[c] + m
                child.y = ys[r] + m
                child.width = Math.max(0, widths[c] - 2 * m)
                child.height = Math.max(0, heights[r] - 2 * m)
                ++k
            }
        } finally {
            _busy = false
        }
    }
}
