pragma Singleton
import QtQuick 2.15

// Placeholder until the theme lands: only what the harness test reads.
QtObject {
    readonly property color color_primary: "#409EFF"
    readonly property int font_size: 12
}
