import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import Tavo5 1.0

// Tabs, drop-down lists, sliders, check boxes, switches, text boxes, headings and tinted icons: what the
// views rely on, by mouse, keyboard and assistive technology alike.
Item {
    id: page
    width: 600
    height: 400

    Component {
        id: tabComponent
        XTab {
            xnames: ["Preview", "Config", "Firmware"]
        }
    }
    Component {
        id: comboComponent
        XComboBox {}
    }
    Component {
        id: sliderComponent
        XSlider {
            width: 200
        }
    }
    Component {
        id: rangeComponent
        XSliderRange {
            width: 200
        }
    }
    Component {
        id: checkComponent
        XCheckBox {}
    }
    Component {
        id: switchComponent
        XSwitch {}
    }
    Component {
        id: textBoxComponent
        XTextBox {}
    }
    Component {
        id: headComponent
        XHead {
            width: 200
        }
    }
    Component {
        id: imageComponent
        XImage {
            width: 48
            height: 48
        }
    }
    Component {
        id: nameValueModel
        ListModel {
            ListElement { name: "Iron"; value: 0 }
            ListElement { name: "Rainbow"; value: 1 }
        }
    }
    Component {
        id: optionObject
        QtObject {
            property string name
            property int value
        }
    }

    SignalSpy {
        id: spy
    }
    SignalSpy {
        id: spy2
    }

    TestCase {
        name: "BasicControls"
        when: windowShown

        function init() {
            spy.target = null
            spy2.target = null
            spy.clear()
            spy2.clear()
        }

        function make(component, props) {
            var o = createTemporaryObject(component, page, props)
            verify(o)
            return o
        }

        // The delegates a Repeater, list or row made, in order.
        function itemsWith(item, property) {
            var found = []
            for (var i = 0; i < item.children.length; ++i) {
                var c = item.children[i]
                if (c[property] !== undefined)
                    found.push(c)
                found = found.concat(itemsWith(c, property))
            }
            return found
        }

        function test_tab_selection() {
            var tab = make(tabComponent, {xitemWidth: 100, height: 40})
            compare(tab.xcurrentIndex, 0)
            compare(tab.xcount, 3)
            mouseClick(tab, 250, 20)
            compare(tab.xcurrentIndex, 2, "click on the third tab")

            var tabs = itemsWith(tab, "current")
            compare(tabs.length, 3)
            for (var i = 0; i < 3; ++i) {
                compare(tabs[i].Accessible.role, Accessible.PageTab)
                compare(tabs[i].Accessible.name, tab.xnames[i])
                compare(tabs[i].width, 100)
            }
            tabs[1].Accessible.pressAction()
            compare(tab.xcurrentIndex, 1, "press action")
            verify(tabs[1].Accessible.selected)
            verify(!tabs[2].Accessible.selected)

            tab.forceActiveFocus()
            keyClick(Qt.Key_Right)
            compare(tab.xcurrentIndex, 2, "right arrow")
            keyClick(Qt.Key_Right)
            compare(tab.xcurrentIndex, 2, "no tab past the last")
            keyClick(Qt.Key_Left)
            compare(tab.xcurrentIndex, 1, "left arrow")

            tab.enabled = false
            mouseClick(tab, 50, 20)
            tabs[0].Accessible.pressAction()
            compare(tab.xcurrentIndex, 1, "a disabled bar keeps its tab")
        }

        function test_combo_shows_option_names_data() {
            return [
                {tag: "array of objects", kind: "array"},
                {tag: "ListModel", kind: "listModel"},
                {tag: "list of option objects", kind: "objects"},
            ]
        }
        function test_combo_shows_option_names(data) {
            var model
            if (data.kind === "array") {
                model = [{name: "Iron", value: 0}, {name: "Rainbow", value: 1}]
            } else if (data.kind === "listModel") {
                model = createTemporaryObject(nameValueModel, page)
            } else {
                model = [createTemporaryObject(optionObject, page, {name: "Iron", value: 0}),
                         createTemporaryObject(optionObject, page, {name: "Rainbow", value: 1})]
            }
            var combo = make(comboComponent, {model: model, xname: "IRImage_PaletteType"})
            compare(combo.count, 2)
            compare(combo.displayText, "Iron")
            compare(combo.textAt(1), "Rainbow")
            compare(combo.Accessible.name, "IRImage_PaletteType", "stable name")
            compare(combo.Accessible.description, "Iron", "value")

            // The pop-up rows show the same names and choose like a click.
            spy.signalName = "activated"
            spy.target = combo
            combo.Accessible.pressAction()
            tryCompare(combo.popup, "opened", true)
            var rows = []
            tryVerify(function () {
                rows = itemsWith(combo.popup.contentItem, "highlighted")
                return rows.length === 2
            })
            compare(rows[0].text, "Iron")
            compare(rows[1].text, "Rainbow")
            compare(rows[1].Accessible.role, Accessible.ListItem)
            rows[1].Accessible.pressAction()
            compare(combo.currentIndex, 1)
            compare(combo.displayText, "Rainbow")
            compare(spy.count, 1)
            compare(spy.signalArguments[0][0], 1)
            tryCompare(combo.popup, "visible", false)
        }

        function test_combo_show_count_bounds_the_popup() {
            var names = []
            for (var i = 0; i < 20; ++i)
                names.push({name: "Option" + i})
            var combo = make(comboComponent, {model: names, xshowCount: 5})
            combo.popup.open()
            tryCompare(combo.popup, "opened", true)
            var list = findChild(combo.popup.contentItem, "xpopupList") || combo.popup.contentItem
            compare(list.height, 5 * combo._rowHeight)
            combo.popup.close()

            var few = make(comboComponent, {model: [{name: "A"}, {name: "B"}], xshowCount: 5})
            few.popup.open()
            tryCompare(few.popup, "opened", true)
            compare(few.popup.contentItem.height, 2 * few._rowHeight, "no empty rows")
        }

        function test_slider_groove_colours_and_fill() {
            var s = make(sliderComponent, {from: 0, to: 10, value: 2.5, xcolor1: "#ff0000", xcolor2: "#00ff00"})
            var groove = findChild(s.background, "xgroove")
            var filled = findChild(s.background, "xgrooveFilled")
            compare(groove.color, "#00ff00")
            compare(filled.color, "#ff0000")
            fuzzyCompare(filled.width, groove.width * 0.25, 0.5)
            s.value = 10
            fuzzyCompare(filled.width, groove.width, 0.5)

            spy.signalName = "moved"
            spy.target = s
            s.stepSize = 1
            s.value = 5
            s.Accessible.increaseAction()
            compare(s.value, 6)
            s.Accessible.decreaseAction()
            s.Accessible.decreaseAction()
            compare(s.value, 4)
            compare(spy.count, 3)
            compare(s.Accessible.description, "4")
        }

        function test_range_slider_fill_and_handles() {
            var r = make(rangeComponent, {from: 0, to: 10, stepSize: 1, "first.value": 2, "second.value": 8})
            var groove = findChild(r.background, "xgroove")
            var filled = findChild(r.background, "xgrooveFilled")
            fuzzyCompare(filled.x, groove.width * 0.2, 0.5)
            fuzzyCompare(filled.width, groove.width * 0.6, 0.5)
            r.first.handle.Accessible.increaseAction()
            r.second.handle.Accessible.decreaseAction()
            compare([r.first.value, r.second.value], [3, 7])
            compare(r.Accessible.description, "3 - 7")
        }

        // A press through assistive technology is a click: next state and the click's signals.
        function test_check_and_switch_press_action_data() {
            return [
                {tag: "XCheckBox", component: checkComponent},
                {tag: "XSwitch", component: switchComponent},
            ]
        }
        function test_check_and_switch_press_action(data) {
            var c = make(data.component, {text: "TrackHigh"})
            spy.signalName = "clicked"
            spy.target = c
            spy2.signalName = "toggled"
            spy2.target = c
            compare(c.Accessible.name, "TrackHigh")
            c.Accessible.pressAction()
            verify(c.checked)
            verify(c.Accessible.checked)
            compare(spy.count, 1)
            compare(spy2.count, 1)
            mouseClick(c)
            verify(!c.checked)
            compare(spy.count, 2)
            c.enabled = false
            c.Accessible.pressAction()
            verify(!c.checked, "disabled")
            compare(spy.count, 2)
        }

        function test_tristate_check_box_cycles() {
            var c = make(checkComponent, {text: "All", tristate: true})
            var seen = []
            for (var i = 0; i < 3; ++i) {
                c.Accessible.pressAction()
                seen.push(c.checkState)
            }
            compare(seen, [Qt.PartiallyChecked, Qt.Checked, Qt.Unchecked])
        }

        function test_text_box_accessible_value() {
            var t = make(textBoxComponent, {xname: "DeviceIp", text: "192.168.1.10"})
            compare(t.Accessible.role, Accessible.EditableText)
            compare(t.Accessible.name, "DeviceIp")
            compare(t.Accessible.description, "192.168.1.10")
            t.echoMode = TextInput.Password
            compare(t.Accessible.description, "", "a password stays hidden")
            verify(t.Accessible.passwordEdit)
        }

        function test_head_icon_types_data() {
            return [
                {tag: "none", type: 0, bar: false, icon: ""},
                {tag: "bar", type: 1, bar: true, icon: ""},
                {tag: "information", type: 2, bar: false, icon: "information"},
                {tag: "alert", type: 4, bar: false, icon: "alert"},
                {tag: "file-outline", type: 10, bar: false, icon: "file-outline"},
                {tag: "unknown", type: 11, bar: false, icon: ""},
                {tag: "negative", type: -1, bar: false, icon: ""},
            ]
        }
        function test_head_icon_types(data) {
            var h = make(headComponent, {xtext: "DeviceList", xiconType: data.type, xiconColor: "#ff8000"})
            var bar = findChild(h, "xaccentBar")
            var icon = findChild(h, "xicon")
            compare(bar.visible, data.bar)
            compare(icon.visible, data.icon !== "")
            if (data.icon !== "") {
                compare(String(icon.source), "qrc:/Controls/icons/" + data.icon + ".svg")
                compare(icon.color, "#ff8000")
                tryVerify(function () { return icon.xready }, 2000, "icon exists in the resources")
            }
            compare(h.Accessible.name, "DeviceList")
            h.xlineVisible = false
            verify(!findChild(h, "xline").visible)
        }

        // The software scene graph of the tests tints through a canvas: its pixels carry the colour.
        function test_image_tint() {
            var img = make(imageComponent, {source: "qrc:/Controls/icons/check.svg", color: "#ff0000"})
            compare(img.Accessible.role, Accessible.Graphic)
            compare(img.Accessible.name, "check")
            if (img.GraphicsInfo.api === GraphicsInfo.OpenGL) {
                // Tinted by a shader: read the window (icon 48 pixels, so the mark is at twice (7, 16)).
                tryVerify(function () { return Qt.colorEqual(grabImage(img).pixel(14, 32), "#ff0000") })
                img.color = "#0000ff"
                tryVerify(function () { return Qt.colorEqual(grabImage(img).pixel(14, 32), "#0000ff") })
                return
            }
            var canvas = null
            tryVerify(function () {
                canvas = findChild(img, "xtintCanvas")
                return canvas !== null && canvas.available
            })
            // The check mark of the 24 x 24 icon passes through (7, 16); its top left corner is empty.
            var onMark = function () {
                var d = canvas.getContext("2d").getImageData(7, 16, 1, 1).data
                return [d[0], d[1], d[2], d[3]]
            }
            tryVerify(function () { return onMark()[3] > 200 }, 2000, "the mark is painted")
            compare(onMark().slice(0, 3), [255, 0, 0])
            compare(canvas.getContext("2d").getImageData(1, 1, 1, 1).data[3], 0)
            img.color = "#0000ff"
            tryVerify(function () { var p = onMark(); return p[0] === 0 && p[2] === 255 }, 2000, "recoloured")
        }
    }
}
