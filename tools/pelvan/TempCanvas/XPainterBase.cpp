#include "XPainterBase.h"

void XPainterBase::setLut(const int16_t *d2cX, const int16_t *d2cY, const int16_t *c2dX,
                          const int16_t *c2dY) {
    m_d2cX = d2cX;
    m_d2cY = d2cY;
    m_c2dX = c2dX;
    m_c2dY = c2dY;
}

QPoint XPainterBase::frameToCanvas(int x, int y) const {
    if (!m_d2cX) return QPoint(x, y);
    return QPoint(m_d2cX[idx(x)], m_d2cY[idx(y)]);
}

QPoint XPainterBase::canvasToFrame(int x, int y) const {
    if (!m_c2dX) return QPoint(x, y);
    return QPoint(m_c2dX[idx(x)], m_c2dY[idx(y)]);
}

int XPainterBase::data2canvas(const XMea &mea, QPoint *out) const {
    int n = 0;
    switch (mea.type) {
        case MEA_POINT:
        case MEA_POINT3X3:
        case MEA_POINTCROSS:
        case MEA_ELLIPSE:
        case MEA_CIRCLE:
        case MEA_RECT:
        case MEA_SQUARE:
            n = 2;
            break;
        case MEA_LINE:
        case MEA_POLYLINE:
            n = mea.count;
            break;
        default:
            n = mea.type >= MEA_POLYGON ? mea.count : 0;
            break;
    }
    if (n > MEA_POINT_MAX) n = MEA_POINT_MAX;
    for (int i = 0; i < n; ++i) out[i] = frameToCanvas(mea.points[i].x, mea.points[i].y);
    return n;
}
