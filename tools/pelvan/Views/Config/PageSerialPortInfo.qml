import QtQuick 2.15
import Tavo5 1.0
import Sarvik 1.0

// The camera's serial port.
ConfigPage {
    id: page
    objectName: "pageSerialPortInfo"

    info: configer ? configer.serialPortInfo : null

    XInputEnum {
        objectName: "usage"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("SerialPortInfo_usage")
        xoptions: CApp.commonManager.sp_usageList
    }

    XInputInt {
        objectName: "portAddr"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("SerialPortInfo_portAddr")
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 255
    }

    XInputEnum {
        objectName: "baudRate"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("SerialPortInfo_baudRate")
        xoptions: CApp.commonManager.sp_baudRateList
    }

    XInputEnum {
        objectName: "dataBits"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("SerialPortInfo_dataBits")
        xoptions: CApp.commonManager.sp_dataBitsList
    }

    XInputEnum {
        objectName: "stopBits"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("SerialPortInfo_stopBits")
        xoptions: CApp.commonManager.sp_stopBitsList
    }

    XInputEnum {
        objectName: "parity"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("SerialPortInfo_parity")
        xoptions: CApp.commonManager.sp_parityList
    }

}
