import QtQuick 2.15
import Tavo5 1.0
import Sarvik 1.0

// The settings of the selected measurement item. The whole-image item only takes its two track switches;
// the three correction fields always go together through set_fix.
Column {
    id: root

    property var item: null
    readonly property bool isGlobal: !item || item.meaType === 0
    readonly property int nameWidth: 140
    property bool _loading: true

    spacing: 4

    function load() {
        _loading = true
        if (!item)
            return
        meaName.init(item.meaName)
        meaColor.init(item.meaColor)
        textPos.init(item.textPos)
        trackHigh.init(item.meaFlags_trackHigh)
        trackLow.init(item.meaFlags_trackLow)
        fixEnable.init(item.fixEnable)
        fixEmi.init(item.fixEmi)
        fixReflectTemp.init(item.fixReflectTemp)
        _loading = false
    }

    function write(name, value) {
        if (!_loading && item && item[name] !== value)
            item[name] = value
    }

    function writeFix() {
        if (!_loading && item)
            item.set_fix(fixEnable.xvalue, fixEmi.xvalue, fixReflectTemp.xvalue)
        // A value the item refused shows what it kept.
        load()
    }

    onItemChanged: load()
    Component.onCompleted: load()

    // Changes made elsewhere (a new name from drawing, a refused fix value) show here.
    Connections {
        target: root.item
        function onMeaNameChanged() { root.load() }
        function onMeaColorChanged() { root.load() }
        function onTextPosChanged() { root.load() }
        function onMeaFlags_trackHighChanged() { root.load() }
        function onMeaFlags_trackLowChanged() { root.load() }
        function onFixEnableChanged() { root.load() }
        function onFixEmiChanged() { root.load() }
        function onFixReflectTempChanged() { root.load() }
    }

    XInputString {
        id: meaName
        width: parent.width
        xpanelNameWidth: root.nameWidth
        xname: qsTrId("MeaName")
        xreadonly: root.isGlobal
        xrule_notNull: true
        xmaximumLength: 63
        onXvalueChanged: root.write("meaName", xvalue)
    }
    XInputColor {
        id: meaColor
        width: parent.width
        xpanelNameWidth: root.nameWidth
        xname: qsTrId("MeaColor")
        xreadonly: root.isGlobal
        onXvalueChanged: {
            if (!root._loading && root.item && !Qt.colorEqual(root.item.meaColor, xvalue))
                root.item.meaColor = xvalue
        }
    }
    XInputEnum {
        id: textPos
        width: parent.width
        xpanelNameWidth: root.nameWidth
        xname: qsTrId("TextPos")
        xreadonly: root.isGlobal
        xoptions: CApp.commonManager.textPosList
        onXvalueChanged: root.write("textPos", xvalue)
    }
    XInputBool {
        id: trackHigh
        width: parent.width
        xpanelNameWidth: root.nameWidth
        xname: qsTrId("TrackHigh")
        onXvalueChanged: root.write("meaFlags_trackHigh", xvalue)
    }
    XInputBool {
        id: trackLow
        width: parent.width
        xpanelNameWidth: root.nameWidth
        xname: qsTrId("TrackLow")
        onXvalueChanged: root.write("meaFlags_trackLow", xvalue)
    }
    XInputBool {
        id: fixEnable
        width: parent.width
        xpanelNameWidth: root.nameWidth
        xname: qsTrId("FixEnable")
        xreadonly: root.isGlobal
        onXvalueChanged: if (!root._loading) root.writeFix()
    }
    XInputFloat {
        id: fixEmi
        width: parent.width
        xpanelNameWidth: root.nameWidth
        xname: qsTrId("FixEmi")
        xformat: 2
        xreadonly: root.isGlobal
        onXvalueChanged: if (!root._loading) root.writeFix()
    }
    XInputFloat {
        id: fixReflectTemp
        width: parent.width
        xpanelNameWidth: root.nameWidth
        xname: qsTrId("FixReflectTemp")
        xformat: 2
        xreadonly: root.isGlobal
        onXvalueChanged: if (!root._loading) root.writeFix()
    }
}
