#pragma once

#include <QColor>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QString>

#include "XPainterBase.h"

class QPainter;
class TempCanvas;

// Draws measurement objects, handles, markers and labels with a QPainter on canvas pixels.
class XPainterQT : public XPainterBase {
public:
    void beginDraw(QPainter *painter, TempCanvas *canvas);
    void endDraw();
    QPainter *qpainter() const { return m_p; }

    // Geometry without a canvas (tests, benchmarks, other tools): sizes and the truncated image rectangle.
    void setGeometry(int dataW, int dataH, int canvasW, int canvasH, const QRect &active);

    void drawPoint(const XMea &mea, const XResult &res, const QPoint &pt, const QString &name);
    void drawBox(const XMea &mea, const XResult &res, int l, int t, int r, int b, const QPoint *corners,
                 int handle, const QString &name);
    void drawPoly(const XMea &mea, const XResult &res, const QPoint *pts, int n, int handle,
                  const QString &name);
    void drawMarkers(const XMea &mea, const XResult &res);
    void drawHandles(const QPoint *pts, int n, int handle);
    void drawCursor(const XResult &res, const QPoint &framePt, const QPoint &anchor);
    // Label beside an anchor: pos 1..4 fixed corners, anything else beside it where it fits.
    QRect drawTextRelPoint(const QPoint &anchor, int pos, const QString &text, int margin, const QPen &pen,
                           int boxColor);
    QRect textRelRect(const QPoint &anchor, int pos, const QSize &size, int margin) const;

    static QPen itemPen(uint32_t argb);
    static QString fourLineText(const QString &name, const XResult &res);

private:
    QPainter *m_p = nullptr;
    int m_dataW = 0, m_dataH = 0, m_canvasW = 0, m_canvasH = 0;
    QRect m_active;
};
