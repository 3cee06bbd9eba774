import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0

// Every control of the module, in every style and state worth seeing side by side.
Item {
    id: page

    // Presses of the "Count" button; the accessibility test checks that its press action counts too.
    property int xclicks: 0
    property string xchosenFile: ""
    property string xchosenFolder: ""

    readonly property var styleNames: ["Default", "Primary", "Success", "Warning", "Danger", "Info", "Plain",
        "LightPrimary", "LightSuccess", "LightWarning", "LightDanger", "LightInfo", "Link"]
    readonly property var controlIcons: ["check", "minus", "chevron-down", "chevron-up", "check-circle",
        "information", "alert", "close-circle", "close", "pencil", "delete", "plus", "eye", "folder-outline",
        "file-outline", "palette", "menu-down"]
    readonly property var toolIcons: ["cursor-default", "point1x1", "point3x3", "pointcross", "point-add-remove",
        "slash-forward", "chart-line-variant", "ellipse-outline", "circle", "octagram-outline",
        "rectangle-outline", "square-outline", "hexagon-outline", "eye", "eye-off", "magnify", "play", "pause",
        "stop", "record", "camera", "refresh", "chart-line", "cog", "dots-horizontal", "folder-open",
        "content-save", "upload", "download", "restore", "restart", "clock-outline", "sync", "skip-previous",
        "skip-next"]
    readonly property var paletteOptions: [{ "name": "WhiteHot", "value": 0 }, { "name": "BlackHot", "value": 1 },
        { "name": "Iron", "value": 2 }, { "name": "Rainbow", "value": 5 }]
    property var devices: [
        { "deviceId": "IR-0001", "deviceIp": "192.168.1.11", "edit_info": "Success", "edit_select": true },
        { "deviceId": "IR-0002", "deviceIp": "192.168.1.12", "edit_info": "", "edit_select": false },
        { "deviceId": "IR-0003", "deviceIp": "192.168.1.13", "edit_info": "Fail -3", "edit_select": true },
        { "deviceId": "IR-0004", "deviceIp": "192.168.1.14", "edit_info": "", "edit_select": false }
    ]

    // One cell of the grid demonstration: shows where XGrid put it.
    component GridCell: Rectangle {
        property int xindex: 0
        color: xindex % 2 ? XTheme.fill_color_2 : XTheme.fill_color_3
        border.color: XTheme.border_color_light
        Accessible.role: Accessible.Cell
        Accessible.name: cellText.text
        XText {
            id: cellText
            anchors.centerIn: parent
            text: qsTrId("Cell") + " " + parent.xindex + ": " + Math.round(parent.width) + " x " + Math.round(parent.height)
            Accessible.ignored: true
        }
    }

    implicitWidth: 1600
    implicitHeight: content.implicitHeight + 24

    Column {
        id: content
        x: 12
        y: 12
        spacing: 8

        // Buttons: each style normal, disabled and selected.
        XHead {
            width: 1570
            xtext: qsTrId("Buttons")
        }
        Row {
            spacing: 8
            Column {
                spacing: 6
                Repeater {
                    model: ["Normal", "Disabled", "Selected"]
                    XText {
                        width: 64
                        height: 34
                        verticalAlignment: Text.AlignVCenter
                        text: qsTrId(modelData)
                        color: XTheme.text_color_secondary
                    }
                }
            }
            Grid {
                columns: 13
                rowSpacing: 6
                columnSpacing: 6
                Repeater {
                    model: 39
                    XButton {
                        readonly property int styleIndex: index % 13
                        readonly property int stateRow: Math.floor(index / 13)
                        width: 110
                        height: 34
                        xbuttonType: styleIndex
                        text: qsTrId(page.styleNames[styleIndex])
                        enabled: stateRow !== 1
                        xselected: stateRow === 2
                    }
                }
            }
        }
        Row {
            spacing: 10
            leftPadding: 72
            XButtonSvg {
                width: 110
                height: 34
                xbuttonType: 1
                iconSource: "qrc:/Controls/icons/plus.svg"
                iconWidth: 18
                iconHeight: 18
                text: qsTrId("Add")
            }
            XButtonSvg {
                width: 40
                height: 34
                xbuttonType: 0
                iconSource: "qrc:/Controls/icons/pencil.svg"
                iconWidth: 20
                iconHeight: 20
                xtip: qsTrId("Edit")
            }
            XButtonSvg {
                width: 40
                height: 34
                xbuttonType: 10
                iconSource: "qrc:/Controls/icons/delete.svg"
                iconWidth: 20
                iconHeight: 20
                xtip: qsTrId("Delete")
            }
            XButtonImage {
                width: 34
                height: 34
                iconSource: "qrc:/Icons/cog.svg"
                iconWidth: 24
                iconHeight: 24
                xtip: qsTrId("AppConfig")
            }
            XButtonImage {
                width: 34
                height: 34
                iconSource: "qrc:/Icons/record.svg"
                iconWidth: 24
                iconHeight: 24
                xselected: true
                xtip: qsTrId("RecordBegin")
            }
            XButtonText {
                width: 90
                height: 34
                text: qsTrId("More")
                xborderWidth: 1
            }
            XButton {
                id: countButton
                width: 110
                height: 34
                xbuttonType: 1
                text: qsTrId("Count")
                onClicked: page.xclicks += 1
            }
            XText {
                height: 34
                verticalAlignment: Text.AlignVCenter
                text: qsTrId("Clicks") + " " + page.xclicks
            }
        }

        Row {
            spacing: 24

            // Inputs, valid and invalid.
            Column {
                width: 420
                spacing: 6
                XHead {
                    width: parent.width
                    xtext: qsTrId("Inputs")
                }
                XInputInt {
                    width: parent.width
                    xname: qsTrId("ChartFifoSize")
                    xpanelNameWidth: 180
                    xrule_rangeType: 3
                    xrule_rangeMin: 0
                    xrule_rangeMax: 10
                    xvalue: 5
                    xtip: qsTrId("ChartFifoSize")
                }
                // Room for the tip an invalid entry shows above itself.
                Item {
                    width: 1
                    height: 24
                }
                XInputInt {
                    width: parent.width
                    xname: qsTrId("ChartUpdateInterval")
                    xpanelNameWidth: 180
                    xrule_rangeType: 3
                    xrule_rangeMin: 0
                    xrule_rangeMax: 10
                    xvalue: 42
                    xtip: qsTrId("ChartUpdateInterval")
                }
                XInputFloat {
                    width: parent.width
                    xname: qsTrId("FixEmi")
                    xpanelNameWidth: 180
                    xformat: 2
                    xrule_rangeType: 3
                    xrule_rangeMin: 0.01
                    xrule_rangeMax: 1
                    xvalue: 0.95
                }
                // Room for the tip an invalid entry shows above itself.
                Item {
                    width: 1
                    height: 24
                }
                XInputFloat {
                    width: parent.width
                    xname: qsTrId("FixReflectTemp")
                    xpanelNameWidth: 180
                    xformat: 1
                    xrule_rangeType: 1
                    xrule_rangeMin: -40
                    xvalue: -100
                }
                XInputFloatSlider {
                    width: parent.width
                    xname: qsTrId("IRImage_Gain")
                    xpanelNameWidth: 180
                    xmin: 0.1
                    xmax: 10
                    xstep: 0.1
                    xformat: 1
                    xvalue: 2.5
                }
                XInputString {
                    width: parent.width
                    xname: qsTrId("MeaName")
                    xpanelNameWidth: 180
                    xvalue: "P1"
                }
                XInputString {
                    width: parent.width
                    xname: qsTrId("SaveDir")
                    xpanelNameWidth: 180
                    xrule_notNull: true
                    xplaceholderText: qsTrId("SelectFolder")
                    xvalue: ""
                }
                XInputBool {
                    width: parent.width
                    xname: qsTrId("FixEnable")
                    xpanelNameWidth: 180
                    xvalue: true
                }
                XInputEnum {
                    width: parent.width
                    xname: qsTrId("IRImage_PaletteType")
                    xpanelNameWidth: 180
                    xoptions: page.paletteOptions
                    xvalue: 2
                }
                XInputEnum {
                    width: parent.width
                    xname: qsTrId("IRImage_CTType")
                    xpanelNameWidth: 180
                    xoptions: page.paletteOptions
                    xvalue: 9
                }
                XInputColor {
                    width: parent.width
                    xname: qsTrId("MeaColor")
                    xpanelNameWidth: 180
                    xvalue: "#F56C6C"
                }
                XInputString {
                    width: parent.width
                    xname: qsTrId("DeviceIp")
                    xpanelNameWidth: 180
                    xreadonly: true
                    xvalue: "192.168.1.11"
                }
            }

            // Plain controls.
            Column {
                width: 520
                spacing: 8
                XHead {
                    width: parent.width
                    xtext: qsTrId("Controls")
                }
                Row {
                    spacing: 16
                    XCheckBox {
                        text: qsTrId("TrackHigh")
                        checked: true
                    }
                    XCheckBox {
                        text: qsTrId("TrackLow")
                        checked: false
                    }
                    XCheckBox {
                        text: qsTrId("Disabled")
                        checked: true
                        enabled: false
                    }
                }
                Row {
                    spacing: 16
                    XSwitch {
                        text: qsTrId("Light")
                        checked: true
                    }
                    XSwitch {
                        text: qsTrId("Buzz")
                        checked: false
                    }
                    XSwitch {
                        text: qsTrId("Alarm")
                        checked: true
                        enabled: false
                    }
                }
                Row {
                    spacing: 12
                    XText {
                        width: 80
                        height: 28
                        verticalAlignment: Text.AlignVCenter
                        text: qsTrId("Slider")
                    }
                    XSlider {
                        width: 200
                        from: 0
                        to: 50
                        value: 20
                        xname: qsTrId("IRImage_Temp2Gray")
                    }
                    XSlider {
                        width: 200
                        from: 0
                        to: 8
                        value: 6
                        xcolor1: XTheme.color_danger
                        xname: qsTrId("IRImage_DDELevel")
                    }
                }
                Row {
                    spacing: 12
                    XText {
                        width: 80
                        height: 28
                        verticalAlignment: Text.AlignVCenter
                        text: qsTrId("Range")
                    }
                    XSliderRange {
                        width: 412
                        from: -20
                        to: 150
                        first.value: 20
                        second.value: 90
                        xname: qsTrId("IRImage_MTTemp0")
                    }
                }
                Row {
                    spacing: 12
                    XComboBox {
                        width: 200
                        height: 32
                        xname: qsTrId("Language")
                        textRole: ""
                        model: ["English", "Chinese", "German"]
                    }
                    XComboBox {
                        width: 200
                        height: 32
                        xname: qsTrId("DeviceCali")
                        enabled: false
                        model: [{ "name": "DeviceWeiJu", "value": 0 }, { "name": "DeviceFixDist", "value": 1 }]
                    }
                }
                Row {
                    spacing: 12
                    XTextBox {
                        width: 200
                        height: 32
                        xname: qsTrId("DeviceIp")
                        text: "192.168.1.100"
                    }
                    XTextBox {
                        width: 200
                        height: 32
                        xname: qsTrId("Search")
                        placeholderText: qsTrId("Search")
                    }
                }
                XSeperator {
                    width: parent.width
                    height: 1
                }
                XTab {
                    width: parent.width
                    height: 40
                    xnames: [qsTrId("Preview"), qsTrId("Config"), qsTrId("Firmware"), qsTrId("Network")]
                    xitemWidth: 110
                    xcurrentIndex: 1
                }
                Grid {
                    columns: 2
                    columnSpacing: 8
                    XHead {
                        width: 256
                        xiconType: 2
                        xiconColor: XTheme.color_info
                        xtext: qsTrId("Information")
                    }
                    XHead {
                        width: 256
                        xiconType: 3
                        xiconColor: XTheme.color_success
                        xtext: qsTrId("Success")
                    }
                    XHead {
                        width: 256
                        xiconType: 4
                        xiconColor: XTheme.color_warning
                        xtext: qsTrId("Warning")
                    }
                    XHead {
                        width: 256
                        xiconType: 5
                        xiconColor: XTheme.color_danger
                        xtext: qsTrId("Fail")
                        xlineVisible: false
                    }
                }
                XText {
                    text: qsTrId("ControlIcons")
                    color: XTheme.text_color_secondary
                }
                Flow {
                    width: parent.width
                    spacing: 6
                    Repeater {
                        model: page.controlIcons
                        XImage {
                            width: 24
                            height: 24
                            source: "qrc:/Controls/icons/" + modelData + ".svg"
                            color: index % 3 === 0 ? XTheme.color_primary : XTheme.text_color_regular
                        }
                    }
                }
                XText {
                    text: qsTrId("ToolIcons")
                    color: XTheme.text_color_secondary
                }
                Flow {
                    width: parent.width
                    spacing: 6
                    Repeater {
                        model: page.toolIcons
                        XImage {
                            width: 24
                            height: 24
                            source: "qrc:/Icons/" + modelData + ".svg"
                            color: XTheme.text_color_regular
                        }
                    }
                }
                Row {
                    spacing: 12
                    XText {
                        height: 32
                        verticalAlignment: Text.AlignVCenter
                        text: qsTrId("MeaColor")
                    }
                    XColorPicker {
                        height: 40
                        xcolor: "#FFFF00"
                    }
                }
                Row {
                    spacing: 12
                    XButtonSvg {
                        width: 130
                        height: 32
                        xbuttonType: 0
                        iconSource: "qrc:/Controls/icons/file-outline.svg"
                        iconWidth: 18
                        iconHeight: 18
                        text: qsTrId("OpenFile")
                        onClicked: fileDialog.open()
                    }
                    XButtonSvg {
                        width: 130
                        height: 32
                        xbuttonType: 0
                        iconSource: "qrc:/Controls/icons/folder-outline.svg"
                        iconWidth: 18
                        iconHeight: 18
                        text: qsTrId("SelectFolder")
                        onClicked: folderDialog.open()
                    }
                    XButton {
                        width: 110
                        height: 32
                        xbuttonType: 7
                        text: qsTrId("OpenPopup")
                        onClicked: popup.open()
                    }
                }
                XText {
                    width: parent.width
                    elide: Text.ElideMiddle
                    text: qsTrId("File") + " " + page.xchosenFile + "  " + qsTrId("Folder") + " " + page.xchosenFolder
                    color: XTheme.text_color_secondary
                }
            }

            // Lists, table, grid and notifications.
            Column {
                width: 580
                spacing: 8
                XHead {
                    width: parent.width
                    xtext: qsTrId("DeviceList")
                }
                XListView {
                    id: deviceList
                    width: parent.width
                    height: 32 + 4 * 32
                    xname: qsTrId("DeviceList")
                    xcolumnWidthArray: [40, 0.4, 0.6, 90]
                    xcolumnNameArray: ["", "DeviceId", "DeviceIp", ""]
                    xselectEnable: true
                    xcurrentRow: 1
                    model: page.devices
                    delegate: XListRow {
                        XListCellSelect {}
                        XListCellText {
                            text: modelData.deviceId
                        }
                        XListCellText {
                            text: modelData.deviceIp
                        }
                        XListCellEdit {
                            xeditNames: ["pencil", "delete"]
                            xeditColors: ["update", "delete"]
                            xeditTips: ["Edit", "Delete"]
                        }
                    }
                }
                XTableView {
                    id: deviceTable
                    width: parent.width
                    height: 32 + 4 * 32
                    xname: qsTrId("MainConfig")
                    xcolumnWidthArray: [40, 0.3, 0.35, 0.35, 60]
                    xcolumnNameArray: ["", "DeviceId", "DeviceIp", "Message", ""]
                    xselectEnable: true
                    xmodelType: 1
                    xcurrentRow: 2
                    model: ListModel {
                        ListElement { deviceId: "IR-0101"; deviceIp: "10.0.0.21"; edit_info: "Success"; edit_select: true }
                        ListElement { deviceId: "IR-0102"; deviceIp: "10.0.0.22"; edit_info: "Fail -1002"; edit_select: true }
                        ListElement { deviceId: "IR-0103"; deviceIp: "10.0.0.23"; edit_info: ""; edit_select: false }
                        ListElement { deviceId: "IR-0104"; deviceIp: "10.0.0.24"; edit_info: "Success"; edit_select: true }
                    }
                    delegate: XListRow {
                        XTableCellSelect {}
                        XTableCellText {
                            text: model.deviceId
                        }
                        XTableCellText {
                            text: model.deviceIp
                        }
                        XTableCellText {
                            text: model.edit_info
                        }
                        XTableCellEdit {
                            xeditNames: ["plus"]
                            xeditColors: ["create"]
                            xeditTips: ["Add"]
                        }
                    }
                }
                XHead {
                    width: parent.width
                    xtext: qsTrId("Grid")
                }
                XGrid {
                    id: grid
                    width: parent.width
                    height: 96
                    rows: 2
                    columns: 3
                    columnWidthArray: [120, 0.4, 0.6]
                    rowHeightArray: [0.5, 0.5]
                    GridCell { xindex: 0 }
                    GridCell { xindex: 1 }
                    GridCell { xindex: 2 }
                    GridCell { xindex: 3 }
                    GridCell { xindex: 4 }
                    GridCell { xindex: 5 }
                }
                XHead {
                    width: parent.width
                    xtext: qsTrId("Notifications")
                }
                // Four notifications held open for the picture; each closes by itself after xduration.
                Item {
                    id: notifyArea
                    width: parent.width
                    height: 4 * 54
                    Repeater {
                        model: ["Success", "Information", "Warning", "Fail"]
                        Item {
                            width: notifyArea.width
                            height: 54
                            y: index * 54
                            XPopupNotify {
                                id: notify
                                x: 0
                                y: 3
                                width: 400
                                height: 50
                                xduration: 3600
                                Component.onCompleted: xopen(index, qsTrId(modelData))
                            }
                        }
                    }
                }
            }
        }
    }

    XPopup {
        id: popup
        xtitle: qsTrId("DeviceChart")
        xinterWidth: 360
        xinterHeight: 120
        x: (page.width - width) / 2
        y: 200
    }

    XFileDialog {
        id: fileDialog
        title: qsTrId("OpenFile")
        nameFilters: ["bin (*.bin)", "cust (*.cust)"]
        onAccepted: page.xchosenFile = xselectedFile
    }

    XFolderDialog {
        id: folderDialog
        title: qsTrId("SelectFolder")
        onAccepted: page.xchosenFolder = xselectedFolder
    }
}
