import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0
import Sarvik 1.0
import "Editors"

// The fix-distance tables of the camera the editor logged in to: up to five distances and ten rows of a
// blackbody temperature and the temperature measured at each distance. The view edits its own copy;
// "Set" and "Save" write it into the editor's file first.
XPopup {
    id: root

    readonly property var editor: CApp.deviceManager ? CApp.deviceManager.fixdistEditor : null
    readonly property var file: editor ? editor.file : null
    readonly property var page: xcontentLoader.item
    readonly property var table: page ? page.table : null
    readonly property var tempKeys: ["temp0", "temp1", "temp2", "temp3", "temp4"]

    xtitle: "DeviceFixDist"
    xinterWidth: 860
    xinterHeight: 480
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
        var code = editor.downloadMem(7)
        if (code >= 0)
            model2view()
        App.notifyErrorSimple(code)
        return code
    }

    function setMem() {
        view2model()
        var code = editor.uploadMem(7)
        App.notifyErrorSimple(code)
        return code
    }

    function loadLocal() {
        var code = editor.load("")
        if (code >= 0)
            model2view()
        App.notifyErrorSimple(code)
        return code
    }

    function saveLocal() {
        view2model()
        var code = editor.save("")
        App.notifyErrorSimple(code)
        return code
    }

    // The editor's init downloaded the block just before the view opens.
    onOpened: model2view()
    onClosed: {
        if (editor)
            editor.free()
    }

    xcontentLoader.sourceComponent: Item {
        id: page

        // Set while the fields are filled from the model, so filling is not taken for an edit.
        property bool loading: false
        property alias table: table

        function model2view() {
            loading = true
            distCount.init(root.file.distCount)
            bbCount.init(root.file.bbCount)
            for (var k = 0; k < distRepeater.count; ++k)
                distRepeater.itemAt(k).init(root.file["dist" + k])
            var items = root.file.itemArray
            var rows = []
            for (var i = 0; i < items.length; ++i) {
                var r = {"blackbody": items[i].blackbody}
                for (var t = 0; t < root.tempKeys.length; ++t)
                    r[root.tempKeys[t]] = items[i][root.tempKeys[t]]
                rows.push(r)
            }
            table.rows = rows
            loading = false
            root.editor.checkTable()
        }

        function view2model() {
            root.file.distCount = Math.round(distCount.xvalue)
            root.file.bbCount = Math.round(bbCount.xvalue)
            for (var k = 0; k < distRepeater.count; ++k)
                root.file["dist" + k] = distRepeater.itemAt(k).xvalue
            var items = root.file.itemArray
            var rows = table.rows
            for (var i = 0; i < items.length && i < rows.length; ++i) {
                items[i].blackbody = rows[i].blackbody
                for (var t = 0; t < root.tempKeys.length; ++t)
                    items[i][root.tempKeys[t]] = rows[i][root.tempKeys[t]]
            }
        }

        // Every edit is checked against the camera's rules at once.
        function edited() {
            if (loading || !root.file)
                return
            view2model()
            root.editor.checkTable()
        }

        Column {
            x: 12
            y: 8
            width: parent.width - 24
            spacing: 6

            Row {
                spacing: 12

                XInputFloatSlider {
                    id: distCount
                    objectName: "distCount"
                    width: 340
                    xpanelNameWidth: 140
                    xname: qsTrId("DistCount")
                    xmin: 0
                    xmax: 5
                    xstep: 1
                    xformat: 0
                    onXvalueChanged: page.edited()
                }
                XInputFloatSlider {
                    id: bbCount
                    objectName: "bbCount"
                    width: 340
                    xpanelNameWidth: 140
                    xname: qsTrId("BbCount")
                    xmin: 0
                    xmax: 10
                    xstep: 1
                    xformat: 0
                    onXvalueChanged: page.edited()
                }
            }

            Row {
                spacing: 6

                Repeater {
                    id: distRepeater
                    model: 5

                    XInputInt {
                        objectName: "dist" + index
                        width: 160
                        xpanelNameWidth: 90
                        xname: qsTrId("Distance") + " " + (index + 1)
                        xtip: qsTrId("DistanceTip")
                        enabled: index < Math.round(distCount.xvalue)
                        onXvalueChanged: page.edited()
                    }
                }
            }

            EditorTable {
                id: table
                objectName: "fixdistTable"
                width: parent.width
                height: xheaderHeight + 10 * xrowHeight + 2
                xname: qsTrId("DeviceFixDist")
                keys: ["blackbody"].concat(root.tempKeys)
                names: ["Blackbody", "MeaDist1", "MeaDist2", "MeaDist3", "MeaDist4", "MeaDist5"]
                rowCount: Math.round(bbCount.xvalue)
                // Column 0 is the blackbody temperature; a distance column is in use while its distance is.
                columnCount: 1 + Math.round(distCount.xvalue)
                onEdited: page.edited()
            }
        }

        Row {
            anchors.left: parent.left
            anchors.leftMargin: 12
            anchors.right: parent.right
            anchors.rightMargin: 12
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 8
            spacing: 8

            TableCheck {
                objectName: "tableCheck"
                width: parent.width - 4 * 88 - 4 * parent.spacing
                height: 40
                valid: root.editor ? root.editor.tableValid : true
                problem: root.editor ? root.editor.tableProblem : ""
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
            XButton {
                objectName: "loadButton"
                width: 88
                text: qsTrId("Load")
                onClicked: root.loadLocal()
            }
            XButton {
                objectName: "saveButton"
                width: 88
                text: qsTrId("Save")
                onClicked: root.saveLocal()
            }
        }
    }
}
