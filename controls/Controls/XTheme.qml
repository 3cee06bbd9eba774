pragma Singleton
import QtQuick 2.15

// The dark theme of every control and view: colour tokens, the signal colours' tones, the button and
// list-cell styles, file-URL helpers and the one shared colour dialog.
QtObject {
    id: theme

    readonly property color color_transparent: "#00000000"
    readonly property color color_black: "#000000"
    readonly property color color_white: "#FFFFFF"
    readonly property color color_dark: "#141414"

    readonly property color color_primary: "#409EFF"
    readonly property color color_success: "#67C23A"
    readonly property color color_warning: "#E6A23C"
    readonly property color color_danger: "#F56C6C"
    readonly property color color_info: "#909399"

    readonly property color text_color_primary: "#E5EAF3"
    readonly property color text_color_regular: "#CFD3DC"
    readonly property color text_color_secondary: "#A3A6AD"
    readonly property color text_color_placeholder: "#8D9095"
    readonly property color text_color_disabled: "#6C6E72"
    readonly property color text_color: text_color_primary

    readonly property color border_color_darker: "#636466"
    readonly property color border_color_base: "#4C4D4F"
    readonly property color border_color_light: "#414243"
    readonly property color border_color_lighter: "#363637"
    readonly property color border_color_extra_light: "#2B2B2C"
    readonly property color border_color: border_color_base

    readonly property color background_color_base: "#262627"
    readonly property color background_color: color_dark

    readonly property color fill_color_1: "#21242A"
    readonly property color fill_color_2: "#2D323C"
    readonly property color fill_color_3: "#393F47"
    readonly property color fill_color_4: "#3E454E"
    readonly property color fill_color_5: "#515A65"

    readonly property int font_size_extra_large: 18
    readonly property int font_size_large: 16
    readonly property int font_size_medium: 14
    readonly property int font_size_base: 12
    readonly property int font_size_small: 10
    readonly property int font_size_extra_small: 8
    readonly property int font_size: font_size_base

    // Four-state colours (normal, hovered, pressed or focused, disabled).
    readonly property var dropdown_colors4: ["#2D323C", "#4E5A69", "#141820", "#505050"]
    readonly property var input_colors4: ["#303040", "#404050", "#505060", "#505050"]
    readonly property var tab_colors4: ["#141414", "#18222c", "#18222c", "#505050"]

    readonly property color form_color_head: "#2D323C"
    readonly property var form_colors4: ["#1d1d1d", "#2d2d2d", "#3d3d3d", color_primary_dark_5]
    readonly property color popup_color_head: color_dark

    // Tones of the signal colours (color_primary_dark_9 and color_danger_dark_9 are written as they stand).
    // primary: towards white, then towards color_dark, by K tenths per channel
    readonly property color color_primary_light_1: "#53a8ff"
    readonly property color color_primary_light_2: "#66b1ff"
    readonly property color color_primary_light_3: "#79bbff"
    readonly property color color_primary_light_4: "#8cc5ff"
    readonly property color color_primary_light_5: "#a0cfff"
    readonly property color color_primary_light_6: "#b3d8ff"
    readonly property color color_primary_light_7: "#c6e2ff"
    readonly property color color_primary_light_8: "#d9ecff"
    readonly property color color_primary_light_9: "#ecf5ff"
    readonly property color color_primary_dark_1: "#3c90e8"
    readonly property color color_primary_dark_2: "#3782d0"
    readonly property color color_primary_dark_3: "#3375b9"
    readonly property color color_primary_dark_4: "#2e67a1"
    readonly property color color_primary_dark_5: "#2a598a"
    readonly property color color_primary_dark_6: "#264b72"
    readonly property color color_primary_dark_7: "#213d5b"
    readonly property color color_primary_dark_8: "#1d3043"
    readonly property color color_primary_dark_9: "#18222c"
    // success: towards white, then towards color_dark, by K tenths per channel
    readonly property color color_success_light_1: "#76c84e"
    readonly property color color_success_light_2: "#85ce61"
    readonly property color color_success_light_3: "#95d475"
    readonly property color color_success_light_4: "#a4da89"
    readonly property color color_success_light_5: "#b3e19d"
    readonly property color color_success_light_6: "#c2e7b0"
    readonly property color color_success_light_7: "#d1edc4"
    readonly property color color_success_light_8: "#e1f3d8"
    readonly property color color_success_light_9: "#f0f9eb"
    readonly property color color_success_dark_1: "#5fb136"
    readonly property color color_success_dark_2: "#569f32"
    readonly property color color_success_dark_3: "#4e8e2f"
    readonly property color color_success_dark_4: "#467c2b"
    readonly property color color_success_dark_5: "#3e6b27"
    readonly property color color_success_dark_6: "#355a23"
    readonly property color color_success_dark_7: "#2d481f"
    readonly property color color_success_dark_8: "#25371c"
    readonly property color color_success_dark_9: "#1c2518"
    // warning: towards white, then towards color_dark, by K tenths per channel
    readonly property color color_warning_light_1: "#e9ab50"
    readonly property color color_warning_light_2: "#ebb563"
    readonly property color color_warning_light_3: "#eebe77"
    readonly property color color_warning_light_4: "#f0c78a"
    readonly property color color_warning_light_5: "#f3d19e"
    readonly property color color_warning_light_6: "#f5dab1"
    readonly property color color_warning_light_7: "#f8e3c5"
    readonly property color color_warning_light_8: "#faecd8"
    readonly property color color_warning_light_9: "#fdf6ec"
    readonly property color color_warning_dark_1: "#d19438"
    readonly property color color_warning_dark_2: "#bc8634"
    readonly property color color_warning_dark_3: "#a77730"
    readonly property color color_warning_dark_4: "#92692c"
    readonly property color color_warning_dark_5: "#7d5b28"
    readonly property color color_warning_dark_6: "#684d24"
    readonly property color color_warning_dark_7: "#533f20"
    readonly property color color_warning_dark_8: "#3e301c"
    readonly property color color_warning_dark_9: "#292218"
    // danger: towards white, then towards color_dark, by K tenths per channel
    readonly property color color_danger_light_1: "#f67b7b"
    readonly property color color_danger_light_2: "#f78989"
    readonly property color color_danger_light_3: "#f89898"
    readonly property color color_danger_light_4: "#f9a7a7"
    readonly property color color_danger_light_5: "#fab6b6"
    readonly property color color_danger_light_6: "#fbc4c4"
    readonly property color color_danger_light_7: "#fcd3d3"
    readonly property color color_danger_light_8: "#fde2e2"
    readonly property color color_danger_light_9: "#fef0f0"
    readonly property color color_danger_dark_1: "#df6363"
    readonly property color color_danger_dark_2: "#c85a5a"
    readonly property color color_danger_dark_3: "#b25252"
    readonly property color color_danger_dark_4: "#9b4949"
    readonly property color color_danger_dark_5: "#854040"
    readonly property color color_danger_dark_6: "#6e3737"
    readonly property color color_danger_dark_7: "#582e2e"
    readonly property color color_danger_dark_8: "#412626"
    readonly property color color_danger_dark_9: "#2b1d1d"
    // info: towards white, then towards color_dark, by K tenths per channel
    readonly property color color_info_light_1: "#9b9ea3"
    readonly property color color_info_light_2: "#a6a9ad"
    readonly property color color_info_light_3: "#b1b3b8"
    readonly property color color_info_light_4: "#bcbec2"
    readonly property color color_info_light_5: "#c8c9cc"
    readonly property color color_info_light_6: "#d3d4d6"
    readonly property color color_info_light_7: "#dedfe0"
    readonly property color color_info_light_8: "#e9e9eb"
    readonly property color color_info_light_9: "#f4f4f5"
    readonly property color color_info_dark_1: "#84868c"
    readonly property color color_info_dark_2: "#777a7e"
    readonly property color color_info_dark_3: "#6b6d71"
    readonly property color color_info_dark_4: "#5e6064"
    readonly property color color_info_dark_5: "#525457"
    readonly property color color_info_dark_6: "#464749"
    readonly property color color_info_dark_7: "#393a3c"
    readonly property color color_info_dark_8: "#2d2d2f"
    readonly property color color_info_dark_9: "#202121"

    // default: neutral fill, primary text and border on hover
    readonly property FGBGBO _button0: FGBGBO {
        fg: [text_color_regular, color_primary, color_primary, text_color_disabled]
        bg: [fill_color_2, color_primary_dark_9, color_primary_dark_8, fill_color_1]
        bo: [border_color_base, color_primary_dark_6, color_primary, border_color_light]
    }
    // filled primary
    readonly property FGBGBO _button1: FGBGBO {
        fg: [color_white, color_white, color_white, color_white]
        bg: [color_primary, color_primary_dark_3, color_primary_light_2, color_primary_dark_5]
        bo: [color_primary, color_primary_dark_3, color_primary_light_2, color_primary_dark_5]
    }
    // filled success
    readonly property FGBGBO _button2: FGBGBO {
        fg: [color_white, color_white, color_white, color_white]
        bg: [color_success, color_success_dark_3, color_success_light_2, color_success_dark_5]
        bo: [color_success, color_success_dark_3, color_success_light_2, color_success_dark_5]
    }
    // filled warning
    readonly property FGBGBO _button3: FGBGBO {
        fg: [color_white, color_white, color_white, color_white]
        bg: [color_warning, color_warning_dark_3, color_warning_light_2, color_warning_dark_5]
        bo: [color_warning, color_warning_dark_3, color_warning_light_2, color_warning_dark_5]
    }
    // filled danger
    readonly property FGBGBO _button4: FGBGBO {
        fg: [color_white, color_white, color_white, color_white]
        bg: [color_danger, color_danger_dark_3, color_danger_light_2, color_danger_dark_5]
        bo: [color_danger, color_danger_dark_3, color_danger_light_2, color_danger_dark_5]
    }
    // filled info
    readonly property FGBGBO _button5: FGBGBO {
        fg: [color_white, color_white, color_white, color_white]
        bg: [color_info, color_info_dark_3, color_info_light_2, color_info_dark_5]
        bo: [color_info, color_info_dark_3, color_info_light_2, color_info_dark_5]
    }
    // plain: transparent until hovered, then primary
    readonly property FGBGBO _button6: FGBGBO {
        fg: [text_color_regular, color_white, color_white, text_color_disabled]
        bg: [color_transparent, color_primary, color_primary_light_2, color_transparent]
        bo: [border_color_base, color_primary, color_primary_light_2, border_color_light]
    }
    // light primary: tinted until hovered, filled while hovered or pressed
    readonly property FGBGBO _button7: FGBGBO {
        fg: [color_primary, color_white, color_white, color_primary_dark_5]
        bg: [color_primary_dark_9, color_primary, color_primary_light_2, color_primary_dark_9]
        bo: [color_primary_dark_6, color_primary, color_primary_light_2, color_primary_dark_8]
    }
    // light success: tinted until hovered, filled while hovered or pressed
    readonly property FGBGBO _button8: FGBGBO {
        fg: [color_success, color_white, color_white, color_success_dark_5]
        bg: [color_success_dark_9, color_success, color_success_light_2, color_success_dark_9]
        bo: [color_success_dark_6, color_success, color_success_light_2, color_success_dark_8]
    }
    // light warning: tinted until hovered, filled while hovered or pressed
    readonly property FGBGBO _button9: FGBGBO {
        fg: [color_warning, color_white, color_white, color_warning_dark_5]
        bg: [color_warning_dark_9, color_warning, color_warning_light_2, color_warning_dark_9]
        bo: [color_warning_dark_6, color_warning, color_warning_light_2, color_warning_dark_8]
    }
    // light danger: tinted until hovered, filled while hovered or pressed
    readonly property FGBGBO _button10: FGBGBO {
        fg: [color_danger, color_white, color_white, color_danger_dark_5]
        bg: [color_danger_dark_9, color_danger, color_danger_light_2, color_danger_dark_9]
        bo: [color_danger_dark_6, color_danger, color_danger_light_2, color_danger_dark_8]
    }
    // light info: tinted until hovered, filled while hovered or pressed
    readonly property FGBGBO _button11: FGBGBO {
        fg: [color_info, color_white, color_white, color_info_dark_5]
        bg: [color_info_dark_9, color_info, color_info_light_2, color_info_dark_9]
        bo: [color_info_dark_6, color_info, color_info_light_2, color_info_dark_8]
    }
    // text link: no fill, no border
    readonly property FGBGBO _button12: FGBGBO {
        fg: [color_primary, color_primary_light_3, color_primary_dark_2, text_color_disabled]
        bg: [color_transparent, color_transparent, color_transparent, color_transparent]
        bo: [color_transparent, color_transparent, color_transparent, color_transparent]
    }

    // The 13 button styles by `xbuttonType`.
    readonly property var _buttons: [_button0, _button1, _button2, _button3, _button4, _button5, _button6, _button7, _button8, _button9, _button10, _button11, _button12]

    // list edit cells: an icon action
    readonly property FGBGBO _list_icon: FGBGBO {
        fg: [text_color_regular, color_primary, color_primary_light_2, text_color_disabled]
        bg: [color_transparent, color_transparent, color_transparent, color_transparent]
        bo: [color_transparent, color_transparent, color_transparent, color_transparent]
    }
    // list edit cells: a plain text action
    readonly property FGBGBO _list_text: FGBGBO {
        fg: [text_color_primary, color_primary, color_primary_light_2, text_color_disabled]
        bg: [color_transparent, color_transparent, color_transparent, color_transparent]
        bo: [color_transparent, color_transparent, color_transparent, color_transparent]
    }
    // list edit cells: change a row
    readonly property FGBGBO _list_update: FGBGBO {
        fg: [color_primary, color_primary_light_3, color_primary_dark_2, text_color_disabled]
        bg: [color_transparent, color_transparent, color_transparent, color_transparent]
        bo: [color_transparent, color_transparent, color_transparent, color_transparent]
    }
    // list edit cells: remove a row
    readonly property FGBGBO _list_delete: FGBGBO {
        fg: [color_danger, color_danger_light_3, color_danger_dark_2, text_color_disabled]
        bg: [color_transparent, color_transparent, color_transparent, color_transparent]
        bo: [color_transparent, color_transparent, color_transparent, color_transparent]
    }
    // list edit cells: add a row
    readonly property FGBGBO _list_create: FGBGBO {
        fg: [color_success, color_success_light_3, color_success_dark_2, text_color_disabled]
        bg: [color_transparent, color_transparent, color_transparent, color_transparent]
        bo: [color_transparent, color_transparent, color_transparent, color_transparent]
    }

    // Operating-system path to file URL. Windows drive paths get "file:///", Windows network paths
    // ("//server/share" or "\\server\share") "file:", every other absolute path "file://". Characters a
    // URL would misread ('%', '#', '?', spaces, non-ASCII) are percent-encoded so fn_url2os gives the
    // path back unchanged.
    function fn_os2url(path) {
        var p = (path === undefined || path === null) ? "" : String(path)
        if (p.length === 0)
            return ""
        if (/^[A-Za-z]:([\\\/]|$)/.test(p))
            return "file:///" + _urlEncodePath(p.replace(/\\/g, "/"))
        if (/^(\\\\|\/\/)[^\\\/]/.test(p))
            return "file:" + _urlEncodePath(p.replace(/\\/g, "/"))
        if (p.charAt(0) === "/")
            return "file://" + _urlEncodePath(p)
        // A relative path stays relative: "file://" would turn its first folder into a host name.
        return "file:" + _urlEncodePath(p)
    }

    // File URL to operating-system path: the reverse of fn_os2url. Anything that is not a file URL is
    // returned as it is (it is a path already, or a resource the caller handles).
    function fn_url2os(url) {
        var u = (url === undefined || url === null) ? "" : String(url)
        if (!/^file:/i.test(u))
            return u
        var rest = u.substring(5)
        var path
        if (/^\/\/\/[A-Za-z]:(\/|$)/.test(rest))
            path = rest.substring(3)            // file:///C:/x
        else if (/^\/[A-Za-z]:(\/|$)/.test(rest))
            path = rest.substring(1)            // file:/C:/x
        else if (/^\/\/\//.test(rest))
            path = rest.substring(2)            // file:///home/x
        else if (/^\/\/localhost\//i.test(rest))
            path = rest.substring(11)           // file://localhost/home/x
        else
            path = rest                         // file://server/share, file:/home/x, file:relative
        try {
            return decodeURIComponent(path)
        } catch (e) {
            return path                         // a stray '%' that encodes nothing
        }
    }

    function _urlEncodePath(p) {
        try {
            return encodeURI(p).replace(/#/g, "%23").replace(/\?/g, "%3F")
        } catch (e) {
            return p                            // lone surrogate: leave it to QUrl's tolerant parsing
        }
    }

    // One colour dialog for the whole application, made on first use so that loading the theme does not
    // load the dialogs module. The accepted colour goes to the picker that opened it last.
    property QtObject _colorDialog: null
    property QtObject _colorTarget: null

    function openColorDialog(picker) {
        if (!picker)
            return
        if (!_colorDialog) {
            _colorDialog = Qt.createQmlObject(
                        'import QtQuick 2.15; import QtQuick.Dialogs 1.3; ColorDialog { modality: Qt.ApplicationModal; showAlphaChannel: false }',
                        theme, "XThemeColorDialog")
            _colorDialog.accepted.connect(function () {
                // The picker may have gone away while the dialog was open: the property is null then.
                if (_colorTarget)
                    _colorTarget.xcolor = _colorDialog.color
                _colorTarget = null
            })
            _colorDialog.rejected.connect(function () {
                _colorTarget = null
            })
        }
        _colorDialog.title = qsTrId("SelectColor")
        _colorTarget = picker
        if (picker.xcolor !== undefined)
            _colorDialog.color = picker.xcolor
        _colorDialog.open()
    }
}
