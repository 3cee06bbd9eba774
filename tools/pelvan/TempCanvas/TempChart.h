#pragma once
// A small time-series plot for QML: series against a shared x axis, panned with the left button, zoomed
// with the wheel (Alt: x only, Ctrl: y only), back to automatic ranges on a double click.
#include <QList>
#include <QQmlListProperty>
#include <QQuickPaintedItem>
#include <QRectF>

#include "TCConfig.h"
#include "TCSeriesBase.h"

class TempChart : public QQuickPaintedItem {
    Q_OBJECT
    Q_PROPERTY(TCConfig *config READ config CONSTANT)
    Q_PROPERTY(QQmlListProperty<TCSeriesBase> seriesList READ seriesListProperty NOTIFY seriesListChanged)

public:
    // Margins around the plot, in pixels.
    static constexpr double kLeft = 80;
    static constexpr double kTop = 20;
    static constexpr double kRight = 20;
    static constexpr double kBottom = 60;
    // Pixels between two vertical grid lines.
    static constexpr double kGridPixels = 50;

    explicit TempChart(QQuickItem *parent = nullptr);
    ~TempChart() override;

    TCConfig *config() const { return m_config; }
    QQmlListProperty<TCSeriesBase> seriesListProperty();
    const QList<TCSeriesBase *> &seriesList() const { return m_seriesList; }

    Q_INVOKABLE int initConfig();
    Q_INVOKABLE int changeCanvasWH();
    Q_INVOKABLE int series_create(TCSeriesBase *series);
    Q_INVOKABLE int series_delete(TCSeriesBase *series);
    Q_INVOKABLE int series_deleteAll();
    Q_INVOKABLE int setMode(int xmode, int ymode);
    Q_INVOKABLE int refresh();

    void paint(QPainter *painter) override;

    // Current state, for the owner and for checks.
    QRectF plotRect() const { return m_plot; }
    double x0() const { return m_x0; }
    double x1() const { return m_x1; }
    double y0() const { return m_y0; }
    double y1() const { return m_y1; }
    double xstep() const { return m_xstep; }
    double ystep() const { return m_ystep; }
    double xstart() const { return m_xstart; }
    double ystart() const { return m_ystart; }
    int heldModifier() const { return m_modifier; }
    QPointF dataToScreen(double x, double y) const;
    QPointF screenToData(double px, double py) const;

signals:
    void seriesListChanged();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void hoverMoveEvent(QHoverEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void applyFifoSize();
    void onSeriesDestroyed(const void *key);
    void disconnectSeries(TCSeriesBase *series);
    void computeTransform();
    bool plotUsable() const;
    bool insidePlot(double px, double py) const;

    TCConfig *m_config;
    QList<TCSeriesBase *> m_seriesList;

    double m_width = 0;
    double m_height = 0;
    QRectF m_plot;
    double m_x0 = 0, m_x1 = 100, m_y0 = 0, m_y1 = 100;
    double m_sx = 1, m_ox = 0, m_sy = -1, m_oy = 0;
    double m_xstep = 0, m_ystep = 0, m_xstart = 0, m_ystart = 0;
    QPointF m_lastPos;
    bool m_dragging = false;
    int m_modifier = 0;
};
