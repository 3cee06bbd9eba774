#include "TempCanvas.h"

#include <QCursor>
#include <QHoverEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "TempCanvasItem.h"
#include "TempCanvasManager.h"
#include "TempCanvasTool.h"
#include "XPainterStatic.h"

namespace {
constexpr int kLutSize = 65536;
constexpr double kMinScale = 0.1;
constexpr double kMaxScale = 10.0;
constexpr double kMinVisibleShare = 0.2;

int16_t toLut(double v) {
    const double t = std::trunc(v);
    if (t < -32768.0) return -32768;
    if (t > 32767.0) return 32767;
    return static_cast<int16_t>(t);
}
}  // namespace

TempCanvas::TempCanvas(QQuickItem *parent) : QQuickPaintedItem(parent), m_lut(new int16_t[4 * kLutSize]()) {
    setRenderTarget(QQuickPaintedItem::FramebufferObject);
    setOpaquePainting(true);
    setFillColor(Qt::black);
    setAcceptedMouseButtons(Qt::LeftButton | Qt::RightButton);
    setAcceptHoverEvents(true);
    // Entry 32768 of each table is coordinate 0, so signed coordinates index it directly.
    m_lutD2cX = m_lut.get() + kLutSize / 2;
    m_lutD2cY = m_lutD2cX + kLutSize;
    m_lutC2dX = m_lutD2cY + kLutSize;
    m_lutC2dY = m_lutC2dX + kLutSize;
    m_paletteData = new TempPaletteData(this);

    XMea global{};
    std::strcpy(global.name, "GLOBAL");
    global.color = 0xFF808080u;
    global.type = MEA_GLOBAL;
    global.flags = MEA_FLAG_TRACK_HIGH | MEA_FLAG_TRACK_LOW;
    m_itemGlobal = new TempCanvasItemGlobal(this);
    m_itemGlobal->init(this, global);
    m_itemList.append(m_itemGlobal);
    m_itemSelected = m_itemGlobal;

    XMea cursor{};
    cursor.type = MEA_POINT;
    cursor.count = 1;
    m_itemMouse = new TempCanvasItemMouse(this);
    m_itemMouse->init(this, cursor);

    m_tools[0] = new TempCanvasToolSelect(this);
    for (int t : {MEA_POINT, MEA_POINT3X3, MEA_POINTCROSS}) m_tools[t] = new TempCanvasToolPoint(this, t);
    m_tools[MEA_POLYLINE] = new TempCanvasToolPolyline(this, MEA_POLYLINE);
    for (int t : {MEA_ELLIPSE, MEA_CIRCLE, MEA_RECT, MEA_SQUARE})
        m_tools[t] = new TempCanvasToolRect(this, t);
    m_tools[MEA_POLYGON] = new TempCanvasToolPolygon(this, MEA_POLYGON);

    TempCanvasManager::instance()->canvas_crud(this, 0);
}

TempCanvas::~TempCanvas() {
    TempCanvasManager *mgr = TempCanvasManager::instance();
    mgr->canvas_crud(this, 3);
    for (TempCanvasItemBase *item : m_itemList) mgr->mea_crud(item, 3);
    for (TempCanvasToolBase *tool : m_tools) delete tool;
}

TempCanvasItemBase *TempCanvas::itemGlobal() const {
    return m_itemGlobal;
}

QList<QObject *> TempCanvas::itemListObjects() const {
    QList<QObject *> out;
    for (TempCanvasItemBase *item : m_itemList) out.append(item);
    return out;
}

int TempCanvas::activeScalePercent() const {
    // A hair of tolerance so that 1.05 reads 105, not 104.99999.
    return static_cast<int>(100.0 * m_scale + 1e-6);
}

TempCanvasToolBase *TempCanvas::toolObject(int t) const {
    return t >= 0 && t < kToolCount ? m_tools[t] : nullptr;
}

TempCanvasToolBase *TempCanvas::currentTool() const {
    return toolObject(m_tool);
}

int TempCanvas::beginUpdate(int w, int h) {
    if (w <= 0 || h <= 0 || w > 32767 || h > 32767) return -8;
    if (m_working) return -7;
    if (w != m_dataW || h != m_dataH) {
        m_dataW = w;
        m_dataH = h;
        m_dataWH = w * h;
        m_dataRatio = static_cast<double>(w) / h;
        m_image = QImage(w, h, QImage::Format_RGB32);
        if (m_image.isNull()) {
            m_dataW = m_dataH = m_dataWH = 0;
            return -5;
        }
        m_image.fill(Qt::black);
    }
    m_data = nullptr;
    m_picture = nullptr;
    m_imageDirty = false;
    m_working = true;
    changeCanvasWH();
    changeActiveAuto();
    if (!m_imageOnly) TempCanvasManager::instance()->mea_crud(m_itemGlobal, 0);
    return 0;
}

