import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0
import Sarvik 1.0
import "Editors"

// The custom blackbody points of the camera the editor logged in to: range 1 (memory type 3) and, on a
// camera with two ranges, range 2 (memory type 4). The view edits its own copy of the range shown; "Set"
// writes it into the editor's file first.
XPopup {
    id: root

    readonly property var editor: CApp.deviceManager ? CApp.deviceManager.custEditor : null
    // The memory type of the range shown: 3 or 4.
    property int memType: 3
    readonly property var file: editor ? (memType === 4 ? editor.cust2 : editor.cust) : null
    readonly property bool twoRanges: editor !== null && !editor.tempRangeSingle
    readonly property var page: xcontentLoader.item
    readonly property var table: page ? page.table : null
    readonly property var keys: ["blackbody", "temp"]

    xtitle: "DeviceCust"
    xinterWidth: 640
    xinterHeight: 720
    xokVisible: false
    xcancelVisible: false

    function model2view() {
        if (page && file)
            page.model2view()
    }

    function view2model() {
        if (page && file)
            page.view2model()
    }

    function getMem() {
        var code = editor.downloadMem(memType)
        if (code >= 0)
            model2view()
        App.notifyErrorSimple(code)
        return code
    }

    function setMem() {
        view2model()
        var code = editor.uploadMem(memType)
        // The model now carries the time of this write.
        if (code >= 0)
            page.showTimestamp()
        App.notifyErrorSimple(code)
        return code
    }

    // The edits of the range shown stay in its file until "Set", so switching back finds them.
    function switchRange() {
        if (!twoRanges)
            return
        view2model()
        memType = memType === 3 ? 4 : 3
        model2view()
    }

    // Each opening starts with range 1, as the editor's init fetched it.
    onOpened: {
        memType = 3
        model2view()
    }
    onClosed: {
        if (editor)
            editor.free()
    }

    xcontentLoader.sourceComponent: Item {
        id: page

        property alias table: table

        function showTimestamp() {
            timestamp.init(root.file.timestamp)
        }

        function model2view() {
            var f = root.file
            showTimestamp()
            note.init(f.note)
            itemCount.init(f.itemCount)
            var items = f.itemList
            var rows = []
            for (var i = 0; i < items.length; ++i)
                rows.push({"blackbody": items[i].blackbody, "temp": items[i].temp})
            table.rows = rows
        }

        function view2model() {
            var f = root.file
            f.note = note.xvalue
            f.itemCount = Math.round(itemCount.xvalue)
            var items = f.itemList
            var rows = table.rows
            for (var i = 0; i < items.length && i < rows.length; ++i) {
                items[i].blackbody = rows[i].blackbody
                items[i].temp = rows[i].temp
            }
        }

        Column {
            x: 12
            y: 8
            width: parent.width - 24
            spacing: 6

            XHead {
                objectName: "rangeHead"
                width: parent.width
                xtext: qsTrId(root.memType === 4 ? "CustRange2" : "CustRange1")
            }
            XInputString {
                id: timestamp
                objectName: "timestamp"
                width: parent.width
                xpanelNameWidth: 110
                xname: qsTrId("Timestamp")
                xreadonly: true
            }
            XInputString {
                id: note
                objectName: "note"
                width: parent.width
                xpanelNameWidth: 110
                xname: qsTrId("Note")
                // The block holds 255 bytes of UTF-8; the editor cuts a longer note.
                xmaximumLength: 255
            }
            XInputFloatSlider {
                id: itemCount
                objectName: "itemCount"
                width: 320
                xpanelNameWidth: 110
                xname: qsTrId("ItemCount")
                xmin: 0
                xmax: 16
                xstep: 1
                xformat: 0
            }
            EditorTable {
                id: table
                objectName: "custTable"
                width: parent.width
                height: xheaderHeight + 16 * xrowHeight + 2
                xname: qsTrId("DeviceCust")
                keys: root.keys
                names: ["Blackbody", "MeaTemp"]
                rowCount: Math.round(itemCount.xvalue)
            }
        }

        Row {
            anchors.right: parent.right
            anchors.rightMargin: 12
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 8
            spacing: 8

            XButton {
                objectName: "switchButton"
                width: 120
                visible: root.twoRanges
                text: qsTrId("Switch")
                onClicked: root.switchRange()
            }
            XButton {
                objectName: "getButton"
                width: 88
                text: qsTrId("Get")
                onClicked: root.getMem()
            }
            XButton {
                objectName: "setButton"
                width: 88
                text: qsTrId("Set")
                xbuttonType: 1
                onClicked: root.setMem()
            }
        }
    }
}
