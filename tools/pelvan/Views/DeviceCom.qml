import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0
import Sarvik 1.0

// A local bad-pixel list (.bad): the camera it belongs to, its detector size and its points. Points are
// added from the X and Y fields and deleted by row; the list is loaded from and saved to files the user
// picks. The header fields write into the editor at once, so a saved file carries what is shown.
XPopup {
    id: root

    readonly property var editor: CApp.deviceManager ? CApp.deviceManager.comEditor : null
    readonly property var points: editor ? editor.pointList : []
    readonly property var page: xcontentLoader.item
    // What "Add" hands over; the editor keeps a copy.
    property CComPoint draft: CComPoint {}

    xtitle: "DeviceCom"
    xinterWidth: 560
    xinterHeight: 600
    xokVisible: false
    xcancelVisible: false

    // Returns what point_create returned, or 1 when the fields hold no point on the detector.
    function addPoint() {
        if (!editor || !page)
            return 1
        var x = page.pointX()
        var y = page.pointY()
        if (x < 0 || y < 0) {
            App.notifyError(2, qsTrId("PointOutside"))
            return 1
        }
        draft.x = x
        draft.y = y
        var code = editor.point_create(draft)
        if (code === -8)
            App.notifyError(2, qsTrId("PointDuplicate"))
        else if (code === -7)
            App.notifyError(2, qsTrId("PointListFull"))
        else if (code < 0)
            App.notifyErrorSimple(code)
        return code
    }

    // Deletes the highlighted row; 1 when none is.
    function deleteSelected() {
        var row = page ? page.currentRow() : -1
        if (!editor || row < 0 || row >= points.length) {
            App.notifyError(1, qsTrId("NoSelection"))
            return 1
        }
        var code = editor.point_delete(points[row])
        if (code < 0)
            App.notifyErrorSimple(code)
        return code
    }

    function clearPoints() {
        if (editor)
            editor.point_clear()
    }

    function fn_openBad(path) {
        var code = editor.load(path)
        App.notifyErrorSimple(code)
        return code
    }

    function fn_saveBad(path) {
        // The field being typed in commits first.
        if (page)
            page.forceActiveFocus()
        var code = editor.save(path)
        App.notifyErrorSimple(code)
        return code
    }

    // A new bad-pixel list starts empty.
    Component.onCompleted: clearPoints()
    onOpened: {
        if (page)
            page.model2view()
    }

    xcontentLoader.sourceComponent: Item {
        id: page

        function model2view() {
            deviceId.init(root.editor.deviceId)
            deviceWidth.init(root.editor.deviceWidth)
            deviceHeight.init(root.editor.deviceHeight)
        }

        function currentRow() {
            return pointTable.xcurrentRow
        }

        // A field's whole number within its rule, else -1 (what the field shows is what gets added).
        function fieldValue(input) {
            var t = String(input.xeditor.text).trim()
            if (!/^[0-9]{1,5}$/.test(t))
                return -1
            var v = Number(t)
            return v <= input.xrule_rangeMax ? v : -1
        }

        function pointX() {
            return fieldValue(inputX)
        }

        function pointY() {
            return fieldValue(inputY)
        }

        Component.onCompleted: if (root.editor) model2view()

        Connections {
            target: root.editor
            function onDeviceIdChanged() { deviceId.init(root.editor.deviceId) }
            function onDeviceWidthChanged() { deviceWidth.init(root.editor.deviceWidth) }
            function onDeviceHeightChanged() { deviceHeight.init(root.editor.deviceHeight) }
        }

        Column {
            x: 12
            y: 8
            width: parent.width - 24
            spacing: 6

            XInputString {
                id: deviceId
                objectName: "comDeviceId"
                width: parent.width
                xpanelNameWidth: 110
                xname: qsTrId("DeviceId")
                onXvalueChanged: if (root.editor && root.editor.deviceId !== xvalue) root.editor.deviceId = xvalue
            }
            Row {
                spacing: 12

                XInputInt {
                    id: deviceWidth
                    objectName: "comDeviceWidth"
                    width: 200
                    xpanelNameWidth: 110
                    xname: qsTrId("DeviceWidth")
                    xrule_rangeType: 3
                    xrule_rangeMin: 0
                    xrule_rangeMax: 65535
                    onXvalueChanged: if (root.editor && root.editor.deviceWidth !== xvalue) root.editor.deviceWidth = xvalue
                }
                XInputInt {
                    id: deviceHeight
                    objectName: "comDeviceHeight"
                    width: 200
                    xpanelNameWidth: 110
                    xname: qsTrId("DeviceHeight")
                    xrule_rangeType: 3
                    xrule_rangeMin: 0
                    xrule_rangeMax: 65535
                    onXvalueChanged: if (root.editor && root.editor.deviceHeight !== xvalue) root.editor.deviceHeight = xvalue
                }
            }
            Row {
                spacing: 12

                XInputInt {
                    id: inputX
                    objectName: "pointX"
                    width: 150
                    xpanelNameWidth: 60
                    xname: qsTrId("PointX")
                    xrule_rangeType: 3
                    xrule_rangeMin: 0
                    xrule_rangeMax: root.editor && root.editor.deviceWidth > 0 ? root.editor.deviceWidth - 1 : 65535
                }
                XInputInt {
                    id: inputY
                    objectName: "pointY"
                    width: 150
                    xpanelNameWidth: 60
                    xname: qsTrId("PointY")
                    xrule_rangeType: 3
                    xrule_rangeMin: 0
                    xrule_rangeMax: root.editor && root.editor.deviceHeight > 0 ? root.editor.deviceHeight - 1 : 65535
                }
                XButton {
                    objectName: "addButton"
                    width: 88
                    height: 32
                    text: qsTrId("Add")
                    onClicked: root.addPoint()
                }
            }
            Text {
                objectName: "pointCount"
                height: 24
                verticalAlignment: Text.AlignVCenter
                font.pixelSize: XTheme.font_size
                color: XTheme.text_color_regular
                text: qsTrId("PointCount") + ": " + root.points.length
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            XTableView {
                id: pointTable
                objectName: "pointTable"
                width: parent.width
                height: 600 - 8 - 3 * 32 - 24 - 4 * 6 - 56
                xname: qsTrId("DeviceCom")
                xrowHeight: 28
                xheaderHeight: 30
                xcolumnWidthArray: [60, 1, 1]
                xcolumnNameArray: ["Number", "PointX", "PointY"]
                model: root.points

                delegate: XListRow {
                    XTableCellText {
                        text: String(index + 1)
                    }
                    XTableCellText {
                        text: modelData ? String(modelData.x) : ""
                    }
                    XTableCellText {
                        text: modelData ? String(modelData.y) : ""
                    }
                }
            }
        }

        Row {
            anchors.right: parent.right
            anchors.rightMargin: 12
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 8
            spacing: 8

            XButton {
                objectName: "deleteButton"
                width: 88
                text: qsTrId("Delete")
                onClicked: root.deleteSelected()
            }
            XButton {
                objectName: "clearButton"
                width: 88
                text: qsTrId("Clear")
                onClicked: root.clearPoints()
            }
            XButton {
                objectName: "loadButton"
                width: 88
                text: qsTrId("Load")
                onClicked: App.openFileDialog(3, root)
            }
            XButton {
                objectName: "saveButton"
                width: 88
                text: qsTrId("Save")
                onClicked: App.openFileDialog(4, root)
            }
        }
    }
}