void TempCanvas::endUpdate() {
    if (!m_working) return;
    if (!m_imageOnly) TempCanvasManager::instance()->mea_crud(m_itemGlobal, 3);
    m_working = false;
    // The frame belongs to the SDK and is gone once the preview stops.
    m_data = nullptr;
    m_picture = nullptr;
    m_imageDirty = false;
    update();
}

int TempCanvas::updateData(TempData *data) {
    if (!m_working) return -7;
    // A frame of another size than announced would overrun the image and the tables.
    if (!data || !data->header || !data->temp || !data->image || data->header->width != m_dataW ||
        data->header->height != m_dataH)
        return -8;
    if (m_imageOnly) return updateImage(data->image);
    m_data = data;
    m_picture = data->image;
    m_imageDirty = true;
    item_refresh(m_itemSelected);
    for (TempCanvasItemBase *item : m_itemList) item->emitTempDataChanged();
    m_paletteData->updateGbl(m_itemGlobal->minTemp(), m_itemGlobal->maxTemp());
    return 0;
}

int TempCanvas::updateImage(const uint32_t *bgra) {
    if (!m_working) return -7;
    if (!bgra) return -8;
    m_picture = bgra;
    m_imageDirty = true;
    update();
    return 0;
}

int TempCanvas::copyImage(const uint32_t *bgra) {
    if (!m_working) return -7;
    if (!bgra) return -8;
    std::memcpy(m_image.bits(), bgra, static_cast<size_t>(m_dataWH) * 4);
    m_picture = reinterpret_cast<const uint32_t *>(m_image.constBits());
    m_imageDirty = false;
    update();
    return 0;
}

void TempCanvas::changeCanvasWH() {
    m_canvasW = width();
    m_canvasH = height();
    m_canvasWi = static_cast<int>(m_canvasW);
    m_canvasHi = static_cast<int>(m_canvasH);
    m_canvasRatio = m_canvasH > 0 ? m_canvasW / m_canvasH : 1.0;
}

void TempCanvas::geometryChanged(const QRectF &newGeometry, const QRectF &oldGeometry) {
    QQuickPaintedItem::geometryChanged(newGeometry, oldGeometry);
    if (newGeometry.size() == oldGeometry.size()) return;
    changeCanvasWH();
    if (m_working) changeActiveAuto();
}

void TempCanvas::changeActiveAuto() {
    if (m_dataW <= 0 || m_dataH <= 0) return;
    double w, h;
    if (m_dataRatio < m_canvasRatio) {
        h = m_canvasH;
        w = h * m_dataW / m_dataH;
    } else {
        w = m_canvasW;
        h = w * m_dataH / m_dataW;
    }
    m_left = (m_canvasW - w) / 2;
    m_top = (m_canvasH - h) / 2;
    m_right = m_left + w;
    m_bottom = m_top + h;
    m_scale = w / m_dataW;
    changePost();
}

void TempCanvas::changeActiveScale(double px, double py, double s) {
    const double w = m_dataW * s, h = m_dataH * s;
    const double l = px - (px - m_left) / (m_right - m_left) * w;
    const double t = py - (py - m_top) / (m_bottom - m_top) * h;
    m_left = l;
    m_top = t;
    m_right = l + w;
    m_bottom = t + h;
    m_scale = s;
    changePost();
}

bool TempCanvas::strictlyInsideActive(const QPoint &p) const {
    return p.x() > m_left && p.x() < m_right && p.y() > m_top && p.y() < m_bottom;
}

bool TempCanvas::panBy(double dx, double dy) {
    const double l = m_left + dx, r = m_right + dx, t = m_top + dy, b = m_bottom + dy;
    const double visW = std::min(r, m_canvasW) - std::max(l, 0.0);
    const double visH = std::min(b, m_canvasH) - std::max(t, 0.0);
    if (visW <= kMinVisibleShare * (r - l) || visH <= kMinVisibleShare * (b - t)) return false;
    m_left = l;
    m_right = r;
    m_top = t;
    m_bottom = b;
    changePost();
    return true;
}

