import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0

// A themed check box; `xtextColor` lets a caller colour its text (a chart series in its own colour).
CheckBox {
    id: root

    property string xname: ""
    property string xtip: ""
    property color xtextColor: XTheme.text_color

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
    Accessible.checkStateMixed: checkState === Qt.PartiallyChecked
    Accessible.onPressAction: _xclick()
    Accessible.onToggleAction: _xclick()

    // What a mouse click does: next state, then the signals a click emits.
    function _xclick() {
        if (!enabled)
            return
        if (tristate)
            checkState = checkState === Qt.Unchecked ? Qt.PartiallyChecked
                                                     : checkState === Qt.PartiallyChecked ? Qt.Checked : Qt.Unchecked
        else
            toggle()
        toggled()
        clicked()
    }

    indicator: Rectangle {
        implicitWidth: 16
        implicitHeight: 16
        x: root.leftPadding
        y: root.topPadding + (root.availableHeight - height) / 2
        radius: 2
        color: root.checkState === Qt.Unchecked ? XTheme.fill_color_1
                                                : root.enabled ? XTheme.color_primary : XTheme.color_primary_dark_5
        border.width: 1
        border.color: !root.enabled ? XTheme.border_color_light
                                    : root.checkState !== Qt.Unchecked || root.hovered || root.visualFocus
                                      ? XTheme.color_primary : XTheme.border_color
        Accessible.ignored: true

        XImage {
            anchors.centerIn: parent
            width: 14
            height: 14
            visible: root.checkState !== Qt.Unchecked
            source: root.checkState === Qt.PartiallyChecked ? "qrc:/Controls/icons/minus.svg"
                                                             : "qrc:/Controls/icons/check.svg"
            color: root.enabled ? XTheme.color_white : XTheme.text_color_disabled
            Accessible.ignored: true
        }
    }

    contentItem: Text {
        leftPadding: root.indicator.width + root.spacing
        text: root.text
        font: root.font
        color: root.enabled ? root.xtextColor : XTheme.text_color_disabled
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        Accessible.ignored: true
    }
}
