#include "TempCanvasItem.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "TempCanvas.h"

TempCanvasItemBase::TempCanvasItemBase(QObject *parent) : QObject(parent) {}

TempCanvasItemBase::~TempCanvasItemBase() = default;

void TempCanvasItemBase::init(TempCanvas *canvas, XMea &mea) {
    m_canvas = canvas;
    m_mea = mea;
    m_mea.name[MEA_NAME_SIZE - 1] = '\0';
    m_name = QString::fromUtf8(m_mea.name);
    m_color = QColor::fromRgb(m_mea.color | 0xFF000000u);
    data2canvas();
}

void TempCanvasItemBase::updateMea() {
    TempData *d = m_canvas ? m_canvas->currentData() : nullptr;
    if (d && d->header && d->temp) Alg_GetResult(&m_mea, d->header, d->temp, &m_result);
    m_needUpdate = false;
}

void TempCanvasItemBase::set_meaName(const QString &name) {
    const QByteArray utf8 = name.toUtf8();
    if (utf8.size() > MEA_NAME_SIZE - 1 || name == m_name) return;
    std::memset(m_mea.name, 0, sizeof m_mea.name);
    std::memcpy(m_mea.name, utf8.constData(), static_cast<size_t>(utf8.size()));
    m_name = name;
    emit meaNameChanged();
    if (m_canvas) m_canvas->update();
}

void TempCanvasItemBase::set_meaColor(const QColor &color) {
    const QColor opaque = QColor::fromRgb(color.rgb() | 0xFF000000u);
    if (!color.isValid() || opaque == m_color) return;
    m_color = opaque;
    m_mea.color = 0xFF000000u | (color.rgb() & 0xFFFFFFu);
    emit meaColorChanged();
    if (m_canvas) m_canvas->update();
}

void TempCanvasItemBase::set_textPos(int pos) {
    if (pos < 0 || pos > 255 || pos == m_mea.textPos) return;
    m_mea.textPos = static_cast<uint8_t>(pos);
    emit textPosChanged();
    if (m_canvas) m_canvas->update();
}

bool TempCanvasItemBase::storeFlag(uint8_t bit, bool b) {
    if (b == ((m_mea.flags & bit) != 0)) return false;
    m_mea.flags = static_cast<uint8_t>(b ? (m_mea.flags | bit) : (m_mea.flags & ~bit));
    if (m_canvas) m_canvas->update();
    return true;
}

void TempCanvasItemBase::set_meaFlags_trackHigh(bool b) {
    if (storeFlag(MEA_FLAG_TRACK_HIGH, b)) emit meaFlags_trackHighChanged();
}

void TempCanvasItemBase::set_meaFlags_trackLow(bool b) {
    if (storeFlag(MEA_FLAG_TRACK_LOW, b)) emit meaFlags_trackLowChanged();
}

void TempCanvasItemBase::set_fix(bool enable, float emi, float reflectTemp) {
    bool taken = false;
    if (enable != fixEnable()) {
        m_mea.fixEnable = enable ? 1u : 0u;
        taken = true;
        emit fixEnableChanged();
    }
    if (emi > 0.01f && emi < 1.01f && emi != m_mea.fixEmi) {
        m_mea.fixEmi = emi;
        taken = true;
        emit fixEmiChanged();
    }
    if (reflectTemp > -100.0f && reflectTemp < 10000.0f && reflectTemp != m_mea.fixReflectTemp) {
        m_mea.fixReflectTemp = reflectTemp;
        taken = true;
        emit fixReflectTempChanged();
    }
    if (taken) m_needUpdate = true;
}

int TempCanvasItemBase::storeHandle(int h) {
    if (h != m_handle) {
        m_handle = h;
        if (m_canvas) m_canvas->item_refresh(this);
    }
    return h;
}

QPoint TempCanvasItemBase::clampToActive(const QPoint &p) const {
    if (!m_canvas) return p;
    const int l = static_cast<int>(m_canvas->activeLeft()), r = static_cast<int>(m_canvas->activeRight());
    const int t = static_cast<int>(m_canvas->activeTop()), b = static_cast<int>(m_canvas->activeBottom());
    return QPoint(std::clamp(p.x(), l, std::max(l, r)), std::clamp(p.y(), t, std::max(t, b)));
}

XMeaPoint TempCanvasItemBase::toFrame(const QPoint &p) const {
    const QPoint c = clampToActive(p);
    XMeaPoint out{};
    if (m_canvas) {
        out.x = static_cast<uint16_t>(m_canvas->c2dX(c.x()));
        out.y = static_cast<uint16_t>(m_canvas->c2dY(c.y()));
    }
    return out;
}

QPoint TempCanvasItemBase::toCanvas(const XMeaPoint &p) const {
    if (!m_canvas) return QPoint(p.x, p.y);
    return QPoint(m_canvas->d2cX(p.x), m_canvas->d2cY(p.y));
}

