#include "XPainterQT.h"

#include <QPainter>
#include <QPolygon>

#include "TempCanvas.h"
#include "XPainterStatic.h"

namespace {
constexpr int kLabelMargin = 5;
constexpr int kCursorMargin = 10;
constexpr int kTick = 8;
constexpr int kMarker = 8;
}  // namespace

QPen XPainterQT::itemPen(uint32_t argb) {
    return QPen(QBrush(QColor::fromRgb(argb | 0xFF000000u)), 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

QString XPainterQT::fourLineText(const QString &name, const XResult &res) {
    return QString::asprintf("%s\nMax: %3.1f\nAvg: %3.1f\nMin: %3.1f", name.toUtf8().constData(),
                             static_cast<double>(res.maxTemp), static_cast<double>(res.avgTemp),
                             static_cast<double>(res.minTemp));
}

void XPainterQT::setGeometry(int dataW, int dataH, int canvasW, int canvasH, const QRect &active) {
    m_dataW = dataW;
    m_dataH = dataH;
    m_canvasW = canvasW;
    m_canvasH = canvasH;
    m_active = active;
}

void XPainterQT::beginDraw(QPainter *painter, TempCanvas *canvas) {
    m_p = painter;
    if (canvas) {
        setGeometry(
            canvas->dataWidth(), canvas->dataHeight(), static_cast<int>(canvas->canvasWidth()),
            static_cast<int>(canvas->canvasHeight()),
            QRect(QPoint(static_cast<int>(canvas->activeLeft()), static_cast<int>(canvas->activeTop())),
                  QPoint(static_cast<int>(canvas->activeRight()), static_cast<int>(canvas->activeBottom()))));
        setLut(canvas->lutD2cX(), canvas->lutD2cY(), canvas->lutC2dX(), canvas->lutC2dY());
    }
    if (m_p) m_p->setFont(XPainterStatic::font());
}

void XPainterQT::endDraw() {
    m_p = nullptr;
}

void XPainterQT::drawPoint(const XMea &mea, const XResult &res, const QPoint &pt, const QString &name) {
    if (!m_p) return;
    const int x = pt.x(), y = pt.y();
    const int h = mea.type == MEA_POINT3X3 ? 6 : 4;
    m_p->setPen(itemPen(mea.color));
    m_p->setBrush(Qt::NoBrush);
    m_p->drawRect(x - h, y - h, 2 * h - 1, 2 * h - 1);
    if (mea.type == MEA_POINTCROSS) {
        m_p->drawLine(m_active.left(), y, x - h, y);
        m_p->drawLine(m_active.right(), y, x + h, y);
        m_p->drawLine(x, y - h, x, m_active.top());
        m_p->drawLine(x, y + h, x, m_active.bottom());
    } else {
        m_p->drawLine(x - h - kTick, y, x - h, y);
        m_p->drawLine(x + h + kTick, y, x + h, y);
        m_p->drawLine(x, y - h, x, y - h - kTick);
        m_p->drawLine(x, y + h, x, y + h + kTick);
    }
    if (mea.reserved_84 == 0) {
        const QString text =
            QString::asprintf("%s\n%3.1f", name.toUtf8().constData(), static_cast<double>(res.avgTemp));
        drawTextRelPoint(pt, mea.textPos, text, kLabelMargin, XPainterStatic::pen(XPainterStatic::C_WHITE),
                         XPainterStatic::C_HALFBLACK);
    }
}

void XPainterQT::drawBox(const XMea &mea, const XResult &res, int l, int t, int r, int b,
                         const QPoint *corners, int handle, const QString &name) {
    if (!m_p) return;
    m_p->setPen(itemPen(mea.color));
    m_p->setBrush(Qt::NoBrush);
    const QRect box(QPoint(l, t), QPoint(r, b));
    if (mea.type == MEA_ELLIPSE || mea.type == MEA_CIRCLE)
        m_p->drawEllipse(QRect(l, t, r - l, b - t));
    else
        m_p->drawRect(QRect(l, t, r - l, b - t));
    drawHandles(corners, 4, handle);
    if (mea.reserved_84 == 0)
        drawTextRelPoint(box.topLeft(), mea.textPos, fourLineText(name, res), kLabelMargin,
                         XPainterStatic::pen(XPainterStatic::C_WHITE), XPainterStatic::C_HALFBLACK);
    drawMarkers(mea, res);
}

void XPainterQT::drawPoly(const XMea &mea, const XResult &res, const QPoint *pts, int n, int handle,
                          const QString &name) {
    if (!m_p || n <= 0) return;
    m_p->setPen(itemPen(mea.color));
    m_p->setBrush(Qt::NoBrush);
    QPolygon poly(n);
    for (int i = 0; i < n; ++i) poly[i] = pts[i];
    if (mea.type == MEA_POLYGON)
        m_p->drawPolygon(poly, Qt::OddEvenFill);
    else
        m_p->drawPolyline(poly);
    drawHandles(pts, n, handle);
    if (mea.reserved_84 == 0)
        drawTextRelPoint(pts[0], mea.textPos, fourLineText(name, res), kLabelMargin,
                         XPainterStatic::pen(XPainterStatic::C_WHITE), XPainterStatic::C_HALFBLACK);
    if (mea.type != MEA_POLYGON || n > 2) drawMarkers(mea, res);
}

void XPainterQT::drawMarkers(const XMea &mea, const XResult &res) {
    if (!m_p) return;
    const bool oldAa = m_p->testRenderHint(QPainter::Antialiasing);
    m_p->setRenderHint(QPainter::Antialiasing, false);
    QPen outline(QColor(Qt::white), 1);
    m_p->setPen(outline);
    const int half = kMarker / 2;
    if (mea.flags & MEA_FLAG_TRACK_HIGH) {
        const QPoint a = frameToCanvas(res.maxX, res.maxY);
        const QPoint tri[3] = {a, QPoint(a.x() - half, a.y() - kMarker),
                               QPoint(a.x() + half, a.y() - kMarker)};
        m_p->setBrush(XPainterStatic::brush(XPainterStatic::C_RED));
        m_p->drawPolygon(tri, 3);
    }
    if (mea.flags & MEA_FLAG_TRACK_LOW) {
        const QPoint a = frameToCanvas(res.minX, res.minY);
        const QPoint tri[3] = {a, QPoint(a.x() - half, a.y() + kMarker),
                               QPoint(a.x() + half, a.y() + kMarker)};
        m_p->setBrush(XPainterStatic::brush(XPainterStatic::C_BLUE));
        m_p->drawPolygon(tri, 3);
    }
    m_p->setBrush(Qt::NoBrush);
    m_p->setRenderHint(QPainter::Antialiasing, oldAa);
}

void XPainterQT::drawHandles(const QPoint *pts, int n, int handle) {
    if (!m_p || handle < 0) return;
    for (int i = 0; i < n; ++i) {
        if (handle > 0 && handle != i + 1) continue;
        const int x = pts[i].x(), y = pts[i].y();
        m_p->fillRect(QRect(QPoint(x - 4, y - 4), QPoint(x + 3, y + 3)),
                      XPainterStatic::color(XPainterStatic::C_WHITE));
        m_p->fillRect(QRect(QPoint(x - 2, y - 2), QPoint(x + 1, y + 1)),
                      XPainterStatic::color(XPainterStatic::C_BLACK));
    }
}

void XPainterQT::drawCursor(const XResult &res, const QPoint &framePt, const QPoint &anchor) {
    const QString text =
        QString::asprintf("%3.1f, (%d, %d)", static_cast<double>(res.avgTemp), framePt.x(), framePt.y());
    drawTextRelPoint(anchor, 0, text, kCursorMargin, XPainterStatic::pen(XPainterStatic::C_WHITE),
                     XPainterStatic::C_HALFBLACK);
}

QRect XPainterQT::textRelRect(const QPoint &anchor, int pos, const QSize &size, int m) const {
    const int x = anchor.x(), y = anchor.y(), w = size.width(), h = size.height();
    bool left = false, above = false;
    switch (pos) {
        case 1:
            left = above = true;
            break;
        case 2:
            above = true;
            break;
        case 3:
            left = true;
            break;
        case 4:
            break;
        default:
            left = x + m + w > m_canvasW;
            above = y + m + h > m_canvasH;
            break;
    }
    const int tx = left ? x - m - w : x + m;
    const int ty = above ? y - m - h : y + m;
    return QRect(tx, ty, w, h);
}

QRect XPainterQT::drawTextRelPoint(const QPoint &anchor, int pos, const QString &text, int margin,
                                   const QPen &pen, int boxColor) {
    const QRect bound = XPainterStatic::fontMetrics().boundingRect(QRect(0, 0, 4096, 4096),
                                                                   Qt::AlignLeft | Qt::AlignTop, text);
    const QRect r = textRelRect(anchor, pos, bound.size(), margin);
    if (!m_p) return r;
    if (boxColor != XPainterStatic::C_TRANSPARENT) m_p->fillRect(r, XPainterStatic::brush(boxColor));
    m_p->setPen(pen);
    m_p->setFont(XPainterStatic::font());
    m_p->drawText(r, Qt::AlignLeft | Qt::AlignTop, text);
    return r;
}
