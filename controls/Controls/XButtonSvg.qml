import QtQuick 2.15
import Tavo5 1.0

// An XButton whose SVG icon takes the text colour of the button's state, so one icon file serves every
// style and state.
XButton {
    xiconTinted: true
}
