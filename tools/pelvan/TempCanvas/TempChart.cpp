#include "TempChart.h"

#include <QFocusEvent>
#include <QHoverEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr int kKeyCtrl = 0x01000021;
constexpr int kKeyAlt = 0x01000023;
constexpr int kModNone = 0;
constexpr int kModAlt = 1;
constexpr int kModCtrl = 2;

const QColor kGridColor(0, 0, 9);
const QColor kAxisColor(0, 0, 2);
// Half the side of the pre-drawn series dot (radius 2 plus half the 2-pixel pen, and a spare pixel).
constexpr int kDotHalf = 4;
// Points per stroked piece of a series line.
constexpr int kRunPiece = 64;

// A range the transform can divide by: finite, increasing and not collapsed below what a double can
// still tell apart at that magnitude (endless zooming would otherwise end in a division by zero).
bool usableRange(double a, double b) {
    if (!std::isfinite(a) || !std::isfinite(b) || !(b > a)) return false;
    const double span = b - a;
    const double mag = std::max({1.0, std::fabs(a), std::fabs(b)});
    return std::isfinite(span) && span > mag * 1e-9 && span < 1e15;
}

// One axis of initConfig. A fixed or automatic range that cannot be drawn keeps the current one.
void pickRange(int mode, double cfgMin, double cfgMax, double extMin, double extMax, double &lo, double &hi) {
    double a = lo, b = hi;
    if (mode == TCConfig::Mode_Fixed) {
        a = cfgMin;
        b = cfgMax;
    } else if (mode == TCConfig::Mode_Auto) {
        a = extMin;
        b = extMax;
    }
    if (!usableRange(a, b)) return;
    lo = a;
    hi = b;
}

// Grid values that are zero up to rounding print as 0, never as "-0".
double snapZero(double v, double step) {
    return std::fabs(v) < std::fabs(step) * 1e-6 ? 0.0 : v;
}

int seriesCount(QQmlListProperty<TCSeriesBase> *prop) {
    return static_cast<TempChart *>(prop->object)->seriesList().size();
}

TCSeriesBase *seriesAt(QQmlListProperty<TCSeriesBase> *prop, int index) {
    const QList<TCSeriesBase *> &list = static_cast<TempChart *>(prop->object)->seriesList();
    return (index >= 0 && index < list.size()) ? list.at(index) : nullptr;
}

}  // namespace

TempChart::TempChart(QQuickItem *parent) : QQuickPaintedItem(parent), m_config(new TCConfig(this)) {
    setRenderTarget(QQuickPaintedItem::FramebufferObject);
    setOpaquePainting(true);
    setFillColor(Qt::black);
    setFlag(QQuickItem::ItemIsFocusScope, true);
    setAcceptedMouseButtons(Qt::LeftButton | Qt::RightButton);
    setAcceptHoverEvents(true);
    connect(this, &QQuickItem::widthChanged, this, &TempChart::changeCanvasWH);
    connect(this, &QQuickItem::heightChanged, this, &TempChart::changeCanvasWH);
    connect(m_config, &TCConfig::fifoSizeChanged, this, &TempChart::applyFifoSize);
    initConfig();
}

TempChart::~TempChart() {
    // Series may be our children: cut them loose before QObject deletes them and they report back to a
    // half-destroyed chart.
    for (TCSeriesBase *s : m_seriesList) disconnectSeries(s);
    m_seriesList.clear();
}

QQmlListProperty<TCSeriesBase> TempChart::seriesListProperty() {
    return QQmlListProperty<TCSeriesBase>(this, nullptr, &seriesCount, &seriesAt);
}

int TempChart::initConfig() {
    m_width = width();
    m_height = height();
    m_plot = QRectF(kLeft, kTop, m_width - kLeft - kRight, m_height - kTop - kBottom);

    QList<TCSeriesBase *> shown;
    for (TCSeriesBase *s : m_seriesList)
        if (s->visible()) shown.append(s);
    double exmin, exmax, eymin, eymax;
    TCSeriesBase::s_range(shown, exmin, exmax, eymin, eymax);

    pickRange(m_config->xmode(), m_config->xmin(), m_config->xmax(), exmin, exmax, m_x0, m_x1);
    pickRange(m_config->ymode(), m_config->ymin(), m_config->ymax(), eymin, eymax, m_y0, m_y1);

    computeTransform();
    update();
    return 0;
}