void TempCanvas::changePost() {
    const QRectF active(QPointF(m_left, m_top), QPointF(m_right, m_bottom));
    m_visible = active.intersected(QRectF(0, 0, m_canvasW, m_canvasH));
    const double kx = m_dataW / (m_right - m_left), ky = m_dataH / (m_bottom - m_top);
    const double sx = (m_visible.x() - m_left) * kx, sy = (m_visible.y() - m_top) * ky;
    m_source = QRectF(sx, sy, (m_visible.right() - m_left) * kx - sx, (m_visible.bottom() - m_top) * ky - sy);
    initLut();
    for (TempCanvasItemBase *item : m_itemList) item->data2canvas();
    m_itemMouse->data2canvas();
    const int percent = activeScalePercent();
    if (percent != m_lastScalePercent) {
        m_lastScalePercent = percent;
        emit activeScalePercentChanged();
    }
    update();
}

void TempCanvas::initLut() {
    if (m_dataW <= 0 || m_dataH <= 0) return;
    // One axis: frame -> canvas from the near and far edges, canvas -> frame back into 0 .. n - 1.
    auto axis = [](double lo, double hi, int n, int16_t *d2c, int16_t *c2d) {
        const int tlo = static_cast<int>(std::trunc(lo)), thi = static_cast<int>(std::trunc(hi));
        for (int i = -32768; i < 32768; ++i) {
            d2c[i] = i < 0 ? toLut(lo) : (i < n ? toLut((hi - lo) * i / n + lo) : toLut(hi));
            if (i < tlo)
                c2d[i] = 0;
            else if (i < thi)
                c2d[i] =
                    static_cast<int16_t>(std::clamp(static_cast<int>((i - lo) * n / (hi - lo)), 0, n - 1));
            else
                c2d[i] = static_cast<int16_t>(n - 1);
        }
    };
    axis(m_left, m_right, m_dataW, m_lutD2cX, m_lutC2dX);
    axis(m_top, m_bottom, m_dataH, m_lutD2cY, m_lutC2dY);
}

TempCanvasItemBase *TempCanvas::item_create(XMea &mea) {
    if (m_itemList.size() > kMaxItems) return nullptr;
    TempCanvasItemBase *item = nullptr;
    switch (mea.type) {
        case MEA_POINT:
        case MEA_POINT3X3:
        case MEA_POINTCROSS:
            item = new TempCanvasItemPoint(this);
            break;
        case MEA_POLYLINE:
            item = new TempCanvasItemPolyline(this);
            break;
        case MEA_ELLIPSE:
        case MEA_CIRCLE:
        case MEA_RECT:
        case MEA_SQUARE:
            item = new TempCanvasItemRect(this);
            break;
        case MEA_POLYGON:
            item = new TempCanvasItemPolygon(this);
            break;
        default:
            return nullptr;
    }
    if (mea.count > MEA_POINT_MAX) mea.count = MEA_POINT_MAX;
    item->init(this, mea);
    item->updateMea();
    m_itemList.append(item);
    emit itemListChanged();
    TempCanvasManager::instance()->mea_crud(item, 0);
    return item;
}

void TempCanvas::forgetItem(TempCanvasItemBase *item) {
    for (TempCanvasToolBase *tool : m_tools)
        if (tool) tool->forget(item);
}

void TempCanvas::item_delete(TempCanvasItemBase *item) {
    if (!item || item == m_itemGlobal) return;
    const int at = m_itemList.indexOf(item);
    if (at <= 0) return;
    forgetItem(item);
    TempCanvasManager::instance()->mea_crud(item, 3);
    m_itemList.removeAt(at);
    emit itemListChanged();
    if (m_itemSelected == item) m_itemSelected = nullptr;
    delete item;
    set_itemSelected(nullptr);
    update();
}

void TempCanvas::item_deleteAll() {
    TempCanvasManager *mgr = TempCanvasManager::instance();
    const QList<TempCanvasItemBase *> items = m_itemList.mid(1);
    m_itemList = {m_itemGlobal};
    for (TempCanvasItemBase *item : items) {
        forgetItem(item);
        mgr->mea_crud(item, 3);
        if (m_itemSelected == item) m_itemSelected = nullptr;
        delete item;
    }
    emit itemListChanged();
    set_itemSelected(nullptr);
    update();
}

void TempCanvas::item_refresh(TempCanvasItemBase *item) {
    set_itemSelected(item);
    for (TempCanvasItemBase *it : m_itemList) {
        if (it != m_itemSelected) it->setActiveHandle(-1);
        it->updateMea();
    }
    if (m_tool == 0) m_itemMouse->updateMea();
    update();
}

void TempCanvas::set_itemSelected(TempCanvasItemBase *item) {
    if (!item) item = m_itemGlobal;
    if (item == m_itemSelected) return;
    m_itemSelected = item;
    emit itemSelectedChanged();
    TempCanvasManager::instance()->set_meaSelected(item);
}

