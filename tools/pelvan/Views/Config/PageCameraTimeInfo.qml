import QtQuick 2.15
import Tavo5 1.0
import Sarvik 1.0

// The time servers the camera synchronises from and its time zone.
ConfigPage {
    id: page
    objectName: "pageCameraTimeInfo"

    info: configer ? configer.timeInfo : null

    XInputString {
        objectName: "ntpServer"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraTimeInfo_ntpServer")
        xmaximumLength: 31
    }

    XInputString {
        objectName: "ntpServer2"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraTimeInfo_ntpServer2")
        xmaximumLength: 31
    }

    XInputString {
        objectName: "timeZone"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraTimeInfo_timeZone")
        xmaximumLength: 31
    }

}
