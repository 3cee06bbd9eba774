import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0

// A themed on/off switch: primary track when on, a white knob that slides.
Switch {
    id: root

    property string xname: ""
    property string xtip: ""

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset,
                            implicitContentWidth + leftPadding + rightPadding,
                            implicitIndicatorWidth + leftPadding + rightPadding)
    implicitHeight: 32
    hoverEnabled: true
    spacing: 6
    padding: 4
    font.pixelSize: XTheme.font_size

    ToolTip.visible: hovered && xtip !== ""
    ToolTip.text: xtip
    ToolTip.delay: 500

    Accessible.role: Accessible.CheckBox
    Accessible.name: text !== "" ? text : xname !== "" ? xname : xtip
    Accessible.checkable: true
    Accessible.checked: checked
    Accessible.onPressAction: _xclick()
    Accessible.onToggleAction: _xclick()

    function _xclick() {
        if (!enabled)
            return
        toggle()
        toggled()
        clicked()
    }

    indicator: Rectangle {
        implicitWidth: 36
        implicitHeight: 18
        x: root.text !== "" ? root.leftPadding : root.leftPadding + (root.availableWidth - width) / 2
        y: root.topPadding + (root.availableHeight - height) / 2
        radius: height / 2
        color: root.checked ? (root.enabled ? XTheme.color_primary : XTheme.color_primary_dark_5)
                            : (root.enabled ? XTheme.border_color_darker : XTheme.border_color_light)
        border.width: root.visualFocus ? 1 : 0
        border.color: XTheme.color_primary_light_3
        Accessible.ignored: true

        Rectangle {
            width: parent.height - 4
            height: width
            radius: width / 2
            y: 2
            x: root.checked ? parent.width - width - 2 : 2
            color: root.enabled ? XTheme.color_white : XTheme.text_color_disabled
            Accessible.ignored: true

            Behavior on x {
                NumberAnimation { duration: 100 }
            }
        }
    }

    contentItem: Text {
        leftPadding: root.text !== "" ? root.indicator.width + root.spacing : 0
        text: root.text
        font: root.font
        color: root.enabled ? XTheme.text_color : XTheme.text_color_disabled
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        Accessible.ignored: true
    }
}
