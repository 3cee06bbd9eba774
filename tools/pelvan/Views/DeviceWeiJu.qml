import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0
import Sarvik 1.0
import "Editors"

// The close-range lens tables of the camera the editor logged in to. The mode decides which set is shown:
// the first set (up to four shell temperatures, a measured column each) for mode 2, the second table for
// mode 3. The view edits its own copy; "Set" writes it into the editor's file first.
XPopup {
    id: root

    readonly property var editor: CApp.deviceManager ? CApp.deviceManager.weijuEditor : null
    readonly property var file: editor ? editor.file : null
    readonly property var page: xcontentLoader.item
    readonly property var table1: page ? page.table1 : null
    readonly property var table2: page ? page.table2 : null
    readonly property var len1Keys: ["blackbody", "temp0", "temp1", "temp2", "temp3"]
    readonly property var len2Keys: ["blackbody", "temp0"]
    // The editor names its modes by text ids; the input shows their words.
    readonly property var modeOptions: {
        var list = editor ? editor.caliModeList : []
        var out = []
        for (var i = 0; i < list.length; ++i)
            out.push({"name": qsTrId(list[i].name), "value": list[i].value})
        return out
    }

    xtitle: "DeviceWeiJu"
    xinterWidth: 860
    xinterHeight: 700
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
        var code = editor.downloadMem(5)
        if (code >= 0)
            model2view()
        App.notifyErrorSimple(code)
        return code
    }

    function setMem() {
        view2model()
        var code = editor.uploadMem(5)
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
        property alias table1: table1
        property alias table2: table2

        function rowsOf(items, keys) {
            var rows = []
            for (var i = 0; i < items.length; ++i) {
                var r = {}
                for (var k = 0; k < keys.length; ++k)
                    r[keys[k]] = items[i][keys[k]]
                rows.push(r)
            }
            return rows
        }

        function rowsTo(rows, items, keys) {
            for (var i = 0; i < items.length && i < rows.length; ++i)
                for (var k = 0; k < keys.length; ++k)
                    items[i][keys[k]] = rows[i][keys[k]]
        }

        function model2view() {
            loading = true
            var f = root.file
            mode.init(f.cali_mode)
            envCount.init(f.len1_env_count)
            for (var k = 0; k < shellRepeater.count; ++k)
                shellRepeater.itemAt(k).init(f["len1_shell" + k])
            len1Count.init(f.len1_bb_count)
            len2Count.init(f.len2_bb_count)
            table1.rows = rowsOf(f.len1_bb_array, root.len1Keys)
            table2.rows = rowsOf(f.len2_bb_array, root.len2Keys)
            loading = false
            root.editor.checkTable()
        }

        function view2model() {
            var f = root.file
            f.cali_mode = mode.xvalue
            f.len1_env_count = Math.round(envCount.xvalue)
            for (var k = 0; k < shellRepeater.count; ++k)
                f["len1_shell" + k] = shellRepeater.itemAt(k).xvalue
            f.len1_bb_count = Math.round(len1Count.xvalue)
            f.len2_bb_count = Math.round(len2Count.xvalue)
            rowsTo(table1.rows, f.len1_bb_array, root.len1Keys)
            rowsTo(table2.rows, f.len2_bb_array, root.len2Keys)
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

            XInputEnum {
                id: mode
                objectName: "caliMode"
                width: 400
                xpanelNameWidth: 110
                xname: qsTrId("CaliMode")
                xoptions: root.modeOptions
                onXvalueChanged: page.edited()
            }

            Column {
                id: len1Set
                objectName: "len1Set"
                width: parent.width
                spacing: 6
                visible: mode.xvalue === 2

                Row {
                    spacing: 12

                    XInputFloatSlider {
                        id: envCount
                        objectName: "len1EnvCount"
                        width: 340
                        xpanelNameWidth: 140
                        xname: qsTrId("Len1EnvCount")
                        xmin: 0
                        xmax: 4
                        xstep: 1
                        xformat: 0
                        onXvalueChanged: page.edited()
                    }
                    XInputFloatSlider {
                        id: len1Count
                        objectName: "len1BbCount"
                        width: 340
                        xpanelNameWidth: 140
                        xname: qsTrId("Len1BbCount")
                        xmin: 0
                        xmax: 16
                        xstep: 1
                        xformat: 0
                        onXvalueChanged: page.edited()
                    }
                }

                Row {
                    spacing: 6

                    Repeater {
                        id: shellRepeater
                        model: 4

                        XInputFloat {
                            objectName: "len1Shell" + index
                            width: 200
                            xpanelNameWidth: 110
                            xname: qsTrId("ShellTemp") + " " + (index + 1)
                            enabled: index < Math.round(envCount.xvalue)
                            onXvalueChanged: page.edited()
                        }
                    }
                }

                EditorTable {
                    id: table1
                    objectName: "len1Table"
                    width: parent.width
                    height: xheaderHeight + 16 * xrowHeight + 2
                    xname: qsTrId("Len1Table")
                    keys: root.len1Keys
                    names: ["Blackbody", "MeaShell1", "MeaShell2", "MeaShell3", "MeaShell4"]
                    rowCount: Math.round(len1Count.xvalue)
                    // Column 0 is the blackbody temperature; a shell column is in use while its shell is.
                    columnCount: 1 + Math.round(envCount.xvalue)
                    onEdited: page.edited()
                }
            }

            Column {
                id: len2Set
                objectName: "len2Set"
                width: parent.width
                spacing: 6
                visible: mode.xvalue === 3

                XInputFloatSlider {
                    id: len2Count
                    objectName: "len2BbCount"
                    width: 340
                    xpanelNameWidth: 140
                    xname: qsTrId("Len2BbCount")
                    xmin: 0
                    xmax: 16
                    xstep: 1
                    xformat: 0
                    onXvalueChanged: page.edited()
                }

                EditorTable {
                    id: table2
                    objectName: "len2Table"
                    width: parent.width
                    height: xheaderHeight + 16 * xrowHeight + 2
                    xname: qsTrId("Len2Table")
                    keys: root.len2Keys
                    names: ["Blackbody", "MeaTemp"]
                    rowCount: Math.round(len2Count.xvalue)
                    onEdited: page.edited()
                }
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
                width: parent.width - 2 * 88 - 2 * parent.spacing
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
        }
    }
}
