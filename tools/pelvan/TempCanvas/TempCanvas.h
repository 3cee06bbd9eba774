#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QQuickPaintedItem>
#include <QRectF>
#include <memory>

#include "AlgMea.h"
#include "TempData.h"
#include "TempPaletteData.h"
#include "XPainterQT.h"

class TempCanvasItemBase;
class TempCanvasItemGlobal;
class TempCanvasItemMouse;
class TempCanvasToolBase;

// The live temperature image with its measurement objects: fit, zoom and pan, the frame/canvas
// coordinate tables, per-frame measuring and the routing of input to the current tool.
class TempCanvas : public QQuickPaintedItem {
    Q_OBJECT
    Q_PROPERTY(int tool READ tool WRITE set_tool NOTIFY toolChanged)
    Q_PROPERTY(TempCanvasItemBase *itemGlobal READ itemGlobal CONSTANT)
    Q_PROPERTY(QList<QObject *> itemList READ itemListObjects NOTIFY itemListChanged)
    Q_PROPERTY(
        TempCanvasItemBase *itemSelected READ itemSelected WRITE set_itemSelected NOTIFY itemSelectedChanged)
    Q_PROPERTY(TempPaletteData *paletteData READ paletteData CONSTANT)
    Q_PROPERTY(int activeScalePercent READ activeScalePercent NOTIFY activeScalePercentChanged)

public:
    static constexpr int kToolCount = 14;
    static constexpr int kMaxItems = 30;  // user items beside the global one

    explicit TempCanvas(QQuickItem *parent = nullptr);
    ~TempCanvas() override;

    int tool() const { return m_tool; }
    TempCanvasItemBase *itemGlobal() const;
    const QList<TempCanvasItemBase *> &itemList() const { return m_itemList; }
    QList<QObject *> itemListObjects() const;
    TempCanvasItemBase *itemSelected() const { return m_itemSelected; }
    TempPaletteData *paletteData() const { return m_paletteData; }
    int activeScalePercent() const;
    TempCanvasItemMouse *itemMouse() const { return m_itemMouse; }

    Q_INVOKABLE int beginUpdate(int w, int h);
    Q_INVOKABLE void endUpdate();
    Q_INVOKABLE int updateData(TempData *data);
    Q_INVOKABLE void changeCanvasWH();
    Q_INVOKABLE void forceRedraw();
    Q_INVOKABLE void item_delete(TempCanvasItemBase *item);
    Q_INVOKABLE void item_deleteAll();

    TempCanvasItemBase *item_create(XMea &mea);
    void item_refresh(TempCanvasItemBase *item);
    void set_itemSelected(TempCanvasItemBase *item);
    void set_tool(int t);

    // View geometry.
    void changeActiveAuto();
    void changeActiveScale(double px, double py, double scale);
    bool isWorking() const { return m_working; }
    int dataWidth() const { return m_dataW; }
    int dataHeight() const { return m_dataH; }
    double canvasWidth() const { return m_canvasW; }
    double canvasHeight() const { return m_canvasH; }
    double activeLeft() const { return m_left; }
    double activeTop() const { return m_top; }
    double activeRight() const { return m_right; }
    double activeBottom() const { return m_bottom; }
    double scale() const { return m_scale; }
    QRectF visibleRect() const { return m_visible; }
    QRectF sourceRect() const { return m_source; }
    bool strictlyInsideActive(const QPoint &p) const;

    // Coordinate tables, indexed by any signed 16-bit coordinate.
    int d2cX(int i) const { return m_lutD2cX[clampIndex(i)]; }
    int d2cY(int i) const { return m_lutD2cY[clampIndex(i)]; }
    int c2dX(int i) const { return m_lutC2dX[clampIndex(i)]; }
    int c2dY(int i) const { return m_lutC2dY[clampIndex(i)]; }
    const int16_t *lutD2cX() const { return m_lutD2cX; }
    const int16_t *lutD2cY() const { return m_lutD2cY; }
    const int16_t *lutC2dX() const { return m_lutC2dX; }
    const int16_t *lutC2dY() const { return m_lutC2dY; }

    TempData *currentData() const { return m_data; }
    XPainterQT &painter() { return m_painter; }
    TempCanvasToolBase *toolObject(int t) const;

    void paint(QPainter *painter) override;

    // Input; public so that views and tests can forward synthetic events.
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void hoverMoveEvent(QHoverEvent *event) override;
    void hoverLeaveEvent(QHoverEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

signals:
    void toolChanged();
    void itemListChanged();
    void itemSelectedChanged();
    void activeScalePercentChanged();

protected:
    // Image-only canvases (a visible-light camera) show a BGRA picture with the same view geometry (fit,
    // zoom, pan, coordinate tables) and nothing else: no item is measured or drawn and the tools stay idle.
    void setImageOnly(bool on) { m_imageOnly = on; }
    bool imageOnly() const { return m_imageOnly; }
    // Shows a picture of the announced size; the pointer must stay valid until the next one or endUpdate.
    // -7 when not working, -8 without a picture.
    int updateImage(const uint32_t *bgra);
    // Takes a copy of a picture of the announced size at once, for pictures whose buffer is refilled
    // behind the canvas's back; -7 when not working, -8 without a picture.
    int copyImage(const uint32_t *bgra);

    void geometryChanged(const QRectF &newGeometry, const QRectF &oldGeometry) override;

private:
    static int clampIndex(int i) { return i < -32768 ? -32768 : (i > 32767 ? 32767 : i); }
    TempCanvasToolBase *currentTool() const;
    bool panBy(double dx, double dy);
    void changePost();
    void initLut();
    void forgetItem(TempCanvasItemBase *item);

    bool m_working = false;
    int m_dataW = 0, m_dataH = 0, m_dataWH = 0;
    double m_dataRatio = 1.0;
    QImage m_image;
    TempData *m_data = nullptr;
    const uint32_t *m_picture = nullptr;  // the BGRA picture to draw: the frame's or an image-only one
    bool m_imageOnly = false;
    bool m_imageDirty = false;
    double m_canvasW = 0, m_canvasH = 0, m_canvasRatio = 1.0;
    int m_canvasWi = 0, m_canvasHi = 0;
    double m_left = 0, m_top = 0, m_right = 0, m_bottom = 0, m_scale = 1.0;
    QRectF m_visible, m_source;
    std::unique_ptr<int16_t[]> m_lut;  // four tables of 65536 entries in one block
    int16_t *m_lutD2cX = nullptr, *m_lutD2cY = nullptr, *m_lutC2dX = nullptr, *m_lutC2dY = nullptr;
    QList<TempCanvasItemBase *> m_itemList;
    TempCanvasItemGlobal *m_itemGlobal = nullptr;
    TempCanvasItemBase *m_itemSelected = nullptr;
    TempCanvasItemMouse *m_itemMouse = nullptr;
    int m_tool = 0;
    TempCanvasToolBase *m_tools[kToolCount] = {};
    TempPaletteData *m_paletteData = nullptr;
    XPainterQT m_painter;
    QPoint m_lastPos;
    int m_lastScalePercent = 100;
};
