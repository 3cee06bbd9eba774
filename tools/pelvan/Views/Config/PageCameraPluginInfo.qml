import QtQuick 2.15
import Tavo5 1.0
import Sarvik 1.0

// The camera's protocol plug-ins and their login.
ConfigPage {
    id: page
    objectName: "pageCameraPluginInfo"

    info: configer ? configer.pluginInfo : null

    // Passwords are masked until the user asks to see them.
    property bool showPassword: false

    XInputInt {
        objectName: "version"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraPluginInfo_version")
        xreadonly: true
    }

    XInputInt {
        objectName: "onvif_version"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraPluginInfo_onvif_version")
        xreadonly: true
    }

    XInputInt {
        objectName: "gb28181_version"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraPluginInfo_gb28181_version")
        xreadonly: true
    }

    XInputInt {
        objectName: "modbus_version"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraPluginInfo_modbus_version")
        xreadonly: true
    }

    XInputString {
        objectName: "username"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraPluginInfo_username")
        xmaximumLength: 15
    }

    XInputString {
        objectName: "password"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraPluginInfo_password")
        xmaximumLength: 15
        xeditor.echoMode: page.showPassword ? TextInput.Normal : TextInput.Password
    }
    XSwitch {
        objectName: "showPassword"
        text: qsTrId("ShowPassword")
        checked: page.showPassword
        onToggled: page.showPassword = checked
    }

    XInputBool {
        objectName: "onvif_enable"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraPluginInfo_onvif_enable")
    }

    XInputBool {
        objectName: "gb28181_enable"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraPluginInfo_gb28181_enable")
    }

    XInputBool {
        objectName: "h5_enable"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraPluginInfo_h5_enable")
    }

    XInputEnum {
        objectName: "modbus_enable"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraPluginInfo_modbus_enable")
        xoptions: CApp.commonManager.modbus_modeList
    }

    XInputEnum {
        objectName: "svdatavm_enable"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraPluginInfo_svdatavm_enable")
        xoptions: CApp.commonManager.svdatavm_modeList
    }

}
