import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0

// Clickable text. `textPos` places the text: 0 centred, 1 left, 2 right (vertically always centred).
// No border unless `xborderWidth` is set; the text lights up in the primary colour while hovered.
Rectangle {
    id: root

    property string text: ""
    property int textPos: 0
    property int xborderWidth: 0
    property int xborderRadius: 2
    property var xtag
    property string xtip: ""

    readonly property bool hovered: mouse.containsMouse
    readonly property bool pressed: mouse.pressed
    readonly property int xstate: !enabled ? 3 : pressed ? 2 : hovered ? 1 : 0
    readonly property color xtextColor: [XTheme.text_color_regular, XTheme.color_primary,
                                         XTheme.color_primary_light_2, XTheme.text_color_disabled][xstate]

    signal clicked()

    implicitWidth: Math.max(80, label.implicitWidth + 16)
    implicitHeight: Math.max(32, label.implicitHeight + 8)
    color: XTheme.color_transparent
    radius: xborderRadius
    border.width: activeFocus ? Math.max(1, xborderWidth) : xborderWidth
    border.color: activeFocus ? XTheme.color_primary_light_3 : xstate === 1 || xstate === 2 ? XTheme.color_primary
                                                                                           : XTheme.border_color
    activeFocusOnTab: true

    Accessible.role: Accessible.Button
    Accessible.name: text !== "" ? text : xtip
    Accessible.focusable: true
    Accessible.focused: activeFocus
    Accessible.pressed: pressed
    Accessible.onPressAction: _xclick()

    function _xclick() {
        if (enabled)
            clicked()
    }

    Keys.onSpacePressed: _xclick()
    Keys.onReturnPressed: _xclick()
    Keys.onEnterPressed: _xclick()

    ToolTip.visible: hovered && xtip !== ""
    ToolTip.text: xtip
    ToolTip.delay: 500

    Text {
        id: label
        objectName: "xlabel"
        anchors.fill: parent
        anchors.leftMargin: 8
        anchors.rightMargin: 8
        text: root.text
        color: root.xtextColor
        font.pixelSize: XTheme.font_size
        elide: root.textPos === 2 ? Text.ElideLeft : Text.ElideRight
        verticalAlignment: Text.AlignVCenter
        horizontalAlignment: root.textPos === 1 ? Text.AlignLeft : root.textPos === 2 ? Text.AlignRight
                                                                                       : Text.AlignHCenter
        Accessible.ignored: true
    }

    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        cursorShape: Qt.PointingHandCursor
        onClicked: root._xclick()
    }
}
