import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0
import Sarvik 1.0

// Replay: the thermal recording left, the visible one right, the load buttons, the offset between the two
// frames shown and the Sync switch below.
Item {
    id: root

    readonly property var manager: CApp.deviceManager
    readonly property var config: CApp.configManager.config

    function loadIr(path) {
        var code = manager.ir_stream.load(path)
        if (code < 0)
            App.notifyErrorCode(code, qsTrId("LoadIR") + " ")
        return code
    }

    function loadVis(path) {
        var code = manager.vis_stream.load(path)
        if (code < 0)
            App.notifyErrorCode(code, qsTrId("LoadVIS") + " ")
        return code
    }

    // Both files of the last joint recording, without a dialog.
    function loadLast() {
        var base = manager.recordBase
        if (base === "") {
            App.notifyError(1, qsTrId("NoRecording"))
            return -7
        }
        var ir = CApp.commonManager.fileExists(base + ".stream") ? loadIr(base + ".stream") : -200
        var vis = CApp.commonManager.fileExists(base + ".vis") ? loadVis(base + ".vis") : -200
        if (ir < 0 && vis < 0)
            App.notifyErrorCode(ir, qsTrId("LoadLast") + " ")
        return ir < 0 ? ir : vis
    }

    function offsetText() {
        if (!manager.offsetValid)
            return qsTrId("Offset") + ": -"
        var ms = manager.offsetMs
        return qsTrId("Offset") + ": " + (ms >= 0 ? "+" : "") + ms.toFixed(1) + " ms"
    }

    Row {
        id: panels
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: buttons.top
        anchors.margins: 4
        spacing: 4

        ReplayPanel {
            objectName: "replayIR"
            width: (panels.width - panels.spacing) / 2
            height: panels.height
            stream: root.manager.ir_stream
            side: "IR"
            imageName: qsTrId("ThermalReplay")
        }

        ReplayPanel {
            objectName: "replayVIS"
            width: (panels.width - panels.spacing) / 2
            height: panels.height
            stream: root.manager.vis_stream
            side: "VIS"
            imageName: qsTrId("VisibleReplay")
        }
    }

    Rectangle {
        id: buttons
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 56
        color: XTheme.fill_color_1

        Row {
            anchors.centerIn: parent
            spacing: 16

            XButton {
                objectName: "loadIrButton"
                width: 130
                text: qsTrId("LoadIR")
                onClicked: App.openFileDialog("ir", root.config.saveDir, root.loadIr)
            }

            XButton {
                objectName: "loadVisButton"
                width: 130
                text: qsTrId("LoadVIS")
                onClicked: App.openFileDialog("vis", root.config.saveDir, root.loadVis)
            }

            XButton {
                objectName: "loadLastButton"
                width: 170
                text: qsTrId("LoadLast")
                enabled: root.manager.recordBase !== "" && !root.manager.isRecording
                onClicked: root.loadLast()
            }

            Text {
                objectName: "offsetText"
                anchors.verticalCenter: parent.verticalCenter
                width: 170
                text: root.offsetText()
                color: XTheme.text_color_regular
                font.pixelSize: XTheme.font_size_medium
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }

            XSwitch {
                objectName: "syncSwitch"
                anchors.verticalCenter: parent.verticalCenter
                text: qsTrId("Sync")
                xtip: qsTrId("SyncTip")
                checked: root.manager.sync
                onToggled: root.manager.sync = checked
            }
        }
    }
}
