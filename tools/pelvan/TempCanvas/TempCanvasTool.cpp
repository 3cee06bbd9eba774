#include "TempCanvasTool.h"

#include <QHoverEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <cmath>

#include "TempCanvas.h"
#include "TempCanvasItem.h"
#include "TempCanvasManager.h"

TempCanvasToolBase::TempCanvasToolBase(TempCanvas *canvas, int type) : m_canvas(canvas) {
    m_template.type = static_cast<uint8_t>(type);
    m_template.flags = MEA_FLAG_TRACK_HIGH;
    m_template.fixEnable = 0;
    m_template.fixEmi = 0.97f;
    m_template.fixReflectTemp = 25.0f;
    m_template.textPos = 0;
}

QPoint TempCanvasToolBase::roundPos(const QPointF &p) {
    return QPoint(static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y())));
}

void TempCanvasToolBase::forget(TempCanvasItemBase *item) {
    if (!item || item == m_pending) m_pending = nullptr;
}

TempCanvasItemBase *TempCanvasToolBase::createFromTemplate(int count, const QPoint *canvasPts) {
    XMea mea = m_template;
    TempCanvasManager::instance()->mea_init(mea);
    mea.count = static_cast<uint16_t>(count);
    for (int i = 0; i < count; ++i) {
        mea.points[i].x = static_cast<uint16_t>(m_canvas->c2dX(canvasPts[i].x()));
        mea.points[i].y = static_cast<uint16_t>(m_canvas->c2dY(canvasPts[i].y()));
    }
    TempCanvasItemBase *item = m_canvas->item_create(mea);
    if (item) m_canvas->item_refresh(item);
    return item;
}

void TempCanvasToolBase::finish() {
    m_pending = nullptr;
    TempCanvasManager::instance()->set_tool(0);
    m_canvas->item_refresh(nullptr);
}

// ---- select -------------------------------------------------------------------------------------------

void TempCanvasToolSelect::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) return;
    QPoint p = roundPos(event->localPos());
    m_canvas->itemMouse()->setVisible(false);
    m_mode = 0;
    m_item = nullptr;
    const QList<TempCanvasItemBase *> items = m_canvas->itemList();
    for (int i = 1; i < items.size() && !m_item; ++i)
        if (items[i]->testHandle(p) == 0) {
            m_item = items[i];
            m_mode = 1;
        }
    for (int i = 1; i < items.size() && !m_item; ++i)
        if (items[i]->testHandle(p) > 0) {
            m_item = items[i];
            m_mode = 2;
        }
    m_canvas->item_refresh(m_item);
    m_last = p;
}

void TempCanvasToolSelect::mouseMoveEvent(QMouseEvent *event) {
    QPoint p = roundPos(event->localPos());
    m_canvas->itemMouse()->setVisible(false);
    if (m_item && m_mode == 1) {
        QPoint offset = p - m_last;
        m_item->changeHandle(0, offset);
    } else if (m_item && m_mode == 2) {
        m_item->changeHandle(m_item->activeHandle(), p);
    }
    m_moved = true;
    m_last = p;
}

void TempCanvasToolSelect::mouseReleaseEvent(QMouseEvent *) {
    m_moved = false;
}

void TempCanvasToolSelect::hoverMoveEvent(QHoverEvent *event) {
    const QPoint p = roundPos(event->posF());
    TempCanvasItemMouse *mouse = m_canvas->itemMouse();
    const bool inside = p.x() >= m_canvas->activeLeft() && p.x() <= m_canvas->activeRight() &&
                        p.y() >= m_canvas->activeTop() && p.y() <= m_canvas->activeBottom();
    const bool wasVisible = mouse->isVisible();
    mouse->setVisible(inside);
    if (!inside && !wasVisible) return;
    if (m_canvas->strictlyInsideActive(p)) {
        mouse->setAnchor(p);
        mouse->moveTo(p);
        mouse->updateMea();
    }
    m_canvas->item_refresh(m_canvas->itemSelected());
}

void TempCanvasToolSelect::hoverLeaveEvent(QHoverEvent *) {
    TempCanvasItemMouse *mouse = m_canvas->itemMouse();
    if (!mouse->isVisible()) return;
    mouse->setVisible(false);
    m_canvas->item_refresh(m_canvas->itemSelected());
}

void TempCanvasToolSelect::keyPressEvent(QKeyEvent *event) {
    if (event->key() != Qt::Key_Delete || !m_item) return;
    TempCanvasItemBase *item = m_item;
    m_canvas->item_refresh(nullptr);
    m_canvas->item_delete(item);
    m_item = nullptr;
    m_mode = 0;
}

void TempCanvasToolSelect::forget(TempCanvasItemBase *item) {
    TempCanvasToolBase::forget(item);
    if (!item || item == m_item) {
        m_item = nullptr;
        m_mode = 0;
    }
}

// ---- point --------------------------------------------------------------------------------------------

void TempCanvasToolPoint::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton || m_pending) return;
    const QPoint p = roundPos(event->localPos());
    m_pending = createFromTemplate(1, &p);
}

void TempCanvasToolPoint::hoverMoveEvent(QHoverEvent *event) {
    if (!m_pending) return;
    QPoint p = roundPos(event->posF());
    m_pending->changeHandle(1, p);
}

void TempCanvasToolPoint::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::RightButton && m_pending) finish();
}

// ---- boxes --------------------------------------------------------------------------------------------

void TempCanvasToolRect::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) return;
    QPoint p = roundPos(event->localPos());
    if (m_pending) {
        m_pending->addPoint(p);
        return;
    }
    const QPoint pts[2] = {p, p};
    m_pending = createFromTemplate(2, pts);
}

void TempCanvasToolRect::hoverMoveEvent(QHoverEvent *event) {
    if (!m_pending) return;
    QPoint p = roundPos(event->posF());
    m_pending->changeHandle(3, p);
}

void TempCanvasToolRect::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() != Qt::RightButton || !m_pending) return;
    m_pending->addPointEnd();
    finish();
}

// ---- polylines and polygons ---------------------------------------------------------------------------

void TempCanvasToolPolyline::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) return;
    QPoint p = roundPos(event->localPos());
    if (m_pending) {
        // The floating point is fixed where the press happened, even when no hover brought it there.
        m_pending->changeHandle(m_pending->pointCount(), p);
        m_pending->addPoint(p);
        return;
    }
    const QPoint pts[2] = {p, p};
    m_pending = createFromTemplate(2, pts);
}

void TempCanvasToolPolyline::hoverMoveEvent(QHoverEvent *event) {
    if (!m_pending) return;
    QPoint p = roundPos(event->posF());
    m_pending->changeHandle(m_pending->pointCount(), p);
}

void TempCanvasToolPolyline::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() != Qt::RightButton || !m_pending) return;
    if (m_pending->pointCount() <= minFinishCount()) return;
    m_pending->addPointEnd();
    finish();
}
