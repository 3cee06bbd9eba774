import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavo5 1.0
import Sarvik 1.0

// The device's temperature chart in a pop-up: one check box per series above the chart, which lives with
// the device and is only shown here.
XPopup {
    id: root

    readonly property var device: CApp.deviceManager ? CApp.deviceManager.device : null
    readonly property var chart: device ? device.chart : null

    xtitle: "DeviceChart"
    xinterWidth: 800
    xinterHeight: 480
    xokVisible: false
    xcancelVisible: false
    modal: false
    closePolicy: Popup.CloseOnEscape

    onOpened: {
        var page = xcontentLoader.item
        if (page)
            page.attachChart()
    }

    xcontentLoader.sourceComponent: Item {
        id: page

        function attachChart() {
            var chart = root.chart
            if (!chart)
                return
            chart.parent = chartArea
            chart.x = 0
            chart.y = 0
            chart.width = Qt.binding(function () { return chartArea.width })
            chart.height = Qt.binding(function () { return chartArea.height })
            chart.forceActiveFocus()
        }

        Component.onCompleted: attachChart()

        Row {
            id: seriesRow
            x: 12
            height: 36
            spacing: 16

            Repeater {
                model: root.chart ? root.chart.seriesList : []

                XCheckBox {
                    anchors.verticalCenter: parent.verticalCenter
                    text: modelData.seriesName
                    xtextColor: modelData.seriesColor
                    checked: modelData.visible
                    onToggled: modelData.visible = checked
                }
            }
        }

        Item {
            id: chartArea
            objectName: "chartArea"
            anchors.top: seriesRow.bottom
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            anchors.margins: 8
            Accessible.role: Accessible.Chart
            Accessible.name: qsTrId("DeviceChart")
        }
    }
}
