import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0

// The themed push button. Its text, background and border colours come from the theme's button style
// `xbuttonType` (0..12) at the index of its state: 3 disabled, else 2 pressed, else 1 hovered, else 0.
Button {
    id: root

    property int xbuttonType: 0
    property int xborderWidth: 1
    property int xborderRadius: 2
    property bool xselected: false
    property string xtip: ""
    property var xtag
    property url iconSource
    property int iconWidth: 30
    property int iconHeight: 30
    // Draw the icon in the state's text colour (XButtonSvg) rather than in its own colours.
    property bool xiconTinted: false

    readonly property int xstate: !enabled ? 3 : pressed ? 2 : hovered ? 1 : 0
    // An unknown style number falls back to the default style rather than leaving the button colourless.
    readonly property var xstyle: {
        var s = XTheme["_button" + xbuttonType]
        return s ? s : XTheme._button0
    }
    readonly property color xtextColor: xstyle ? xstyle.fg[xstate] : XTheme.text_color
    readonly property color xbackgroundColor: xstyle ? xstyle.bg[xstate] : XTheme.fill_color_2
    readonly property color xborderColor: xstyle ? xstyle.bo[xstate] : XTheme.border_color

    readonly property bool _hasIcon: iconSource.toString() !== ""
    readonly property bool _hasText: text !== ""

    implicitWidth: 80
    implicitHeight: 40
    hoverEnabled: true
    padding: 4
    font.pixelSize: XTheme.font_size

    ToolTip.visible: hovered && xtip !== ""
    ToolTip.text: xtip
    ToolTip.delay: 500

    Accessible.role: Accessible.Button
    Accessible.name: _hasText ? text : xtip !== "" ? xtip : _baseName(iconSource)
    Accessible.description: _hasText ? xtip : ""
    Accessible.onPressAction: _xclick()

    // An icon-only button without a tip is still named: by its icon file.
    function _baseName(url) {
        var s = String(url)
        s = s.substring(s.lastIndexOf("/") + 1)
        var dot = s.lastIndexOf(".")
        return dot > 0 ? s.substring(0, dot) : s
    }

    // What a mouse click does, for keyboardless and assistive use.
    function _xclick() {
        if (!enabled)
            return
        if (checkable) {
            toggle()
            toggled()
        }
        clicked()
    }

    contentItem: Item {
        implicitWidth: content.implicitWidth
        implicitHeight: content.implicitHeight

        Row {
            id: content
            anchors.centerIn: parent
            spacing: root._hasIcon && root._hasText ? 4 : 0

            Loader {
                anchors.verticalCenter: parent.verticalCenter
                active: root._hasIcon
                visible: active
                sourceComponent: root.xiconTinted ? tintedIcon : plainIcon
            }

            Text {
                anchors.verticalCenter: parent.verticalCenter
                visible: root._hasText
                width: Math.min(implicitWidth, Math.max(0, root.availableWidth - x))
                text: root.text
                font: root.font
                color: root.xtextColor
                elide: Text.ElideRight
                Accessible.ignored: true
            }
        }
    }

    background: Rectangle {
        implicitWidth: 80
        implicitHeight: 40
        color: root.xbackgroundColor
        border.width: root.xborderWidth
        border.color: root.xborderColor
        radius: root.xborderRadius
        Accessible.ignored: true

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

        // Keyboard focus must be visible; it leaves the state colours alone.
        Rectangle {
            anchors.fill: parent
            anchors.margins: root.xborderWidth
            color: "transparent"
            border.width: 1
            border.color: XTheme.color_primary_light_3
            radius: root.xborderRadius
            visible: root.visualFocus
            Accessible.ignored: true
        }
    }

    Component {
        id: plainIcon

        Image {
            width: root.iconWidth
            height: root.iconHeight
            sourceSize: Qt.size(root.iconWidth, root.iconHeight)
            fillMode: Image.PreserveAspectFit
            source: root.iconSource
            Accessible.ignored: true
        }
    }

    Component {
        id: tintedIcon

        XImage {
            width: root.iconWidth
            height: root.iconHeight
            source: root.iconSource
            color: root.xtextColor
            Accessible.ignored: true
        }
    }
}
