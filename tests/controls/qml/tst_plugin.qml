import QtQuick 2.15
import QtTest 1.15
import Tavo5 1.0

// The module loads, the theme is one shared singleton, and the colour picker with the theme's dialog.
Item {
    width: 400
    height: 200

    XColorPicker {
        id: picker
        x: 10
        y: 10
        xcolor: "#123456"
    }

    XColorPicker {
        id: other
        x: 10
        y: 100
        xcolor: "#654321"
    }

    Component {
        id: pickerComponent
        XColorPicker {}
    }

    TestCase {
        name: "Plugin"
        when: windowShown

        function test_theme_is_a_singleton_with_the_base_tokens() {
            compare(XTheme.color_primary.toString(), "#409eff")
            compare(XTheme.font_size, 12)
        }

        function findAll(item, pred, out) {
            if (pred(item))
                out.push(item)
            for (var i = 0; i < item.children.length; ++i)
                findAll(item.children[i], pred, out)
            return out
        }

        function swatches(p) {
            return findAll(p, function (it) {
                return it.Accessible.role === Accessible.Button && it.Accessible.checkable
            }, [])
        }

        function test_palette_swatches_choose_their_colour() {
            other.xcolor = "#654321"
            compare(picker.cfg_colors.length, 12)
            var list = swatches(picker)
            compare(list.length, picker.cfg_colors.length)
            for (var i = 0; i < list.length; ++i) {
                mouseClick(list[i])
                verify(Qt.colorEqual(picker.xcolor, picker.cfg_colors[i]), "swatch " + i)
                compare(list[i].Accessible.name, String(picker.cfg_colors[i]))
                for (var j = 0; j < list.length; ++j)
                    compare(list[j].Accessible.checked, i === j, "only swatch " + i + " is checked")
            }
            verify(Qt.colorEqual(other.xcolor, "#654321"), "the other picker is untouched")
        }

        function openButton(p) {
            var list = findAll(p, function (it) {
                return it.Accessible.role === Accessible.Button && !it.Accessible.checkable
            }, [])
            compare(list.length, 1)
            return list[0]
        }

        function test_one_shared_dialog_writes_to_the_picker_that_opened_it() {
            picker.xcolor = "#112233"
            other.xcolor = "#445566"
            mouseClick(openButton(picker))
            var dialog = XTheme._colorDialog
            verify(dialog)
            verify(dialog.visible)
            compare(dialog.title, "SelectColor")
            compare(dialog.modality, Qt.ApplicationModal)
            verify(Qt.colorEqual(dialog.color, "#112233"), "starts at the picker's colour")
            dialog.close()

            // Reopened by the other picker: the same dialog, the accepted colour goes there only.
            XTheme.openColorDialog(other)
            compare(XTheme._colorDialog, dialog)
            dialog.currentColor = "#abcdef"
            dialog.accept()
            verify(Qt.colorEqual(other.xcolor, "#abcdef"))
            verify(Qt.colorEqual(picker.xcolor, "#112233"))

            // Cancelled: nothing changes.
            XTheme.openColorDialog(picker)
            dialog.currentColor = "#010203"
            dialog.reject()
            verify(Qt.colorEqual(picker.xcolor, "#112233"))
        }

        function test_a_picker_gone_while_the_dialog_is_open() {
            var p = createTemporaryObject(pickerComponent, parent)
            XTheme.openColorDialog(p)
            p.destroy()
            wait(0)
            XTheme._colorDialog.currentColor = "#0000ff"
            XTheme._colorDialog.accept()
            verify(!XTheme._colorDialog.visible)
            XTheme.openColorDialog(null)
            verify(!XTheme._colorDialog.visible, "nothing to write to: not opened")
        }
    }
}
