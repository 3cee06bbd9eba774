import QtQuick 2.15
import Tavo5 1.0
import Sarvik 1.0
import ".."

// The image settings of the device: palette, stretch, gain, manual range and colour marking. Every change
// copies the panel into the device's image configuration and sends it to the camera.
Column {
    id: root

    property var device: null
    readonly property var config: device ? device.imageConfig : null
    readonly property var common: CApp.commonManager
    readonly property int nameWidth: 140
    // Set while the fields are loaded, so loading does not send anything back; nothing is sent before the
    // first load either.
    property bool _loading: true

    spacing: 4

    function load() {
        _loading = true
        if (!config)
            return
        palette.init(config.paletteType)
        strech.init(config.strechType)
        gain.init(config.gain)
        temp2gray.init(config.temp2gray)
        ddeLevel.init(config.ddeLevel)
        manEnable.init(config.man_enable)
        manTemp0.init(config.man_temp0)
        manTemp1.init(config.man_temp1)
        ctType.init(config.ct_type)
        ctTemp0.init(config.ct_temp0)
        ctTemp1.init(config.ct_temp1)
        ctColor0.init(config.ct_color0)
        ctColor1.init(config.ct_color1)
        _loading = false
    }

    function apply() {
        if (_loading || !config)
            return
        config.paletteType = palette.xvalue
        config.strechType = strech.xvalue
        config.gain = gain.xvalue
        config.temp2gray = temp2gray.xvalue
        config.ddeLevel = ddeLevel.xvalue
        config.man_enable = manEnable.xvalue
        config.man_temp0 = manTemp0.xvalue
        config.man_temp1 = manTemp1.xvalue
        config.ct_type = ctType.xvalue
        config.ct_temp0 = ctTemp0.xvalue
        config.ct_temp1 = ctTemp1.xvalue
        config.ct_color0 = ctColor0.xvalue
        config.ct_color1 = ctColor1.xvalue
        // The palette scale beside the image follows the same settings.
        var data = device.canvas ? device.canvas.paletteData : null
        if (data) {
            data.paletteType = palette.xvalue
            data.updateMan(manEnable.xvalue, manTemp0.xvalue, manTemp1.xvalue)
        }
        var code = device.setImageConfig()
        if (code < 0)
            App.notifyErrorCode(code, qsTrId("ImageConfig") + " ")
    }

    onConfigChanged: load()
    Component.onCompleted: load()

    XInputEnum {
        id: palette
        width: parent.width
        xpanelNameWidth: root.nameWidth
        xname: qsTrId("IRImage_PaletteType")
        xoptions: root.common.paletteList
        onXvalueChanged: root.apply()
    }
    XInputEnum {
        id: strech
        width: parent.width
        xpanelNameWidth: root.nameWidth
        xname: qsTrId("IRImage_StrechType")
        xoptions: root.common.strechList
        onXvalueChanged: root.apply()
    }
    XInputFloatSlider {
        id: gain
        width: parent.width
        xpanelNameWidth: root.nameWidth
        xname: qsTrId("IRImage_Gain")
        xmin: 0.1
        xmax: 10
        xstep: 0.1
        xformat: 1
        onXvalueChanged: root.apply()
    }
    XInputFloatSlider {
        id: temp2gray
        width: parent.width
        xpanelNameWidth: root.nameWidth
        xname: qsTrId("IRImage_Temp2Gray")
        xmin: 0
        xmax: 50
        xstep: 1
        xformat: 0
        onXvalueChanged: root.apply()
    }
    XInputFloatSlider {
        id: ddeLevel
        width: parent.width
        xpanelNameWidth: root.nameWidth
        xname: qsTrId("IRImage_DDELevel")
        xmin: 0
        xmax: 8
        xstep: 1
        xformat: 0
        onXvalueChanged: root.apply()
    }
    XInputBool {
        id: manEnable
        width: parent.width
        xpanelNameWidth: root.nameWidth
        xname: qsTrId("IRImage_MTEnable")
        onXvalueChanged: root.apply()
    }
    XInputFloat {
        id: manTemp0
        width: parent.width
        xpanelNameWidth: root.nameWidth
        xname: qsTrId("IRImage_MTTemp0")
        onXvalueChanged: root.apply()
    }
    XInputFloat {
        id: manTemp1
        width: parent.width
        xpanelNameWidth: root.nameWidth
        xname: qsTrId("IRImage_MTTemp1")
        onXvalueChanged: root.apply()
    }
    XInputEnum {
        id: ctType
        width: parent.width
        xpanelNameWidth: root.nameWidth
        xname: qsTrId("IRImage_CTType")
        xoptions: root.common.colorTempList
        onXvalueChanged: root.apply()
    }
    XInputFloat {
        id: ctTemp0
        width: parent.width
        xpanelNameWidth: root.nameWidth
        xname: qsTrId("IRImage_CTTemp0")
        onXvalueChanged: root.apply()
    }
    XInputFloat {
        id: ctTemp1
        width: parent.width
        xpanelNameWidth: root.nameWidth
        xname: qsTrId("IRImage_CTTemp1")
        onXvalueChanged: root.apply()
    }
    XInputColor {
        id: ctColor0
        width: parent.width
        xpanelNameWidth: root.nameWidth
        xname: qsTrId("IRImage_CTColor0")
        onXvalueChanged: root.apply()
    }
    XInputColor {
        id: ctColor1
        width: parent.width
        xpanelNameWidth: root.nameWidth
        xname: qsTrId("IRImage_CTColor1")
        onXvalueChanged: root.apply()
    }
}
