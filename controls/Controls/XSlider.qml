import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0

// A themed slider: the groove is `xcolor1` up to the handle and `xcolor2` after it.
Slider {
    id: root

    property color xcolor1: XTheme.color_primary
    property color xcolor2: XTheme.border_color
    property string xname: ""
    property string xtip: ""

    implicitWidth: horizontal ? 200 : 24
    implicitHeight: horizontal ? 24 : 200
    hoverEnabled: true
    padding: 4

    ToolTip.visible: hovered && xtip !== ""
    ToolTip.text: xtip
    ToolTip.delay: 500

    Accessible.role: Accessible.Slider
    Accessible.name: xname !== "" ? xname : xtip
    Accessible.description: String(value)
    Accessible.onIncreaseAction: _xstep(true)
    Accessible.onDecreaseAction: _xstep(false)

    // A step as from the keyboard, with the signal a user's move emits.
    function _xstep(up) {
        if (!enabled)
            return
        var before = value
        if (up)
            increase()
        else
            decrease()
        if (value !== before)
            moved()
    }

    background: Item {
        x: root.leftPadding
        y: root.topPadding
        width: root.availableWidth
        height: root.availableHeight
        Accessible.ignored: true

        Rectangle {
            objectName: "xgroove"
            x: root.horizontal ? 0 : (parent.width - width) / 2
            y: root.horizontal ? (parent.height - height) / 2 : 0
            width: root.horizontal ? parent.width : 4
            height: root.horizontal ? 4 : parent.height
            radius: 2
            color: root.xcolor2
            opacity: root.enabled ? 1 : 0.5
            Accessible.ignored: true

            Rectangle {
                objectName: "xgrooveFilled"
                // Filled from the low end: left when horizontal, bottom when vertical.
                width: root.horizontal ? root.visualPosition * parent.width : parent.width
                height: root.horizontal ? parent.height : (1 - root.visualPosition) * parent.height
                y: root.horizontal ? 0 : parent.height - height
                radius: 2
                color: root.xcolor1
                Accessible.ignored: true
            }
        }
    }

    handle: Rectangle {
        x: root.leftPadding + (root.horizontal ? root.visualPosition * (root.availableWidth - width)
                                                : (root.availableWidth - width) / 2)
        y: root.topPadding + (root.horizontal ? (root.availableHeight - height) / 2
                                               : root.visualPosition * (root.availableHeight - height))
        implicitWidth: 14
        implicitHeight: 14
        radius: 7
        color: root.pressed ? XTheme.color_primary_light_7 : XTheme.color_white
        border.width: root.visualFocus ? 3 : 2
        border.color: root.enabled ? root.xcolor1 : XTheme.border_color_light
        Accessible.ignored: true
    }
}
