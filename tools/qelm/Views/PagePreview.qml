import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0
import Sarvik 1.0

// Live: the thermal camera left, the visible camera right, each under its status line; the camera,
// clock and joint recording buttons below.
Item {
    id: root

    readonly property var manager: CApp.deviceManager
    readonly property var ir: manager.ir
    readonly property var vis: manager.vis
    readonly property var config: CApp.configManager.config

    function startStopIr() {
        var code = ir.isWorking ? ir.stopWork() : ir.startWork(config.ir_ip)
        if (code < 0)
            App.notifyErrorCode(code, qsTrId(ir.isWorking ? "StopIR" : "StartIR") + " ")
        return code
    }

    function startStopVis() {
        var code = vis.isWorking ? vis.stopWork() : vis.startWork(config.vis_ip)
        if (code < 0)
            App.notifyErrorCode(code, qsTrId(vis.isWorking ? "StopVIS" : "StartVIS") + " ")
        return code
    }

    function startStopRecord() {
        var code = manager.isRecording ? manager.stopRecord() : manager.startRecord()
        if (code < 0)
            App.notifyErrorCode(code, qsTrId(manager.isRecording ? "StopRecord" : "StartRecord") + " ")
        return code
    }

    Row {
        id: panels
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: buttons.top
        anchors.margins: 4
        spacing: 4

        Column {
            width: (panels.width - panels.spacing) / 2
            height: panels.height

            StateBar {
                objectName: "irState"
                width: parent.width
                values: {
                    var s = root.ir.frameState
                    return [[qsTrId("FPS"), s.fps.toFixed(1)], [qsTrId("Shell"), s.shellTemp.toFixed(1)],
                            [qsTrId("Min"), s.minTemp.toFixed(1)], [qsTrId("Avg"), s.avgTemp.toFixed(1)],
                            [qsTrId("Max"), s.maxTemp.toFixed(1)]]
                }
            }

            CanvasHost {
                objectName: "irCanvas"
                width: parent.width
                height: parent.height - 40
                canvas: root.ir.canvas
                name: qsTrId("ThermalImage")
            }
        }

        Column {
            width: (panels.width - panels.spacing) / 2
            height: panels.height

            StateBar {
                objectName: "visState"
                width: parent.width
                values: [[qsTrId("FPS"), root.vis.frameState.fps.toFixed(1)]]
            }

            CanvasHost {
                objectName: "visCanvas"
                width: parent.width
                height: parent.height - 40
                canvas: root.vis.canvas
                name: qsTrId("VisibleImage")
            }
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
                objectName: "irButton"
                width: 150
                text: root.ir.isWorking ? qsTrId("StopIR") : qsTrId("StartIR")
                enabled: root.ir.jobState === 0
                onClicked: root.startStopIr()
            }

            XButton {
                objectName: "syncNtpButton"
                width: 150
                text: qsTrId("SyncNTP")
                enabled: root.ir.isWorking && !root.ir.isExecuting && root.ir.jobState === 0
                onClicked: {
                    var code = root.ir.sendControlX(0)
                    if (code < 0)
                        App.notifyErrorCode(code, qsTrId("SyncNTP") + " ")
                }
            }

            XButton {
                objectName: "visButton"
                width: 150
                text: root.vis.isWorking ? qsTrId("StopVIS") : qsTrId("StartVIS")
                enabled: root.vis.jobState === 0
                onClicked: root.startStopVis()
            }

            XButton {
                objectName: "recordButton"
                width: 150
                text: root.manager.isRecording ? qsTrId("StopRecord") : qsTrId("StartRecord")
                enabled: !root.manager.isBusy && (root.manager.isRecording || root.ir.isWorking)
                onClicked: root.startStopRecord()
            }

            Text {
                objectName: "recordState"
                anchors.verticalCenter: parent.verticalCenter
                visible: root.manager.isRecording || root.manager.isBusy
                text: root.manager.isBusy ? qsTrId("RecordStarting")
                                          : qsTrId("Recording") + ": " + root.manager.recordBase
                color: XTheme.color_danger
                font.pixelSize: XTheme.font_size_medium
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }
    }

    Connections {
        target: root.ir
        function onStartFailed(errorCode) {
            App.notifyErrorCode(errorCode, qsTrId("StartIR") + " ")
        }
        function onIsExecutingChanged() {
            if (!root.ir.isExecuting)
                App.notifyErrorCode(root.ir.lastError, qsTrId("SyncNTP") + " ")
        }
    }

    Connections {
        target: root.vis
        function onStartFailed(errorCode) {
            App.notifyErrorCode(errorCode, qsTrId("StartVIS") + " ")
        }
    }

    Connections {
        target: root.manager
        function onRecordErrorChanged() {
            if (root.manager.recordError < 0)
                App.notifyErrorCode(root.manager.recordError, qsTrId("StartRecord") + " ")
        }
    }
}
