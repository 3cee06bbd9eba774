import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0
import Sarvik 1.0

// The configuration dialog of the camera the configurator has open (the main window opens it only after
// startWork succeeded). Pages are grouped on the left; choosing one reads its record once per open period and
// fills its fields; "Apply" writes the shown page back. Closing the dialog ends the configurator's session.
XPopup {
    id: root
    objectName: "deviceConfig"

    readonly property var configer: CApp.deviceManager ? CApp.deviceManager.deviceConfiger : null
    // type: the configurator's configuration type, 0 for the test page, which has no record.
    readonly property var groups: [
        {name: "System", pages: [{name: "CameraBasicInfo", type: 1}, {name: "FixInfo", type: 2}]},
        {name: "Network", pages: [{name: "CameraNetworkInfo", type: 3}, {name: "CameraTimeInfo", type: 4}]},
        {name: "Interface", pages: [{name: "TvoutInfo", type: 5}, {name: "SerialPortInfo", type: 7},
                                    {name: "GpioInfo", type: 8}, {name: "CameraOSDInfo", type: 6}]},
        {name: "Advance", pages: [{name: "FFCInfo", type: 9}, {name: "DestripInfo", type: 10},
                                  {name: "DenoiseInfo", type: 11}]},
        {name: "Plugin", pages: [{name: "CameraPluginInfo", type: 12}, {name: "GB28181Info", type: 13}]},
        {name: "Test", pages: [{name: "TestInfo", type: 0}]}
    ]
    readonly property var pages: _flatPages()
    property int currentPage: -1
    // The content's page loaders and the content itself, handed over when the content is made.
    property var _loaders: null
    property var _content: null
    readonly property var currentItem: currentPage >= 0 && _loaders ? _loaders.itemAt(currentPage).item : null

    xtitle: "DeviceConfig"
    xinterWidth: 960
    xinterHeight: 680
    xokVisible: false
    xcancelVisible: false

    function _flatPages() {
        var out = []
        for (var g = 0; g < groups.length; ++g)
            for (var p = 0; p < groups[g].pages.length; ++p)
                out.push(groups[g].pages[p])
        return out
    }

    function pageIndex(name) {
        for (var i = 0; i < pages.length; ++i)
            if (pages[i].name === name)
                return i
        return -1
    }

    function pageUrl(page) {
        return page.type === 0 ? "Basic/TestInfo.qml" : "Config/Page" + page.name + ".qml"
    }

    // Shows a page and reads its record (at once when this open period read it already). The fields take
    // the record only when the read succeeded; a failed read leaves them as they were. Returns the read's
    // status (0 for the test page).
    function selectPage(index) {
        if (index < 0 || index >= pages.length || !_loaders)
            return -8
        currentPage = index
        var loader = _loaders.itemAt(index)
        loader.active = true
        var page = pages[index]
        if (page.type === 0 || !configer || !loader.item)
            return 0
        var code = configer.getConfig(page.type)
        if (code >= 0)
            loader.item.load()
        else
            App.notifyErrorCode(code, qsTrId(page.name) + " ")
        return code
    }

    // Writes the shown page to the camera. -8 without writing while a field holds a refused entry.
    function apply() {
        var page = currentPage >= 0 ? pages[currentPage] : null
        if (!page || page.type === 0 || !currentItem)
            return 0
        // Leaving the field commits the text being typed.
        _content.forceActiveFocus()
        if (!currentItem.store()) {
            App.notifyError(2, qsTrId("InvalidInput"))
            return -8
        }
        var code = configer ? configer.setConfig(page.type) : -7
        App.notifyErrorCode(code, qsTrId("Apply") + " ")
        return code
    }

    // Stays open when the write did not happen, so the entries are not lost.
    function applyAndClose() {
        var code = apply()
        if (code >= 0)
            close()
        return code
    }

    onAboutToShow: {
        // Every open period starts from the first page and reads it again.
        for (var i = 0; _loaders && i < _loaders.count; ++i)
            _loaders.itemAt(i).active = false
        currentPage = -1
    }
    onOpened: selectPage(0)
    onClosed: {
        if (configer)
            configer.stopWork()
    }

    xcontentLoader.sourceComponent: Item {
        id: contentArea

        Component.onCompleted: {
            root._loaders = pageLoaders
            root._content = contentArea
        }

        // Groups and their pages.
        Rectangle {
            id: nav
            width: 200
            height: parent.height
            color: XTheme.fill_color_1

            Flickable {
                anchors.fill: parent
                anchors.margins: 8
                contentHeight: navColumn.height
                clip: true
                boundsBehavior: Flickable.StopAtBounds

                Column {
                    id: navColumn
                    width: parent.width
                    spacing: 4

                    Repeater {
                        model: root.groups

                        Column {
                            width: navColumn.width
                            spacing: 2

                            XHead {
                                width: parent.width
                                height: 28
                                xtext: qsTrId(modelData.name)
                            }

                            Repeater {
                                model: modelData.pages

                                XButton {
                                    readonly property int pageIndex: root.pageIndex(modelData.name)
                                    objectName: "pageButton" + modelData.name
                                    width: parent.width
                                    height: 28
                                    text: qsTrId(modelData.name)
                                    xbuttonType: root.currentPage === pageIndex ? 1 : 0
                                    xselected: root.currentPage === pageIndex
                                    onClicked: root.selectPage(pageIndex)
                                }
                            }
                        }
                    }
                }
            }
        }

        // The pages, each made the first time it is shown in an open period.
        Item {
            id: pageArea
            anchors.left: nav.right
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.bottom: buttons.top
            anchors.bottomMargin: 8

            Repeater {
                id: pageLoaders
                model: root.pages.length

                Loader {
                    anchors.fill: parent
                    active: false
                    visible: root.currentPage === index
                    source: root.pageUrl(root.pages[index])
                }
            }
        }

        Row {
            id: buttons
            anchors.right: parent.right
            anchors.rightMargin: 16
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 8
            spacing: 12

            XButton {
                objectName: "applyButton"
                width: 140
                text: qsTrId("Apply")
                xbuttonType: 1
                onClicked: root.apply()
            }

            XButton {
                objectName: "applyAndCloseButton"
                width: 140
                text: qsTrId("ApplyAndClose")
                xbuttonType: 1
                onClicked: root.applyAndClose()
            }
        }
    }
}