bool TempCanvasItemBase::nearHandle(const QPoint &p, const QPoint &h) const {
    return std::abs(p.x() - h.x()) < kHandleSize && std::abs(p.y() - h.y()) < kHandleSize;
}

// ---- global -------------------------------------------------------------------------------------------

void TempCanvasItemGlobal::drawMea() {
    if (m_canvas) m_canvas->painter().drawMarkers(m_mea, m_result);
}

// ---- point --------------------------------------------------------------------------------------------

void TempCanvasItemPoint::data2canvas() {
    m_pointCount = 1;
    m_points[0] = toCanvas(m_mea.points[0]);
}

void TempCanvasItemPoint::canvas2data() {
    m_points[0] = clampToActive(m_points[0]);
    m_mea.points[0] = toFrame(m_points[0]);
    m_mea.count = 1;
}

void TempCanvasItemPoint::drawMea() {
    if (m_canvas) m_canvas->painter().drawPoint(m_mea, m_result, m_points[0], m_name);
}

int TempCanvasItemPoint::testHandle(QPoint &p) {
    return storeHandle(nearHandle(p, m_points[0]) ? 1 : -1);
}

void TempCanvasItemPoint::changeHandle(int, QPoint &p) {
    m_points[0] = p;
    canvas2data();
    if (m_canvas) m_canvas->item_refresh(this);
}

// ---- mouse --------------------------------------------------------------------------------------------

void TempCanvasItemMouse::moveTo(const QPoint &canvasPos) {
    m_points[0] = canvasPos;
    canvas2data();
    m_pointCount = 1;
}

void TempCanvasItemMouse::drawMea() {
    if (!m_visible || !m_canvas) return;
    m_canvas->painter().drawCursor(m_result, QPoint(m_mea.points[0].x, m_mea.points[0].y), m_anchor);
}

// ---- polyline -----------------------------------------------------------------------------------------

void TempCanvasItemPolyline::data2canvas() {
    m_pointCount = std::min<int>(m_mea.count, MEA_POINT_MAX);
    for (int i = 0; i < m_pointCount; ++i) m_points[i] = toCanvas(m_mea.points[i]);
}

void TempCanvasItemPolyline::canvas2data() {
    for (int i = 0; i < m_pointCount; ++i) {
        m_points[i] = clampToActive(m_points[i]);
        m_mea.points[i] = toFrame(m_points[i]);
    }
    m_mea.count = static_cast<uint16_t>(m_pointCount);
}

void TempCanvasItemPolyline::drawMea() {
    if (m_canvas) m_canvas->painter().drawPoly(m_mea, m_result, m_points, m_pointCount, m_handle, m_name);
}

int TempCanvasItemPolyline::testPointHandles(const QPoint &p) const {
    for (int i = 0; i < m_pointCount; ++i)
        if (nearHandle(p, m_points[i])) return i + 1;
    return -1;
}

bool TempCanvasItemPolyline::nearSegment(const QPoint &p) const {
    const long long px = p.x(), py = p.y();
    for (int i = 0; i + 1 < m_pointCount; ++i) {
        const long long x0 = m_points[i].x(), y0 = m_points[i].y();
        const long long x1 = m_points[i + 1].x(), y1 = m_points[i + 1].y();
        // Only the ascending order counts: a segment drawn leftwards is reached through its y extent.
        const bool between = (x0 < px && px < x1) || (y0 < py && py < y1);
        if (!between) continue;
        const long long cross = (x0 - x1) * (py - y0) - (y1 - y0) * (x0 - px);
        if (cross * cross < 8 * ((y1 - y0) * (y1 - y0) + (x0 - x1) * (x0 - x1))) return true;
    }
    return false;
}

int TempCanvasItemPolyline::testHandle(QPoint &p) {
    int h = testPointHandles(p);
    if (h < 0 && nearSegment(p)) h = 0;
    return storeHandle(h);
}

void TempCanvasItemPolyline::changeHandle(int k, QPoint &p) {
    if (k >= 1 && k <= MEA_POINT_MAX) {
        if (k > m_pointCount) return;
        m_points[k - 1] = p;
    } else {
        for (int i = 0; i < m_pointCount; ++i) m_points[i] += p;
    }
    canvas2data();
    if (m_canvas) m_canvas->item_refresh(this);
}

int TempCanvasItemPolyline::addPoint(QPoint &p) {
    if (m_pointCount >= MEA_POINT_MAX) return MEA_POINT_MAX;
    m_points[m_pointCount++] = p;
    m_handle = m_pointCount;
    canvas2data();
    if (m_canvas) m_canvas->item_refresh(this);
    return m_pointCount;
}

void TempCanvasItemPolyline::addPointEnd() {
    if (m_pointCount >= 3) {
        --m_pointCount;
        m_handle = -1;
        canvas2data();
    }
}

// ---- polygon ------------------------------------------------------------------------------------------

void TempCanvasItemPolygon::drawMea() {
    TempCanvasItemPolyline::drawMea();
}

