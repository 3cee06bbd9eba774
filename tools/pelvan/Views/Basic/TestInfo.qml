import QtQuick 2.15
import Tavo5 1.0
import Sarvik 1.0
import ".."

// The test page of the configuration dialog: the camera's GPIO outputs, all five set at once, and its
// shutter. Nothing here is a record, so there is nothing to load or apply.
Column {
    id: root

    readonly property var configer: CApp.deviceManager ? CApp.deviceManager.deviceConfiger : null
    // Each output switch and its flag.
    readonly property var outputs: [
        {item: light, flag: CDeviceConfiger.DeviceGpioOutputFlag_light},
        {item: ledYellow, flag: CDeviceConfiger.DeviceGpioOutputFlag_ledy},
        {item: ledBlue, flag: CDeviceConfiger.DeviceGpioOutputFlag_ledb},
        {item: alarm, flag: CDeviceConfiger.DeviceGpioOutputFlag_alarm},
        {item: buzz, flag: CDeviceConfiger.DeviceGpioOutputFlag_buzz}
    ]

    spacing: 8
    padding: 16

    // Every output is named in the mask, so the switched-off ones are turned off too.
    function gpioMask() {
        var mask = 0
        for (var i = 0; i < outputs.length; ++i)
            mask |= outputs[i].flag
        return mask
    }

    function gpioValue() {
        var value = 0
        for (var i = 0; i < outputs.length; ++i)
            if (outputs[i].item.checked)
                value |= outputs[i].flag
        return value
    }

    function setGpio() {
        var code = configer ? configer.control_setGpioOutput(gpioMask(), gpioValue()) : -7
        App.notifyErrorCode(code, qsTrId("SetGpio") + " ")
        return code
    }

    // value: 0 open, 1 close.
    function setShutter(value) {
        var code = configer ? configer.control_setShutter(value) : -7
        App.notifyErrorCode(code, qsTrId(value === 0 ? "Open" : "Close") + " ")
        return code
    }

    XHead {
        width: 400
        xtext: qsTrId("GpioOutput")
    }

    XSwitch {
        id: light
        objectName: "gpioLight"
        text: qsTrId("Light")
    }

    XSwitch {
        id: ledYellow
        objectName: "gpioLedYellow"
        text: qsTrId("LedYellow")
    }

    XSwitch {
        id: ledBlue
        objectName: "gpioLedBlue"
        text: qsTrId("LedBlue")
    }

    XSwitch {
        id: alarm
        objectName: "gpioAlarm"
        text: qsTrId("Alarm")
    }

    XSwitch {
        id: buzz
        objectName: "gpioBuzz"
        text: qsTrId("Buzz")
    }

    XButton {
        objectName: "setGpioButton"
        width: 140
        text: qsTrId("SetGpio")
        xbuttonType: 1
        onClicked: root.setGpio()
    }

    XHead {
        width: 400
        xtext: qsTrId("Shutter")
    }

    Row {
        spacing: 8

        XButton {
            objectName: "shutterOpenButton"
            text: qsTrId("Open")
            xtip: qsTrId("Shutter")
            onClicked: root.setShutter(0)
        }

        XButton {
            objectName: "shutterCloseButton"
            text: qsTrId("Close")
            xtip: qsTrId("Shutter")
            onClicked: root.setShutter(1)
        }
    }
}
