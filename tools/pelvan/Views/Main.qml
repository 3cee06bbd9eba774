import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0
import Sarvik 1.0

// The main window: a top bar with the page tabs, the manual and the settings; the page below it; the
// notice and confirmation pop-ups every view reports through.
ApplicationWindow {
    id: main

    readonly property var deviceManager: CApp.deviceManager
    readonly property var device: deviceManager ? deviceManager.device : null

    width: 1200
    height: 800
    visible: true
    title: CApp.appName + " v" + CApp.appVersion
    color: XTheme.background_color

    // type: 0 success, 1 info, 2 warning, 3 danger.
    function notifyError(type, msg) {
        notify.xopen(type, msg)
    }

    // Success or failure of a call; a failure also shows the code the call returned.
    function notifyErrorCode(code, act) {
        notify.xopenErrorCode(code, act)
        if (typeof code === "number" && code < 0)
            notify.xnotifyInfo = notify.xnotifyInfo + " (" + code + ")"
    }

    // Asks before doing something that cannot be undone; OK runs callback.
    function confirmOp(title, msg, callback) {
        confirm.xtitle = title
        confirm.message = msg
        confirm.callback = callback
        confirm.open()
    }

    Rectangle {
        id: topBar
        objectName: "topBar"
        width: parent.width
        height: 50
        color: XTheme.fill_color_1

        XTab {
            id: pageTab
            objectName: "pageTab"
            anchors.left: parent.left
            anchors.bottom: parent.bottom
            height: 50
            xitemWidth: 120
            xnames: [qsTrId("Preview"), qsTrId("Config")]
        }

        // The camera tools for the camera selected on the page shown.
        Row {
            anchors.left: pageTab.right
            anchors.leftMargin: 24
            anchors.verticalCenter: parent.verticalCenter
            spacing: 8

            XButton {
                objectName: "deviceConfigButton"
                width: 130
                text: qsTrId("DeviceConfig")
                onClicked: main.openDeviceConfig()
            }

            XButton {
                objectName: "deviceCustButton"
                width: 130
                text: qsTrId("DeviceCust")
                onClicked: main.openEditor("custEditor", "DeviceCust")
            }

            XButton {
                id: caliButton
                objectName: "deviceCaliButton"
                width: 130
                text: qsTrId("DeviceCali")
                onClicked: caliMenu.opened ? caliMenu.close() : caliMenu.open()

                Popup {
                    id: caliMenu
                    objectName: "caliMenu"
                    y: caliButton.height + 2
                    padding: 4

                    background: Rectangle {
                        color: XTheme.background_color_base
                        border.color: XTheme.border_color_base
                        radius: 2
                        Accessible.ignored: true
                    }

                    contentItem: Column {
                        spacing: 4

                        XButton {
                            objectName: "deviceWeiJuButton"
                            width: 200
                            text: qsTrId("DeviceWeiJu")
                            onClicked: {
                                caliMenu.close()
                                main.openEditor("weijuEditor", "DeviceWeiJu")
                            }
                        }

                        XButton {
                            objectName: "deviceFixDistButton"
                            width: 200
                            text: qsTrId("DeviceFixDist")
                            onClicked: {
                                caliMenu.close()
                                main.openEditor("fixdistEditor", "DeviceFixDist")
                            }
                        }
                    }
                }
            }
        }

        Row {
            anchors.right: parent.right
            anchors.rightMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            spacing: 8

            XButtonSvg {
                objectName: "manualButton"
                width: 40
                iconSource: "qrc:/Icons/information.svg"
                iconWidth: 24
                iconHeight: 24
                xtip: qsTrId("Manual")
                onClicked: {
                    if (CApp.openManual() < 0)
                        main.notifyError(2, qsTrId("ManualMissing"))
                }
            }

            XButtonSvg {
                objectName: "appConfigButton"
                width: 40
                iconSource: "qrc:/Icons/cog.svg"
                iconWidth: 24
                iconHeight: 24
                xtip: qsTrId("AppConfig")
                onClicked: App.openView("Basic/AppConfig")
            }
        }
    }

    // The camera selected on the page shown: the preview's list, or the batch table's highlighted row.
    function currentNode() {
        if (pageTab.xcurrentIndex === 0)
            return preview.selectedNode
        var page = configPage.item
        return page && page.currentNode ? page.currentNode : null
    }

    // The configuration dialog opens only on a camera the configurator could log in to.
    function openDeviceConfig() {
        var node = currentNode()
        if (node === null) {
            notifyError(1, qsTrId("NoDevice"))
            return -1
        }
        var code = deviceManager.deviceConfiger.startWork(node)
        if (code < 0) {
            notifyErrorCode(code, qsTrId("DeviceConfig") + " ")
            return code
        }
        // Without its dialog nothing would end the session.
        if (App.openView("DeviceConfig") === null) {
            deviceManager.deviceConfiger.stopWork()
            return -1
        }
        return code
    }

    // editor: the device manager's editor property; view: the editor's view, opened once the editor has
    // read the selected camera's table.
    function openEditor(editor, view) {
        var node = currentNode()
        if (node === null) {
            notifyError(1, qsTrId("NoDevice"))
            return -1
        }
        var code = deviceManager[editor].init(node.deviceIp)
        if (code < 0) {
            notifyErrorCode(code, qsTrId(view) + " ")
            return code
        }
        App.openView(view)
        return code
    }

    MainPreview {
        id: preview
        objectName: "mainPreview"
        anchors.top: topBar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        visible: pageTab.xcurrentIndex === 0
        deviceManager: main.deviceManager
    }

    Loader {
        id: configPage
        objectName: "mainConfig"
        anchors.top: topBar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        visible: pageTab.xcurrentIndex === 1
        source: "MainConfig.qml"
        onLoaded: item.deviceManager = main.deviceManager
    }

    // A start that failed on the worker (login or preview) comes back here.
    Connections {
        target: main.device
        function onStartFailed(errorCode) {
            main.notifyErrorCode(errorCode, qsTrId("Play") + " ")
        }
    }

    XPopupNotify {
        id: notify
        objectName: "notify"
        parent: Overlay.overlay
        width: 400
        height: 50
        x: Math.round((main.width - width) / 2)
        y: Math.round((main.height - height) / 2)
    }

    XPopup {
        id: confirm
        objectName: "confirm"
        parent: Overlay.overlay

        property string message: ""
        property var callback: null

        xinterWidth: 400
        xinterHeight: 80
        onClicked: function (ok) {
            var fn = callback
            callback = null
            if (ok && typeof fn === "function")
                fn()
        }

        xcontentLoader.sourceComponent: Text {
            leftPadding: 16
            rightPadding: 16
            verticalAlignment: Text.AlignVCenter
            wrapMode: Text.Wrap
            text: confirm.message
            color: XTheme.text_color_regular
            font.pixelSize: XTheme.font_size_medium
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
    }

    Component.onCompleted: {
        App.main = main
        // The start-up cameras, then a search unless the program was told to skip it.
        if (deviceManager)
            deviceManager.node_startup()
    }
}
