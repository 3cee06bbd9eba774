import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0

// Action buttons of an XListRow (edit, delete, add ...). xeditNames holds per button either an icon
// (one of the controls' icon names, or an image URL) or a caption text id; xeditColors the style per
// button: an FGBGBO, one of "icon", "text", "update", "delete", "create" (the theme's list cell styles)
// or a plain colour. clicked(index) gives the button's index; the row is xrowIndex.
Item {
    id: cell

    property var xeditNames: []
    property var xeditColors: []
    // Tool tips per button; an icon button is also named by its tip (by the icon name without one).
    property var xeditTips: []
    property int xiconSize: 18
    property int xspacing: 4
    property int xpadding: 4
    property int xalign: Qt.AlignHCenter
    property int xcolumn: -1
    readonly property string xaccessText: ""
    readonly property Item xrow: _findRow(cell.parent)
    readonly property int xrowIndex: xrow !== null ? xrow.xindex : -1

    signal clicked(int index)

    readonly property var _iconNames: ["check", "minus", "chevron-down", "chevron-up", "check-circle",
        "information", "alert", "close-circle", "close", "pencil", "delete", "plus", "eye",
        "folder-outline", "file-outline", "palette", "menu-down"]

    implicitWidth: buttons.implicitWidth + 2 * xpadding
    implicitHeight: 32

    // The cell only groups its buttons.
    Accessible.ignored: true

    function _findRow(p) {
        for (; p; p = p.parent)
            if (p.xisListRow === true)
                return p
        return null
    }

    function _entry(arr, i) {
        return (arr && i >= 0 && i < arr.length) ? arr[i] : undefined
    }

    function xiconSource(name) {
        if (name === undefined || name === null)
            return ""
        var s = String(name)
        if (s.indexOf(":") >= 0 || /\.(svg|png)$/i.test(s))
            return s
        return _iconNames.indexOf(s) >= 0 ? "qrc:/Controls/icons/" + s + ".svg" : ""
    }

    function xstyle(i) {
        var c = _entry(xeditColors, i)
        if (c !== undefined && c !== null && typeof c === "object" && c.fg !== undefined && c.bg !== undefined
                && c.bo !== undefined)
            return c
        var named = {
            "icon": XTheme._list_icon,
            "text": XTheme._list_text,
            "update": XTheme._list_update,
            "delete": XTheme._list_delete,
            "create": XTheme._list_create
        }
        if (typeof c === "string" && named[c] !== undefined)
            return named[c]
        if (c !== undefined && c !== null && String(c) !== "") {
            var col = String(c)
            var none = XTheme.color_transparent
            return {
                "fg": [col, Qt.lighter(col, 1.3), Qt.darker(col, 1.2), XTheme.text_color_disabled],
                "bg": [none, none, none, none],
                "bo": [none, none, none, none]
            }
        }
        return xiconSource(_entry(xeditNames, i)) !== "" ? XTheme._list_icon : XTheme._list_text
    }

    // Visible caption of a caption button; for an icon its tip, else the icon name.
    function xlabel(i) {
        var name = _entry(xeditNames, i)
        if (name === undefined || name === null)
            return ""
        if (xiconSource(name) === "")
            return qsTrId(String(name))
        var tip = _entry(xeditTips, i)
        return (tip !== undefined && tip !== null && String(tip) !== "") ? qsTrId(String(tip)) : String(name)
    }

    function _press(i) {
        if (cell.enabled)
            cell.clicked(i)
    }

    Row {
        id: buttons
        anchors.verticalCenter: parent.verticalCenter
        x: cell.xalign === Qt.AlignLeft ? cell.xpadding
           : (cell.xalign === Qt.AlignRight ? cell.width - width - cell.xpadding : (cell.width - width) / 2)
        spacing: cell.xspacing

        Repeater {
            model: cell.xeditNames ? cell.xeditNames.length : 0

            delegate: Rectangle {
                id: button
                objectName: "xeditButton" + index
                readonly property string icon: cell.xiconSource(cell._entry(cell.xeditNames, index))
                readonly property var style: cell.xstyle(index)
                readonly property int state4: !cell.enabled ? 3 : (area.pressed ? 2 : (area.containsMouse ? 1 : 0))
                readonly property string tip: {
                    var t = cell._entry(cell.xeditTips, index)
                    return (t !== undefined && t !== null) ? qsTrId(String(t)) : ""
                }

                height: Math.min(Math.max(cell.height - 4, 16), cell.xiconSize + 10)
                width: icon !== "" ? height : caption.implicitWidth + 16
                radius: 2
                color: style.bg[state4]
                border.color: style.bo[state4]
                border.width: 1

                Accessible.role: Accessible.Button
                Accessible.name: cell.xlabel(index)
                Accessible.onPressAction: cell._press(index)

                ToolTip.visible: tip !== "" && area.containsMouse
                ToolTip.text: tip
                ToolTip.delay: 500

                XImage {
                    anchors.centerIn: parent
                    width: cell.xiconSize
                    height: cell.xiconSize
                    visible: button.icon !== ""
                    source: button.icon
                    color: button.style.fg[button.state4]
                    Accessible.ignored: true
                }

                Text {
                    id: caption
                    anchors.centerIn: parent
                    visible: button.icon === ""
                    text: button.icon === "" ? cell.xlabel(index) : ""
                    color: button.style.fg[button.state4]
                    font.pixelSize: XTheme.font_size
                    Accessible.ignored: true
                }

                MouseArea {
                    id: area
                    anchors.fill: parent
                    hoverEnabled: true
                    cursorShape: Qt.PointingHandCursor
                    onClicked: cell._press(index)
                    Accessible.ignored: true
                }
            }
        }
    }
}
