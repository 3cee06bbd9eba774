import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0

// A short notice: an icon and a text in the colour of its type (0 success, 1 info, 2 warning,
// 3 danger) that closes itself after xduration seconds (0 or less: stays until closed). Views report
// every status they get back through xopenErrorCode.
Popup {
    id: root

    property int xnofityType: 0
    property string xnotifyInfo: ""
    property int xduration: 3
    readonly property color xcolor: xtypeColor(xnofityType)
    readonly property string xiconSource: xtypeIcon(xnofityType)
    // Seconds left before the notice closes itself.
    readonly property int xremaining: _remaining

    property int _remaining: 0

    width: 400
    height: 50
    padding: 0
    modal: false
    focus: false
    closePolicy: Popup.CloseOnEscape
    x: parent ? Math.round((parent.width - width) / 2) : 0
    y: parent ? Math.round((parent.height - height) / 2) : 0

    function xtypeColor(type) {
        switch (type) {
        case 0: return XTheme.color_success
        case 2: return XTheme.color_warning
        case 3: return XTheme.color_danger
        default: return XTheme.color_info
        }
    }

    function xtypeIcon(type) {
        switch (type) {
        case 0: return "qrc:/Controls/icons/check-circle.svg"
        case 2: return "qrc:/Controls/icons/alert.svg"
        case 3: return "qrc:/Controls/icons/close-circle.svg"
        default: return "qrc:/Controls/icons/information.svg"
        }
    }

    // An unknown type is shown as information rather than claiming success or failure.
    function xopen(type, info) {
        var t = Number(type)
        xnofityType = (t === 0 || t === 1 || t === 2 || t === 3) ? t : 1
        xnotifyInfo = (info === undefined || info === null) ? "" : String(info)
        _remaining = xduration
        if (xduration > 0)
            ticker.restart()
        else
            ticker.stop()
        open()
    }

    // Status codes: 0 or positive is success, negative failure. Anything that is not a number (a
    // missing result) is a failure too, never a success.
    function xopenErrorCode(code, act) {
        var c = NaN
        if (typeof code === "number")
            c = code
        else if (typeof code === "string" && code.trim() !== "")
            c = Number(code)
        var a = (act === undefined || act === null) ? "" : String(act)
        if (isFinite(c) && c >= 0)
            xopen(0, a + qsTrId("Success"))
        else
            xopen(3, a + qsTrId("Fail"))
    }

    onClosed: ticker.stop()

    Timer {
        id: ticker
        interval: 1000
        repeat: true
        onTriggered: {
            root._remaining -= 1
            if (root._remaining <= 0) {
                stop()
                root.close()
            }
        }
    }

    Component.onCompleted: {
        var item = contentItem ? contentItem.parent : null
        if (item) {
            item.Accessible.role = Accessible.AlertMessage
            item.Accessible.name = Qt.binding(function () { return root.xnotifyInfo })
        }
    }

    background: Rectangle {
        color: XTheme.background_color_base
        border.color: root.xcolor
        border.width: 1
        radius: 4
        Accessible.ignored: true
    }

    contentItem: Item {
        MouseArea {
            anchors.fill: parent
            onClicked: root.close()
            Accessible.ignored: true
        }

        Row {
            anchors.fill: parent
            anchors.leftMargin: 16
            anchors.rightMargin: 16
            spacing: 10

            XImage {
                anchors.verticalCenter: parent.verticalCenter
                width: 24
                height: 24
                source: root.xiconSource
                color: root.xcolor
                Accessible.ignored: true
            }

            Text {
                anchors.verticalCenter: parent.verticalCenter
                width: parent.width - 34
                elide: Text.ElideRight
                text: root.xnotifyInfo
                color: root.xcolor
                font.pixelSize: XTheme.font_size_medium
                Accessible.ignored: true
            }
        }
    }
}
