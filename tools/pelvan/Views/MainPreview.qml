import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0
import Sarvik 1.0
import "Basic" as Basic

// The preview page: the camera list and the device's buttons on the left, the toolbar, status line and
// live image in the middle, the image and measurement settings on the right.
Item {
    id: root

    property var deviceManager: null
    readonly property var device: deviceManager ? deviceManager.device : null
    readonly property var canvas: device ? device.canvas : null
    readonly property bool working: device ? device.isWorking : false
    readonly property bool recording: device ? device.isRecording : false
    readonly property var nodeList: deviceManager ? deviceManager.nodeList : []
    // The highlighted camera of the list, or null.
    readonly property var selectedNode: deviceList.xcurrentRow >= 0 && deviceList.xcurrentRow < nodeList.length
                                        ? nodeList[deviceList.xcurrentRow] : null

    // Reports what a device call returned; succeeded tells whether a success is worth a notice.
    function report(code, act, succeeded) {
        if (code < 0 || succeeded)
            App.notifyErrorCode(code, act + " ")
    }

    function play() {
        if (!device)
            return
        if (selectedNode === null) {
            App.notifyError(1, qsTrId("NoDevice"))
            return
        }
        report(device.startWork(selectedNode), qsTrId("Play"), false)
    }

    function toggleRecord() {
        if (!device)
            return
        if (device.isRecording)
            report(device.endSave(2), qsTrId("RecordEnd"), true)
        else
            report(device.beginSave("", 2), qsTrId("RecordBegin"), true)
    }

    function addNode() {
        var ip = ipInput.xeditor.text.trim()
        if (ip === "") {
            App.notifyError(2, qsTrId("InvalidIp"))
            return
        }
        if (deviceManager)
            deviceManager.node_create(ip)
    }

    // With nothing highlighted the first camera is, so "Play" works on a one-camera list at once.
    function selectDefault() {
        if (deviceList.xcurrentRow < 0 && nodeList.length > 0)
            deviceList.xcurrentRow = 0
    }

    Connections {
        target: root.deviceManager
        function onNodeListChanged() { Qt.callLater(root.selectDefault) }
    }

    // Left: cameras and the device's buttons.
    Rectangle {
        id: left
        width: 240
        height: parent.height
        color: XTheme.background_color_base

        XHead {
            id: listHead
            width: parent.width
            height: 40
            xtext: qsTrId("DeviceList")

            XButtonSvg {
                id: searchButton
                objectName: "searchButton"
                anchors.right: parent.right
                anchors.rightMargin: 4
                anchors.verticalCenter: parent.verticalCenter
                width: 36
                height: 32
                iconSource: "qrc:/Icons/magnify.svg"
                iconWidth: 20
                iconHeight: 20
                xtip: qsTrId("Search")
                enabled: !root.working && root.deviceManager !== null && root.deviceManager.workState === 0
                onClicked: root.deviceManager.node_refresh()
            }
        }

        XListView {
            id: deviceList
            objectName: "deviceList"
            anchors.top: listHead.bottom
            anchors.topMargin: 4
            anchors.bottom: addRow.top
            anchors.bottomMargin: 4
            width: parent.width
            enabled: !root.working
            xname: qsTrId("DeviceList")
            xheaderHeight: 0
            xcolumnWidthArray: [0.5, 0.5]
            model: root.nodeList

            delegate: XListRow {
                objectName: "deviceRow"
                Accessible.name: modelData ? modelData.deviceId + " " + modelData.deviceIp : ""

                XListCellText {
                    text: modelData ? modelData.deviceId : ""
                }
                XListCellText {
                    text: modelData ? modelData.deviceIp : ""
                }
            }
        }

        Row {
            id: addRow
            anchors.bottom: buttons.top
            anchors.bottomMargin: 8
            x: 4
            spacing: 4
            enabled: !root.working

            XInputString {
                id: ipInput
                objectName: "ipInput"
                width: 232 - addButton.width - parent.spacing
                height: 32
                xpanelNameWidth: 0
                xpanelNameSpacing: 0
                xvalueMargin: 6
                xname: qsTrId("DeviceIp")
                // One node for assistive technology: the text field itself, which carries the same name.
                Accessible.ignored: true
                // Any private address; the user types the camera's own.
                xvalue: "192.168.1.100"
            }

            XButton {
                id: addButton
                objectName: "addButton"
                width: 60
                height: 32
                text: qsTrId("Add")
                onClicked: root.addNode()
            }
        }

        Grid {
            id: buttons
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 8
            x: 4
            columns: 3
            spacing: 4

            readonly property int cellWidth: 74

            XButtonSvg {
                objectName: "playButton"
                width: buttons.cellWidth
                iconSource: "qrc:/Icons/play.svg"
                xtip: qsTrId("Play")
                enabled: root.device !== null && !root.working && root.device.workState === 0
                onClicked: root.play()
            }
            XButtonSvg {
                objectName: "stopButton"
                width: buttons.cellWidth
                iconSource: "qrc:/Icons/stop.svg"
                xtip: qsTrId("Stop")
                enabled: root.working
                onClicked: root.report(root.device.stopWork(), qsTrId("Stop"), false)
            }
            XButtonSvg {
                objectName: "snapButton"
                width: buttons.cellWidth
                iconSource: "qrc:/Icons/camera.svg"
                xtip: qsTrId("Snap")
                enabled: root.working
                onClicked: root.report(root.device.saveImage(""), qsTrId("Snap"), true)
            }
            XButtonSvg {
                objectName: "recordButton"
                width: buttons.cellWidth
                iconSource: "qrc:/Icons/record.svg"
                // The light danger style draws the icon red while a recording runs.
                xbuttonType: root.recording ? 10 : 0
                xtip: root.recording ? qsTrId("RecordEnd") : qsTrId("RecordBegin")
                enabled: root.working
                onClicked: root.toggleRecord()
            }
            XButtonSvg {
                objectName: "ffcButton"
                width: buttons.cellWidth
                iconSource: "qrc:/Icons/sync.svg"
                xtip: qsTrId("FFC")
                enabled: root.working
                onClicked: root.report(root.device.sendControl(2), qsTrId("FFC"), false)
            }
            XButtonSvg {
                objectName: "chartButton"
                width: buttons.cellWidth
                iconSource: "qrc:/Icons/chart-line.svg"
                xtip: qsTrId("Chart")
                enabled: root.device !== null
                onClicked: App.openView("DeviceChart")
            }
            XComboBox {
                id: gearBox
                objectName: "gearBox"
                width: buttons.cellWidth
                height: 40
                visible: root.device !== null && root.device.gearEnable
                enabled: root.working
                model: CApp.commonManager.gearLevelList
                xname: qsTrId("GearLevel")
                xtip: qsTrId("GearLevel")

                function showLevel() {
                    var level = root.device ? root.device.gearLevel : 0
                    for (var i = 0; i < count; ++i) {
                        if (model[i].value === level) {
                            currentIndex = i
                            return
                        }
                    }
                    currentIndex = -1
                }

                onActivated: function (index) {
                    var level = model[index].value
                    root.device.gearLevel = level
                    // The camera refused when the level did not follow.
                    if (root.device.gearLevel !== level)
                        root.report(-1, qsTrId("GearLevel"), false)
                    showLevel()
                }
                Component.onCompleted: showLevel()

                Connections {
                    target: root.device
                    function onGearLevelChanged() { gearBox.showLevel() }
                }
            }
        }
    }

    // Middle: toolbar, status line and the live image.
    Item {
        id: middle
        anchors.left: left.right
        anchors.right: right.left
        height: parent.height
        enabled: root.working

        MeaToolList {
            id: toolList
            objectName: "meaToolList"
            width: parent.width
            height: 44
        }

        Basic.DataState {
            id: dataState
            objectName: "dataState"
            anchors.top: toolList.bottom
            width: parent.width
            height: 30
            device: root.device
        }

        Item {
            id: canvasArea
            objectName: "canvasArea"
            anchors.top: dataState.bottom
            anchors.bottom: parent.bottom
            anchors.left: parent.left
            anchors.right: scale.left
            anchors.margins: 4
            Accessible.role: Accessible.Graphic
            Accessible.name: qsTrId("LiveImage")

            Text {
                objectName: "netdText"
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                anchors.margins: 8
                z: 1
                visible: CApp.debug_netdEnable && root.working
                color: "cyan"
                font.pixelSize: 18
                font.bold: true
                text: {
                    var s = root.device ? root.device.dataState : null
                    return s ? "netd(mk): " + s.netd.toFixed(1) + ", sstd(mk): " + s.sstd.toFixed(1) : ""
                }
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }

        TempPaletteScale {
            id: scale
            objectName: "paletteScale"
            anchors.top: canvasArea.top
            anchors.bottom: canvasArea.bottom
            anchors.right: parent.right
            anchors.rightMargin: 4
            width: 64
            paletteData: root.canvas ? root.canvas.paletteData : null
            textColor: XTheme.text_color_regular
        }
    }

    // Right: image and measurement settings.
    Rectangle {
        id: right
        anchors.right: parent.right
        width: 280
        height: parent.height
        color: XTheme.background_color_base
        enabled: root.working

        Flickable {
            anchors.fill: parent
            anchors.margins: 4
            contentHeight: settings.height
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar {
                policy: ScrollBar.AsNeeded
            }

            Column {
                id: settings
                width: parent.width
                spacing: 4

                XHead {
                    width: parent.width
                    xtext: qsTrId("ImageConfig")
                }
                Basic.ImageConfig {
                    objectName: "imageConfig"
                    width: parent.width
                    device: root.device
                }
                XHead {
                    width: parent.width
                    xtext: qsTrId("MeaConfig")
                }
                Basic.MeaConfig {
                    objectName: "meaConfig"
                    width: parent.width
                    item: root.canvas ? root.canvas.itemSelected : null
                }
            }
        }
    }

    // The device's canvas lives with the device; this page only shows it.
    function attachCanvas() {
        if (!canvas)
            return
        canvas.parent = canvasArea
        canvas.x = 0
        canvas.y = 0
        canvas.width = Qt.binding(function () { return canvasArea.width })
        canvas.height = Qt.binding(function () { return canvasArea.height })
    }

    onCanvasChanged: attachCanvas()
    Component.onCompleted: {
        attachCanvas()
        selectDefault()
    }
}
