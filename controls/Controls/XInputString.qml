import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0

// A labelled text. With xrule_notNull an empty text is wrong; the text reaches xvalue when editing finishes
// and only when the rule accepts it, a rejected text is put back once the field is left.
XInputBase {
    id: root

    property string xvalue: ""
    property bool xrule_notNull: false
    property string xplaceholderText: ""
    property var xvalidator: null
    property int xmaximumLength: 32767

    readonly property alias xeditor: editor
    property bool _committing: false
    // What model2view last wrote: a field left untouched never changes the value (a longer value than
    // xmaximumLength shows cut but stays whole).
    property string _shownText: ""

    Accessible.role: Accessible.EditableText
    Accessible.editable: !xreadonly
    Accessible.description: editor.text

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

    function _validate() {
        xrule_isInputValid = editor.acceptableInput && !(xrule_notNull && editor.text === "")
    }

    function _finish() {
        _validate()
        if (editor.text === _shownText)
            return
        if (xrule_isInputValid) {
            _committing = true
            xvalue = editor.text
            _committing = false
            _shownText = editor.text
        } else if (!editor.activeFocus) {
            model2view()
        }
    }

    function model2view() {
        editor.text = xvalue
        _shownText = editor.text
    }

    function init(v) {
        var s = v === undefined || v === null ? "" : String(v)
        if (s !== xvalue)
            xvalue = s
        model2view()
    }

    onXvalueChanged: if (!_committing) model2view()
    onXrule_notNullChanged: _validate()

    Component.onCompleted: {
        model2view()
        _validate()
    }
}
