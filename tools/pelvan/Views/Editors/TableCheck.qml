import QtQuick 2.15
import Tavo5 1.0

// Whether the table as it would be written passes the camera's rules, and which rule and row break them.
// Only a warning: the camera decides what it accepts, so "Set" stays possible.
Text {
    id: root

    property bool valid: true
    property string problem: ""

    verticalAlignment: Text.AlignVCenter
    elide: Text.ElideRight
    font.pixelSize: XTheme.font_size
    color: valid ? XTheme.color_success : XTheme.color_warning
    text: valid ? qsTrId("TableValid") : qsTrId("TableInvalid") + ": " + problem
    Accessible.role: Accessible.StaticText
    Accessible.name: text
}
