import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0
import Sarvik 1.0

// The status line of the previewed camera: frame rate, shell temperature, GPIO input and the whole
// frame's maximum, average and minimum. Its tip counts the frames the view had to skip.
Rectangle {
    id: root

    property var device: null
    readonly property var dataState: device ? device.dataState : null
    readonly property string skippedText: qsTrId("SkippedFrames") + ": " + (device ? device.skippedFrames : 0)
    readonly property var labels: ["FPS", "Shell", "GPI", "Max", "Avg", "Min"]

    color: XTheme.fill_color_2
    Accessible.role: Accessible.StatusBar
    Accessible.description: skippedText

    // GPI is a bit field: whole number; the others one decimal.
    function valueText(label) {
        var s = dataState
        if (!s)
            return label === "GPI" ? "0" : (0).toFixed(1)
        switch (label) {
        case "FPS": return s.fps.toFixed(1)
        case "Shell": return s.shellTemp.toFixed(1)
        case "GPI": return String(s.gpioInput)
        case "Max": return s.maxTemp.toFixed(1)
        case "Avg": return s.avgTemp.toFixed(1)
        case "Min": return s.minTemp.toFixed(1)
        }
        return ""
    }

    // Label words for the ids of the repeater below (a literal per id keeps them translated).
    function labelText(label) {
        switch (label) {
        case "FPS": return qsTrId("FPS")
        case "Shell": return qsTrId("Shell")
        case "GPI": return qsTrId("GPI")
        case "Max": return qsTrId("Max")
        case "Avg": return qsTrId("Avg")
        case "Min": return qsTrId("Min")
        }
        return label
    }

    Row {
        anchors.fill: parent
        anchors.leftMargin: 8
        spacing: 20

        Repeater {
            model: root.labels

            Text {
                objectName: "state" + modelData
                anchors.verticalCenter: parent.verticalCenter
                text: root.labelText(modelData) + ": " + root.valueText(modelData)
                color: XTheme.text_color_regular
                font.pixelSize: XTheme.font_size_medium
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }
    }

    HoverHandler {
        id: hover
    }

    ToolTip.visible: hover.hovered
    ToolTip.delay: 500
    ToolTip.text: skippedText
}
