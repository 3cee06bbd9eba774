import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Window 2.15
import Tavo5 1.0

// The gallery window: a font switch above the page of every control. The page is reloaded after a font
// switch, so that plain texts pick up the new application font as well as the Quick controls.
ApplicationWindow {
    id: window

    // The program sets galleryHost; loaded without it (tests) the font switch only lists the current font.
    readonly property var host: typeof galleryHost !== "undefined" ? galleryHost : null
    readonly property alias xpage: pageLoader.item

    width: 1600
    height: 1100
    visible: true
    title: "Tavo5 controls"
    color: XTheme.background_color
    font.family: host ? host.fontFamily : Qt.application.font.family
    font.pixelSize: XTheme.font_size

    header: Rectangle {
        height: 44
        color: XTheme.fill_color_1

        Row {
            anchors.left: parent.left
            anchors.leftMargin: 12
            anchors.verticalCenter: parent.verticalCenter
            spacing: 12

            XText {
                anchors.verticalCenter: parent.verticalCenter
                text: qsTrId("Font")
            }
            XComboBox {
                id: fontCombo
                width: 220
                height: 30
                xname: qsTrId("Font")
                textRole: ""
                model: window.host ? window.host.fontFamilies : [window.font.family]
                currentIndex: window.host ? Math.max(0, window.host.fontFamilies.indexOf(window.host.fontFamily)) : 0
                onActivated: {
                    if (window.host)
                        window.host.setFontFamily(textAt(index))
                }
            }
        }
    }

    Connections {
        target: window.host
        function onFontFamilyChanged() {
            pageLoader.reload()
        }
    }

    ScrollView {
        anchors.fill: parent
        contentWidth: Math.max(window.width, pageLoader.implicitWidth)
        contentHeight: pageLoader.implicitHeight
        clip: true

        Loader {
            id: pageLoader
            width: Math.max(window.width, implicitWidth)
            source: "GalleryPage.qml"

            function reload() {
                var src = source
                source = ""
                source = src
            }
        }
    }
}
