import QtQuick 2.15
import Tavo5 1.0

// A one-colour icon: every opaque pixel of `source` (an SVG) drawn in `color`, the alpha kept, fitted into
// the item with its aspect ratio. With OpenGL a shader tints the icon rasterised at the item's own size;
// other scene graphs (the software renderer of the tests and remote desktops) have no shaders, so there a
// canvas fills the icon's shape with the colour instead.
Item {
    id: root

    property url source
    property color color: XTheme.text_color

    // The source's own pixel size, for layouts that want it.
    readonly property size xsourceSize: probe.sourceSize
    readonly property bool xready: probe.status === Image.Ready
    // Scale of the fitted icon (aspect kept, centred) against its natural size.
    readonly property real _scale: probe.sourceSize.width > 0 && probe.sourceSize.height > 0
                                   ? Math.min(width / probe.sourceSize.width, height / probe.sourceSize.height) : 0

    implicitWidth: 24
    implicitHeight: 24

    Accessible.role: Accessible.Graphic
    Accessible.name: _baseName(source)

    function _baseName(url) {
        var s = String(url)
        var slash = s.lastIndexOf("/")
        s = s.substring(slash + 1)
        var dot = s.lastIndexOf(".")
        return dot > 0 ? s.substring(0, dot) : s
    }

    Image {
        id: probe
        // Natural size only: tells the aspect ratio and whether the source loads at all.
        source: root.source
        visible: false
        Accessible.ignored: true
    }

    Loader {
        anchors.fill: parent
        // The scene graph is known once the item is in a window.
        active: root.xready && root.width > 0 && root.height > 0 && root.GraphicsInfo.api !== GraphicsInfo.Unknown
        sourceComponent: root.GraphicsInfo.api === GraphicsInfo.OpenGL ? shaderTint : canvasTint
    }

    Component {
        id: shaderTint

        Item {
            Image {
                id: raster
                anchors.centerIn: parent
                width: probe.sourceSize.width * root._scale
                height: probe.sourceSize.height * root._scale
                sourceSize: Qt.size(Math.ceil(width), Math.ceil(height))
                source: root.source
                smooth: true
                visible: false
            }
            ShaderEffect {
                anchors.fill: raster
                property variant src: raster
                // Colours reach the shader premultiplied, so scaling by the icon's alpha is enough.
                property color tint: root.color
                fragmentShader: "
                    varying highp vec2 qt_TexCoord0;
                    uniform sampler2D src;
                    uniform lowp vec4 tint;
                    uniform lowp float qt_Opacity;
                    void main() {
                        gl_FragColor = tint * texture2D(src, qt_TexCoord0).a * qt_Opacity;
                    }"
            }
        }
    }

    Component {
        id: canvasTint

        Item {
            Canvas {
                id: canvas
                objectName: "xtintCanvas"
                // A canvas loads images at their natural size: paint there, then scale the item smoothly.
                width: probe.sourceSize.width
                height: probe.sourceSize.height
                anchors.centerIn: parent
                scale: root._scale
                smooth: true
                property url loaded

                function reload() {
                    if (loaded.toString() !== "")
                        unloadImage(loaded)
                    loaded = root.source
                    if (loaded.toString() === "")
                        return
                    if (isImageLoaded(loaded))
                        requestPaint()
                    else
                        loadImage(loaded)
                }

                Component.onCompleted: reload()
                onImageLoaded: requestPaint()
                onPaint: {
                    var ctx = getContext("2d")
                    ctx.reset()
                    if (!isImageLoaded(loaded))
                        return
                    ctx.drawImage(loaded, 0, 0, width, height)
                    // Keep the icon's alpha, replace its colours.
                    ctx.globalCompositeOperation = "source-in"
                    ctx.fillStyle = root.color
                    ctx.fillRect(0, 0, width, height)
                }

                Connections {
                    target: root
                    function onColorChanged() { canvas.requestPaint() }
                    function onSourceChanged() { canvas.reload() }
                }
            }
        }
    }
}
