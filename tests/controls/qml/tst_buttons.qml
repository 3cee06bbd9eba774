import QtQuick 2.15
import QtQuick.Controls 2.15
import QtTest 1.15
import Tavo5 1.0

// Buttons: state index and colours of the theme styles, the selection bar, tips, and that a click, a
// key and an assistive-technology press all do the same thing.
Item {
    id: page
    width: 600
    height: 300

    Component {
        id: buttonComponent
        XButton {}
    }
    Component {
        id: svgComponent
        XButtonSvg {}
    }
    Component {
        id: imageComponent
        XButtonImage {}
    }
    Component {
        id: textComponent
        XButtonText {}
    }

    SignalSpy {
        id: clickedSpy
        signalName: "clicked"
    }

    TestCase {
        name: "Buttons"
        when: windowShown

        function init() {
            clickedSpy.clear()
            // A pointer left over a previous test's button would hover the next one.
            mouseMove(page, page.width - 1, page.height - 1)
        }

        function make(component, props) {
            var b = createTemporaryObject(component, page, props)
            verify(b)
            return b
        }

        function expectColours(b, style, index, label) {
            compare(b.xstate, index, label + " state")
            compare(b.xtextColor, style.fg[index], label + " text colour")
            compare(b.xbackgroundColor, style.bg[index], label + " background colour")
            compare(b.xborderColor, style.bo[index], label + " border colour")
            // What is drawn, not only what is computed.
            compare(b.background.color, style.bg[index], label + " drawn background")
            compare(b.background.border.color, style.bo[index], label + " drawn border")
        }

        function test_state_index_and_colours_follow_the_style_data() {
            return [
                {tag: "default", type: 0},
                {tag: "filled primary", type: 1},
                {tag: "filled danger", type: 4},
                {tag: "plain", type: 6},
                {tag: "light primary", type: 7},
                {tag: "text link", type: 12},
            ]
        }
        function test_state_index_and_colours_follow_the_style(data) {
            var style = XTheme["_button" + data.type]
            verify(style, "style exists")
            var b = make(buttonComponent, {text: "Play", xbuttonType: data.type, x: 10, y: 10})
            expectColours(b, style, 0, "normal")

            mouseMove(b, b.width / 2, b.height / 2)
            tryCompare(b, "hovered", true)
            expectColours(b, style, 1, "hovered")

            mousePress(b, b.width / 2, b.height / 2)
            expectColours(b, style, 2, "pressed")
            mouseRelease(b, b.width / 2, b.height / 2)
            expectColours(b, style, 1, "released")

            // Disabled wins over hovered and pressed.
            b.enabled = false
            expectColours(b, style, 3, "disabled")
            b.enabled = true
            mouseMove(page, page.width - 1, page.height - 1)
            tryCompare(b, "hovered", false)
            expectColours(b, style, 0, "left")
        }

        function test_style_changes_and_unknown_styles() {
            var b = make(buttonComponent, {text: "Rec", xbuttonType: 1})
            compare(b.xbackgroundColor, XTheme._button1.bg[0])
            // A view switching the style (a record button turning red) sees it at once.
            b.xbuttonType = 4
            compare(b.xbackgroundColor, XTheme._button4.bg[0])
            compare(b.background.color, XTheme._button4.bg[0])
            var unknown = [-1, 13, 99]
            for (var i = 0; i < unknown.length; ++i) {
                b.xbuttonType = unknown[i]
                compare(b.xbackgroundColor, XTheme._button0.bg[0], "style " + unknown[i] + " falls back to 0")
                compare(b.xtextColor, XTheme._button0.fg[0], "style " + unknown[i] + " text")
            }
        }

        function test_selected_bar() {
            var b = make(buttonComponent, {text: "Tool", width: 80, height: 40})
            var bar = findChild(b.background, "xselectedBar")
            verify(bar)
            verify(!bar.visible)
            b.xselected = true
            verify(bar.visible)
            compare(bar.height, 4)
            compare(bar.width, b.background.width)
            compare(bar.y + bar.height, b.background.height, "along the bottom")
            compare(bar.color, "#18aae2")

            var img = make(imageComponent, {iconSource: "qrc:/Controls/icons/eye.svg"})
            var imgBar = findChild(img, "xselectedBar")
            verify(!imgBar.visible)
            img.xselected = true
            verify(imgBar.visible)
            compare(imgBar.height, 4)
            compare(imgBar.y + imgBar.height, img.height)
            compare(imgBar.color, "#18aae2")
        }

        function test_tip_only_while_hovered_and_not_empty() {
            var withTip = make(buttonComponent, {text: "A", xtip: "RecordBegin", x: 10, y: 10})
            var noTip = make(buttonComponent, {text: "B", x: 200, y: 10})
            mouseMove(withTip, 5, 5)
            tryCompare(withTip, "hovered", true)
            // The tip opens after its delay.
            tryVerify(function () { return withTip.ToolTip.visible })
            compare(withTip.ToolTip.text, "RecordBegin")
            mouseMove(noTip, 5, 5)
            tryCompare(noTip, "hovered", true)
            tryVerify(function () { return !withTip.ToolTip.visible })
            wait(withTip.ToolTip.delay + 100)
            verify(!noTip.ToolTip.visible, "no tip without text")
        }

        function test_svg_icon_takes_the_state_text_colour() {
            var b = make(svgComponent, {xbuttonType: 7, iconSource: "qrc:/Controls/icons/check.svg",
                                        x: 10, y: 10})
            var icon = null
            tryVerify(function () {
                icon = findTinted(b.contentItem)
                return icon !== null
            })
            compare(icon.color, XTheme._button7.fg[0])
            mouseMove(b, 5, 5)
            tryCompare(b, "hovered", true)
            compare(icon.color, XTheme._button7.fg[1])
            b.enabled = false
            compare(icon.color, XTheme._button7.fg[3])
        }

        // A picture button tints one-colour icons (black SVGs would not show on the dark theme) unless told
        // to keep the image's own colours.
        function test_image_button_tints_its_icon_unless_told_not_to() {
            var b = make(imageComponent, {iconSource: "qrc:/Controls/icons/eye.svg", x: 10, y: 10})
            var icon = findChild(b, "xtintedIcon")
            verify(icon)
            verify(icon.visible)
            compare(icon.color, XTheme.text_color_regular)
            mouseMove(b, b.width / 2, b.height / 2)
            tryCompare(b, "hovered", true)
            compare(icon.color, XTheme.color_primary_light_3)
            b.xiconTinted = false
            verify(!icon.visible)
            compare(String(icon.source), "")
        }

        // The XImage inside, known by its own property.
        function findTinted(item) {
            for (var i = 0; i < item.children.length; ++i) {
                var c = item.children[i]
                if (c.xsourceSize !== undefined)
                    return c
                var inner = findTinted(c)
                if (inner)
                    return inner
            }
            return null
        }

        // Every way of pressing does what a click does, and nothing while disabled.
        function test_click_key_and_press_action_data() {
            return [
                {tag: "XButton", component: buttonComponent, props: {text: "Play"}},
                {tag: "XButtonSvg", component: svgComponent, props: {iconSource: "qrc:/Controls/icons/plus.svg"},
                 name: "plus"},
                {tag: "XButtonImage", component: imageComponent, props: {iconSource: "qrc:/Controls/icons/eye.svg",
                                                                         xtip: "HideAll"}},
                {tag: "XButtonText", component: textComponent, props: {text: "More"}},
            ]
        }
        function test_click_key_and_press_action(data) {
            var b = make(data.component, data.props)
            clickedSpy.target = b
            compare(b.Accessible.role, Accessible.Button)
            // Named by the text, else the tip, else the icon.
            compare(b.Accessible.name, data.name || data.props.text || data.props.xtip)

            mouseClick(b)
            compare(clickedSpy.count, 1, "mouse click")
            b.Accessible.pressAction()
            compare(clickedSpy.count, 2, "press action")
            b.forceActiveFocus()
            keyClick(Qt.Key_Space)
            compare(clickedSpy.count, 3, "space key")

            b.enabled = false
            mouseClick(b)
            b.Accessible.pressAction()
            compare(clickedSpy.count, 3, "nothing while disabled")
        }

        function test_press_action_toggles_a_checkable_button() {
            var b = make(buttonComponent, {text: "Hide", checkable: true})
            clickedSpy.target = b
            b.Accessible.pressAction()
            verify(b.checked)
            compare(clickedSpy.count, 1)
            mouseClick(b)
            verify(!b.checked, "a click toggles back the same way")
            compare(clickedSpy.count, 2)
        }

        function test_text_button_state_colours() {
            var b = make(textComponent, {text: "Go", x: 10, y: 10, xborderWidth: 1})
            var label = findChild(b, "xlabel")
            compare(b.xstate, 0)
            compare(label.color, XTheme.text_color_regular)
            mouseMove(b, 5, 5)
            tryCompare(b, "xstate", 1)
            compare(label.color, XTheme.color_primary)
            mousePress(b, 5, 5)
            compare(b.xstate, 2)
            mouseRelease(b, 5, 5)
            b.enabled = false
            compare(b.xstate, 3)
            compare(label.color, XTheme.text_color_disabled)
        }
    }
}
