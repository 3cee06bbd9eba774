import QtQuick 2.15

// One control style: text, background and border colour for each state
// (0 normal, 1 hovered, 2 pressed or focused, 3 disabled).
QtObject {
    property var fg: ["#CFD3DC", "#E5EAF3", "#E5EAF3", "#6C6E72"]
    property var bg: ["#262627", "#2D323C", "#393F47", "#262627"]
    property var bo: ["#4C4D4F", "#636466", "#409EFF", "#363637"]
}
