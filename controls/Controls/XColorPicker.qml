import QtQuick 2.15
import Tavo5 1.0

// A colour chooser: the current colour, a fixed palette of swatches and a button for the full dialog.
Item {
    id: root

    property color xcolor: "#FF0000"
    // The palette the tools draw measurement objects and texts in.
    readonly property var cfg_colors: ["#FF0000", "#FF8000", "#FFFF00", "#00FF00", "#00FFFF", "#0000FF",
        "#FF00FF", "#8000FF", "#FFFFFF", "#808080", "#000000", "#409EFF"]
    property int xswatchSize: 16
    property int xspacing: 4

    implicitWidth: row.implicitWidth
    implicitHeight: row.implicitHeight

    Accessible.role: Accessible.ColorChooser
    Accessible.name: qsTrId("SelectColor")
    Accessible.description: root.xcolor.toString()

    function xopenDialog() {
        XTheme.openColorDialog(root)
    }

    Row {
        id: row
        spacing: root.xspacing * 2
        anchors.verticalCenter: parent.verticalCenter

        Rectangle {
            id: current
            width: root.xswatchSize * 2 + root.xspacing
            height: width
            anchors.verticalCenter: parent.verticalCenter
            radius: 2
            color: root.xcolor
            border.width: 1
            border.color: XTheme.border_color_darker
            Accessible.role: Accessible.Graphic
            Accessible.name: root.xcolor.toString()
        }

        Grid {
            id: palette
            columns: Math.ceil(root.cfg_colors.length / 2)
            spacing: root.xspacing
            anchors.verticalCenter: parent.verticalCenter

            Repeater {
                model: root.cfg_colors

                Rectangle {
                    id: swatch

                    readonly property bool chosen: Qt.colorEqual(root.xcolor, modelData)

                    function choose() {
                        root.xcolor = modelData
                    }

                    width: root.xswatchSize
                    height: root.xswatchSize
                    radius: 2
                    color: modelData
                    border.width: chosen || swatchArea.containsMouse || activeFocus ? 2 : 1
                    border.color: chosen ? XTheme.color_primary
                                         : (swatchArea.containsMouse || activeFocus ? XTheme.text_color_primary
                                                                                     : XTheme.border_color_base)
                    activeFocusOnTab: true
                    Keys.onSpacePressed: choose()
                    Keys.onReturnPressed: choose()

                    Accessible.role: Accessible.Button
                    Accessible.name: String(modelData)
                    Accessible.checkable: true
                    Accessible.checked: chosen
                    Accessible.focusable: true
                    Accessible.onPressAction: choose()

                    MouseArea {
                        id: swatchArea
                        anchors.fill: parent
                        hoverEnabled: true
                        cursorShape: Qt.PointingHandCursor
                        onClicked: swatch.choose()
                    }
                }
            }
        }

        Rectangle {
            id: more
            width: root.xswatchSize * 2 + root.xspacing
            height: width
            anchors.verticalCenter: parent.verticalCenter
            radius: 2
            color: moreArea.pressed ? XTheme.fill_color_4 : (moreArea.containsMouse ? XTheme.fill_color_3 : XTheme.fill_color_2)
            border.width: 1
            border.color: moreArea.containsMouse || activeFocus ? XTheme.color_primary : XTheme.border_color_base
            activeFocusOnTab: true
            Keys.onSpacePressed: root.xopenDialog()
            Keys.onReturnPressed: root.xopenDialog()

            Accessible.role: Accessible.Button
            Accessible.name: qsTrId("SelectColor")
            Accessible.focusable: true
            Accessible.onPressAction: root.xopenDialog()

            XImage {
                anchors.centerIn: parent
                width: parent.width - 8
                height: width
                source: "qrc:/Controls/icons/palette.svg"
                color: moreArea.containsMouse ? XTheme.color_primary : XTheme.text_color_regular
                Accessible.ignored: true
            }

            MouseArea {
                id: moreArea
                anchors.fill: parent
                hoverEnabled: true
                cursorShape: Qt.PointingHandCursor
                onClicked: root.xopenDialog()
            }
        }
    }
}
