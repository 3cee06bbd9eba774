import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0

// A themed one-line text field (addresses, file names, times in the views).
TextField {
    id: root

    // Stable accessible name, since the text itself changes.
    property string xname: ""
    property string xtip: ""

    readonly property int xstate: !enabled ? 3 : activeFocus ? 2 : hovered ? 1 : 0

    implicitWidth: 160
    implicitHeight: 32
    leftPadding: 8
    rightPadding: 8
    hoverEnabled: true
    selectByMouse: true
    font.pixelSize: XTheme.font_size
    color: enabled ? XTheme.text_color : XTheme.text_color_disabled
    placeholderTextColor: XTheme.text_color_placeholder
    selectionColor: XTheme.color_primary_dark_3
    selectedTextColor: XTheme.color_white
    verticalAlignment: TextInput.AlignVCenter

    ToolTip.visible: hovered && xtip !== ""
    ToolTip.text: xtip
    ToolTip.delay: 500

    Accessible.role: Accessible.EditableText
    Accessible.name: xname !== "" ? xname : placeholderText !== "" ? placeholderText : xtip
    // A hidden entry never leaks through assistive technology.
    Accessible.description: echoMode === TextInput.Normal ? text : ""
    Accessible.readOnly: readOnly
    Accessible.passwordEdit: echoMode !== TextInput.Normal
    Accessible.focusable: true
    Accessible.focused: activeFocus

    background: Rectangle {
        implicitWidth: 160
        implicitHeight: 32
        radius: 2
        color: XTheme.input_colors4[root.xstate]
        border.width: 1
        border.color: root.xstate === 2 ? XTheme.color_primary
                                        : root.xstate === 1 ? XTheme.border_color_darker : XTheme.border_color
        Accessible.ignored: true
    }
}
