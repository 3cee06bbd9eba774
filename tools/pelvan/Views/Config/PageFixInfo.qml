import QtQuick 2.15
import Tavo5 1.0
import Sarvik 1.0
import ".."

// The correction parameters the camera applies to temperatures.
ConfigPage {
    id: page
    objectName: "pageFixInfo"

    info: configer ? configer.fixInfo : null

    XInputBool {
        objectName: "enableAtmFix"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("FixInfo_enableAtmFix")
    }

    XInputFloat {
        objectName: "atmosphericTemperature"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("FixInfo_atmosphericTemperature")
        xformat: 1
    }

    XInputFloat {
        objectName: "relativeHumidity"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("FixInfo_relativeHumidity")
        xformat: 1
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 100
    }

    XInputFloat {
        objectName: "visibility"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("FixInfo_visibility")
        xformat: 1
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 1e+06
    }

    XInputFloat {
        objectName: "rainfallIntensity"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("FixInfo_rainfallIntensity")
        xformat: 1
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 1e+06
    }

    XInputFloat {
        objectName: "snowfallIntensity"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("FixInfo_snowfallIntensity")
        xformat: 1
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 1e+06
    }

    XInputFloat {
        objectName: "targetDistance"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("FixInfo_targetDistance")
        xformat: 1
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 1e+06
    }

    XInputFloat {
        objectName: "globalEmissivity"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("FixInfo_globalEmissivity")
        xformat: 2
        xrule_rangeType: 3
        xrule_rangeMin: 0.01
        xrule_rangeMax: 1
    }

    XInputFloat {
        objectName: "infraredWindowTrans"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("FixInfo_infraredWindowTrans")
        xformat: 3
        xrule_rangeType: 3
        xrule_rangeMin: 0
        xrule_rangeMax: 1
    }

    XInputFloat {
        objectName: "tempOffset"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("FixInfo_tempOffset")
        xformat: 1
    }

    XInputFloat {
        objectName: "infraredWindowTempOffset"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("FixInfo_infraredWindowTempOffset")
        xformat: 1
    }


    // The window transmittance from one blackbody read directly (t1) and through the window (t2) at the
    // ambient temperature; the user enters the result as the window transmittance above.
    property string transResult: ""

    function calcTrans() {
        var t1 = calcT1.xvalue, t2 = calcT2.xvalue, env = calcEnv.xvalue
        if (!(t1 >= t2)) {
            transResult = ""
            App.notifyError(2, qsTrId("CalcTransRule"))
            return false
        }
        var t = configer ? configer.calcTrans(t1, t2, env) : NaN
        // Equal radiance of t1 and the ambient has no finite quotient: no number to offer.
        if (!isFinite(t)) {
            transResult = ""
            App.notifyError(2, qsTrId("CalcTransNoResult"))
            return false
        }
        transResult = Number(t).toFixed(3)
        return true
    }

    XHead {
        width: parent.width
        xtext: qsTrId("CalcTrans")
    }

    // The three readings side by side, so the whole calculator fits under the fields.
    Row {
        width: parent.width
        spacing: 8

        XInputFloat {
            id: calcT1
            objectName: "calcT1"
            width: (parent.width - 2 * parent.spacing) / 3
            xpanelNameWidth: 140
            xname: qsTrId("CalcTrans_t1")
            xvalue: 200
        }

        XInputFloat {
            id: calcT2
            objectName: "calcT2"
            width: (parent.width - 2 * parent.spacing) / 3
            xpanelNameWidth: 140
            xname: qsTrId("CalcTrans_t2")
            xvalue: 184
        }

        XInputFloat {
            id: calcEnv
            objectName: "calcEnv"
            width: (parent.width - 2 * parent.spacing) / 3
            xpanelNameWidth: 140
            xname: qsTrId("CalcTrans_env")
            xvalue: 25
        }
    }

    Row {
        width: parent.width
        spacing: 8

        XInputString {
            objectName: "calcResult"
            width: parent.width - calcButton.width - parent.spacing
            xpanelNameWidth: page.nameWidth
            xname: qsTrId("CalcTrans_result")
            xreadonly: true
            xvalue: page.transResult
        }

        XButton {
            id: calcButton
            objectName: "calcButton"
            width: 120
            height: 32
            text: qsTrId("Calc")
            xbuttonType: 1
            onClicked: {
                // Leaving the field commits the number being typed.
                forceActiveFocus()
                page.calcTrans()
            }
        }
    }
}
