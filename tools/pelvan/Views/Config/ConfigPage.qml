import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0
import Sarvik 1.0

// One page of the configuration dialog: a scrolling column of inputs over one record object. An input whose
// objectName is a property of the object is that property's field: load() fills the fields from the object,
// store() writes the editable ones back. Other inputs (a calculator, a show-password switch) are the page's own.
Flickable {
    id: page

    readonly property var configer: CApp.deviceManager ? CApp.deviceManager.deviceConfiger : null
    // The record object the page edits (basicInfo, fixInfo, ...); null for a page without a record.
    property var info: null
    readonly property int nameWidth: 220
    default property alias xcontent: column.data

    // After load() has filled the fields, for page-specific follow-ups.
    signal loaded()

    contentWidth: width
    contentHeight: column.height + 24
    clip: true
    boundsBehavior: Flickable.StopAtBounds
    ScrollBar.vertical: ScrollBar {
        policy: ScrollBar.AsNeeded
    }

    function _collect(item, out) {
        var kids = item.children
        for (var i = 0; i < kids.length; ++i) {
            var k = kids[i]
            if (k.objectName !== "" && typeof k.init === "function" && info[k.objectName] !== undefined)
                out.push(k)
            else
                _collect(k, out)
        }
    }

    function fields() {
        var out = []
        if (info)
            _collect(column, out)
        return out
    }

    function load() {
        var fs = fields()
        for (var i = 0; i < fs.length; ++i)
            fs[i].init(info[fs[i].objectName])
        loaded()
    }

    // False, and nothing written, while any field holds an entry its rule refuses.
    function store() {
        var fs = fields()
        for (var i = 0; i < fs.length; ++i)
            if (!fs[i].xrule_isInputValid)
                return false
        for (var j = 0; j < fs.length; ++j)
            if (!fs[j].xreadonly)
                info[fs[j].objectName] = fs[j].xvalue
        return true
    }

    Column {
        id: column
        x: 16
        y: 12
        width: page.width - 40
        spacing: 8
    }
}
