import QtQuick 2.15
import Tavo5 1.0
import Sarvik 1.0

// When and how the camera runs its shutter (flat-field) correction.
ConfigPage {
    id: page
    objectName: "pageFFCInfo"

    info: configer ? configer.ffcInfo : null

    XInputInt {
        objectName: "frames_skipped_after_close"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("FFCInfo_frames_skipped_after_close")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 255
    }

    XInputInt {
        objectName: "frames_accumlated_when_closed"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("FFCInfo_frames_accumlated_when_closed")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 255
    }

    XInputInt {
        objectName: "frames_skipped_after_open"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("FFCInfo_frames_skipped_after_open")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 255
    }

    XInputBool {
        objectName: "nst_enable"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("FFCInfo_nst_enable")
    }

    XInputInt {
        objectName: "time_interval"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("FFCInfo_time_interval")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 65535
    }

    XInputInt {
        objectName: "temp_interval"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("FFCInfo_temp_interval")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 65535
    }

    XInputInt {
        objectName: "af_rebound"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("FFCInfo_af_rebound")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 255
    }

    XInputInt {
        objectName: "fpa_shutter"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("FFCInfo_fpa_shutter")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 255
    }

    XInputInt {
        objectName: "time_interval_sec"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("FFCInfo_time_interval_sec")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 65535
    }

}
