#pragma once

#include <QPoint>

#include "AlgMea.h"

class QHoverEvent;
class QKeyEvent;
class QMouseEvent;
class TempCanvas;
class TempCanvasItemBase;

// One drawing tool of a canvas: turns pointer and key input into measurement items.
class TempCanvasToolBase {
public:
    TempCanvasToolBase(TempCanvas *canvas, int type);
    virtual ~TempCanvasToolBase() = default;

    virtual void mousePressEvent(QMouseEvent *) {}
    virtual void mouseMoveEvent(QMouseEvent *) {}
    virtual void mouseReleaseEvent(QMouseEvent *) {}
    virtual void hoverMoveEvent(QHoverEvent *event) = 0;
    virtual void hoverLeaveEvent(QHoverEvent *) {}
    virtual void keyPressEvent(QKeyEvent *) {}

    // The item is going away (deleted, or the tool was switched): drop every reference to it.
    virtual void forget(TempCanvasItemBase *item);
    TempCanvasItemBase *pending() const { return m_pending; }
    static QPoint roundPos(const QPointF &p);

protected:
    // Names, colours and creates an item from the template; null when the canvas refuses it.
    TempCanvasItemBase *createFromTemplate(int count, const QPoint *canvasPts);
    void finish();

    TempCanvas *m_canvas;
    XMea m_template{};
    TempCanvasItemBase *m_pending = nullptr;
};

class TempCanvasToolSelect : public TempCanvasToolBase {
public:
    explicit TempCanvasToolSelect(TempCanvas *canvas) : TempCanvasToolBase(canvas, MEA_GLOBAL) {}
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hoverMoveEvent(QHoverEvent *event) override;
    void hoverLeaveEvent(QHoverEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void forget(TempCanvasItemBase *item) override;
    int mode() const { return m_mode; }
    TempCanvasItemBase *item() const { return m_item; }

private:
    int m_mode = 0;  // 0 none, 1 moving an item, 2 dragging a handle
    TempCanvasItemBase *m_item = nullptr;
    QPoint m_last;
    bool m_moved = false;
};

class TempCanvasToolPoint : public TempCanvasToolBase {
public:
    using TempCanvasToolBase::TempCanvasToolBase;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hoverMoveEvent(QHoverEvent *event) override;
};

class TempCanvasToolRect : public TempCanvasToolBase {
public:
    using TempCanvasToolBase::TempCanvasToolBase;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hoverMoveEvent(QHoverEvent *event) override;
};

class TempCanvasToolPolyline : public TempCanvasToolBase {
public:
    using TempCanvasToolBase::TempCanvasToolBase;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hoverMoveEvent(QHoverEvent *event) override;

protected:
    virtual int minFinishCount() const { return 2; }
};

class TempCanvasToolPolygon : public TempCanvasToolPolyline {
public:
    using TempCanvasToolPolyline::TempCanvasToolPolyline;

protected:
    int minFinishCount() const override { return 3; }
};
