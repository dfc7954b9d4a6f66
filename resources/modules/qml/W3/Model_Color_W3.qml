import QtQuick 2.15
import "qrc:/modules/qml/common"

// The mouse seen from above with its light zones glowing in `lightColor` at `intensity`
// (0..1); unlit zones when `lit` is false. The light zones come from the skin's white mask
// "model_ms/model_W3_Color_glow.png", halo included, tinted on a canvas so that the software
// renderer draws it as well.
Item {
    id: model
    property color lightColor: "white"
    property real intensity: 1.0
    property bool lit: true
    readonly property string maskSource: Theme.img("model_ms/model_W3_Color_glow.png")
    readonly property color unlitColor: "#2A2E33"

    width: 300
    height: 400

    SkinImage {
        id: body
        anchors.fill: parent
        source: "model_ms/model_W3_Color.png"
        fallbackRadius: 140
    }

    Canvas {
        id: glow
        objectName: "Model_Color_W3_glow"
        anchors.fill: parent
        opacity: model.lit ? Math.max(0.15, Math.min(1.0, model.intensity)) : 1.0

        onPaint: {
            var ctx = getContext("2d")
            ctx.reset()
            if (!isImageLoaded(model.maskSource))
                return
            var color = model.lit ? model.lightColor : model.unlitColor
            ctx.drawImage(model.maskSource, 0, 0, width, height)
            // Recolour what was drawn, mask and halo alike, keeping its alpha.
            ctx.globalCompositeOperation = "source-atop"
            ctx.fillStyle = color
            ctx.fillRect(0, 0, width, height)
        }
        onImageLoaded: requestPaint()
        Component.onCompleted: loadImage(model.maskSource)
    }

    onLightColorChanged: glow.requestPaint()
    onLitChanged: glow.requestPaint()
    onMaskSourceChanged: {
        glow.loadImage(maskSource)
        glow.requestPaint()
    }
}
