import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0

// A labelled whole number. The text is checked on every change; it reaches xvalue when editing finishes and
// only when it is a number the rule accepts, so a view saving xvalue never saves what the frame marks as wrong.
XInputBase {
    id: root

    property int xvalue: 0
    property int xrule_rangeType: 0
    property int xrule_rangeMin: 0
    property int xrule_rangeMax: 0
    property string xplaceholderText: ""
    property var xvalidator: intValidator
    property int xmaximumLength: 11

    readonly property alias xeditor: editor
    property bool _committing: false
    // What model2view last wrote: leaving the field untouched must not round the value to the shown text.
    property string _shownText: ""

    Accessible.role: Accessible.EditableText
    Accessible.editable: !xreadonly
    Accessible.description: editor.text

    RegularExpressionValidator {
        id: intValidator
        regularExpression: /^-?[0-9]{1,10}$/
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

    // The text as a whole number that fits the int property, else NaN.
    function _textValue() {
        var v = _parseNumber(editor.text)
        if (!Number.isInteger(v) || v < -2147483648 || v > 2147483647)
            return NaN
        return v
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
        editor.text = String(xvalue)
        _shownText = editor.text
    }

    function init(v) {
        var n = Math.round(Number(v))
        // Beyond the int property the value would wrap round.
        if (n >= -2147483648 && n <= 2147483647 && n !== xvalue)
            xvalue = n
        model2view()
    }

    onXvalueChanged: if (!_committing) model2view()
    onXrule_rangeTypeChanged: _validate()
    onXrule_rangeMinChanged: _validate()
    onXrule_rangeMaxChanged: _validate()

    Component.onCompleted: {
        model2view()
        _appendRangeTip(xrule_rangeType, String(xrule_rangeMin), String(xrule_rangeMax))
    }
}
