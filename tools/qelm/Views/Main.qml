import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0
import Sarvik 1.0

// The main window: the page tabs (live preview, recorded files, settings) above the page shown, and the
// notice pop-up every page reports through.
ApplicationWindow {
    id: main

    width: 1280
    height: 760
    visible: true
    title: CApp.appName + " v" + CApp.appVersion
    color: XTheme.background_color

    // type: 0 success, 1 info, 2 warning, 3 danger.
    function notifyError(type, msg) {
        notify.xopen(type, msg)
    }

    function notifyErrorCode(code, act) {
        notify.xopenErrorCode(code, act)
        if (typeof code === "number" && code < 0)
            notify.xnotifyInfo = notify.xnotifyInfo + " (" + code + ")"
    }

    Rectangle {
        id: topBar
        objectName: "topBar"
        width: parent.width
        height: 50
        color: XTheme.fill_color_1

        XTab {
            id: pageTab
            objectName: "pageTab"
            anchors.left: parent.left
            anchors.bottom: parent.bottom
            height: 50
            xitemWidth: 140
            xnames: [qsTrId("PagePreview"), qsTrId("PageFiles"), qsTrId("PageSettings")]
        }
    }

    PagePreview {
        objectName: "pagePreview"
        anchors.top: topBar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        visible: pageTab.xcurrentIndex === 0
    }

    PageFiles {
        objectName: "pageFiles"
        anchors.top: topBar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        visible: pageTab.xcurrentIndex === 1
    }

    PageSettings {
        objectName: "pageSettings"
        anchors.top: topBar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        visible: pageTab.xcurrentIndex === 2
    }

    XPopupNotify {
        id: notify
        objectName: "notify"
        parent: Overlay.overlay
        width: 420
        height: 50
        x: Math.round((main.width - width) / 2)
        y: Math.round((main.height - height) / 2)
    }

    Component.onCompleted: App.main = main
}
