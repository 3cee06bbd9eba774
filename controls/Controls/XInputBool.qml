import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0

// A labelled on/off value shown as a switch.
XInputBase {
    id: root

    property bool xvalue: false

    readonly property alias xeditor: editor

    Accessible.role: Accessible.CheckBox
    Accessible.checkable: true
    Accessible.checked: xvalue
    Accessible.description: xvalue ? "1" : "0"
    Accessible.onPressAction: _toggle()
    Accessible.onToggleAction: _toggle()

    XSwitch {
        id: editor
        objectName: "xeditor"
        anchors.left: parent.left
        anchors.leftMargin: root.xvalueMargin
        anchors.verticalCenter: parent.verticalCenter
        enabled: !root.xreadonly
        // Toggling by hand keeps this binding: the control sets checked from C++.
        checked: root.xvalue
        onToggled: root.xvalue = checked
        xname: root.xname
        Accessible.name: root.xname
    }

    // As a click on the switch does: it flips and says so.
    function _toggle() {
        if (!xreadonly && editor.enabled) {
            editor.toggle()
            editor.toggled()
            editor.clicked()
        }
    }

    function model2view() {
        editor.checked = Qt.binding(function () {
            return root.xvalue
        })
    }

    function init(v) {
        var b = Boolean(v)
        if (b !== xvalue)
            xvalue = b
        model2view()
    }
}