bool TempCanvasItemPolygon::inside(const QPoint &pt) const {
    if (m_pointCount < 3) return false;
    const long long x = pt.x(), y = pt.y();
    bool odd = false;
    for (int k = 0, p = m_pointCount - 1; k < m_pointCount; p = k++) {
        const long long xk = m_points[k].x(), yk = m_points[k].y();
        const long long xp = m_points[p].x(), yp = m_points[p].y();
        if ((y < yk) == (y < yp)) continue;
        const long long d = yp - yk;
        const long long lhs = (x - xk) * d, rhs = (y - yk) * (xp - xk);
        if ((d > 0 && lhs < rhs) || (d < 0 && lhs > rhs)) odd = !odd;
    }
    return odd;
}

int TempCanvasItemPolygon::testHandle(QPoint &p) {
    int h = testPointHandles(p);
    if (h < 0 && inside(p)) h = 0;
    return storeHandle(h);
}

void TempCanvasItemPolygon::addPointEnd() {
    if (m_pointCount >= 4) {
        --m_pointCount;
        m_handle = 0;
        canvas2data();
    }
}

// ---- boxes --------------------------------------------------------------------------------------------

void TempCanvasItemRect::updateCorners() {
    m_pointCount = 4;
    m_points[0] = QPoint(m_left, m_top);
    m_points[1] = QPoint(m_right, m_top);
    m_points[2] = QPoint(m_right, m_bottom);
    m_points[3] = QPoint(m_left, m_bottom);
}

void TempCanvasItemRect::data2canvas() {
    const QPoint a = toCanvas(m_mea.points[0]), b = toCanvas(m_mea.points[1]);
    m_left = a.x();
    m_top = a.y();
    m_right = b.x();
    m_bottom = isSquare() ? m_top + (m_right - m_left) : b.y();
    updateCorners();
}

void TempCanvasItemRect::canvas2data() {
    if (m_right < m_left) m_right = m_left;
    if (m_bottom < m_top) m_bottom = m_top;
    const QPoint tl = clampToActive(QPoint(m_left, m_top)), br = clampToActive(QPoint(m_right, m_bottom));
    m_left = tl.x();
    m_top = tl.y();
    m_right = br.x();
    m_bottom = isSquare() ? m_top + (m_right - m_left) : br.y();
    updateCorners();
    m_mea.points[0] = toFrame(QPoint(m_left, m_top));
    m_mea.points[1] = toFrame(QPoint(m_right, m_bottom));
    m_mea.count = 2;
}

void TempCanvasItemRect::drawMea() {
    if (m_canvas)
        m_canvas->painter().drawBox(m_mea, m_result, m_left, m_top, m_right, m_bottom, m_points, m_handle,
                                    m_name);
}

int TempCanvasItemRect::testHandle(QPoint &p) {
    int h = -1;
    for (int i = 0; i < 4 && h < 0; ++i)
        if (nearHandle(p, m_points[i])) h = i + 1;
    if (h < 0 && m_left <= p.x() && p.x() <= m_right && m_top <= p.y() && p.y() <= m_bottom) h = 0;
    return storeHandle(h);
}

void TempCanvasItemRect::changeHandle(int k, QPoint &p) {
    const int px = p.x(), py = p.y();
    if (k < 1 || k > 4) {
        m_left += px;
        m_right += px;
        m_top += py;
        m_bottom += py;
    } else if (!isSquare()) {
        if (k == 1 || k == 4) m_left = px;
        if (k == 2 || k == 3) m_right = px;
        if (k == 1 || k == 2) m_top = py;
        if (k == 3 || k == 4) m_bottom = py;
    } else {
        // The dragged corner takes the pointer; the larger extent decides the side.
        const int L = m_left, T = m_top, R = m_right, B = m_bottom;
        switch (k) {
            case 1:
                m_left = px;
                m_top = py;
                if (R - px < B - py)
                    m_left = R - (B - py);
                else
                    m_top = B - (R - px);
                break;
            case 2:
                m_right = px;
                m_top = py;
                if (px - L < B - py)
                    m_right = L + (B - py);
                else
                    m_top = B - (px - L);
                break;
            case 3:
                m_right = px;
                m_bottom = py;
                if (px - L < py - T)
                    m_right = L + (py - T);
                else
                    m_bottom = T + (px - L);
                break;
            default:
                m_left = px;
                m_bottom = py;
                if (R - px < py - T)
                    m_left = R - (py - T);
                else
                    m_bottom = T + (R - px);
                break;
        }
    }
    canvas2data();
    if (m_canvas) m_canvas->item_refresh(this);
}

int TempCanvasItemRect::addPoint(QPoint &p) {
    m_right = p.x();
    m_bottom = p.y();
    if (isSquare()) {
        const int side = std::max(m_right - m_left, m_bottom - m_top);
        m_right = m_left + side;
        m_bottom = m_top + side;
    }
    m_handle = 3;
    canvas2data();
    if (m_canvas) m_canvas->item_refresh(this);
    return 2;
}

void TempCanvasItemRect::addPointEnd() {
    m_handle = 0;
}
