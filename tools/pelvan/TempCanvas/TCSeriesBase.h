#pragma once
// One chart series: a bounded first-in-first-out list of (x, y) points that tracks its own extent.
#include <QColor>
#include <QList>
#include <QObject>
#include <QString>

#include <deque>

struct TCPoint {
    double x = 0;
    double y = 0;
    // Screen position of the last paint and whether it fell inside the plot then.
    double sx = 0;
    double sy = 0;
    bool inside = false;
};

class TCSeriesBase : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString seriesName READ seriesName WRITE setSeriesName NOTIFY seriesNameChanged)
    Q_PROPERTY(QColor seriesColor READ seriesColor WRITE setSeriesColor NOTIFY seriesColorChanged)
    Q_PROPERTY(bool visible READ visible WRITE setVisible NOTIFY visibleChanged)
    Q_PROPERTY(int fifoSize READ fifoSize WRITE setFifoSize NOTIFY fifoSizeChanged)

public:
    explicit TCSeriesBase(QObject *parent = nullptr);

    QString seriesName() const { return m_seriesName; }
    QColor seriesColor() const { return m_seriesColor; }
    bool visible() const { return m_visible; }
    int fifoSize() const { return m_fifoSize; }
    void setSeriesName(const QString &v);
    void setSeriesColor(const QColor &v);
    void setVisible(bool v);
    void setFifoSize(int v);

    // Appends one point, dropping the oldest ones beyond fifoSize. Emits nothing: the owner refreshes.
    void append(double x, double y);
    // Shifts every x (and the x extent) by dx.
    void move(double dx);
    void clear();
    void copy(const TCSeriesBase *other);

    const std::deque<TCPoint> &points() const { return m_points; }
    std::deque<TCPoint> &points() { return m_points; }
    int count() const { return static_cast<int>(m_points.size()); }
    double xmin() const { return m_xmin; }
    double xmax() const { return m_xmax; }
    double ymin() const { return m_ymin; }
    double ymax() const { return m_ymax; }

    // Union of the extents of the listed series; all 0 for an empty list.
    static void s_range(const QList<TCSeriesBase *> &list, double &xmin, double &xmax, double &ymin,
                        double &ymax);

signals:
    void seriesNameChanged();
    void seriesColorChanged();
    void visibleChanged();
    void fifoSizeChanged();
    void dataChanged();

private:
    QString m_seriesName;
    QColor m_seriesColor = QColor(255, 0, 0);
    bool m_visible = true;
    int m_fifoSize = 0;
    std::deque<TCPoint> m_points;
    double m_xmin = 0;
    double m_xmax = 0;
    double m_ymin = 0;
    double m_ymax = 0;
};
