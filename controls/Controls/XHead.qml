import QtQuick 2.15
import Tavo5 1.0

// A section heading: a mark, the title and an optional line underneath. Controls put inside (a
// "Search" button) sit over it where the caller anchors them.
// xiconType: 0 no mark, 1 a vertical accent bar, 2 information, 3 check-circle, 4 alert, 5 close-circle,
// 6 pencil, 7 palette, 8 eye, 9 folder-outline, 10 file-outline; any other number: no mark.
Item {
    id: root

    property int xiconType: 1
    property color xiconColor: XTheme.color_primary
    property string xtext: ""
    // Width of the title; 0 or less: as wide as the text.
    property int xtextWidth: 0
    property int xfontSize: XTheme.font_size_medium
    property bool xlineVisible: true

    readonly property var _icons: ["", "", "information", "check-circle", "alert", "close-circle", "pencil",
                                   "palette", "eye", "folder-outline", "file-outline"]
    readonly property string xiconName: xiconType >= 2 && xiconType < _icons.length ? _icons[xiconType] : ""

    implicitWidth: row.implicitWidth + 16
    implicitHeight: 36

    Accessible.role: Accessible.StaticText
    Accessible.name: xtext

    Row {
        id: row
        anchors.left: parent.left
        anchors.leftMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        spacing: 8

        Rectangle {
            objectName: "xaccentBar"
            anchors.verticalCenter: parent.verticalCenter
            width: 4
            height: Math.round(root.xfontSize * 1.2)
            radius: 1
            color: root.xiconColor
            visible: root.xiconType === 1
            Accessible.ignored: true
        }

        XImage {
            objectName: "xicon"
            anchors.verticalCenter: parent.verticalCenter
            width: Math.round(root.xfontSize * 1.4)
            height: width
            visible: root.xiconName !== ""
            source: root.xiconName !== "" ? "qrc:/Controls/icons/" + root.xiconName + ".svg" : ""
            color: root.xiconColor
            Accessible.ignored: true
        }

        Text {
            anchors.verticalCenter: parent.verticalCenter
            width: root.xtextWidth > 0 ? root.xtextWidth : implicitWidth
            text: root.xtext
            color: root.enabled ? XTheme.text_color : XTheme.text_color_disabled
            font.pixelSize: root.xfontSize
            font.bold: true
            elide: Text.ElideRight
            Accessible.ignored: true
        }
    }

    XSeperator {
        objectName: "xline"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        visible: root.xlineVisible
        Accessible.ignored: true
    }
}
