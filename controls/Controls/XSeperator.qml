import QtQuick 2.15
import Tavo5 1.0

// A 1-pixel dividing line: horizontal (set its width) or vertical (set its height).
Rectangle {
    property int orientation: Qt.Horizontal

    implicitWidth: orientation === Qt.Horizontal ? 100 : 1
    implicitHeight: orientation === Qt.Horizontal ? 1 : 100
    color: XTheme.border_color

    Accessible.role: Accessible.Separator
    Accessible.name: ""
}
