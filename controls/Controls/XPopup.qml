import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0

// A modal pop-up with a title bar, a content area of xinterWidth × xinterHeight filled through
// xcontentLoader, and OK / Cancel buttons reported by clicked(ok). Cancel and the close button close
// it; OK closes it too unless xcloseOnOk is false (the handler then decides, e.g. after validation).
Popup {
    id: root

    property string xtitle: ""
    property int xinterWidth: 400
    property int xinterHeight: 200
    readonly property alias xcontentLoader: loader
    property bool xokVisible: true
    property bool xcancelVisible: true
    property bool xcloseOnOk: true
    property string xokText: "OK"
    property string xcancelText: "Cancel"
    readonly property int xtitleHeight: 40
    readonly property int xbuttonsHeight: (xokVisible || xcancelVisible) ? 56 : 0

    signal clicked(bool ok)

    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    padding: 0
    width: xinterWidth
    height: xtitleHeight + xinterHeight + xbuttonsHeight
    // Centred in the parent unless xopen is given a position.
    x: parent ? Math.round((parent.width - width) / 2) : 0
    y: parent ? Math.round((parent.height - height) / 2) : 0

    function xok() {
        root.clicked(true)
        if (root.xcloseOnOk)
            root.close()
    }

    function xcancel() {
        root.clicked(false)
        root.close()
    }

    // Opens at (px, py) when given, centred otherwise.
    function xopen(px, py) {
        if (typeof px === "number" && typeof py === "number") {
            root.x = px
            root.y = py
        }
        root.open()
    }

    // The pop-up's own item is what assistive technology sees: a dialog named by its title.
    Component.onCompleted: {
        var item = contentItem ? contentItem.parent : null
        if (item) {
            item.Accessible.role = Accessible.Dialog
            item.Accessible.name = Qt.binding(function () { return root.xtitle === "" ? "" : qsTrId(root.xtitle) })
        }
    }

    background: Rectangle {
        color: XTheme.background_color_base
        border.color: XTheme.border_color_base
        border.width: 1
        radius: 4
        Accessible.ignored: true
    }

    contentItem: Item {
        Rectangle {
            id: titleBar
            width: parent.width
            height: root.xtitleHeight
            color: XTheme.popup_color_head
            radius: 4
            Accessible.role: Accessible.TitleBar
            Accessible.name: titleText.text

            Text {
                id: titleText
                anchors.fill: parent
                anchors.leftMargin: 16
                anchors.rightMargin: closeButton.width + 8
                verticalAlignment: Text.AlignVCenter
                elide: Text.ElideRight
                text: root.xtitle === "" ? "" : qsTrId(root.xtitle)
                color: XTheme.text_color_primary
                font.pixelSize: XTheme.font_size_large
                font.bold: true
                Accessible.ignored: true
            }

            Rectangle {
                id: closeButton
                objectName: "xcloseButton"
                anchors.right: parent.right
                anchors.rightMargin: 8
                anchors.verticalCenter: parent.verticalCenter
                width: 28
                height: 28
                radius: 2
                color: closeArea.containsMouse ? XTheme.fill_color_3 : XTheme.color_transparent
                Accessible.role: Accessible.Button
                Accessible.name: qsTrId("Close")
                Accessible.onPressAction: root.xcancel()

                XImage {
                    anchors.centerIn: parent
                    width: 18
                    height: 18
                    source: "qrc:/Controls/icons/close.svg"
                    color: closeArea.containsMouse ? XTheme.color_danger : XTheme.text_color_regular
                    Accessible.ignored: true
                }

                MouseArea {
                    id: closeArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: root.xcancel()
                    Accessible.ignored: true
                }
            }
        }

        Loader {
            id: loader
            y: root.xtitleHeight
            width: root.xinterWidth
            height: root.xinterHeight
            clip: true
        }

        Row {
            anchors.right: parent.right
            anchors.rightMargin: 16
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 8
            visible: root.xbuttonsHeight > 0
            spacing: 12

            XButton {
                id: okButton
                objectName: "xokButton"
                visible: root.xokVisible
                text: qsTrId(root.xokText)
                xbuttonType: 1
                onClicked: root.xok()
            }

            XButton {
                id: cancelButton
                objectName: "xcancelButton"
                visible: root.xcancelVisible
                text: qsTrId(root.xcancelText)
                xbuttonType: 0
                onClicked: root.xcancel()
            }
        }
    }
}
