import QtQuick 2.15
import Tavo5 1.0
import Sarvik 1.0

// The camera's noise filter.
ConfigPage {
    id: page
    objectName: "pageDenoiseInfo"

    info: configer ? configer.denoiseInfo : null

    XInputEnum {
        objectName: "type"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("DenoiseInfo_type")
        xoptions: CApp.commonManager.denoiseTypeList
    }

    XInputInt {
        objectName: "gf_radius"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("DenoiseInfo_gf_radius")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 65535
    }

    XInputInt {
        objectName: "gf_regular"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("DenoiseInfo_gf_regular")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 65535
    }

}
