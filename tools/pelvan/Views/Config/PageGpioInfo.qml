import QtQuick 2.15
import Tavo5 1.0
import Sarvik 1.0

// The mode of each GPIO line.
ConfigPage {
    id: page
    objectName: "pageGpioInfo"

    info: configer ? configer.gpioInfo : null

    XInputEnum {
        objectName: "input0"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("GpioInfo_input0")
        xoptions: CApp.commonManager.gpio_inputTypeList
    }

    XInputEnum {
        objectName: "input1"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("GpioInfo_input1")
        xoptions: CApp.commonManager.gpio_inputTypeList
    }

    XInputEnum {
        objectName: "output0"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("GpioInfo_output0")
        xoptions: CApp.commonManager.gpio_outputTypeList
    }

    XInputEnum {
        objectName: "output1"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("GpioInfo_output1")
        xoptions: CApp.commonManager.gpio_outputTypeList
    }

}
