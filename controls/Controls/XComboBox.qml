import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0

// A themed drop-down list. Options are shown by their `name` (textRole), whether the model is a plain
// array of objects, a list of option objects from the tools or a ListModel; a plain array of texts shows
// the texts. The pop-up shows at most
// `xshowCount` rows and scrolls beyond.
ComboBox {
    id: root

    property bool xshowIndicator: true
    property int xshowCount: 8
    property string xtip: ""
    // Stable accessible name: the shown text changes with the choice.
    property string xname: ""

    readonly property int xstate: !enabled ? 3 : pressed || popup.visible ? 2 : hovered ? 1 : 0
    readonly property int _rowHeight: 28

    // A plain array of texts shows its entries as they are.
    textRole: Array.isArray(model) && model.length > 0 && typeof model[0] !== "object" ? "" : "name"
    implicitWidth: 120
    implicitHeight: 32
    hoverEnabled: true
    leftPadding: 8
    rightPadding: xshowIndicator ? 28 : 8
    font.pixelSize: XTheme.font_size

    ToolTip.visible: hovered && !popup.visible && xtip !== ""
    ToolTip.text: xtip
    ToolTip.delay: 500

    Accessible.role: Accessible.ComboBox
    Accessible.name: xname !== "" ? xname : xtip !== "" ? xtip : displayText
    Accessible.description: displayText
    Accessible.onPressAction: _xclick()

    // A click opens the list, or closes it when open.
    function _xclick() {
        if (!enabled)
            return
        if (popup.visible)
            popup.close()
        else
            popup.open()
    }

    // The text of one option, whatever kind of model holds it.
    function _optionText(modelObject, data) {
        if (!textRole)
            return data === undefined || data === null ? "" : String(data)
        var v = Array.isArray(model) ? (data ? data[textRole] : undefined) : modelObject[textRole]
        return v === undefined || v === null ? "" : String(v)
    }

    delegate: ItemDelegate {
        width: ListView.view ? ListView.view.width : root.width
        height: root._rowHeight
        leftPadding: root.leftPadding
        text: root._optionText(model, Array.isArray(root.model) ? modelData : undefined)
        highlighted: root.highlightedIndex === index
        hoverEnabled: true
        font: root.font

        Accessible.role: Accessible.ListItem
        Accessible.name: text
        Accessible.selectable: true
        Accessible.selected: root.currentIndex === index
        // The combo box listens to the row's click: choosing, emitting activated and closing follow.
        Accessible.onPressAction: clicked()

        contentItem: Text {
            text: parent.text
            font: parent.font
            color: root.currentIndex === index ? XTheme.color_primary : XTheme.text_color
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideRight
            Accessible.ignored: true
        }

        background: Rectangle {
            color: parent.highlighted || parent.hovered ? XTheme.dropdown_colors4[1] : XTheme.color_transparent
            Accessible.ignored: true
        }
    }

    indicator: XImage {
        x: root.width - width - 6
        y: (root.height - height) / 2
        width: 20
        height: 20
        visible: root.xshowIndicator
        source: "qrc:/Controls/icons/menu-down.svg"
        color: root.enabled ? XTheme.text_color_regular : XTheme.text_color_disabled
        rotation: root.popup.visible ? 180 : 0
        Accessible.ignored: true
    }

    contentItem: Text {
        text: root.displayText
        font: root.font
        color: root.enabled ? XTheme.text_color : XTheme.text_color_disabled
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        Accessible.ignored: true
    }

    background: Rectangle {
        implicitWidth: 120
        implicitHeight: 32
        radius: 2
        color: XTheme.dropdown_colors4[root.xstate]
        border.width: 1
        border.color: root.popup.visible || root.visualFocus ? XTheme.color_primary
                                                             : root.hovered ? XTheme.border_color_darker
                                                                            : XTheme.border_color
        Accessible.ignored: true
    }

    popup: Popup {
        y: root.height + 1
        width: root.width
        padding: 1
        implicitHeight: contentItem.implicitHeight + topPadding + bottomPadding

        contentItem: ListView {
            objectName: "xpopupList"
            clip: true
            implicitHeight: Math.min(contentHeight, Math.max(1, root.xshowCount) * root._rowHeight)
            model: root.popup.visible ? root.delegateModel : null
            currentIndex: root.highlightedIndex
            boundsBehavior: Flickable.StopAtBounds
            Accessible.role: Accessible.List
            Accessible.name: root.Accessible.name

            ScrollIndicator.vertical: ScrollIndicator {}
        }

        background: Rectangle {
            color: XTheme.fill_color_1
            border.width: 1
            border.color: XTheme.border_color
            radius: 2
            Accessible.ignored: true
        }
    }
}
