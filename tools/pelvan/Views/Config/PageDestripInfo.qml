import QtQuick 2.15
import Tavo5 1.0
import Sarvik 1.0

// The camera's stripe filter.
ConfigPage {
    id: page
    objectName: "pageDestripInfo"

    info: configer ? configer.destripInfo : null

    XInputEnum {
        objectName: "type"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("DestripInfo_type")
        xoptions: CApp.commonManager.destripTypeList
    }

    XInputInt {
        objectName: "s0_radius"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("DestripInfo_s0_radius")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 65535
    }

    XInputInt {
        objectName: "s0_regular"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("DestripInfo_s0_regular")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 65535
    }

    XInputInt {
        objectName: "s1_radius"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("DestripInfo_s1_radius")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 65535
    }

    XInputInt {
        objectName: "s1_regular"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("DestripInfo_s1_regular")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 65535
    }

    XInputInt {
        objectName: "sub_y"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("DestripInfo_sub_y")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 255
    }

    XInputInt {
        objectName: "sub_t"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("DestripInfo_sub_t")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 255
    }

}
