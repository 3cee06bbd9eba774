import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0

// A themed two-handle slider: the chosen range in `xcolor1` on an `xcolor2` groove.
RangeSlider {
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
    Accessible.description: String(first.value) + " - " + String(second.value)

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
                x: root.horizontal ? root.first.visualPosition * parent.width : 0
                y: root.horizontal ? 0 : root.second.visualPosition * parent.height
                width: root.horizontal ? (root.second.visualPosition - root.first.visualPosition) * parent.width
                                       : parent.width
                height: root.horizontal ? parent.height
                                        : (root.first.visualPosition - root.second.visualPosition) * parent.height
                radius: 2
                color: root.xcolor1
                Accessible.ignored: true
            }
        }
    }

    // One handle of the pair (`node` is first or second).
    component Handle: Rectangle {
        property var node

        x: root.leftPadding + (root.horizontal ? node.visualPosition * (root.availableWidth - width)
                                                : (root.availableWidth - width) / 2)
        y: root.topPadding + (root.horizontal ? (root.availableHeight - height) / 2
                                               : node.visualPosition * (root.availableHeight - height))
        implicitWidth: 14
        implicitHeight: 14
        radius: 7
        color: node.pressed ? XTheme.color_primary_light_7 : XTheme.color_white
        border.width: activeFocus ? 3 : 2
        border.color: root.enabled ? root.xcolor1 : XTheme.border_color_light
        Accessible.role: Accessible.Slider
        Accessible.name: root.Accessible.name
        Accessible.description: String(node.value)
        Accessible.onIncreaseAction: if (root.enabled) node.increase()
        Accessible.onDecreaseAction: if (root.enabled) node.decrease()
    }

    first.handle: Handle {
        node: root.first
    }

    second.handle: Handle {
        node: root.second
    }
}
