// The visible picture: the temperature canvas's view geometry (fit, zoom, pan, coordinate tables) drawing
// only a BGRA image; no measurement, one tool (select).
#pragma once

#include "TempCanvas.h"

class VISCanvas : public TempCanvas {
    Q_OBJECT
    Q_PROPERTY(int tool READ tool WRITE set_visTool NOTIFY toolChanged)

public:
    explicit VISCanvas(QQuickItem *parent = nullptr);

    void set_visTool(int t);
    // Shows a BGRA picture of the size given to beginUpdate; it must stay valid until the next one.
    // -7 when not working, -8 without a picture.
    int showImage(const uint32_t *bgra) { return updateImage(bgra); }
    // Shows a copy of a picture whose buffer is refilled by another thread (the copy is taken at once).
    int copyImage(const uint32_t *bgra) { return TempCanvas::copyImage(bgra); }
};
