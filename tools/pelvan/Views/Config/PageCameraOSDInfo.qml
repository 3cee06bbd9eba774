import QtQuick 2.15
import Tavo5 1.0
import Sarvik 1.0

// The texts the camera draws over its video: location and time.
ConfigPage {
    id: page
    objectName: "pageCameraOSDInfo"

    info: configer ? configer.osdInfo : null

    XInputBool {
        objectName: "loc_enable"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraOSDInfo_loc_enable")
    }

    XInputString {
        objectName: "loc_name"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraOSDInfo_loc_name")
        xmaximumLength: 127
    }

    XInputInt {
        objectName: "loc_x"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraOSDInfo_loc_x")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 65535
    }

    XInputInt {
        objectName: "loc_y"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraOSDInfo_loc_y")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 65535
    }

    XInputBool {
        objectName: "time_enable"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraOSDInfo_time_enable")
    }

    XInputInt {
        objectName: "time_x"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraOSDInfo_time_x")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 65535
    }

    XInputInt {
        objectName: "time_y"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraOSDInfo_time_y")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 65535
    }

    XInputColor {
        objectName: "color"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraOSDInfo_color")
    }

}
