import QtQuick 2.15
import QtTest 1.15
import Tavo5 1.0

// The labelled inputs: range rules, the interval in the tip, the red frame, the value flow between views and
// fields, the text and enumeration rules, and what assistive technology sees.
TestCase {
    id: testCase
    name: "Inputs"
    width: 400
    height: 300
    visible: true
    when: windowShown

    Component { id: intComp; XInputInt { xname: "Port" } }
    Component { id: floatComp; XInputFloat { xname: "Emissivity" } }
    Component { id: stringComp; XInputString { xname: "Name" } }
    Component { id: enumComp; XInputEnum { xname: "Palette" } }
    Component { id: boolComp; XInputBool { xname: "Enable" } }
    Component { id: sliderComp; XInputFloatSlider { xname: "Gain" } }
    Component { id: colorComp; XInputColor { xname: "Color" } }
    Component { id: spyComp; SignalSpy {} }
    Component { id: listModelComp; ListModel {} }
    Component { id: optionComp; QtObject { property string name; property int value } }

    function make(comp, props) {
        var input = createTemporaryObject(comp, testCase, props || {})
        verify(input, "input created")
        return input
    }

    function frameOf(input) {
        return findChild(input, "xinvalidFrame")
    }

    function tipOf(input) {
        return findChild(input, "xtooltip")
    }

    // Types 0-4 with min 0 and max 10, for whole and decimal inputs alike.
    function test_range_rules() {
        var cases = [
            { type: 0, text: "-5", valid: true },
            { type: 0, text: "99", valid: true },
            { type: 1, text: "-1", valid: false },
            { type: 1, text: "0", valid: true },
            { type: 1, text: "11", valid: true },
            { type: 2, text: "-100", valid: true },
            { type: 2, text: "10", valid: true },
            { type: 2, text: "11", valid: false },
            { type: 3, text: "-1", valid: false },
            { type: 3, text: "0", valid: true },
            { type: 3, text: "5", valid: true },
            { type: 3, text: "10", valid: true },
            { type: 3, text: "11", valid: false },
            { type: 4, text: "-1", valid: true },
            { type: 4, text: "0", valid: true },
            { type: 4, text: "5", valid: false },
            { type: 4, text: "10", valid: true },
            { type: 4, text: "11", valid: true },
            { type: 3, text: "9.9", valid: true, floatOnly: true },
            { type: 3, text: "10.5", valid: false, floatOnly: true },
            { type: 4, text: "0.5", valid: false, floatOnly: true },
            { type: 4, text: "-0.1", valid: true, floatOnly: true },
            // Not a number at all is never a value, whatever the rule.
            { type: 0, text: "", valid: false },
            { type: 0, text: "-", valid: false },
            { type: 3, text: "", valid: false },
        ]
        var comps = [{ comp: intComp, label: "int" }, { comp: floatComp, label: "float" }]
        for (var c = 0; c < comps.length; ++c) {
            for (var i = 0; i < cases.length; ++i) {
                var k = cases[i]
                if (k.floatOnly && comps[c].label === "int")
                    continue
                var input = make(comps[c].comp, { xrule_rangeType: k.type, xrule_rangeMin: 0, xrule_rangeMax: 10 })
                input.xeditor.text = k.text
                var what = comps[c].label + " type " + k.type + " text '" + k.text + "'"
                compare(input.xrule_isInputValid, k.valid, what)
                compare(frameOf(input).visible, !k.valid, what + ": red frame")
                input.destroy()
            }
        }
    }

    function test_interval_in_tip() {
        var cases = [
            { comp: intComp, type: 0, min: 0, max: 10, tip: "T", expect: "T" },
            { comp: intComp, type: 1, min: 0, max: 10, tip: "T", expect: "T ValueRange [0, +∞)" },
            { comp: intComp, type: 2, min: 0, max: 10, tip: "T", expect: "T ValueRange (-∞, 10]" },
            { comp: intComp, type: 3, min: -5, max: 10, tip: "T", expect: "T ValueRange [-5, 10]" },
            { comp: intComp, type: 4, min: 0, max: 10, tip: "T", expect: "T ValueRange (-∞, 0], [10, +∞)" },
            { comp: floatComp, type: 1, min: 0.25, max: 10, tip: "T", expect: "T ValueRange [0.3, +∞)" },
            { comp: floatComp, type: 2, min: 0, max: 10, tip: "T", format: 0, expect: "T ValueRange (-∞, 10]" },
            { comp: floatComp, type: 3, min: -1.5, max: 2.25, tip: "T", format: 2,
              expect: "T ValueRange [-1.50, 2.25]" },
            { comp: floatComp, type: 4, min: 0, max: 10, tip: "T", expect: "T ValueRange (-∞, 0.0], [10.0, +∞)" },
        ]
        for (var i = 0; i < cases.length; ++i) {
            var k = cases[i]
            var props = { xtip: k.tip, xrule_rangeType: k.type, xrule_rangeMin: k.min, xrule_rangeMax: k.max }
            if (k.format !== undefined)
                props.xformat = k.format
            var input = make(k.comp, props)
            compare(input.xtip, k.expect, "case " + i)
            input.destroy()
        }
    }

    function test_red_frame_and_tip_while_invalid() {
        var input = make(intComp, { xtip: "Port", xrule_rangeType: 3, xrule_rangeMin: 0, xrule_rangeMax: 10 })
        input.init(5)
        var frame = frameOf(input)
        var tip = tipOf(input)
        var panel = findChild(input, "xvaluePanel")
        verify(!frame.visible)
        verify(!tip.visible)

        input.xeditor.text = "11"
        verify(frame.visible)
        verify(Qt.colorEqual(frame.border.color, "#ff0000"))
        // The frame encloses the value panel, not the name.
        verify(frame.x <= panel.x && frame.x + frame.width >= panel.x + panel.width)
        verify(frame.y <= 0 && frame.y + frame.height >= input.height)
        verify(frame.x >= input.xpanelNameWidth - frame.border.width)
        tryVerify(function () { return tip.visible })
        compare(tip.text, "Port ValueRange [0, 10]")

        input.xeditor.text = "3"
        verify(!frame.visible)
        tryVerify(function () { return !tip.visible })
    }

    function test_value_flow() {
        var input = make(intComp, { xrule_rangeType: 3, xrule_rangeMin: 0, xrule_rangeMax: 100 })
        var spy = createTemporaryObject(spyComp, testCase, { target: input, signalName: "xvalueChanged" })
        input.init(5)
        compare(input.xvalue, 5)
        compare(input.xeditor.text, "5")
        compare(spy.count, 1)

        // The same value again changes nothing but puts the text back.
        input.xeditor.text = "9"
        input.init(5)
        compare(spy.count, 1)
        compare(input.xeditor.text, "5")

        // Typing changes nothing until editing finishes.
        input.xeditor.forceActiveFocus()
        input.xeditor.selectAll()
        keyClick(Qt.Key_4)
        keyClick(Qt.Key_2)
        compare(input.xeditor.text, "42")
        compare(input.xvalue, 5)
        keyClick(Qt.Key_Return)
        compare(input.xvalue, 42)
        compare(spy.count, 2)

        // A value the rule rejects is not taken; leaving the field shows the value again.
        input.xeditor.selectAll()
        keyClick(Qt.Key_2)
        keyClick(Qt.Key_0)
        keyClick(Qt.Key_0)
        keyClick(Qt.Key_Return)
        compare(input.xvalue, 42)
        verify(!input.xrule_isInputValid)
        input.xeditor.focus = false
        testCase.forceActiveFocus()
        compare(input.xeditor.text, "42")
        verify(input.xrule_isInputValid)

        // An emptied field would read as 0: it is put back instead.
        input.xeditor.forceActiveFocus()
        input.xeditor.text = ""
        testCase.forceActiveFocus()
        compare(input.xvalue, 42)
        compare(input.xeditor.text, "42")

        // model2view writes the value as it is now.
        input.xvalue = 7
        input.xeditor.text = "8"
        input.model2view()
        compare(input.xeditor.text, "7")
    }

    function test_float_flow_keeps_decimals() {
        var input = make(floatComp, { xformat: 2 })
        input.init(1.5)
        compare(input.xeditor.text, "1.50")

        input.xeditor.forceActiveFocus()
        input.xeditor.selectAll()
        keyClick(Qt.Key_2)
        keyClick(Qt.Key_Period)
        keyClick(Qt.Key_3)
        keyClick(Qt.Key_4)
        keyClick(Qt.Key_5)
        keyClick(Qt.Key_Return)
        compare(input.xvalue, 2.345)

        // Passing through the field without typing must not round the value to what is shown.
        input.xformat = 1
        input.init(0.95)
        var shown = input.xeditor.text
        input.xeditor.forceActiveFocus()
        testCase.forceActiveFocus()
        compare(input.xvalue, 0.95)
        compare(input.xeditor.text, shown)
    }

    function test_string_not_null() {
        var cases = [
            { notNull: true, text: "", valid: false },
            { notNull: true, text: "a", valid: true },
            { notNull: false, text: "", valid: true },
        ]
        for (var i = 0; i < cases.length; ++i) {
            var input = make(stringComp, { xrule_notNull: cases[i].notNull })
            input.init("x")
            input.xeditor.text = cases[i].text
            compare(input.xrule_isInputValid, cases[i].valid, "case " + i)
            compare(frameOf(input).visible, !cases[i].valid, "case " + i + ": red frame")
            input.destroy()
        }

        // An empty text never replaces the value when it is required.
        var required = make(stringComp, { xrule_notNull: true })
        required.init("cam-1")
        required.xeditor.forceActiveFocus()
        required.xeditor.text = ""
        keyClick(Qt.Key_Return)
        testCase.forceActiveFocus()
        compare(required.xvalue, "cam-1")
        compare(required.xeditor.text, "cam-1")

        required.xeditor.forceActiveFocus()
        required.xeditor.selectAll()
        keyClick(Qt.Key_B)
        keyClick(Qt.Key_Return)
        compare(required.xvalue, "b")
    }

    function test_enum_matching() {
        var plain = [{ name: "A", value: 1 }, { name: "B", value: 2 }, { name: "B2", value: 2 },
                     { name: "Z", value: 0 }]
        var objects = [optionComp.createObject(testCase, { name: "A", value: 1 }),
                       optionComp.createObject(testCase, { name: "B", value: 2 }),
                       optionComp.createObject(testCase, { name: "B2", value: 2 }),
                       optionComp.createObject(testCase, { name: "Z", value: 0 })]
        var cases = [
            { value: 1, text: "A" },
            { value: 2, text: "B" },
            { value: 0, text: "Z" },
            { value: 7, text: "" },
            { value: -1, text: "" },
        ]
        var rows = listModelComp.createObject(testCase)
        for (var r = 0; r < plain.length; ++r)
            rows.append(plain[r])
        var kinds = [{ label: "objects of JavaScript", options: plain },
                     { label: "option objects", options: objects },
                     { label: "list model", options: rows }]
        for (var k = 0; k < kinds.length; ++k) {
            var input = make(enumComp, { xoptions: kinds[k].options })
            for (var i = 0; i < cases.length; ++i) {
                input.init(cases[i].value)
                compare(input.xvalue, cases[i].value)
                compare(input.xeditor.displayText, cases[i].text, kinds[k].label + " value " + cases[i].value)
            }
            // A value set before its options arrive shows once they do.
            var late = make(enumComp, { xvalue: 2 })
            compare(late.xeditor.displayText, "")
            late.xoptions = kinds[k].options
            compare(late.xeditor.displayText, "B", kinds[k].label + ": options after the value")
            input.destroy()
            late.destroy()
        }
        // Rows added to a list model after the value: shown once they arrive.
        var growing = listModelComp.createObject(testCase)
        var filled = make(enumComp, { xoptions: growing, xvalue: 2 })
        compare(filled.xeditor.displayText, "")
        growing.append({ name: "A", value: 1 })
        growing.append({ name: "B", value: 2 })
        compare(filled.xeditor.displayText, "B")
        filled.destroy()
        growing.destroy()
        rows.destroy()
        for (var j = 0; j < objects.length; ++j)
            objects[j].destroy()
    }

    function test_enum_choosing_sets_value() {
        var input = make(enumComp, { xoptions: [{ name: "A", value: 10 }, { name: "B", value: 20 },
                                                { name: "C", value: 30 }] })
        var spy = createTemporaryObject(spyComp, testCase, { target: input, signalName: "xvalueChanged" })
        input.init(10)
        compare(spy.count, 1)
        input.xeditor.forceActiveFocus()
        keyClick(Qt.Key_Down)
        compare(input.xvalue, 20)
        compare(input.xeditor.displayText, "B")
        keyClick(Qt.Key_Down)
        compare(input.xvalue, 30)
        compare(spy.count, 3)

        // Read-only: the choice stays.
        input.xreadonly = true
        input.xeditor.forceActiveFocus()
        keyClick(Qt.Key_Up)
        compare(input.xvalue, 30)
    }

    function test_bool_slider_color_values() {
        var flag = make(boolComp)
        flag.init(true)
        compare(flag.xeditor.checked, true)
        mouseClick(flag.xeditor)
        compare(flag.xvalue, false)
        flag.xreadonly = true
        mouseClick(flag.xeditor)
        compare(flag.xvalue, false)

        var slider = make(sliderComp, { xmin: 0, xmax: 1, xstep: 0.1, xformat: 2 })
        slider.init(0.2)
        compare(findChild(slider, "xvalueText").text, "0.20")
        slider.xeditor.forceActiveFocus()
        keyClick(Qt.Key_Right)
        // 0.2 + 0.1 would be 0.30000000000000004 (compare() is fuzzy for numbers).
        verify(slider.xvalue === 0.3, "slider value " + slider.xvalue)
        compare(findChild(slider, "xvalueText").text, "0.30")
        slider.init(5)
        compare(slider.xvalue, 5)
        verify(frameOf(slider).visible)

        var colour = make(colorComp)
        colour.init("#336699")
        verify(Qt.colorEqual(colour.xvalue, "#336699"))
        // What the shared colour dialog does on acceptance.
        colour._picker.xcolor = "#ff8000"
        verify(Qt.colorEqual(colour.xvalue, "#ff8000"))
    }

    function test_accessible_names_roles_values() {
        var cases = [
            { comp: intComp, role: Accessible.EditableText, load: 12, value: "12" },
            { comp: floatComp, role: Accessible.EditableText, load: 0.5, value: "0.5" },
            { comp: stringComp, role: Accessible.EditableText, load: "cam", value: "cam" },
            { comp: boolComp, role: Accessible.CheckBox, load: true, value: "1" },
            { comp: sliderComp, role: Accessible.Slider, load: 3, value: "3.0" },
            { comp: colorComp, role: Accessible.ColorChooser, load: "#112233", value: "#112233" },
        ]
        for (var i = 0; i < cases.length; ++i) {
            var input = make(cases[i].comp)
            input.init(cases[i].load)
            compare(input.Accessible.role, cases[i].role, input.xname)
            compare(input.Accessible.name, input.xname)
            compare(input.Accessible.description, cases[i].value, input.xname)
            compare(input.xeditor.Accessible.name, input.xname, input.xname + ": editable child")
            input.destroy()
        }
        var choice = make(enumComp, { xoptions: [{ name: "Iron", value: 3 }] })
        choice.init(3)
        compare(choice.Accessible.role, Accessible.ComboBox)
        compare(choice.Accessible.name, "Palette")
        compare(choice.Accessible.description, "Iron")
        compare(choice.xeditor.Accessible.name, "Palette")

        // Assistive technology's actions do what a click or a key does.
        var flag = make(boolComp)
        var toggled = createTemporaryObject(spyComp, testCase, { target: flag.xeditor, signalName: "toggled" })
        flag.Accessible.pressAction()
        compare(flag.xvalue, true)
        compare(flag.xeditor.checked, true)
        compare(toggled.count, 1)
        flag.xreadonly = true
        flag.Accessible.toggleAction()
        compare(flag.xvalue, true)

        choice.Accessible.pressAction()
        tryVerify(function () { return choice.xeditor.popup.visible })
        choice.Accessible.pressAction()
        tryVerify(function () { return !choice.xeditor.popup.visible })

        var gain = make(sliderComp, { xmin: 0, xmax: 10, xstep: 0.5 })
        gain.init(2)
        gain.Accessible.increaseAction()
        compare(gain.xvalue, 2.5)
        gain.Accessible.decreaseAction()
        gain.Accessible.decreaseAction()
        compare(gain.xvalue, 1.5)

        // Without a name the tip names the input.
        var unnamed = make(intComp, { xname: "", xtip: "Port number" })
        compare(unnamed.Accessible.name, "Port number")
    }
}
