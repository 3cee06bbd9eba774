#include "TCSeriesBase.h"

TCSeriesBase::TCSeriesBase(QObject *parent) : QObject(parent) {}

void TCSeriesBase::setSeriesName(const QString &v) {
    if (m_seriesName == v) return;
    m_seriesName = v;
    emit seriesNameChanged();
}

void TCSeriesBase::setSeriesColor(const QColor &v) {
    if (m_seriesColor == v) return;
    m_seriesColor = v;
    emit seriesColorChanged();
}

void TCSeriesBase::setVisible(bool v) {
    if (m_visible == v) return;
    m_visible = v;
    emit visibleChanged();
}

void TCSeriesBase::setFifoSize(int v) {
    if (m_fifoSize == v) return;
    m_fifoSize = v;
    emit fifoSizeChanged();
}

void TCSeriesBase::append(double x, double y) {
    const bool wasEmpty = m_points.empty();
    bool dropped = false;
    // After fifoSize shrank the list may hold more than it should; one append brings it back to the bound.
    if (m_fifoSize >= 1) {
        while (m_points.size() >= static_cast<size_t>(m_fifoSize)) {
            m_points.pop_front();
            dropped = true;
        }
    }
    TCPoint p;
    p.x = x;
    p.y = y;
    m_points.push_back(p);

    if (wasEmpty) {
        m_xmin = m_xmax = x;
        m_ymin = m_ymax = y;
        return;
    }
    // The x extent follows the oldest kept sample; the y extent keeps what it has seen, a cheap bound
    // that never hides a point.
    if (dropped) m_xmin = m_points.front().x;
    if (x < m_xmin)
        m_xmin = x;
    else if (x > m_xmax)
        m_xmax = x;
    if (y < m_ymin)
        m_ymin = y;
    else if (y > m_ymax)
        m_ymax = y;
}

void TCSeriesBase::move(double dx) {
    for (TCPoint &p : m_points) p.x += dx;
    m_xmin += dx;
    m_xmax += dx;
}

void TCSeriesBase::clear() {
    m_points.clear();
    m_xmin = m_xmax = m_ymin = m_ymax = 0;
}

void TCSeriesBase::copy(const TCSeriesBase *other) {
    if (!other || other == this) return;
    setSeriesName(other->m_seriesName);
    setSeriesColor(other->m_seriesColor);
    setVisible(other->m_visible);
    setFifoSize(other->m_fifoSize);
    m_points = other->m_points;
    m_xmin = other->m_xmin;
    m_xmax = other->m_xmax;
    m_ymin = other->m_ymin;
    m_ymax = other->m_ymax;
}

void TCSeriesBase::s_range(const QList<TCSeriesBase *> &list, double &xmin, double &xmax, double &ymin,
                           double &ymax) {
    xmin = xmax = ymin = ymax = 0;
    bool any = false;
    for (const TCSeriesBase *s : list) {
        // An empty series has no extent; its zeros would stretch every automatic range down to 0.
        if (!s || s->m_points.empty()) continue;
        if (!any) {
            xmin = s->m_xmin;
            xmax = s->m_xmax;
            ymin = s->m_ymin;
            ymax = s->m_ymax;
            any = true;
            continue;
        }
        if (s->m_xmin < xmin) xmin = s->m_xmin;
        if (s->m_xmax > xmax) xmax = s->m_xmax;
        if (s->m_ymin < ymin) ymin = s->m_ymin;
        if (s->m_ymax > ymax) ymax = s->m_ymax;
    }
}