void TempChart::computeTransform() {
    if (!plotUsable()) {
        m_sx = 1;
        m_ox = 0;
        m_sy = -1;
        m_oy = 0;
        m_xstep = m_ystep = m_xstart = m_ystart = 0;
        return;
    }
    const double pw = m_plot.width();
    const double ph = m_plot.height();
    m_sx = pw / (m_x1 - m_x0);
    m_ox = kLeft - m_sx * m_x0;
    m_sy = -ph / (m_y1 - m_y0);
    m_oy = m_plot.bottom() - m_sy * m_y0;
    // The y grid is divided by the plot width too, so both axes get the same number of lines.
    m_xstep = (m_x1 - m_x0) * kGridPixels / pw;
    m_ystep = (m_y1 - m_y0) * kGridPixels / pw;
    m_xstart = m_xstep * std::ceil(m_x0 / m_xstep);
    m_ystart = m_ystep * std::ceil(m_y0 / m_ystep);
}

bool TempChart::plotUsable() const {
    return m_plot.width() > 0 && m_plot.height() > 0;
}

bool TempChart::insidePlot(double px, double py) const {
    return px >= m_plot.left() && px <= m_plot.right() && py >= m_plot.top() && py <= m_plot.bottom();
}

QPointF TempChart::dataToScreen(double x, double y) const {
    return QPointF(m_sx * x + m_ox, m_sy * y + m_oy);
}

QPointF TempChart::screenToData(double px, double py) const {
    return QPointF((px - m_ox) / m_sx, (py - m_oy) / m_sy);
}

int TempChart::changeCanvasWH() {
    return initConfig();
}

int TempChart::series_create(TCSeriesBase *series) {
    if (!series) return -8;
    if (m_seriesList.contains(series)) return 0;
    connect(series, &TCSeriesBase::visibleChanged, this, &TempChart::refresh);
    connect(series, &TCSeriesBase::seriesColorChanged, this, &TempChart::refresh);
    connect(series, &TCSeriesBase::dataChanged, this, &TempChart::refresh);
    // The owner may delete a listed series; never keep a dangling pointer to it.
    // The address alone identifies the series once it is being destroyed: no cast of the dying object.
    const void *key = series;
    connect(series, &QObject::destroyed, this, [this, key] { onSeriesDestroyed(key); });
    series->setFifoSize(m_config->fifoSize());
    m_seriesList.append(series);
    emit seriesListChanged();
    refresh();
    return 0;
}

int TempChart::series_delete(TCSeriesBase *series) {
    if (!series) return -8;
    if (!m_seriesList.contains(series)) return 0;
    disconnectSeries(series);
    m_seriesList.removeAll(series);
    emit seriesListChanged();
    refresh();
    return 0;
}

int TempChart::series_deleteAll() {
    for (TCSeriesBase *s : m_seriesList) disconnectSeries(s);
    m_seriesList.clear();
    emit seriesListChanged();
    refresh();
    return 0;
}

void TempChart::disconnectSeries(TCSeriesBase *series) {
    disconnect(series, nullptr, this, nullptr);
}

void TempChart::onSeriesDestroyed(const void *key) {
    // Only the address is compared: the object is already half gone.
    auto it = std::find_if(m_seriesList.begin(), m_seriesList.end(),
                           [key](const TCSeriesBase *s) { return static_cast<const void *>(s) == key; });
    if (it == m_seriesList.end()) return;
    m_seriesList.erase(it);
    emit seriesListChanged();
    refresh();
}

void TempChart::applyFifoSize() {
    for (TCSeriesBase *s : m_seriesList) s->setFifoSize(m_config->fifoSize());
}

int TempChart::setMode(int xmode, int ymode) {
    auto valid = [](int m) { return m >= TCConfig::Mode_Keep && m <= TCConfig::Mode_Auto; };
    if (!valid(xmode) || !valid(ymode)) return -8;
    m_config->setXmode(xmode);
    m_config->setYmode(ymode);
    return initConfig();
}

