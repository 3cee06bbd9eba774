import QtQuick 2.15
import Tavo5 1.0

// A 40-pixel line of status values, each a static text "<label>: <value>".
Rectangle {
    id: root

    // [[label, value text], ...]
    property var values: []

    height: 40
    color: XTheme.fill_color_2
    Accessible.role: Accessible.StatusBar

    Row {
        anchors.fill: parent
        anchors.leftMargin: 8
        spacing: 20

        Repeater {
            model: root.values

            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: modelData[0] + ": " + modelData[1]
                color: XTheme.text_color_regular
                font.pixelSize: XTheme.font_size_medium
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }
    }
}
