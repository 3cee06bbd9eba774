import QtQuick 2.15
import Tavo5 1.0
import Sarvik 1.0

// The camera's GB/T 28181 registration.
ConfigPage {
    id: page
    objectName: "pageGB28181Info"

    info: configer ? configer.gb28181Info : null

    // Passwords are masked until the user asks to see them.
    property bool showPassword: false

    XInputInt {
        objectName: "headVersion"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("GB28181Info_headVersion")
        xreadonly: true
    }

    XInputBool {
        objectName: "headEnable"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("GB28181Info_headEnable")
    }

    XInputString {
        objectName: "serverId"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("GB28181Info_serverId")
        xmaximumLength: 31
    }

    XInputString {
        objectName: "serverIp"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("GB28181Info_serverIp")
        xmaximumLength: 31
    }

    XInputInt {
        objectName: "serverPort"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("GB28181Info_serverPort")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 65535
    }

    XInputString {
        objectName: "deviceId"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("GB28181Info_deviceId")
        xmaximumLength: 31
    }

    XInputInt {
        objectName: "devicePort"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("GB28181Info_devicePort")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 65535
    }

    XInputInt {
        objectName: "devicePortRtp"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("GB28181Info_devicePortRtp")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 65535
    }

    XInputString {
        objectName: "streamId"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("GB28181Info_streamId")
        xmaximumLength: 31
    }

    XInputString {
        objectName: "username"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("GB28181Info_username")
        xmaximumLength: 31
    }

    XInputString {
        objectName: "password"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("GB28181Info_password")
        xmaximumLength: 31
        xeditor.echoMode: page.showPassword ? TextInput.Normal : TextInput.Password
    }
    XSwitch {
        objectName: "showPassword"
        text: qsTrId("ShowPassword")
        checked: page.showPassword
        onToggled: page.showPassword = checked
    }

    XInputInt {
        objectName: "keepAliveInterval"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("GB28181Info_keepAliveInterval")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 2147483647
    }

}
