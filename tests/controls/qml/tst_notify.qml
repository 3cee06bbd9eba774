import QtQuick 2.15
import QtTest 1.15
import Tavo5 1.0

// The notice: status codes to success or failure, the colour and icon of each type, closing by itself.
TestCase {
    id: tc
    name: "Notify"
    width: 600
    height: 400
    visible: true
    when: windowShown

    Component {
        id: notifyComponent
        XPopupNotify {}
    }

    function make(props) {
        var n = createTemporaryObject(notifyComponent, tc, props || {})
        verify(n !== null)
        return n
    }

    // The text item of the notice (the one showing xnotifyInfo).
    function textItem(n) {
        var stack = [n.contentItem]
        while (stack.length > 0) {
            var it = stack.pop()
            if (it.text !== undefined && it.text === n.xnotifyInfo && it.color !== undefined)
                return it
            for (var i = 0; i < it.children.length; ++i)
                stack.push(it.children[i])
        }
        return null
    }

    // Every status a view hands over: negative and anything that is not a number is a failure.
    function test_error_code() {
        var cases = [
            { "code": 0, "type": 0, "text": "SetSuccess" },
            { "code": 1, "type": 0, "text": "SetSuccess" },
            { "code": 4096, "type": 0, "text": "SetSuccess" },
            { "code": "0", "type": 0, "text": "SetSuccess" },
            { "code": -1, "type": 3, "text": "SetFail" },
            { "code": -7, "type": 3, "text": "SetFail" },
            { "code": -200, "type": 3, "text": "SetFail" },
            { "code": -0.5, "type": 3, "text": "SetFail" },
            { "code": undefined, "type": 3, "text": "SetFail" },
            { "code": null, "type": 3, "text": "SetFail" },
            { "code": NaN, "type": 3, "text": "SetFail" },
            { "code": "", "type": 3, "text": "SetFail" },
            { "code": "abc", "type": 3, "text": "SetFail" },
            { "code": true, "type": 3, "text": "SetFail" }
        ]
        var n = make()
        for (var i = 0; i < cases.length; ++i) {
            var c = cases[i]
            var what = "code " + String(c.code)
            n.xopenErrorCode(c.code, "Set")
            compare(n.xnofityType, c.type, what)
            compare(n.xnotifyInfo, c.text, what)
            verify(n.visible, what)
            verify(Qt.colorEqual(n.xcolor, c.type === 0 ? XTheme.color_success : XTheme.color_danger), what)
        }
        n.xopenErrorCode(0)
        compare(n.xnotifyInfo, "Success", "no action text")
        n.xopenErrorCode(-1, null)
        compare(n.xnotifyInfo, "Fail")
    }

    // Colour of icon, text and frame and the icon itself per type; unknown types are information.
    function test_types() {
        var cases = [
            { "type": 0, "color": XTheme.color_success, "icon": "check-circle" },
            { "type": 1, "color": XTheme.color_info, "icon": "information" },
            { "type": 2, "color": XTheme.color_warning, "icon": "alert" },
            { "type": 3, "color": XTheme.color_danger, "icon": "close-circle" },
            { "type": 9, "color": XTheme.color_info, "icon": "information", "shown": 1 },
            { "type": -1, "color": XTheme.color_info, "icon": "information", "shown": 1 },
            { "type": "2", "color": XTheme.color_warning, "icon": "alert", "shown": 2 }
        ]
        var n = make()
        for (var i = 0; i < cases.length; ++i) {
            var c = cases[i]
            var what = "type " + c.type
            n.xopen(c.type, "text " + i)
            compare(n.xnofityType, c.shown !== undefined ? c.shown : c.type, what)
            compare(n.xnotifyInfo, "text " + i, what)
            verify(Qt.colorEqual(n.xcolor, c.color), what)
            compare(n.xiconSource, "qrc:/Controls/icons/" + c.icon + ".svg", what)
            var t = textItem(n)
            verify(t !== null, what)
            verify(Qt.colorEqual(t.color, c.color), what + ": text colour")
            verify(Qt.colorEqual(n.background.border.color, c.color), what + ": frame colour")
        }
        n.xopen(1, undefined)
        compare(n.xnotifyInfo, "")
    }

    // The one-second timer closes the notice after xduration seconds; opening again starts over.
    function test_closes_itself() {
        var n = make({ "xduration": 1 })
        n.xopen(0, "done")
        verify(n.visible)
        compare(n.xremaining, 1)
        tryCompare(n, "visible", false, 5000)

        n.xduration = 2
        n.xopen(2, "again")
        compare(n.xremaining, 2)
        tryCompare(n, "xremaining", 1, 5000)
        n.xopen(3, "restart")
        compare(n.xremaining, 2, "a new notice counts from the start")
        verify(n.visible)
        tryCompare(n, "visible", false, 5000)
    }

    // Closed by hand: the timer stops with it and a later notice counts in full.
    function test_close_by_hand() {
        var n = make({ "xduration": 2 })
        n.xopen(1, "x")
        n.close()
        tryCompare(n, "visible", false)
        n.xduration = 1
        n.xopen(1, "y")
        compare(n.xremaining, 1)
        verify(n.visible)
    }

    // Assistive technology hears the text as an alert.
    function test_accessibility() {
        var n = make()
        n.xopenErrorCode(-5, "Upload")
        var item = n.contentItem.parent
        compare(item.Accessible.role, Accessible.AlertMessage)
        compare(item.Accessible.name, "UploadFail")
    }
}
