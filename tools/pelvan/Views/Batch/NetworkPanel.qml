import QtQuick 2.15
import Tavo5 1.0

// The quick network form: address settings written straight into a CCameraNetworkInfo. MAC and MTU are
// not offered; the camera gets them as the object holds them.
Column {
    id: root

    property var info: null
    property int nameWidth: 110

    spacing: 4

    // Dotted IPv4 only: a camera given a malformed address is lost to the network.
    readonly property var ipValidator: RegularExpressionValidator {
        regularExpression: /^((25[0-5]|2[0-4]\d|1\d\d|[1-9]?\d)\.){3}(25[0-5]|2[0-4]\d|1\d\d|[1-9]?\d)$/
    }

    XInputBool {
        objectName: "useStaticIpInput"
        width: root.width
        xpanelNameWidth: root.nameWidth
        xname: qsTrId("CameraNetworkInfo_useStaticIp")
        xvalue: root.info ? root.info.useStaticIp : false
        onXvalueChanged: if (root.info) root.info.useStaticIp = xvalue
    }

    Repeater {
        model: [
            { field: "staticIp", name: qsTrId("CameraNetworkInfo_staticIp") },
            { field: "subnetMask", name: qsTrId("CameraNetworkInfo_subnetMask") },
            { field: "gateway", name: qsTrId("CameraNetworkInfo_gateway") },
            { field: "dns", name: qsTrId("CameraNetworkInfo_dns") },
            { field: "dns2", name: qsTrId("CameraNetworkInfo_dns2") }
        ]

        XInputString {
            readonly property string field: modelData.field
            objectName: field + "Input"
            width: root.width
            xpanelNameWidth: root.nameWidth
            xname: modelData.name
            // One node for assistive technology: the text field itself, which carries the same name.
            Accessible.ignored: true
            xrule_notNull: true
            xvalidator: root.ipValidator
            xvalue: root.info ? root.info[field] : ""
            onXvalueChanged: if (root.info && root.info[field] !== xvalue) root.info[field] = xvalue
        }
    }
}