int TempChart::refresh() {
    if (m_config->xmode() == TCConfig::Mode_Auto || m_config->ymode() == TCConfig::Mode_Auto)
        return initConfig();
    update();
    return 0;
}

void TempChart::paint(QPainter *painter) {
    // The scene graph fills with the fill colour already; painting it here too makes an image rendered
    // outside a window look the same.
    painter->fillRect(QRectF(0, 0, m_width, m_height), Qt::black);
    if (!plotUsable()) return;
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->fillRect(m_plot, Qt::white);

    const double top = m_plot.top();
    const double bottom = m_plot.bottom();
    const double left = m_plot.left();
    const double right = m_plot.right();
    // Lines are counted rather than accumulated, and capped, so a step too small for the magnitude of the
    // range cannot loop for ever.
    // Both axes get as many lines as fit the width at 50 pixels apart.
    const int maxLines = static_cast<int>(m_plot.width() / kGridPixels) + 2;
    QVector<double> xs, ys;
    for (int k = 0; k < maxLines; ++k) {
        const double x = snapZero(m_xstart + k * m_xstep, m_xstep);
        if (!(x < m_x1)) break;
        xs.append(x);
    }
    for (int k = 0; k < maxLines; ++k) {
        const double y = snapZero(m_ystart + k * m_ystep, m_ystep);
        if (!(y < m_y1)) break;
        ys.append(y);
    }

    painter->setPen(QPen(kGridColor, 1, Qt::DotLine));
    for (double x : xs) {
        const double px = m_sx * x + m_ox;
        painter->drawLine(QLineF(px, top, px, bottom));
    }
    for (double y : ys) {
        const double py = m_sy * y + m_oy;
        painter->drawLine(QLineF(left, py, right, py));
    }

    const QPointF origin = dataToScreen(0, 0);
    if (insidePlot(origin.x(), origin.y())) {
        painter->setPen(QPen(kAxisColor, 2, Qt::SolidLine));
        painter->drawLine(QLineF(origin.x(), top, origin.x(), bottom));
        painter->drawLine(QLineF(left, origin.y(), right, origin.y()));
    }

    painter->setPen(QPen(Qt::white));
    for (double x : xs)
        painter->drawText(QPointF(m_sx * x + m_ox - 10, bottom + 20), QString::asprintf("%3.0f", x));
    for (double y : ys) painter->drawText(QPointF(20, m_sy * y + m_oy + 5), QString::asprintf("%3.1f", y));

    QPolygonF run;
    for (TCSeriesBase *s : m_seriesList) {
        if (!s->visible()) continue;
        const QColor c = s->seriesColor();
        const QPen pen(c, 2);
        // Tens of thousands of stroked circles dominate a paint; each dot is the same few pixels, so it is
        // drawn once and copied. Centres snap to whole pixels.
        QImage dot(2 * kDotHalf + 1, 2 * kDotHalf + 1, QImage::Format_ARGB32_Premultiplied);
        dot.fill(Qt::transparent);
        {
            QPainter dp(&dot);
            dp.setRenderHint(QPainter::Antialiasing, false);
            dp.setPen(pen);
            dp.setBrush(c);
            dp.drawEllipse(QPointF(kDotHalf, kDotHalf), 2, 2);
        }
        painter->setPen(pen);
        // Long wide polylines stroke far slower than the same points in short pieces.
        auto flush = [&]() {
            for (int i = 0; i + 1 < run.size(); i += kRunPiece) {
                const int n = std::min(kRunPiece + 1, run.size() - i);
                painter->drawPolyline(run.constData() + i, n);
            }
            run.clear();
        };
        QPoint lastDot(INT_MIN, INT_MIN);
        for (TCPoint &p : s->points()) {
            p.sx = m_sx * p.x + m_ox;
            p.sy = m_sy * p.y + m_oy;
            p.inside = insidePlot(p.sx, p.sy);
            if (!p.inside) {
                flush();
                continue;
            }
            const QPoint at(qRound(p.sx), qRound(p.sy));
            if (at != lastDot) painter->drawImage(at.x() - kDotHalf, at.y() - kDotHalf, dot);
            lastDot = at;
            run.append(QPointF(p.sx, p.sy));
        }
        flush();
    }
    painter->setBrush(Qt::NoBrush);
}

