#pragma once

#include <QPoint>
#include <cstdint>

#include "AlgMea.h"

// Frame-to-canvas conversion of measurement records through the canvas's coordinate tables.
class XPainterBase {
public:
    virtual ~XPainterBase() = default;

    // Tables indexed by a signed 16-bit coordinate (pointers to the entry of coordinate 0).
    void setLut(const int16_t *d2cX, const int16_t *d2cY, const int16_t *c2dX, const int16_t *c2dY);
    // The record's points as canvas points; returns how many were written (at most MEA_POINT_MAX).
    int data2canvas(const XMea &mea, QPoint *out) const;
    QPoint frameToCanvas(int x, int y) const;
    QPoint canvasToFrame(int x, int y) const;

protected:
    static int idx(int i) { return i < -32768 ? -32768 : (i > 32767 ? 32767 : i); }
    const int16_t *m_d2cX = nullptr, *m_d2cY = nullptr, *m_c2dX = nullptr, *m_c2dY = nullptr;
};
