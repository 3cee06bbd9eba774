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

        // A count, not the array: the values change with every frame, and an array model would rebuild
        // every text each time (and take them away from assistive technology).
        Repeater {
            model: root.values.length

            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: index < root.values.length ? root.values[index][0] + ": " + root.values[index][1] : ""
                color: XTheme.text_color_regular
                font.pixelSize: XTheme.font_size_medium
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }
    }
}
