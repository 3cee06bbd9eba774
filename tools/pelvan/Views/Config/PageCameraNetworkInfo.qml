import QtQuick 2.15
import Tavo5 1.0
import Sarvik 1.0

// The camera's own address settings; they take effect when the camera restarts.
ConfigPage {
    id: page
    objectName: "pageCameraNetworkInfo"

    info: configer ? configer.networkInfo : null

    XInputBool {
        objectName: "useStaticIp"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraNetworkInfo_useStaticIp")
    }

    XInputString {
        objectName: "staticIp"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraNetworkInfo_staticIp")
        xmaximumLength: 15
        xvalidator: RegularExpressionValidator { regularExpression: /^((25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])\.){3}(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])$/ }
    }

    XInputString {
        objectName: "subnetMask"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraNetworkInfo_subnetMask")
        xmaximumLength: 15
        xvalidator: RegularExpressionValidator { regularExpression: /^((25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])\.){3}(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])$/ }
    }

    XInputString {
        objectName: "gateway"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraNetworkInfo_gateway")
        xmaximumLength: 15
        xvalidator: RegularExpressionValidator { regularExpression: /^((25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])\.){3}(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])$/ }
    }

    XInputString {
        objectName: "dns"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraNetworkInfo_dns")
        xmaximumLength: 15
        xvalidator: RegularExpressionValidator { regularExpression: /^((25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])\.){3}(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])$/ }
    }

    XInputString {
        objectName: "dns2"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraNetworkInfo_dns2")
        xmaximumLength: 15
        xvalidator: RegularExpressionValidator { regularExpression: /^((25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])\.){3}(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])$/ }
    }

    XInputString {
        objectName: "macAddr"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraNetworkInfo_macAddr")
        xmaximumLength: 17
        xvalidator: RegularExpressionValidator { regularExpression: /^([0-9A-Fa-f]{2}[:-]){5}[0-9A-Fa-f]{2}$/ }
    }

    XInputInt {
        objectName: "mtu"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraNetworkInfo_mtu")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 65535
    }

}
