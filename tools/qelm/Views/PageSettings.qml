import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0
import Sarvik 1.0

// The settings: the two camera addresses, the save folder and the language. "Save" hands a private copy to
// the configuration manager; the language takes effect at the next start.
Item {
    id: root

    readonly property var configManager: CApp.configManager
    readonly property var commonManager: CApp.commonManager

    CAppConfig {
        id: edit
    }

    function load() {
        edit.cls2cls(configManager.config)
        irIp.init(edit.ir_ip)
        visIp.init(edit.vis_ip)
        saveDir.init(edit.saveDir)
        language.init(edit.language)
    }

    function save() {
        forceActiveFocus()
        edit.ir_ip = irIp.xvalue
        edit.vis_ip = visIp.xvalue
        edit.saveDir = saveDir.xvalue
        edit.language = language.xvalue
        var languageChanged = edit.language !== configManager.config.language
        var code = configManager.save(edit)
        if (code >= 0 && languageChanged)
            App.notifyError(1, qsTrId("LanguageNextStart"))
        else
            App.notifyErrorCode(code, qsTrId("Save") + " ")
        if (code < 0)
            load()
        return code
    }

    onVisibleChanged: if (visible) load()
    Component.onCompleted: load()

    Column {
        x: 24
        y: 24
        width: Math.min(parent.width - 48, 640)
        spacing: 12

        XInputString {
            id: irIp
            objectName: "irIp"
            width: parent.width
            xpanelNameWidth: 160
            xname: qsTrId("IRIP")
            xrule_notNull: true
            xmaximumLength: 127
        }

        XInputString {
            id: visIp
            objectName: "visIp"
            width: parent.width
            xpanelNameWidth: 160
            xname: qsTrId("VISIP")
            xmaximumLength: 15
            xvalidator: RegularExpressionValidator {
                regularExpression: /^((25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])\.){3}(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])$/
            }
        }

        Row {
            width: parent.width
            spacing: 8

            XInputString {
                id: saveDir
                objectName: "saveDir"
                width: parent.width - folderButton.width - parent.spacing
                xpanelNameWidth: 160
                xname: qsTrId("SaveDir")
                xrule_notNull: true
            }

            XButtonSvg {
                id: folderButton
                objectName: "saveDirButton"
                width: 40
                height: 32
                iconSource: "qrc:/Icons/folder-open.svg"
                iconWidth: 20
                iconHeight: 20
                xtip: qsTrId("SelectFolder")
                onClicked: App.openFolderDialog(saveDir.xvalue, function (dir) { saveDir.init(dir) })
            }
        }

        XInputEnum {
            id: language
            objectName: "language"
            width: parent.width
            xpanelNameWidth: 160
            xname: qsTrId("Language")
            xoptions: root.commonManager.languageList
        }

        XButton {
            objectName: "saveButton"
            width: 130
            text: qsTrId("Save")
            onClicked: root.save()
        }
    }
}
