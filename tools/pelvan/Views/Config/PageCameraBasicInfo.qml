import QtQuick 2.15
import Tavo5 1.0
import Sarvik 1.0

// The camera's identity (read-only) and its writable name and data-path settings.
ConfigPage {
    id: page
    objectName: "pageCameraBasicInfo"

    info: configer ? configer.basicInfo : null

    XInputString {
        objectName: "cameraId"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraBasicInfo_cameraId")
        xreadonly: true
    }

    XInputString {
        objectName: "cameraType"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraBasicInfo_cameraType")
        xreadonly: true
    }

    XInputString {
        objectName: "fpaId"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraBasicInfo_fpaId")
        xreadonly: true
    }

    XInputString {
        objectName: "hardwareId"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraBasicInfo_hardwareId")
        xreadonly: true
    }

    XInputString {
        objectName: "softwareId"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraBasicInfo_softwareId")
        xreadonly: true
    }

    XInputString {
        objectName: "dataWHF"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraBasicInfo_dataWHF")
        xreadonly: true
    }

    XInputString {
        objectName: "cameraName"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraBasicInfo_cameraName")
        xmaximumLength: 31
    }

    XInputEnum {
        objectName: "dataRatio"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraBasicInfo_dataRatio")
        xoptions: CApp.commonManager.ratioList
    }

    XInputEnum {
        objectName: "sendRatio"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraBasicInfo_sendRatio")
        xoptions: CApp.commonManager.ratioList
    }

    XInputEnum {
        objectName: "dataTransform"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraBasicInfo_dataTransform")
        xoptions: CApp.commonManager.transformList
    }

    XInputEnum {
        objectName: "desmearLevel"
        width: parent.width
        xpanelNameWidth: page.nameWidth
        xname: qsTrId("CameraBasicInfo_desmearLevel")
        xoptions: CApp.commonManager.desmearLevelList
    }

}
