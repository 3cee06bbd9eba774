import QtQuick 2.15
import QtTest 1.15
import Tavo5 1.0

// The pop-up's buttons and clicked(ok), its content area, and the dialogs' operating-system paths.
TestCase {
    id: tc
    name: "Popup"
    width: 800
    height: 600
    visible: true
    when: windowShown

    Component {
        id: popupComponent
        XPopup {
            xtitle: "DeviceConfig"
            xinterWidth: 300
            xinterHeight: 120
            xcontentLoader.sourceComponent: Rectangle {
                objectName: "content"
                anchors.fill: parent
                color: "green"
            }
        }
    }

    Component {
        id: fileDialogComponent
        XFileDialog {}
    }

    Component {
        id: folderDialogComponent
        XFolderDialog {}
    }

    SignalSpy {
        id: clickedSpy
        signalName: "clicked"
    }

    function openPopup(props) {
        var p = createTemporaryObject(popupComponent, tc, props || {})
        verify(p !== null)
        clickedSpy.target = p
        clickedSpy.clear()
        p.open()
        tryCompare(p, "opened", true)
        return p
    }

    // Each way out: what clicked() says and whether the pop-up closes.
    function test_buttons() {
        var cases = [
            { "how": "ok", "closeOnOk": true, "signals": [true], "open": false },
            { "how": "ok", "closeOnOk": false, "signals": [true], "open": true },
            { "how": "okPress", "closeOnOk": true, "signals": [true], "open": false },
            { "how": "cancel", "closeOnOk": true, "signals": [false], "open": false },
            { "how": "cancel", "closeOnOk": false, "signals": [false], "open": false },
            { "how": "cancelPress", "closeOnOk": true, "signals": [false], "open": false },
            { "how": "close", "closeOnOk": true, "signals": [false], "open": false },
            { "how": "closePress", "closeOnOk": true, "signals": [false], "open": false },
            // Escape leaves without an answer
            { "how": "escape", "closeOnOk": true, "signals": [], "open": false }
        ]
        for (var i = 0; i < cases.length; ++i) {
            var c = cases[i]
            var what = c.how + (c.closeOnOk ? "" : " (stays open on OK)")
            var p = openPopup({ "xcloseOnOk": c.closeOnOk })
            var ok = findChild(p.contentItem, "xokButton")
            var cancel = findChild(p.contentItem, "xcancelButton")
            var close = findChild(p.contentItem, "xcloseButton")
            verify(ok !== null && cancel !== null && close !== null, what)
            if (c.how === "ok")
                mouseClick(ok)
            else if (c.how === "okPress")
                ok.Accessible.pressAction()
            else if (c.how === "cancel")
                mouseClick(cancel)
            else if (c.how === "cancelPress")
                cancel.Accessible.pressAction()
            else if (c.how === "close")
                mouseClick(close)
            else if (c.how === "closePress")
                close.Accessible.pressAction()
            else
                keyClick(Qt.Key_Escape)
            compare(clickedSpy.count, c.signals.length, what)
            for (var s = 0; s < c.signals.length; ++s)
                compare(clickedSpy.signalArguments[s][0], c.signals[s], what)
            tryCompare(p, "visible", c.open, 1000, what)
            p.close()
        }
    }

    // The content fills the area under the title; the buttons can be hidden.
    function test_content_and_size() {
        var p = openPopup()
        var content = p.xcontentLoader.item
        verify(content !== null)
        compare(content.objectName, "content")
        compare(content.width, 300)
        compare(content.height, 120)
        compare(p.width, 300)
        compare(p.height, p.xtitleHeight + 120 + p.xbuttonsHeight)
        verify(p.xbuttonsHeight > 0)
        p.xokVisible = false
        p.xcancelVisible = false
        compare(p.xbuttonsHeight, 0)
        compare(p.height, p.xtitleHeight + 120)

        p.close()
        p.xopen(20, 30)
        tryCompare(p, "opened", true)
        compare(p.x, 20)
        compare(p.y, 30)
    }

    function test_accessibility() {
        var p = openPopup()
        var item = p.contentItem.parent
        compare(item.Accessible.role, Accessible.Dialog)
        compare(item.Accessible.name, "DeviceConfig")
        p.xtitle = "AppConfig"
        compare(item.Accessible.name, "AppConfig")
        var close = findChild(p.contentItem, "xcloseButton")
        compare(close.Accessible.role, Accessible.Button)
        compare(close.Accessible.name, "Close")
        compare(findChild(p.contentItem, "xokButton").Accessible.name, "OK")
    }

    // Paths set on the dialogs reach the platform dialog as file URLs and come back unchanged.
    function test_dialog_paths() {
        var paths = ["/tmp/a.bin", "/home/user/my files/cam #1.cust", "/data/100%/x?.bad", "/tmp/Überwachung/ä.log"]
        var fd = createTemporaryObject(fileDialogComponent, tc)
        var fo = createTemporaryObject(folderDialogComponent, tc)
        verify(fd !== null && fo !== null)
        for (var i = 0; i < paths.length; ++i) {
            var p = paths[i]
            fd.xcurrentFile = p
            compare(XTheme.fn_url2os(fd.currentFile.toString()), p, p)
            compare(fd.xcurrentFile, p, p)
            fd.xfolder = p
            compare(XTheme.fn_url2os(fd.folder.toString()), p, p)
            fo.xcurrentFolder = p
            compare(XTheme.fn_url2os(fo.currentFolder.toString()), p, p)
            compare(fo.xcurrentFolder, p, p)
            fo.xselectedFolder = p
            compare(XTheme.fn_url2os(fo.folder.toString()), p, p)
            compare(fo.xselectedFolder, p, p)
        }
        // What the platform dialog reports comes out as a path.
        fd.file = "file:///tmp/chosen%20file.bin"
        compare(fd.xselectedFile, "/tmp/chosen file.bin")
        fo.folder = "file:///srv/data"
        compare(fo.xselectedFolder, "/srv/data")
    }
}
