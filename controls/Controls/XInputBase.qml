import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0

// A labelled field: the name panel on the left, the value panel on the right. The inputs put their editor
// into the value panel; while the entry breaks the rule a red frame surrounds it and the tip explains why.
Item {
    id: root

    property string xname: ""
    property int xpanelNameWidth: 100
    property color xpanelNameColor: XTheme.fill_color_1
    property int xnameMargin: 12
    property int xpanelNameSpacing: 4
    property int xpanelValueWidth: 100
    property int xvalueMargin: 12
    property string xtip: ""
    property bool xreadonly: false
    property bool xrule_isInputValid: true

    // Children of the inputs built on this one land in the value panel.
    default property alias xcontent: valuePanel.data
    readonly property alias xvaluePanel: valuePanel

    implicitWidth: xpanelNameWidth + xpanelNameSpacing + xpanelValueWidth
    implicitHeight: 32

    // The inputs built on this one give their own role.
    Accessible.role: Accessible.Grouping
    Accessible.name: xname !== "" ? xname : xtip
    Accessible.readOnly: xreadonly

    Rectangle {
        id: namePanel
        objectName: "xnamePanel"
        width: root.xpanelNameWidth
        height: root.height
        color: root.xpanelNameColor
        // The whole input is one accessible node carrying this name.
        Accessible.ignored: true

        Text {
            anchors.fill: parent
            anchors.leftMargin: root.xnameMargin
            anchors.rightMargin: 2
            verticalAlignment: Text.AlignVCenter
            text: root.xname
            color: XTheme.text_color_regular
            font.pixelSize: XTheme.font_size
            elide: Text.ElideRight
            Accessible.ignored: true
        }
    }

    Item {
        id: valuePanel
        objectName: "xvaluePanel"
        x: root.xpanelNameWidth + root.xpanelNameSpacing
        width: Math.max(0, root.width - x)
        height: root.height
    }

    Rectangle {
        objectName: "xinvalidFrame"
        x: valuePanel.x - border.width
        y: -border.width
        width: valuePanel.width + 2 * border.width
        height: valuePanel.height + 2 * border.width
        z: 10
        color: "transparent"
        border.color: "#ff0000"
        border.width: 1
        visible: !root.xrule_isInputValid
        Accessible.ignored: true
    }

    HoverHandler {
        id: hover
    }

    ToolTip {
        objectName: "xtooltip"
        parent: valuePanel
        text: root.xtip
        delay: root.xrule_isInputValid ? 600 : 0
        // A popup ignores its parent's visibility: an input on a hidden page keeps its tip to itself.
        visible: root.visible && root.xtip !== "" && (!root.xrule_isInputValid || hover.hovered)
    }

    // Helpers shared by the numeric inputs.

    // The text as a number; NaN for an empty or malformed text (Number("") would be 0).
    function _parseNumber(text) {
        var t = String(text).trim()
        if (t === "")
            return NaN
        return Number(t)
    }

    // Range types: 0 none, 1 v >= min, 2 v <= max, 3 min <= v <= max, 4 v <= min or v >= max.
    function _rangeAccepts(type, min, max, v) {
        switch (type) {
        case 1:
            return v >= min
        case 2:
            return v <= max
        case 3:
            return v >= min && v <= max
        case 4:
            return v <= min || v >= max
        default:
            return true
        }
    }

    function _rangeText(type, minText, maxText) {
        switch (type) {
        case 1:
            return "[" + minText + ", +∞)"
        case 2:
            return "(-∞, " + maxText + "]"
        case 3:
            return "[" + minText + ", " + maxText + "]"
        case 4:
            return "(-∞, " + minText + "], [" + maxText + ", +∞)"
        default:
            return ""
        }
    }

    // The tip, extended once by the accepted interval.
    function _appendRangeTip(type, minText, maxText) {
        var interval = _rangeText(type, minText, maxText)
        if (interval !== "")
            xtip = xtip + " " + qsTrId("ValueRange") + " " + interval
    }
}
