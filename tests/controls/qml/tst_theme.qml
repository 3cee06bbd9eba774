import QtQuick 2.15
import QtTest 1.15
import Tavo5 1.0

// The theme's tokens, tones, styles and path helpers.
TestCase {
    name: "Theme"

    function hex2(v) {
        var s = v.toString(16)
        return s.length < 2 ? "0" + s : s
    }

    // The tone rule worked out here on integers: c + (target - c) * k / 10, halves rounded up.
    function expectedTone(base, target, k) {
        var out = "#"
        for (var i = 1; i < 7; i += 2) {
            var c = parseInt(base.substr(i, 2), 16)
            var t = parseInt(target.substr(i, 2), 16)
            out += hex2(Math.floor((c * (10 - k) + t * k + 5) / 10))
        }
        return out
    }

    function test_tones() {
        var bases = { primary: "#409eff", success: "#67c23a", warning: "#e6a23c", danger: "#f56c6c", info: "#909399" }
        var kept = { color_primary_dark_9: "#18222c", color_danger_dark_9: "#2b1d1d" }
        var checked = 0
        for (var name in bases) {
            compare(XTheme["color_" + name].toString(), bases[name], name)
            for (var k = 1; k <= 9; ++k) {
                var light = "color_" + name + "_light_" + k
                var dark = "color_" + name + "_dark_" + k
                compare(XTheme[light].toString(), expectedTone(bases[name], "#ffffff", k), light)
                var want = kept[dark] !== undefined ? kept[dark] : expectedTone(bases[name], "#141414", k)
                compare(XTheme[dark].toString(), want, dark)
                checked += 2
            }
        }
        compare(checked, 90)
        // The two examples that fix the rounding.
        compare(XTheme.color_primary_light_1.toString(), "#53a8ff")
        compare(XTheme.color_primary_dark_1.toString(), "#3c90e8")
    }

    function test_tokens_data() {
        return [
            { tag: "transparent", token: "color_transparent", value: "#00000000" },
            { tag: "dark", token: "color_dark", value: "#141414" },
            { tag: "text_color follows primary", token: "text_color", value: "#e5eaf3" },
            { tag: "placeholder", token: "text_color_placeholder", value: "#8d9095" },
            { tag: "border_color follows base", token: "border_color", value: "#4c4d4f" },
            { tag: "extra light border", token: "border_color_extra_light", value: "#2b2b2c" },
            { tag: "background_color is dark", token: "background_color", value: "#141414" },
            { tag: "background base", token: "background_color_base", value: "#262627" },
            { tag: "fill 1", token: "fill_color_1", value: "#21242a" },
            { tag: "fill 5", token: "fill_color_5", value: "#515a65" },
            { tag: "form head", token: "form_color_head", value: "#2d323c" },
            { tag: "popup head is dark", token: "popup_color_head", value: "#141414" },
        ]
    }

    function test_tokens(row) {
        compare(XTheme[row.token].toString(), row.value)
    }

    function test_sizes_and_arrays() {
        var sizes = [["font_size_extra_large", 18], ["font_size_large", 16], ["font_size_medium", 14],
                     ["font_size_base", 12], ["font_size_small", 10], ["font_size_extra_small", 8], ["font_size", 12]]
        for (var i = 0; i < sizes.length; ++i)
            compare(XTheme[sizes[i][0]], sizes[i][1], sizes[i][0])
        var arrays = {
            dropdown_colors4: ["#2d323c", "#4e5a69", "#141820", "#505050"],
            input_colors4: ["#303040", "#404050", "#505060", "#505050"],
            tab_colors4: ["#141414", "#18222c", "#18222c", "#505050"],
            form_colors4: ["#1d1d1d", "#2d2d2d", "#3d3d3d", XTheme.color_primary_dark_5.toString()]
        }
        for (var name in arrays) {
            compare(XTheme[name].length, 4, name)
            for (var j = 0; j < 4; ++j)
                compare(Qt.lighter(XTheme[name][j], 1.0).toString(), arrays[name][j], name + "[" + j + "]")
        }
    }

    function test_tokens_are_read_only() {
        var failed = false
        try {
            XTheme.color_primary = "#000000"
        } catch (e) {
            failed = true
        }
        verify(failed, "writing a token must throw")
        compare(XTheme.color_primary.toString(), "#409eff")
    }

    function checkStyle(name, style) {
        verify(style, name)
        var parts = ["fg", "bg", "bo"]
        for (var p = 0; p < parts.length; ++p) {
            compare(style[parts[p]].length, 4, name + "." + parts[p])
            for (var s = 0; s < 4; ++s)
                verify(/^#[0-9a-f]{6,8}$/.test(String(style[parts[p]][s])), name + "." + parts[p] + "[" + s + "] is a colour")
        }
    }

    function test_button_styles() {
        for (var i = 0; i <= 12; ++i)
            checkStyle("_button" + i, XTheme["_button" + i])
        var names = ["primary", "success", "warning", "danger", "info"]
        for (var k = 0; k < names.length; ++k) {
            var n = names[k]
            // Filled: the colour, dark_3 hovered, light_2 pressed, dark_5 disabled, white text.
            var filled = XTheme["_button" + (k + 1)]
            var want = [XTheme["color_" + n], XTheme["color_" + n + "_dark_3"],
                        XTheme["color_" + n + "_light_2"], XTheme["color_" + n + "_dark_5"]]
            for (var s = 0; s < 4; ++s) {
                verify(Qt.colorEqual(filled.bg[s], want[s]), "filled " + n + " state " + s)
                verify(Qt.colorEqual(filled.fg[s], "#ffffff"), "filled " + n + " text " + s)
            }
            // Light: dark_9 background, dark_6 border, the colour as text; filled when hovered.
            var light = XTheme["_button" + (k + 7)]
            verify(Qt.colorEqual(light.bg[0], XTheme["color_" + n + "_dark_9"]), "light " + n + " bg")
            verify(Qt.colorEqual(light.bo[0], XTheme["color_" + n + "_dark_6"]), "light " + n + " border")
            verify(Qt.colorEqual(light.fg[0], XTheme["color_" + n]), "light " + n + " text")
            verify(Qt.colorEqual(light.bg[1], XTheme["color_" + n]), "light " + n + " hovered fill")
        }
        // Plain: primary when hovered; link: no fill.
        verify(Qt.colorEqual(XTheme._button6.bg[1], XTheme.color_primary))
        for (var t = 0; t < 4; ++t)
            compare(XTheme._button12.bg[t].a, 0, "link has no fill")
        compare(XTheme._buttons.length, 13)
        compare(XTheme._buttons[4], XTheme._button4)
    }

    function test_list_cell_styles() {
        var names = ["_list_icon", "_list_text", "_list_update", "_list_delete", "_list_create"]
        for (var i = 0; i < names.length; ++i)
            checkStyle(names[i], XTheme[names[i]])
        verify(Qt.colorEqual(XTheme._list_delete.fg[0], XTheme.color_danger))
    }

    function test_os2url_data() {
        return [
            { tag: "linux", path: "/home/user/a.bin", url: "file:///home/user/a.bin" },
            { tag: "linux root", path: "/", url: "file:///" },
            { tag: "linux space", path: "/tmp/my file.cust", url: "file:///tmp/my%20file.cust" },
            { tag: "linux hash and query", path: "/tmp/a#1?.bad", url: "file:///tmp/a%231%3F.bad" },
            { tag: "linux percent", path: "/tmp/100%.bin", url: "file:///tmp/100%25.bin" },
            { tag: "linux unicode", path: "/tmp/\u6e29\u5ea6.jpg", url: "file:///tmp/%E6%B8%A9%E5%BA%A6.jpg" },
            { tag: "windows drive slash", path: "C:/Data/x.bin", url: "file:///C:/Data/x.bin" },
            { tag: "windows drive backslash", path: "D:\\Data\\x.bin", url: "file:///D:/Data/x.bin", back: "D:/Data/x.bin" },
            { tag: "windows drive root", path: "C:/", url: "file:///C:/" },
            { tag: "windows network", path: "//server/share/x.bin", url: "file://server/share/x.bin" },
            { tag: "windows network backslash", path: "\\\\server\\share", url: "file://server/share", back: "//server/share" },
            { tag: "relative", path: "a/b.bin", url: "file:a/b.bin" },
            { tag: "empty", path: "", url: "" },
        ]
    }

    function test_os2url(row) {
        compare(XTheme.fn_os2url(row.path), row.url)
        compare(XTheme.fn_url2os(row.url), row.back !== undefined ? row.back : row.path)
        // What QUrl makes of it agrees (a url object converts back the same way).
        if (row.url !== "" && row.tag.indexOf("relative") < 0)
            compare(XTheme.fn_url2os(Qt.resolvedUrl(row.url)), row.back !== undefined ? row.back : row.path)
    }

    function test_url2os_data() {
        return [
            { tag: "localhost", url: "file://localhost/etc/x", path: "/etc/x" },
            { tag: "single slash", url: "file:/etc/x", path: "/etc/x" },
            { tag: "single slash drive", url: "file:/C:/x", path: "C:/x" },
            { tag: "upper-case scheme", url: "FILE:///etc/x", path: "/etc/x" },
            { tag: "not a file url", url: "qrc:/Controls/icons/check.svg", path: "qrc:/Controls/icons/check.svg" },
            { tag: "plain path", url: "/already/a/path", path: "/already/a/path" },
            { tag: "stray percent", url: "file:///tmp/50%x", path: "/tmp/50%x" },
            { tag: "undefined", url: undefined, path: "" },
        ]
    }

    function test_url2os(row) {
        compare(XTheme.fn_url2os(row.url), row.path)
    }
}
