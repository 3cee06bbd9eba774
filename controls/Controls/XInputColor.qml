import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0

// A labelled colour: a swatch with its code; a click opens the theme's shared colour dialog.
XInputBase {
    id: root

    property color xvalue: "#ffffff"

    readonly property alias xeditor: swatch

    // The dialog writes the accepted colour to the xcolor of what it is handed.
    property QtObject _picker: QtObject {
        property color xcolor: root.xvalue
        onXcolorChanged: {
            if (!Qt.colorEqual(xcolor, root.xvalue))
                root.xvalue = xcolor
        }
    }

    Accessible.role: Accessible.ColorChooser
    Accessible.description: xvalue.toString()
    Accessible.onPressAction: _openDialog()

    Rectangle {
        id: swatch
        objectName: "xeditor"
        anchors.left: parent.left
        anchors.leftMargin: root.xvalueMargin
        anchors.verticalCenter: parent.verticalCenter
        width: 24
        height: 20
        radius: 2
        color: root.xvalue
        border.color: XTheme.border_color_darker
        border.width: 1
        Accessible.role: Accessible.Button
        Accessible.name: root.xname
        Accessible.description: root.xvalue.toString()
        Accessible.onPressAction: root._openDialog()
    }

    Text {
        anchors.left: swatch.right
        anchors.leftMargin: 6
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        text: root.xvalue.toString()
        color: root.xreadonly ? XTheme.text_color_disabled : XTheme.text_color_regular
        font.pixelSize: XTheme.font_size
        elide: Text.ElideRight
        Accessible.ignored: true
    }

    MouseArea {
        anchors.fill: parent
        enabled: !root.xreadonly
        cursorShape: Qt.PointingHandCursor
        onClicked: root._openDialog()
        Accessible.ignored: true
    }

    function _openDialog() {
        if (xreadonly)
            return
        _picker.xcolor = xvalue
        XTheme.openColorDialog(_picker)
    }

    function model2view() {
        _picker.xcolor = xvalue
    }

    function init(v) {
        if (v !== undefined && v !== null && !Qt.colorEqual(v, xvalue))
            xvalue = v
        model2view()
    }
}
