import QtQuick 2.15
import QtTest 1.15
import Tavo5 1.0

// The module loads, and the theme is one shared singleton.
TestCase {
    name: "Plugin"

    function test_theme_is_a_singleton_with_the_base_tokens() {
        compare(XTheme.color_primary.toString(), "#409eff")
        compare(XTheme.font_size, 12)
    }
}
