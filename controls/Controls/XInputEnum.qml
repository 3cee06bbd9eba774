import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0

// A labelled choice among options carrying `name` and `value`: a plain array of objects, a list of the
// tools' option objects or a ListModel. It shows the first option whose value is xvalue, nothing when none is.
XInputBase {
    id: root

    property var xoptions: []
    property int xvalue: -1

    readonly property alias xeditor: editor

    Accessible.role: Accessible.ComboBox
    Accessible.description: editor.displayText
    Accessible.onPressAction: _openList()

    XComboBox {
        id: editor
        objectName: "xeditor"
        anchors.fill: parent
        anchors.leftMargin: 0
        leftPadding: root.xvalueMargin
        model: root.xoptions
        textRole: "name"
        enabled: !root.xreadonly
        xname: root.xname
        Accessible.name: root.xname

        onActivated: root._choose(index)
        // A new model resets the control's own choice: show the value again.
        onCountChanged: root.model2view()
        onModelChanged: root.model2view()
    }

    function _isListModel() {
        return !!xoptions && typeof xoptions.get === "function" && xoptions.count !== undefined
    }

    function _optionCount() {
        if (!xoptions)
            return 0
        var n = Number(_isListModel() ? xoptions.count : xoptions.length)
        return isFinite(n) ? n : 0
    }

    function _optionValue(i) {
        var o = _isListModel() ? xoptions.get(i) : xoptions[i]
        if (o === undefined || o === null)
            return NaN
        return Number(o.value)
    }

    // The first option holding v, else -1.
    function _indexOf(v) {
        var n = _optionCount()
        for (var i = 0; i < n; ++i) {
            if (_optionValue(i) === v)
                return i
        }
        return -1
    }

    function _choose(i) {
        var v = _optionValue(i)
        if (Number.isInteger(v) && v !== xvalue)
            xvalue = v
        model2view()
    }

    // As a click on the list does: open it, or close it when open.
    function _openList() {
        if (xreadonly || !editor.enabled || !editor.popup)
            return
        if (editor.popup.visible)
            editor.popup.close()
        else
            editor.popup.open()
    }

    function model2view() {
        var i = _indexOf(xvalue)
        if (editor.currentIndex !== i)
            editor.currentIndex = i
    }

    function init(v) {
        var n = Number(v)
        if (Number.isInteger(n) && n !== xvalue)
            xvalue = n
        model2view()
    }

    onXvalueChanged: model2view()
    onXoptionsChanged: model2view()
    Component.onCompleted: model2view()
}
