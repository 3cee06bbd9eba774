import QtQuick 2.15
import Tavo5 1.0

// A row of tabs, one per caption of `xnames`, each `xitemWidth` wide. Clicking a tab (or pressing it
// through assistive technology, or the arrow keys while the bar has focus) makes it `xcurrentIndex`.
Rectangle {
    id: root

    property var xnames: []
    property int xitemWidth: 100
    property int xcurrentIndex: 0
    // Name of the tab bar for assistive technology; by default its captions.
    property string xname: ""

    readonly property int xcount: tabs.count

    implicitWidth: Math.max(xitemWidth, tabs.count * xitemWidth)
    implicitHeight: 40
    color: XTheme.tab_colors4[0]
    activeFocusOnTab: true

    Accessible.role: Accessible.PageTabList
    Accessible.name: xname !== "" ? xname : (xnames ? Array.prototype.slice.call(xnames).join(", ") : "")
    Accessible.focusable: true
    Accessible.focused: activeFocus

    function xselect(i) {
        if (enabled && i >= 0 && i < tabs.count)
            xcurrentIndex = i
    }

    Keys.onLeftPressed: xselect(xcurrentIndex - 1)
    Keys.onRightPressed: xselect(xcurrentIndex + 1)

    Row {
        height: parent.height

        Repeater {
            id: tabs
            model: root.xnames

            Rectangle {
                id: tab
                readonly property bool current: index === root.xcurrentIndex
                readonly property bool hovered: mouse.containsMouse
                readonly property int xstate: !root.enabled ? 3 : current ? 2 : hovered ? 1 : 0

                width: root.xitemWidth
                height: root.height
                color: XTheme.tab_colors4[xstate]

                Accessible.role: Accessible.PageTab
                Accessible.name: String(modelData)
                Accessible.selectable: true
                Accessible.selected: current
                Accessible.onPressAction: root.xselect(index)

                Text {
                    anchors.fill: parent
                    anchors.leftMargin: 4
                    anchors.rightMargin: 4
                    text: String(modelData)
                    font.pixelSize: XTheme.font_size_medium
                    color: !root.enabled ? XTheme.text_color_disabled
                                         : tab.current ? XTheme.color_primary
                                                       : tab.hovered ? XTheme.text_color : XTheme.text_color_regular
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                    elide: Text.ElideRight
                    Accessible.ignored: true
                }

                Rectangle {
                    objectName: "xcurrentBar"
                    anchors.left: parent.left
                    anchors.right: parent.right
                    anchors.bottom: parent.bottom
                    height: 2
                    color: root.activeFocus ? XTheme.color_primary_light_3 : XTheme.color_primary
                    visible: tab.current
                    Accessible.ignored: true
                }

                MouseArea {
                    id: mouse
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: root.xselect(index)
                }
            }
        }
    }
}
