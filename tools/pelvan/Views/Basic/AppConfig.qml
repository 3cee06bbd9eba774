import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0
import Sarvik 1.0
import ".."

// The settings dialog. It edits a private copy of the configuration in force and hands it to the
// configuration manager on "Save"; "Cancel" leaves everything as it was.
XPopup {
    id: root

    // code: the result of save; languageChanged: the language takes effect at the next start.
    signal saved(int code, bool languageChanged)

    readonly property var configManager: CApp.configManager
    readonly property var commonManager: CApp.commonManager

    xtitle: "AppConfig"
    xinterWidth: 520
    xinterHeight: 236
    xokText: "Save"
    xcancelText: "Cancel"
    xcloseOnOk: false

    CAppConfig {
        id: edit
    }

    onAboutToShow: {
        edit.cls2cls(configManager.config)
        xcontentLoader.item.load()
    }

    onClicked: function (ok) {
        if (!ok)
            return
        var page = xcontentLoader.item
        // Leaving the field commits the text being typed.
        page.forceActiveFocus()
        if (!page.store()) {
            root.saved(-8, false)
            return
        }
        var languageChanged = edit.language !== configManager.config.language
        var code = configManager.save(edit)
        root.saved(code, languageChanged && code >= 0)
        if (code >= 0)
            root.close()
    }

    onSaved: function (code, languageChanged) {
        if (languageChanged)
            App.notifyError(1, qsTrId("LanguageNextStart"))
        else
            App.notifyErrorCode(code, qsTrId("Save") + " ")
    }

    xcontentLoader.sourceComponent: Item {
        id: page

        function load() {
            language.init(edit.language)
            saveDir.init(edit.saveDir)
            transType.init(edit.transType)
            chartUpdateInterval.init(edit.chartUpdateInterval)
            chartFifoSize.init(edit.chartFifoSize)
        }

        // The folder dialog starts from the shown folder and hands the chosen one back.
        function getfn() {
            return saveDir.xvalue
        }

        function setfn(dir) {
            saveDir.init(dir)
        }

        // False when a field holds a value outside its range.
        function store() {
            if (!chartUpdateInterval.xrule_isInputValid || !chartFifoSize.xrule_isInputValid)
                return false
            edit.language = language.xvalue
            edit.saveDir = saveDir.xvalue
            edit.transType = transType.xvalue
            edit.chartUpdateInterval = chartUpdateInterval.xvalue
            edit.chartFifoSize = chartFifoSize.xvalue
            return true
        }

        Column {
            x: 16
            y: 12
            width: parent.width - 32
            spacing: 12

            XInputEnum {
                id: language
                objectName: "language"
                width: parent.width
                xpanelNameWidth: 160
                xname: qsTrId("Language")
                xoptions: root.commonManager.languageList
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
                    onClicked: App.openFolderDialog(0, page)
                }
            }

            XInputEnum {
                id: transType
                objectName: "transType"
                width: parent.width
                xpanelNameWidth: 160
                xname: qsTrId("TransType")
                xoptions: root.commonManager.transTypeList
            }

            XInputInt {
                id: chartUpdateInterval
                objectName: "chartUpdateInterval"
                width: parent.width
                xpanelNameWidth: 160
                xname: qsTrId("ChartUpdateInterval")
                xtip: qsTrId("ChartUpdateIntervalTip")
                xrule_rangeType: 3
                xrule_rangeMin: edit.chartUpdateIntervalMin
                xrule_rangeMax: edit.chartUpdateIntervalMax
            }

            XInputInt {
                id: chartFifoSize
                objectName: "chartFifoSize"
                width: parent.width
                xpanelNameWidth: 160
                xname: qsTrId("ChartFifoSize")
                xtip: qsTrId("ChartFifoSizeTip")
                xrule_rangeType: 3
                xrule_rangeMin: edit.chartFifoSizeMin
                xrule_rangeMax: edit.chartFifoSizeMax
            }
        }
    }
}
