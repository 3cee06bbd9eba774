import QtQuick 2.15
import Tavo5 1.0

// Text in the theme's colour and size.
Text {
    color: enabled ? XTheme.text_color : XTheme.text_color_disabled
    font.pixelSize: XTheme.font_size
    verticalAlignment: Text.AlignVCenter

    Accessible.role: Accessible.StaticText
    Accessible.name: text
}
