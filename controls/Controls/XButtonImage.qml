import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0

// A button that is only a picture; it lights up while hovered. One-colour icons (the tools' SVG icons are
// black) are tinted with iconColor so they show on the dark theme; xiconTinted false keeps an image's own
// colours.
Rectangle {
    id: root

    property url iconSource
    property bool xiconTinted: true
    property color iconColor: hovered || xselected ? XTheme.color_primary_light_3 : XTheme.text_color_regular
    property int iconWidth: 30
    property int iconHeight: 30
    property bool xselected: false
    property string xtip: ""
    property var xtag

    readonly property bool hovered: mouse.containsMouse
    readonly property bool pressed: mouse.pressed

    signal clicked()

    implicitWidth: iconWidth + 10
    implicitHeight: iconHeight + 10
    radius: 2
    color: !enabled ? XTheme.color_transparent
                    : pressed ? XTheme.fill_color_4 : hovered ? XTheme.fill_color_3 : XTheme.color_transparent
    border.width: activeFocus ? 1 : 0
    border.color: XTheme.color_primary_light_3
    activeFocusOnTab: true

    Accessible.role: Accessible.Button
    Accessible.name: xtip !== "" ? xtip : _baseName(iconSource)
    Accessible.focusable: true
    Accessible.focused: activeFocus
    Accessible.pressed: pressed
    Accessible.onPressAction: _xclick()

    // Without a tip the icon's file name is the best name there is.
    function _baseName(url) {
        var s = String(url)
        s = s.substring(s.lastIndexOf("/") + 1)
        var dot = s.lastIndexOf(".")
        return dot > 0 ? s.substring(0, dot) : s
    }

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

    Image {
        anchors.centerIn: parent
        width: root.iconWidth
        height: root.iconHeight
        sourceSize: Qt.size(root.iconWidth, root.iconHeight)
        fillMode: Image.PreserveAspectFit
        source: root.xiconTinted ? "" : root.iconSource
        visible: !root.xiconTinted
        opacity: root.enabled ? 1 : 0.4
        Accessible.ignored: true
    }

    XImage {
        objectName: "xtintedIcon"
        anchors.centerIn: parent
        width: root.iconWidth
        height: root.iconHeight
        source: root.xiconTinted ? root.iconSource : ""
        visible: root.xiconTinted
        color: root.iconColor
        opacity: root.enabled ? 1 : 0.4
        Accessible.ignored: true
    }

    Rectangle {
        objectName: "xselectedBar"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 4
        color: "#18AAE2"
        visible: root.xselected
        Accessible.ignored: true
    }

    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onClicked: root._xclick()
    }
}
