import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0
import Sarvik 1.0

// One side of the replay: the file's name, its frame's time with index and count, stepping, a slider over
// the frames and the picture.
Column {
    id: root

    property var stream: null
    // "IR" or "VIS": names the controls for assistive technology.
    property string side: ""
    property string imageName: ""

    readonly property bool loaded: stream !== null && stream.fn !== ""

    spacing: 4

    // The side's own words for assistive technology (literal ids, so each is translated).
    function sideText(irText, visText) {
        return side === "IR" ? irText : visText
    }

    function step(delta) {
        if (!loaded)
            return -7
        var code = delta > 0 ? stream.nextFrame() : stream.prevFrame()
        if (code < 0)
            App.notifyErrorCode(code, qsTrId(delta > 0 ? "NextFrame" : "PreviousFrame") + " ")
        return code
    }

    Text {
        objectName: "fileName" + root.side
        width: root.width
        height: 24
        elide: Text.ElideMiddle
        verticalAlignment: Text.AlignVCenter
        text: root.loaded ? root.stream.fn : qsTrId("NoFile")
        color: XTheme.text_color_regular
        font.pixelSize: XTheme.font_size_medium
        Accessible.role: Accessible.StaticText
        Accessible.name: root.sideText(qsTrId("FileNameIR"), qsTrId("FileNameVIS")) + ": " + text
    }

    // The frame's time, then its place: "2026-12-08 10:15:02.120  12/250".
    Text {
        objectName: "frameInfo" + root.side
        width: root.width
        height: 24
        verticalAlignment: Text.AlignVCenter
        text: root.loaded ? root.stream.curTime + "  " + (root.stream.curIndex + 1) + "/" + root.stream.frameCount
                          : "0/0"
        color: XTheme.text_color_regular
        font.pixelSize: XTheme.font_size_medium
        Accessible.role: Accessible.StaticText
        Accessible.name: root.sideText(qsTrId("FrameInfoIR"), qsTrId("FrameInfoVIS")) + ": " + text
    }

    Row {
        width: root.width
        height: 36
        spacing: 8

        XButton {
            objectName: "prev" + root.side
            width: 130
            text: qsTrId("PreviousFrame")
            xtip: root.sideText(qsTrId("PreviousFrameIR"), qsTrId("PreviousFrameVIS"))
            enabled: root.loaded && root.stream.curIndex > 0
            onClicked: root.step(-1)
        }

        XButton {
            objectName: "next" + root.side
            width: 130
            text: qsTrId("NextFrame")
            xtip: root.sideText(qsTrId("NextFrameIR"), qsTrId("NextFrameVIS"))
            enabled: root.loaded && root.stream.curIndex < root.stream.frameCount - 1
            onClicked: root.step(1)
        }

        XSlider {
            id: slider
            objectName: "slider" + root.side
            width: parent.width - 276
            height: parent.height
            from: 0
            to: root.loaded ? Math.max(0, root.stream.frameCount - 1) : 0
            stepSize: 1
            snapMode: Slider.SnapAlways
            enabled: root.loaded && root.stream.frameCount > 1
            value: root.loaded ? root.stream.curIndex : 0
            xname: root.sideText(qsTrId("FrameSliderIR"), qsTrId("FrameSliderVIS"))
            onMoved: {
                var i = Math.round(value)
                if (root.loaded && i !== root.stream.curIndex)
                    root.stream.curIndex = i
                value = Qt.binding(function () { return root.loaded ? root.stream.curIndex : 0 })
            }
        }
    }

    CanvasHost {
        objectName: "replayCanvas" + root.side
        width: root.width
        height: root.height - 24 - 24 - 36 - 3 * root.spacing
        canvas: root.stream ? root.stream.canvas : null
        name: root.imageName
    }
}
