import QtQuick 2.15
import Tavo5 1.0

// The selection cell of an XListRow: a check box showing and setting the item's edit_select through
// the view, which keeps its selection count up to date.
Item {
    id: cell

    property int xcolumn: -1
    readonly property string xaccessText: ""
    readonly property Item xrow: _findRow(cell.parent)
    readonly property Item xview: xrow !== null ? xrow.xview : null
    readonly property int xrowIndex: xrow !== null ? xrow.xindex : -1
    readonly property bool xchecked: (xview !== null && xview._selectSerial >= 0) ? xview.xisSelected(xrowIndex) : false

    implicitWidth: box.implicitWidth
    implicitHeight: 32

    Accessible.role: Accessible.CheckBox
    Accessible.name: xrow !== null && xrow.xtext !== "" ? xrow.xtext : qsTrId("Select")
    Accessible.checkable: true
    Accessible.checked: xchecked
    Accessible.onPressAction: toggle()
    Accessible.onToggleAction: toggle()

    function _findRow(p) {
        for (; p; p = p.parent)
            if (p.xisListRow === true)
                return p
        return null
    }

    function toggle() {
        if (!cell.enabled || xview === null || xrowIndex < 0)
            return
        xview.xsetSelected(xrowIndex, !xchecked)
    }

    // An item that is an object with its own change signals may be changed elsewhere: recount then.
    onXcheckedChanged: {
        if (xview !== null)
            Qt.callLater(xview.xselectUpdate)
    }

    XCheckBox {
        id: box
        anchors.centerIn: parent
        text: ""
        checked: cell.xchecked
        onClicked: {
            cell.toggle()
            checked = Qt.binding(function () { return cell.xchecked })
        }
        Accessible.ignored: true
    }
}
