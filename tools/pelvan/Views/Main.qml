import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0
import Sarvik 1.0
import "Basic" as Basic

// The main window: a top bar with the manual and the settings, the pages below it.
ApplicationWindow {
    id: main

    width: 1200
    height: 800
    visible: true
    title: CApp.appName + " v" + CApp.appVersion
    color: XTheme.background_color

    // type: 0 success, 1 info, 2 warning, 3 danger.
    function notifyError(type, msg) {
        notify.xopen(type, msg)
    }

    function openAppConfig() {
        appConfig.xopen()
    }

    Rectangle {
        id: topBar
        objectName: "topBar"
        width: parent.width
        height: 50
        color: XTheme.fill_color_1

        Text {
            anchors.left: parent.left
            anchors.leftMargin: 16
            anchors.verticalCenter: parent.verticalCenter
            text: main.title
            color: XTheme.text_color_primary
            font.pixelSize: XTheme.font_size_large
            font.bold: true
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }

        Row {
            anchors.right: parent.right
            anchors.rightMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            spacing: 8

            XButton {
                objectName: "manualButton"
                width: 40
                iconSource: "qrc:/Icons/information.svg"
                iconWidth: 24
                iconHeight: 24
                xiconTinted: true
                xtip: qsTrId("Manual")
                onClicked: {
                    if (CApp.openManual() < 0)
                        main.notifyError(2, qsTrId("ManualMissing"))
                }
            }

            XButton {
                objectName: "appConfigButton"
                width: 40
                iconSource: "qrc:/Icons/cog.svg"
                iconWidth: 24
                iconHeight: 24
                xiconTinted: true
                xtip: qsTrId("AppConfig")
                onClicked: main.openAppConfig()
            }
        }
    }

    // The settings in force, until the camera pages fill this area.
    Column {
        id: summary
        objectName: "configSummary"
        readonly property var config: CApp.configManager.config
        x: 24
        y: topBar.height + 24
        width: Math.min(640, parent.width - 48)
        spacing: 8

        XHead {
            width: parent.width
            height: 32
            xtext: qsTrId("AppConfig")
        }

        XInputEnum {
            width: parent.width
            xpanelNameWidth: 200
            xname: qsTrId("Language")
            xreadonly: true
            xoptions: CApp.commonManager.languageList
            xvalue: summary.config.language
        }

        XInputString {
            width: parent.width
            xpanelNameWidth: 200
            xname: qsTrId("SaveDir")
            xreadonly: true
            xvalue: summary.config.saveDir
        }

        XInputEnum {
            width: parent.width
            xpanelNameWidth: 200
            xname: qsTrId("TransType")
            xreadonly: true
            xoptions: CApp.commonManager.transTypeList
            xvalue: summary.config.transType
        }

        XInputInt {
            width: parent.width
            xpanelNameWidth: 200
            xname: qsTrId("ChartUpdateInterval")
            xreadonly: true
            xvalue: summary.config.chartUpdateInterval
        }

        XInputInt {
            width: parent.width
            xpanelNameWidth: 200
            xname: qsTrId("ChartFifoSize")
            xreadonly: true
            xvalue: summary.config.chartFifoSize
        }

        XButton {
            objectName: "editConfigButton"
            text: qsTrId("Edit")
            xbuttonType: 1
            onClicked: main.openAppConfig()
        }
    }

    Basic.AppConfig {
        id: appConfig
        objectName: "appConfig"
        parent: Overlay.overlay
        onSaved: function (code, languageChanged) {
            if (code < 0)
                notify.xopenErrorCode(code, qsTrId("Save") + " ")
            else if (languageChanged)
                main.notifyError(1, qsTrId("LanguageNextStart"))
            else
                notify.xopenErrorCode(code, qsTrId("Save") + " ")
        }
    }

    XPopupNotify {
        id: notify
        objectName: "notify"
        width: 400
        height: 50
        x: Math.round((main.width - width) / 2)
        y: Math.round((main.height - height) / 2)
    }
}
