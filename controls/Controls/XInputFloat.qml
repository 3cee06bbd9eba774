import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0

// A labelled decimal number, shown with xformat decimals. The text is checked on every change; it reaches
// xvalue when editing finishes and only when it is a number the rule accepts, so a view saving xvalue never
// saves what the frame marks as wrong. A typed value keeps its own decimals until the view refreshes it.
XInputBase {
    id: root

    property real xvalue: 0
    property int xrule_rangeType: 0
    property real xrule_rangeMin: 0
    property real xrule_rangeMax: 0
    property string xplaceholderText: ""
    property var xvalidator: floatValidator
    property int xmaximumLength: 32
    property int xformat: 1

    readonly property alias xeditor: editor
    property bool _committing: false
    // What model2view last wrote: leaving the field untouched must not round the value to the shown text.
    property string _shownText: ""

    Accessible.role: Accessible.EditableText
    Accessible.editable: !xreadonly
    Accessible.description: editor.text

    RegularExpressionValidator {
        id: floatValidator
        regularExpression: /^-?([0-9]+\.?[0-9]*|\.[0-9]+)$/
    }

    XTextBox {
        id: editor
        objectName: "xeditor"
        anchors.fill: parent
        leftPadding: root.xvalueMargin
        rightPadding: root.xvalueMargin
        topPadding: 0
        bottomPadding: 0
        color: root.xreadonly || !enabled ? XTheme.text_color_disabled : XTheme.text_color
        placeholderText: root.xplaceholderText
        readOnly: root.xreadonly
        validator: root.xvalidator
        maximumLength: root.xmaximumLength
        xname: root.xname
        Accessible.name: root.xname

        onTextChanged: root._validate()
        onAcceptableInputChanged: root._validate()
        onEditingFinished: root._finish()
        onActiveFocusChanged: if (!activeFocus) root._finish()
    }

    // The text as a finite number, else NaN.
    function _textValue() {
        var v = _parseNumber(editor.text)
        return isFinite(v) ? v : NaN
    }

    function _format(v) {
        return Number(v).toFixed(Math.max(0, Math.min(20, xformat)))
    }

    function _validate() {
        var v = _textValue()
        xrule_isInputValid = editor.acceptableInput && !isNaN(v)
                && _rangeAccepts(xrule_rangeType, xrule_rangeMin, xrule_rangeMax, v)
    }

    // Editing ends: an accepted text becomes the value; a rejected one is put back once the field is left.
    function _finish() {
        _validate()
        if (editor.text === _shownText)
            return
        if (xrule_isInputValid) {
            _committing = true
            xvalue = _textValue()
            _committing = false
            _shownText = editor.text
        } else if (!editor.activeFocus) {
            model2view()
        }
    }

    function model2view() {
        editor.text = _format(xvalue)
        _shownText = editor.text
    }

    function init(v) {
        var n = Number(v)
        if (isFinite(n) && n !== xvalue)
            xvalue = n
        model2view()
    }

    onXvalueChanged: if (!_committing) model2view()
    onXformatChanged: if (!editor.activeFocus) model2view()
    onXrule_rangeTypeChanged: _validate()
    onXrule_rangeMinChanged: _validate()
    onXrule_rangeMaxChanged: _validate()

    Component.onCompleted: {
        model2view()
        _appendRangeTip(xrule_rangeType, _format(xrule_rangeMin), _format(xrule_rangeMax))
    }
}