void TempChart::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton) {
        forceActiveFocus(Qt::MouseFocusReason);
        m_lastPos = event->localPos();
        m_dragging = true;
    }
    event->accept();
}

void TempChart::mouseMoveEvent(QMouseEvent *event) {
    const QPointF pos = event->localPos();
    if (!(event->buttons() & Qt::LeftButton) || !m_dragging || !plotUsable()) {
        m_lastPos = pos;
        return;
    }
    const double dx = (pos.x() - m_lastPos.x()) * (m_x1 - m_x0) / m_plot.width();
    const double dy = (pos.y() - m_lastPos.y()) * (m_y1 - m_y0) / m_plot.height();
    m_lastPos = pos;
    if (usableRange(m_x0 - dx, m_x1 - dx)) {
        m_x0 -= dx;
        m_x1 -= dx;
    }
    if (usableRange(m_y0 + dy, m_y1 + dy)) {
        m_y0 += dy;
        m_y1 += dy;
    }
    m_config->setXmode(TCConfig::Mode_Keep);
    m_config->setYmode(TCConfig::Mode_Keep);
    initConfig();
    event->accept();
}

void TempChart::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton) m_dragging = false;
    event->accept();
}

void TempChart::mouseDoubleClickEvent(QMouseEvent *event) {
    m_config->setXmode(TCConfig::Mode_Auto);
    m_config->setYmode(TCConfig::Mode_Auto);
    initConfig();
    event->accept();
}

void TempChart::hoverMoveEvent(QHoverEvent *event) {
    m_lastPos = event->posF();
}

void TempChart::wheelEvent(QWheelEvent *event) {
    const QPointF pos = event->position();
    const QPoint angle = event->angleDelta();
    const int delta = angle.x() != 0 ? angle.x() : angle.y();
    if (!plotUsable() || !insidePlot(pos.x(), pos.y()) || delta == 0) {
        event->ignore();
        return;
    }
    const double f = delta < 0 ? 1.2 : 0.8;
    const QPointF ab = screenToData(pos.x(), pos.y());
    const double a = ab.x();
    const double b = ab.y();

    // The modifier comes from the keys we saw; without focus we never saw them, so ask the event too.
    int mod = m_modifier;
    if (mod == kModNone) {
        if (event->modifiers() & Qt::AltModifier)
            mod = kModAlt;
        else if (event->modifiers() & Qt::ControlModifier)
            mod = kModCtrl;
    }
    const bool zoomX = mod != kModCtrl;
    const bool zoomY = mod != kModAlt;
    if (zoomX) {
        const double nx0 = a - (a - m_x0) * f;
        const double nx1 = a + (m_x1 - a) * f;
        if (usableRange(nx0, nx1)) {
            m_x0 = nx0;
            m_x1 = nx1;
            m_config->setXmode(TCConfig::Mode_Keep);
        }
    }
    if (zoomY) {
        const double ny0 = b - (b - m_y0) * f;
        const double ny1 = b + (m_y1 - b) * f;
        if (usableRange(ny0, ny1)) {
            m_y0 = ny0;
            m_y1 = ny1;
            m_config->setYmode(TCConfig::Mode_Keep);
        }
    }
    initConfig();
    event->accept();
}

void TempChart::keyPressEvent(QKeyEvent *event) {
    const int key = event->key();
    if (key != kKeyCtrl && key != kKeyAlt) {
        event->ignore();
        return;
    }
    if (m_modifier == kModNone) m_modifier = key == kKeyCtrl ? kModCtrl : kModAlt;
    event->accept();
}

void TempChart::keyReleaseEvent(QKeyEvent *event) {
    const int key = event->key();
    if (key != kKeyCtrl && key != kKeyAlt) {
        event->ignore();
        return;
    }
    m_modifier = kModNone;
    event->accept();
}

void TempChart::focusOutEvent(QFocusEvent *event) {
    // A release that happens elsewhere never reaches us; do not keep zooming one axis only.
    m_modifier = kModNone;
    QQuickPaintedItem::focusOutEvent(event);
}
