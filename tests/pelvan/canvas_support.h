// Synthetic frames and canvas helpers shared by the canvas, tool and painter tests.
#pragma once

#include <QImage>
#include <QPoint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "AlgMea.h"
#include "TempCanvas.h"
#include "TempData.h"

// One temperature frame owned by the test: a scene with a warm background gradient, a hot disc, a warm
// blob and a cold block, rendered to BGRA through the SDK's stretch and palette.
struct SyntheticFrame {
    SyntheticFrame(int w, int h, bool scene = true);
    void setTemp(int x, int y, double celsius);
    double tempAt(int x, int y) const;
    void render(int palette = SARVIK_PALETTE_IRONBOW);

    _DataFrameHeader header{};
    std::vector<int16_t> temp;
    std::vector<uint32_t> image;
    TempData data;
};

// Registers the canvas types once and puts the shared manager back to its idle state.
void resetCanvasWorld();

// A canvas of the given size, started for a frame of w x h.
std::unique_ptr<TempCanvas> makeCanvas(double canvasW, double canvasH, int w, int h);

XMea makeMea(int type, std::initializer_list<QPoint> framePts);

// Synthetic input in canvas pixels.
void press(TempCanvas *c, QPointF p, Qt::MouseButton b = Qt::LeftButton);
void release(TempCanvas *c, QPointF p, Qt::MouseButton b = Qt::LeftButton);
void drag(TempCanvas *c, QPointF p);
void hover(TempCanvas *c, QPointF p);
void wheel(TempCanvas *c, QPointF p, int delta);
void key(TempCanvas *c, int qtKey);

// The canvas painted into a black image of its size.
QImage paintCanvas(TempCanvas *c);

// Whether a pixel is close to a colour (the painter draws without antialiasing, but labels do blend).
bool near(QRgb a, QRgb b, int tol = 24);
