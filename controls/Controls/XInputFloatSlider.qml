import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0

// A labelled number chosen on a slider, its value written beside it with xformat decimals.
XInputBase {
    id: root

    property real xmin: 0
    property real xmax: 100
    property real xstep: 1
    property int xformat: 1
    property real xvalue: 0
    property int xtextWidth: 40

    readonly property alias xeditor: editor

    // A value loaded from outside the slider's span is kept but marked.
    xrule_isInputValid: xvalue >= Math.min(xmin, xmax) && xvalue <= Math.max(xmin, xmax)

    Accessible.role: Accessible.Slider
    Accessible.description: valueText.text
    Accessible.onIncreaseAction: _stepBy(true)
    Accessible.onDecreaseAction: _stepBy(false)

    XSlider {
        id: editor
        objectName: "xeditor"
        anchors.left: parent.left
        anchors.leftMargin: root.xvalueMargin
        anchors.right: valueText.left
        anchors.rightMargin: 4
        anchors.verticalCenter: parent.verticalCenter
        from: root.xmin
        to: root.xmax
        stepSize: root.xstep
        snapMode: Slider.SnapAlways
        enabled: !root.xreadonly
        // Moving by hand keeps this binding: the control sets value from C++.
        value: root.xvalue
        onMoved: root._take(value)
        xname: root.xname
        Accessible.name: root.xname
        Accessible.description: valueText.text
    }

    Text {
        id: valueText
        objectName: "xvalueText"
        anchors.right: parent.right
        anchors.rightMargin: root.xvalueMargin
        anchors.verticalCenter: parent.verticalCenter
        width: root.xtextWidth
        horizontalAlignment: Text.AlignRight
        text: root._format(root.xvalue)
        color: root.xreadonly ? XTheme.text_color_disabled : XTheme.text_color_regular
        font.pixelSize: XTheme.font_size
        Accessible.ignored: true
    }

    function _format(v) {
        return Number(v).toFixed(Math.max(0, Math.min(20, xformat)))
    }

    // Steps of a fractional size leave binary noise (0.30000000000000004); keep what the step means.
    function _take(v) {
        var clean = Number(Number(v).toPrecision(12))
        if (clean !== xvalue)
            xvalue = clean
    }

    // As a key on the slider does: one step, and the move it makes.
    function _stepBy(up) {
        if (xreadonly || !editor.enabled)
            return
        var before = editor.value
        if (up)
            editor.increase()
        else
            editor.decrease()
        if (editor.value !== before)
            editor.moved()
    }

    function model2view() {
        editor.value = Qt.binding(function () {
            return root.xvalue
        })
    }

    function init(v) {
        var n = Number(v)
        if (isFinite(n) && n !== xvalue)
            xvalue = n
        model2view()
    }
}