void TempCanvas::set_tool(int t) {
    if (!m_working || t < 0 || t >= kToolCount || t == m_tool) return;
    if (t == 0 || t == MEA_POINT3X3 || t == MEA_POLYLINE || t == MEA_POLYGON) setCursor(Qt::ArrowCursor);
    if (t == 0 || m_tool == 0) item_refresh(nullptr);
    // A pending drawing stays as drawn so far; the tool no longer follows it.
    if (TempCanvasToolBase *old = currentTool()) old->forget(nullptr);
    m_itemMouse->setVisible(false);
    m_tool = t;
    emit toolChanged();
}

void TempCanvas::forceRedraw() {
    for (int i = 1; i < m_itemList.size(); ++i) {
        TempCanvasItemBase *item = m_itemList[i];
        if (!item->needUpdate()) continue;
        item->updateMea();
        item->emitTempDataChanged();
    }
    update();
}

void TempCanvas::paint(QPainter *painter) {
    if (!m_working || !m_picture) return;
    if (m_imageDirty) {
        std::memcpy(m_image.bits(), m_picture, static_cast<size_t>(m_dataWH) * 4);
        m_imageDirty = false;
    }
    painter->drawImage(m_visible, m_image, m_source);
    if (m_imageOnly) return;
    m_painter.beginDraw(painter, this);
    if (!TempCanvasManager::instance()->hideAll())
        for (TempCanvasItemBase *item : m_itemList) item->drawMea();
    if (m_tool == 0) m_itemMouse->drawMea();
    m_painter.endDraw();
}

// ---- input --------------------------------------------------------------------------------------------

void TempCanvas::mousePressEvent(QMouseEvent *event) {
    if (!m_working) return;
    forceActiveFocus();
    m_lastPos = TempCanvasToolBase::roundPos(event->localPos());
    if (m_imageOnly) {
        event->accept();
        return;
    }
    if (TempCanvasToolBase *tool = currentTool()) tool->mousePressEvent(event);
    event->accept();
}

void TempCanvas::mouseMoveEvent(QMouseEvent *event) {
    if (!m_working) return;
    const QPoint p = TempCanvasToolBase::roundPos(event->localPos());
    if (m_tool == 0 && m_itemSelected == m_itemGlobal && (event->buttons() & Qt::LeftButton)) {
        panBy(p.x() - m_lastPos.x(), p.y() - m_lastPos.y());
        m_lastPos = p;
        return;
    }
    m_lastPos = p;
    if (m_imageOnly) return;
    if (TempCanvasToolBase *tool = currentTool()) tool->mouseMoveEvent(event);
}

void TempCanvas::mouseReleaseEvent(QMouseEvent *event) {
    if (!m_working || m_imageOnly) return;
    if (TempCanvasToolBase *tool = currentTool()) tool->mouseReleaseEvent(event);
}

void TempCanvas::mouseDoubleClickEvent(QMouseEvent *event) {
    if (!m_working) return;
    if (m_tool == 0 && m_itemSelected == m_itemGlobal && event->button() == Qt::LeftButton) {
        changeActiveAuto();
        return;
    }
    // Other tools see a double click as a further press.
    mousePressEvent(event);
}

void TempCanvas::hoverMoveEvent(QHoverEvent *event) {
    if (!m_working || m_imageOnly) return;
    if (TempCanvasToolBase *tool = currentTool()) tool->hoverMoveEvent(event);
}

void TempCanvas::hoverLeaveEvent(QHoverEvent *event) {
    if (!m_working || m_imageOnly) return;
    if (TempCanvasToolBase *tool = currentTool()) tool->hoverLeaveEvent(event);
}

void TempCanvas::wheelEvent(QWheelEvent *event) {
    if (!m_working || m_tool != 0) return;
    const QPointF pos = event->position();
    if (!(pos.x() > m_left && pos.x() < m_right && pos.y() > m_top && pos.y() < m_bottom)) return;
    const int delta = event->angleDelta().y();
    if (delta == 0) return;
    const double step = m_scale < 1.0 ? 0.1 : 0.2;
    const double s = std::clamp(delta > 0 ? m_scale + step : m_scale - step, kMinScale, kMaxScale);
    if (std::fabs(s - m_scale) < 1e-12) return;
    changeActiveScale(pos.x(), pos.y(), s);
}

void TempCanvas::keyPressEvent(QKeyEvent *event) {
    if (!m_working || m_imageOnly) return;
    if (TempCanvasToolBase *tool = currentTool()) tool->keyPressEvent(event);
}

void TempCanvas::keyReleaseEvent(QKeyEvent *event) {
    if (!m_working) return;
    QQuickPaintedItem::keyReleaseEvent(event);
}
