import QtQuick 2.15
import Tavo5 1.0

// Shows a canvas that lives with its device or player: the canvas is parented here and follows this
// item's size.
Rectangle {
    id: root

    property var canvas: null
    property string name: ""

    color: "black"
    Accessible.role: Accessible.Graphic
    Accessible.name: name

    function attach() {
        if (!canvas)
            return
        canvas.parent = root
        canvas.x = 0
        canvas.y = 0
        canvas.width = Qt.binding(function () { return root.width })
        canvas.height = Qt.binding(function () { return root.height })
        canvas.visible = true
    }

    onCanvasChanged: attach()
    Component.onCompleted: attach()
}
