import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0
import Sarvik 1.0

// The measurement toolbar: select, one button per tool group showing the group's last chosen variant,
// "More" with every variant, and the eye that hides all items. Line, custom and edit point are not offered.
Rectangle {
    id: root

    readonly property var manager: CApp.tempCanvasManager
    readonly property var tools: CApp.commonManager.meaToolList
    readonly property int tool: manager ? manager.tool : 0
    // The variants of "More" by row; each column is one group, -1 an empty cell.
    readonly property var moreGrid: [1, 5, 6, 9, 2, -1, 7, 10, 3, -1, -1, 11]
    // The tool each group button shows now.
    property var groupTools: [1, 5, 6, 9]

    color: XTheme.fill_color_1

    function toolInfo(type) {
        for (var i = 0; i < tools.length; ++i)
            if (tools[i].type === type)
                return tools[i]
        return null
    }

    function toolName(type) {
        var t = toolInfo(type)
        return t ? t.name : ""
    }

    function toolIcon(type) {
        var t = toolInfo(type)
        return t ? t.icon : ""
    }

    function groupOf(type) {
        var i = moreGrid.indexOf(type)
        return i < 0 ? -1 : i % 4
    }

    function choose(type) {
        var g = groupOf(type)
        if (g >= 0 && groupTools[g] !== type) {
            var copy = groupTools.slice()
            copy[g] = type
            groupTools = copy
        }
        if (manager)
            manager.set_tool(type)
    }

    // A tool chosen elsewhere (a drawing that ends returns to select) shows on its group's button.
    onToolChanged: {
        var g = groupOf(tool)
        if (g >= 0 && groupTools[g] !== tool) {
            var copy = groupTools.slice()
            copy[g] = tool
            groupTools = copy
        }
    }

    Row {
        id: row
        anchors.verticalCenter: parent.verticalCenter
        x: 4
        spacing: 4

        XButtonSvg {
            objectName: "tool0"
            width: 40
            height: 36
            iconSource: root.toolIcon(0)
            iconWidth: 24
            iconHeight: 24
            xtip: root.toolName(0)
            xselected: root.tool === 0
            onClicked: root.choose(0)
        }

        Repeater {
            model: 4

            XButtonSvg {
                readonly property int type: root.groupTools[index]
                objectName: "group" + index
                width: 40
                height: 36
                iconSource: root.toolIcon(type)
                iconWidth: 24
                iconHeight: 24
                xtip: root.toolName(type)
                xselected: root.tool === type
                onClicked: root.choose(type)
            }
        }

        XButtonSvg {
            id: moreButton
            objectName: "moreButton"
            width: 40
            height: 36
            iconSource: "qrc:/Icons/dots-horizontal.svg"
            iconWidth: 24
            iconHeight: 24
            xtip: qsTrId("More")
            onClicked: more.visible ? more.close() : more.open()
        }

        XButtonSvg {
            readonly property bool hidden: root.manager ? root.manager.hideAll : false
            objectName: "hideAllButton"
            width: 40
            height: 36
            iconSource: hidden ? "qrc:/Icons/eye-off.svg" : "qrc:/Icons/eye.svg"
            iconWidth: 24
            iconHeight: 24
            xselected: hidden
            xtip: root.toolName(13)
            Accessible.description: root.toolInfo(13) ? root.toolInfo(13).desc : ""
            Accessible.checkable: true
            Accessible.checked: hidden
            onClicked: {
                if (root.manager)
                    root.manager.hideAll = !hidden
            }
        }
    }

    Popup {
        id: more
        objectName: "morePopup"
        x: moreButton.x + row.x
        y: root.height
        padding: 4
        background: Rectangle {
            color: XTheme.background_color_base
            border.color: XTheme.border_color
            radius: 2
        }

        Column {
            spacing: 4

            Grid {
                columns: 4
                spacing: 4

                Repeater {
                    model: root.moreGrid

                    Item {
                        width: 40
                        height: 36

                        XButtonSvg {
                            anchors.fill: parent
                            visible: modelData >= 0
                            Accessible.ignored: modelData < 0
                            objectName: "more" + modelData
                            iconSource: modelData >= 0 ? root.toolIcon(modelData) : ""
                            iconWidth: 24
                            iconHeight: 24
                            xtip: modelData >= 0 ? root.toolName(modelData) : ""
                            xselected: root.tool === modelData
                            onClicked: {
                                root.choose(modelData)
                                more.close()
                            }
                            onHoveredChanged: {
                                if (hovered)
                                    hint.type = modelData
                            }
                        }
                    }
                }
            }

            // The tool under the pointer: its name and what it measures.
            Text {
                id: hint
                property int type: -1
                width: 4 * 40 + 3 * 4
                wrapMode: Text.Wrap
                visible: type >= 0
                text: {
                    var t = root.toolInfo(type)
                    return t ? t.name + ": " + t.desc : ""
                }
                color: XTheme.text_color_regular
                font.pixelSize: XTheme.font_size
                Accessible.ignored: true
            }
        }
    }
}
