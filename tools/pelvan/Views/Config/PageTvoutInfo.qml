import QtQuick 2.15
import Tavo5 1.0
import Sarvik 1.0

// The camera's own video output and on-camera rendering.
ConfigPage {
    id: page
    objectName: "pageTvoutInfo"

    info: configer ? configer.tvoutInfo : null

    XInputBool {
        objectName: "enableTvout"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("TvoutInfo_enableTvout")
    }

    XInputEnum {
        objectName: "zoom"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("TvoutInfo_zoom")
        xoptions: CApp.commonManager.zoomList
    }

    XInputEnum {
        objectName: "paletteType"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("TvoutInfo_paletteType")
        xoptions: CApp.commonManager.paletteList
    }

    XInputEnum {
        objectName: "strechType"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("TvoutInfo_strechType")
        xoptions: CApp.commonManager.strechList
    }

    XInputFloat {
        objectName: "gain"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("TvoutInfo_gain")
        xformat: 1
        xrule_rangeType: 3
        xrule_rangeMin: 0.1
        xrule_rangeMax: 10
    }

    XInputInt {
        objectName: "temp2gray"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("TvoutInfo_temp2gray")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 255
    }

    XInputInt {
        objectName: "ddeLevel"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("TvoutInfo_ddeLevel")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 255
    }

    XInputInt {
        objectName: "xuiDisplayFlags"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("TvoutInfo_xuiDisplayFlags")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 65535
    }

    XInputBool {
        objectName: "man_enable"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("TvoutInfo_man_enable")
    }

    XInputFloat {
        objectName: "man_temp0"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("TvoutInfo_man_temp0")
        xformat: 1
        xrule_rangeType: 3
        xrule_rangeMin: -3276.8
        xrule_rangeMax: 3276.7
    }

    XInputFloat {
        objectName: "man_temp1"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("TvoutInfo_man_temp1")
        xformat: 1
        xrule_rangeType: 3
        xrule_rangeMin: -3276.8
        xrule_rangeMax: 3276.7
    }

    XInputEnum {
        objectName: "ct_type"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("TvoutInfo_ct_type")
        xoptions: CApp.commonManager.colorTempList
    }

    XInputFloat {
        objectName: "ct_temp0"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("TvoutInfo_ct_temp0")
        xformat: 1
        xrule_rangeType: 3
        xrule_rangeMin: -3276.8
        xrule_rangeMax: 3276.7
    }

    XInputFloat {
        objectName: "ct_temp1"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("TvoutInfo_ct_temp1")
        xformat: 1
        xrule_rangeType: 3
        xrule_rangeMin: -3276.8
        xrule_rangeMax: 3276.7
    }

    XInputColor {
        objectName: "ct_color0"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("TvoutInfo_ct_color0")
    }

    XInputColor {
        objectName: "ct_color1"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("TvoutInfo_ct_color1")
    }

    XInputInt {
        objectName: "h264_bitrate"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("TvoutInfo_h264_bitrate")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 2147483647
    }

    XInputInt {
        objectName: "h264_gopSize"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("TvoutInfo_h264_gopSize")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 65535
    }

}
