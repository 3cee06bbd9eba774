import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0
import Sarvik 1.0
import "Batch" as Batch

// The batch page: every camera in a table with the outcome of its last operation, and the maintenance
// operations for the highlighted camera or for every ticked one. The runner does the work, one camera
// after another; this page only asks and shows.
Item {
    id: root

    property var deviceManager: null
    readonly property var deviceConfiger: deviceManager ? deviceManager.deviceConfiger : null
    readonly property var nodeList: deviceManager ? deviceManager.nodeList : []
    // The highlighted camera, or null; the main window's configuration buttons act on it on this page.
    readonly property var currentNode: table.xcurrentRow >= 0 && table.xcurrentRow < nodeList.length
                                       ? nodeList[table.xcurrentRow] : null
    readonly property alias runner: runner
    readonly property bool busy: runner.running
    property alias fileName: fileInput.xvalue

    CBatchRunner {
        id: runner
        deviceConfiger: root.deviceConfiger
        progressFormat: qsTrId("BatchProgress")
        onFinished: function (failures) {
            App.notifyErrorSimple(failures > 0 ? -1 : 0)
        }
    }

    // Why a run did not start, in the page's words.
    function report(ret) {
        if (ret === CBatchRunner.RunNoDevice)
            App.notifyError(1, qsTrId("NoDevice"))
        else if (ret === CBatchRunner.RunInvalid)
            App.notifyError(1, qsTrId("InvalidFile"))
        else if (ret === CBatchRunner.RunBusy)
            App.notifyError(2, qsTrId("Busy"))
        return ret === CBatchRunner.RunStarted
    }

    // node: the highlighted camera unless given.
    function runCurrent(op, fileType, node) {
        var target = node === undefined ? currentNode : node
        if (target === null) {
            App.notifyError(1, qsTrId("NoDevice"))
            return false
        }
        return report(runner.runCurrent(op, target, fileType === undefined ? -1 : fileType, fileName))
    }

    function runMulti(op, fileType) {
        var nodes = []
        for (var i = 0; i < nodeList.length; ++i)
            nodes.push(nodeList[i])
        return report(runner.runMulti(op, nodes, fileType === undefined ? -1 : fileType, fileName))
    }

    // Uploads check the chosen file before anything goes out.
    function upload(fileType, multi) {
        var problem = runner.fileProblem(fileType, fileName)
        if (problem !== "") {
            App.notifyError(1, qsTrId(problem))
            return false
        }
        return multi ? runMulti("upload", fileType) : runCurrent("upload", fileType)
    }

    // Asks first: title the action, text the action, "---" and the camera.
    function confirmCurrent(op, title) {
        if (currentNode === null) {
            App.notifyError(1, qsTrId("NoDevice"))
            return
        }
        var node = currentNode
        var name = node.deviceId !== "" ? node.deviceId : node.deviceIp
        App.main.confirmOp(title, title + "---" + name, function () {
            root.runCurrent(op, -1, node)
        })
    }

    function getTime() {
        if (currentNode === null) {
            App.notifyError(1, qsTrId("NoDevice"))
            return
        }
        var time = runner.getTime(currentNode)
        timeInput.init(time)
        if (time === "")
            App.notifyErrorSimple(-1)
    }

    function configIp() {
        if (currentNode === null) {
            App.notifyError(1, qsTrId("NoDevice"))
            return
        }
        var ret = runner.configIp(currentNode)
        if (ret === CBatchRunner.RunNoDevice)
            App.notifyError(1, qsTrId("NoDevice"))
        else
            App.notifyErrorSimple(ret)
    }

    // File dialog 0 hands the chosen file back here.
    function fn_openAll(path) {
        fileInput.init(path)
    }

    XTableView {
        id: table
        objectName: "batchTable"
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: tabBar.top
        anchors.margins: 4
        xname: qsTrId("DeviceList")
        xselectEnable: true
        xcolumnWidthArray: [48, 0.2, 0.16, 0.2, 0.2, 0.24]
        xcolumnNameArray: ["", "DeviceId", "DeviceIp", "SoftwareId", "FPAId", "Message"]
        model: root.nodeList

        delegate: XListRow {
            objectName: "batchRow"

            XTableCellSelect {}
            XTableCellText {
                text: modelData ? modelData.deviceId : ""
            }
            XTableCellText {
                text: modelData ? modelData.deviceIp : ""
            }
            XTableCellText {
                text: modelData ? modelData.softwareId : ""
            }
            XTableCellText {
                text: modelData ? modelData.fpaId : ""
            }
            XTableCellText {
                objectName: "messageCell"
                text: modelData ? modelData.edit_info : ""
            }
        }
    }

    XTab {
        id: tabBar
        objectName: "batchTab"
        anchors.left: parent.left
        anchors.leftMargin: 4
        anchors.bottom: pages.top
        height: 36
        xitemWidth: 120
        xnames: [qsTrId("Firmware"), qsTrId("Network")]
    }

    Rectangle {
        id: pages
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: progressRow.top
        anchors.margins: 4
        height: 280
        color: XTheme.background_color_base
        enabled: !root.busy

        // Firmware: file transfers and the camera's own maintenance.
        Column {
            id: firmwarePage
            objectName: "firmwarePage"
            anchors.fill: parent
            anchors.margins: 8
            spacing: 8
            visible: tabBar.xcurrentIndex === 0

            Row {
                spacing: 4

                XInputString {
                    id: fileInput
                    objectName: "fileInput"
                    width: 600
                    height: 32
                    xpanelNameWidth: 120
                    xname: qsTrId("File")
                    // One node for assistive technology: the text field itself, which carries the same name.
                    Accessible.ignored: true
                }
                XButtonSvg {
                    objectName: "openFileButton"
                    width: 40
                    height: 32
                    iconSource: "qrc:/Icons/folder-open.svg"
                    iconWidth: 20
                    iconHeight: 20
                    xtip: qsTrId("OpenFile")
                    onClicked: App.openFileDialog(0, root)
                }
            }

            Flow {
                width: parent.width
                spacing: 8

                XButton {
                    objectName: "uploadBinButton"
                    text: qsTrId("Upload") + " .bin"
                    width: 190
                    onClicked: root.upload(CDeviceConfiger.DeviceFileType_bin, false)
                }
                XButton {
                    objectName: "uploadMultiBinButton"
                    text: qsTrId("UploadMulti") + " .bin"
                    width: 190
                    onClicked: root.upload(CDeviceConfiger.DeviceFileType_bin, true)
                }
                XButton {
                    objectName: "downloadLogButton"
                    text: qsTrId("Download") + " .log"
                    width: 190
                    onClicked: root.runCurrent("download", CDeviceConfiger.DeviceFileType_log)
                }
                XButton {
                    objectName: "restoreFactoryButton"
                    text: qsTrId("RestoreFactory")
                    width: 190
                    onClicked: root.confirmCurrent("restoreFactory", qsTrId("RestoreFactory"))
                }
                XButton {
                    objectName: "restartDeviceButton"
                    text: qsTrId("RestartDevice")
                    width: 190
                    onClicked: root.confirmCurrent("restartDevice", qsTrId("RestartDevice"))
                }
            }

            Flow {
                width: parent.width
                spacing: 8

                XButton {
                    objectName: "downloadGaowenButton"
                    text: qsTrId("Download") + " .gaowen"
                    width: 190
                    onClicked: root.runCurrent("download", CDeviceConfiger.DeviceFileType_gaowen)
                }
                XButton {
                    objectName: "uploadGaowenButton"
                    text: qsTrId("Upload") + " .gaowen"
                    width: 190
                    onClicked: root.upload(CDeviceConfiger.DeviceFileType_gaowen, false)
                }
                XButton {
                    objectName: "downloadBadButton"
                    text: qsTrId("Download") + " .bad"
                    width: 190
                    onClicked: root.runCurrent("download", CDeviceConfiger.DeviceFileType_bad)
                }
                XButton {
                    objectName: "uploadBadButton"
                    text: qsTrId("Upload") + " .bad"
                    width: 190
                    onClicked: root.upload(CDeviceConfiger.DeviceFileType_bad, false)
                }
                XButton {
                    objectName: "deviceComButton"
                    text: qsTrId("DeviceCom")
                    width: 190
                    onClicked: App.openView("DeviceCom")
                }
            }
        }

        // Network: the quick address form and the camera clock.
        Row {
            id: networkPage
            objectName: "networkPage"
            anchors.fill: parent
            anchors.margins: 8
            spacing: 24
            visible: tabBar.xcurrentIndex === 1

            Column {
                width: 360
                spacing: 4

                Batch.NetworkPanel {
                    objectName: "networkPanel"
                    width: parent.width
                    info: runner.networkInfo
                }
                XButton {
                    objectName: "setNetworkButton"
                    text: qsTrId("Set")
                    width: 120
                    // The change goes out by broadcast, answered on the SDK's answer socket.
                    enabled: root.deviceConfiger !== null && root.deviceConfiger.configIpEnable
                    onClicked: root.configIp()
                }
            }

            Column {
                width: 480
                spacing: 8

                XInputString {
                    id: timeInput
                    objectName: "timeInput"
                    width: parent.width
                    height: 32
                    xpanelNameWidth: 120
                    xname: qsTrId("DeviceTime")
                    xreadonly: true
                    Accessible.ignored: true
                }
                Row {
                    spacing: 8

                    XButton {
                        objectName: "getTimeButton"
                        text: qsTrId("GetTime")
                        width: 150
                        onClicked: root.getTime()
                    }
                    XButton {
                        objectName: "setTimeButton"
                        text: qsTrId("SetTime")
                        width: 150
                        onClicked: root.runCurrent("setTime")
                    }
                    XButton {
                        objectName: "setTimeMultiButton"
                        text: qsTrId("SetTimeMulti")
                        width: 150
                        onClicked: root.runMulti("setTime")
                    }
                }
            }
        }
    }

    // While a run goes on: how far it is, and the way to stop it before the next camera.
    Row {
        id: progressRow
        anchors.left: parent.left
        anchors.leftMargin: 8
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 4
        height: 36
        spacing: 12

        Text {
            objectName: "progressText"
            anchors.verticalCenter: parent.verticalCenter
            visible: root.busy
            text: runner.progressText + (runner.currentDeviceId !== "" ? "  " + runner.currentDeviceId : "")
            color: XTheme.text_color_regular
            font.pixelSize: XTheme.font_size
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
        XButton {
            objectName: "cancelButton"
            anchors.verticalCenter: parent.verticalCenter
            visible: root.busy
            height: 32
            text: qsTrId("Cancel")
            onClicked: runner.cancel()
        }
    }
}
