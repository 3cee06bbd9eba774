// Temperature chart: the bounded series and their extents, ranges and grid, pan, zoom and the picture.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>
#include <memory>
#include <vector>

#include "TCConfig.h"
#include "TCSeriesBase.h"
#include "TempChart.h"

namespace {

// Counts emissions of one signal (QtTest is not linked here).
struct SignalCount {
    int n = 0;
    template <typename Obj, typename Sig>
    SignalCount(Obj *o, Sig sig) {
        QObject::connect(o, sig, [this]() { ++n; });
    }
    int count() const { return n; }
};

// Opens the input handlers so events can be fed without a window.
class ProbeChart : public TempChart {
public:
    using TempChart::keyPressEvent;
    using TempChart::keyReleaseEvent;
    using TempChart::mouseDoubleClickEvent;
    using TempChart::mouseMoveEvent;
    using TempChart::mousePressEvent;
    using TempChart::mouseReleaseEvent;
    using TempChart::wheelEvent;

    void press(QPointF p) {
        QMouseEvent e(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        mousePressEvent(&e);
    }
    void dragTo(QPointF p) {
        QMouseEvent e(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        mouseMoveEvent(&e);
    }
    void release(QPointF p) {
        QMouseEvent e(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        mouseReleaseEvent(&e);
    }
    void doubleClick(QPointF p) {
        QMouseEvent e(QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        mouseDoubleClickEvent(&e);
    }
    bool wheel(QPointF p, QPoint angle, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWheelEvent e(p, p, QPoint(), angle, Qt::NoButton, mods, Qt::NoScrollPhase, false);
        wheelEvent(&e);
        return e.isAccepted();
    }
    void key(bool down, int k) {
        QKeyEvent e(down ? QEvent::KeyPress : QEvent::KeyRelease, k, Qt::NoModifier);
        if (down)
            keyPressEvent(&e);
        else
            keyReleaseEvent(&e);
    }
};

QImage render(TempChart &chart) {
    QImage img(static_cast<int>(chart.width()), static_cast<int>(chart.height()), QImage::Format_RGB32);
    img.fill(Qt::magenta);
    QPainter p(&img);
    chart.paint(&p);
    p.end();
    return img;
}

void feed(TCSeriesBase &s, const std::vector<std::pair<double, double>> &pts) {
    for (const auto &p : pts) s.append(p.first, p.second);
}

std::vector<double> xsOf(const TCSeriesBase &s) {
    std::vector<double> v;
    for (const TCPoint &p : s.points()) v.push_back(p.x);
    return v;
}

}  // namespace

TEST(ChartSeries, FifoKeepsNewestPointsAndTracksExtent) {
    struct Case {
        const char *name;
        int fifo;
        std::vector<std::pair<double, double>> pts;
        std::vector<double> keptX;
        double xmin, xmax, ymin, ymax;
    };
    const Case cases[] = {
        {"bound 3 drops oldest", 3, {{1, 0}, {2, 0}, {3, 0}, {4, 0}}, {2, 3, 4}, 2, 4, 0, 0},
        {"y extent outlives dropped peak", 2, {{0, 10}, {1, 50}, {2, 20}}, {1, 2}, 1, 2, 10, 50},
        {"size 0 is unbounded", 0, {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}}, {1, 2, 3, 4, 5}, 1, 5, 1, 5},
        {"negative size is unbounded", -4, {{1, 1}, {2, 2}, {3, 3}}, {1, 2, 3}, 1, 3, 1, 3},
        {"bound 1 keeps the last", 1, {{5, 1}, {7, 9}}, {7}, 7, 7, 1, 9},
        {"first point sets all four", 0, {{4, -2}}, {4}, 4, 4, -2, -2},
        {"x going back lowers xmin", 0, {{3, 0}, {1, 0}, {2, 0}}, {3, 1, 2}, 1, 3, 0, 0},
        {"y both ways", 0, {{0, 5}, {1, 3}, {2, 9}}, {0, 1, 2}, 0, 2, 3, 9},
        {"empty", 5, {}, {}, 0, 0, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TCSeriesBase s;
        s.setFifoSize(c.fifo);
        feed(s, c.pts);
        EXPECT_EQ(xsOf(s), c.keptX);
        EXPECT_DOUBLE_EQ(s.xmin(), c.xmin);
        EXPECT_DOUBLE_EQ(s.xmax(), c.xmax);
        EXPECT_DOUBLE_EQ(s.ymin(), c.ymin);
        EXPECT_DOUBLE_EQ(s.ymax(), c.ymax);
    }
}

TEST(ChartSeries, ShrunkBoundHoldsAfterNextAppend) {
    // A smaller fifoSize must not leave the list above its bound for ever.
    const struct {
        int before, appended, after;
        std::vector<double> keptX;
    } cases[] = {
        {0, 6, 3, {5, 6, 7}},
        {10, 10, 2, {10, 11}},
        {4, 4, 1, {5}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.after);
        TCSeriesBase s;
        s.setFifoSize(c.before);
        for (int i = 1; i <= c.appended; ++i) s.append(i, 0);
        s.setFifoSize(c.after);
        s.append(c.appended + 1, 0);
        EXPECT_EQ(xsOf(s), c.keptX);
        EXPECT_DOUBLE_EQ(s.xmin(), c.keptX.front());
    }
}

TEST(ChartSeries, MoveClearCopy) {
    TCSeriesBase s;
    s.setSeriesName("FPA");
    s.setSeriesColor(QColor(0, 255, 255));
    s.setFifoSize(500);
    s.setVisible(false);
    feed(s, {{9500, 30}, {9600, 31}, {10000, 32}});
    s.move(-9500);
    EXPECT_EQ(xsOf(s), (std::vector<double>{0, 100, 500}));
    EXPECT_DOUBLE_EQ(s.xmin(), 0);
    EXPECT_DOUBLE_EQ(s.xmax(), 500);
    EXPECT_DOUBLE_EQ(s.ymax(), 32);

    TCSeriesBase t;
    SignalCount nameSpy(&t, &TCSeriesBase::seriesNameChanged);
    t.copy(&s);
    EXPECT_EQ(nameSpy.count(), 1);
    EXPECT_EQ(t.seriesName(), QString("FPA"));
    EXPECT_EQ(t.seriesColor(), QColor(0, 255, 255));
    EXPECT_FALSE(t.visible());
    EXPECT_EQ(t.fifoSize(), 500);
    EXPECT_EQ(xsOf(t), xsOf(s));
    EXPECT_DOUBLE_EQ(t.ymin(), 30);
    t.copy(&t);
    t.copy(nullptr);
    EXPECT_EQ(t.count(), 3);

    s.clear();
    EXPECT_EQ(s.count(), 0);
    for (double v : {s.xmin(), s.xmax(), s.ymin(), s.ymax()}) EXPECT_EQ(v, 0);
    // A later first point starts the extent afresh rather than growing it from 0.
    s.append(7, 40);
    EXPECT_DOUBLE_EQ(s.xmin(), 7);
    EXPECT_DOUBLE_EQ(s.ymin(), 40);
}

TEST(ChartSeries, PropertySignalsOnlyOnChange) {
    TCSeriesBase s;
    SignalCount vis(&s, &TCSeriesBase::visibleChanged);
    SignalCount col(&s, &TCSeriesBase::seriesColorChanged);
    SignalCount fifo(&s, &TCSeriesBase::fifoSizeChanged);
    s.setVisible(true);
    s.setVisible(false);
    s.setVisible(false);
    s.setSeriesColor(s.seriesColor());
    s.setSeriesColor(Qt::green);
    s.setFifoSize(0);
    s.setFifoSize(3);
    s.setFifoSize(3);
    EXPECT_EQ(vis.count(), 1);
    EXPECT_EQ(col.count(), 1);
    EXPECT_EQ(fifo.count(), 1);

    TCConfig c;
    SignalCount xm(&c, &TCConfig::xmodeChanged);
    SignalCount ymax(&c, &TCConfig::ymaxChanged);
    c.setXmode(1);
    c.setXmode(2);
    c.setYmax(100);
    c.setYmax(50.5);
    EXPECT_EQ(xm.count(), 1);
    EXPECT_EQ(ymax.count(), 1);
}

TEST(ChartSeries, UnionRange) {
    struct Case {
        const char *name;
        std::vector<std::vector<std::pair<double, double>>> series;
        double xmin, xmax, ymin, ymax;
    };
    const Case cases[] = {
        {"none", {}, 0, 0, 0, 0},
        {"one", {{{1, 5}, {3, 7}}}, 1, 3, 5, 7},
        {"two overlapping", {{{1, 5}, {3, 7}}, {{2, -1}, {9, 6}}}, 1, 9, -1, 7},
        {"empty one is skipped", {{{10, 30}, {20, 40}}, {}}, 10, 20, 30, 40},
        {"only empty", {{}, {}}, 0, 0, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::unique_ptr<TCSeriesBase>> owned;
        QList<TCSeriesBase *> list;
        for (const auto &pts : c.series) {
            owned.push_back(std::make_unique<TCSeriesBase>());
            feed(*owned.back(), pts);
            list.append(owned.back().get());
        }
        double a = -1, b = -1, d = -1, e = -1;
        TCSeriesBase::s_range(list, a, b, d, e);
        EXPECT_DOUBLE_EQ(a, c.xmin);
        EXPECT_DOUBLE_EQ(b, c.xmax);
        EXPECT_DOUBLE_EQ(d, c.ymin);
        EXPECT_DOUBLE_EQ(e, c.ymax);
    }
}

TEST(ChartGeometry, PlotRectangleTransformAndGrid) {
    struct Case {
        double w, h, xmin, xmax, ymin, ymax;
        QRectF plot;
        double xstep, ystep, xstart, ystart;
    };
    const Case cases[] = {
        {600, 400, 0, 100, 0, 100, QRectF(80, 20, 500, 320), 10, 10, 0, 0},
        {600, 400, -35, 65, 20, 40, QRectF(80, 20, 500, 320), 10, 2, -30, 20},
        {1100, 300, 0, 1000, -1, 1, QRectF(80, 20, 1000, 220), 50, 0.1, 0, -1},
        {300, 200, 3, 5, 100, 200, QRectF(80, 20, 200, 120), 0.5, 25, 3, 100},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.w);
        TempChart chart;
        chart.config()->setXmin(c.xmin);
        chart.config()->setXmax(c.xmax);
        chart.config()->setYmin(c.ymin);
        chart.config()->setYmax(c.ymax);
        chart.setSize(QSizeF(c.w, c.h));
        EXPECT_EQ(chart.plotRect(), c.plot);
        EXPECT_DOUBLE_EQ(chart.x0(), c.xmin);
        EXPECT_DOUBLE_EQ(chart.y1(), c.ymax);
        EXPECT_NEAR(chart.xstep(), c.xstep, 1e-12);
        EXPECT_NEAR(chart.ystep(), c.ystep, 1e-12);
        EXPECT_NEAR(chart.xstart(), c.xstart, 1e-9);
        EXPECT_NEAR(chart.ystart(), c.ystart, 1e-9);
        // The range corners land on the plot corners, and back.
        const QPointF lo = chart.dataToScreen(c.xmin, c.ymin);
        const QPointF hi = chart.dataToScreen(c.xmax, c.ymax);
        EXPECT_NEAR(lo.x(), c.plot.left(), 1e-9);
        EXPECT_NEAR(lo.y(), c.plot.bottom(), 1e-9);
        EXPECT_NEAR(hi.x(), c.plot.right(), 1e-9);
        EXPECT_NEAR(hi.y(), c.plot.top(), 1e-9);
        const QPointF back = chart.screenToData(lo.x(), lo.y());
        EXPECT_NEAR(back.x(), c.xmin, 1e-9);
        EXPECT_NEAR(back.y(), c.ymin, 1e-9);
    }
}

TEST(ChartGeometry, AxisModesChooseRange) {
    // Series extent x 10..20, y 30..40; the chart starts from the fixed 0..100.
    struct Case {
        const char *name;
        int mode;
        double cfgMin, cfgMax;
        bool seriesVisible;
        double expMin, expMax;
    };
    const Case cases[] = {
        {"keep", 0, 5, 6, true, 0, 100},
        {"fixed", 1, -5, 5, true, -5, 5},
        {"fixed but empty range keeps", 1, 7, 7, true, 0, 100},
        {"fixed but reversed keeps", 1, 9, 3, true, 0, 100},
        {"auto", 2, 0, 0, true, -1, -1},
        {"auto with hidden series keeps", 2, 0, 0, false, 0, 100},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempChart chart;
        chart.setSize(QSizeF(600, 400));
        TCSeriesBase s;
        feed(s, {{10, 30}, {20, 40}});
        s.setVisible(c.seriesVisible);
        chart.series_create(&s);
        chart.config()->setXmin(c.cfgMin);
        chart.config()->setXmax(c.cfgMax);
        chart.config()->setYmin(c.cfgMin);
        chart.config()->setYmax(c.cfgMax);
        EXPECT_EQ(chart.setMode(c.mode, c.mode), 0);
        const bool automatic = c.expMin < 0 && c.mode == 2;
        EXPECT_DOUBLE_EQ(chart.x0(), automatic ? 10 : c.expMin);
        EXPECT_DOUBLE_EQ(chart.x1(), automatic ? 20 : c.expMax);
        EXPECT_DOUBLE_EQ(chart.y0(), automatic ? 30 : c.expMin);
        EXPECT_DOUBLE_EQ(chart.y1(), automatic ? 40 : c.expMax);
    }
    TempChart chart;
    EXPECT_EQ(chart.setMode(3, 0), -8);
    EXPECT_EQ(chart.setMode(0, -1), -8);
    EXPECT_EQ(chart.config()->xmode(), 1);
}

TEST(ChartSeriesList, RegistrationFifoSizeAndLifetime) {
    TempChart chart;
    chart.setSize(QSizeF(600, 400));
    SignalCount listSpy(&chart, &TempChart::seriesListChanged);
    chart.config()->setFifoSize(4);
    TCSeriesBase a, b;
    EXPECT_EQ(chart.series_create(&a), 0);
    EXPECT_EQ(chart.series_create(&a), 0);
    EXPECT_EQ(chart.series_create(nullptr), -8);
    EXPECT_EQ(chart.series_create(&b), 0);
    EXPECT_EQ(chart.seriesList().size(), 2);
    EXPECT_EQ(listSpy.count(), 2);
    EXPECT_EQ(a.fifoSize(), 4);
    chart.config()->setFifoSize(7);
    EXPECT_EQ(a.fifoSize(), 7);
    EXPECT_EQ(b.fifoSize(), 7);

    // In automatic mode a visibility change re-ranges: the hidden series no longer counts.
    chart.setMode(2, 2);
    feed(a, {{0, 0}, {10, 10}});
    feed(b, {{0, 0}, {100, 50}});
    chart.refresh();
    EXPECT_DOUBLE_EQ(chart.x1(), 100);
    b.setVisible(false);
    EXPECT_DOUBLE_EQ(chart.x1(), 10);
    b.setVisible(true);
    EXPECT_DOUBLE_EQ(chart.x1(), 100);
    // dataChanged from the owner refreshes the chart too.
    a.append(200, 5);
    emit a.dataChanged();
    EXPECT_DOUBLE_EQ(chart.x1(), 200);

    // After removal the series neither draws nor drives the chart, and lives on.
    EXPECT_EQ(chart.series_delete(&a), 0);
    EXPECT_EQ(chart.seriesList().size(), 1);
    EXPECT_EQ(listSpy.count(), 3);
    a.setVisible(false);
    a.setVisible(true);
    EXPECT_DOUBLE_EQ(chart.x1(), 100);
    chart.config()->setFifoSize(9);
    EXPECT_EQ(a.fifoSize(), 7);
    EXPECT_EQ(chart.series_delete(&a), 0);
    EXPECT_EQ(listSpy.count(), 3);

    chart.series_create(&a);
    EXPECT_EQ(chart.series_deleteAll(), 0);
    EXPECT_TRUE(chart.seriesList().isEmpty());
    b.setVisible(false);
    EXPECT_EQ(b.fifoSize(), 9);

    // A listed series deleted by its owner leaves the list instead of dangling in it.
    auto *gone = new TCSeriesBase;
    chart.series_create(gone);
    feed(*gone, {{1, 1}, {2, 2}});
    delete gone;
    EXPECT_TRUE(chart.seriesList().isEmpty());
    chart.refresh();
    render(chart);

    // Series owned by the chart may die with it.
    auto *owned = new TempChart;
    auto *child = new TCSeriesBase(owned);
    owned->series_create(child);
    delete owned;
}

TEST(ChartInput, WheelZoomsOnlyInsidePlot) {
    // 600 x 400 with both ranges 0..100: (330, 180) is data (50, 50).
    struct Case {
        const char *name;
        QPointF pos;
        QPoint angle;
        int key;                     // held key seen by the chart, 0 none
        Qt::KeyboardModifiers mods;  // modifiers carried by the event
        bool zoomed;
        double x0, x1, y0, y1;
        int xmode, ymode;
    };
    const int ctrl = Qt::Key_Control, alt = Qt::Key_Alt;
    const Case cases[] = {
        {"out both", {330, 180}, {0, -120}, 0, Qt::NoModifier, true, -10, 110, -10, 110, 0, 0},
        {"in both", {330, 180}, {0, 120}, 0, Qt::NoModifier, true, 10, 90, 10, 90, 0, 0},
        {"horizontal delta wins", {330, 180}, {-120, 120}, 0, Qt::NoModifier, true, -10, 110, -10, 110, 0, 0},
        {"alt key: x only", {330, 180}, {0, -120}, alt, Qt::NoModifier, true, -10, 110, 0, 100, 0, 1},
        {"ctrl key: y only", {330, 180}, {0, 120}, ctrl, Qt::NoModifier, true, 0, 100, 10, 90, 1, 0},
        {"ctrl from event", {330, 180}, {0, 120}, 0, Qt::ControlModifier, true, 0, 100, 10, 90, 1, 0},
        {"alt from event", {330, 180}, {120, 0}, 0, Qt::AltModifier, true, 10, 90, 0, 100, 0, 1},
        {"around a corner", {80, 340}, {0, 120}, 0, Qt::NoModifier, true, 0, 80, 0, 80, 0, 0},
        {"left margin", {79, 180}, {0, 120}, 0, Qt::NoModifier, false, 0, 100, 0, 100, 1, 1},
        {"right margin", {581, 180}, {0, 120}, 0, Qt::NoModifier, false, 0, 100, 0, 100, 1, 1},
        {"top margin", {330, 19.5}, {0, 120}, 0, Qt::NoModifier, false, 0, 100, 0, 100, 1, 1},
        {"bottom margin", {330, 341}, {0, 120}, 0, Qt::NoModifier, false, 0, 100, 0, 100, 1, 1},
        {"label corner", {10, 390}, {0, -120}, 0, Qt::NoModifier, false, 0, 100, 0, 100, 1, 1},
        {"no delta", {330, 180}, {0, 0}, 0, Qt::NoModifier, false, 0, 100, 0, 100, 1, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ProbeChart chart;
        chart.setSize(QSizeF(600, 400));
        if (c.key) chart.key(true, c.key);
        EXPECT_EQ(chart.wheel(c.pos, c.angle, c.mods), c.zoomed);
        EXPECT_NEAR(chart.x0(), c.x0, 1e-9);
        EXPECT_NEAR(chart.x1(), c.x1, 1e-9);
        EXPECT_NEAR(chart.y0(), c.y0, 1e-9);
        EXPECT_NEAR(chart.y1(), c.y1, 1e-9);
        EXPECT_EQ(chart.config()->xmode(), c.xmode);
        EXPECT_EQ(chart.config()->ymode(), c.ymode);
    }
}

TEST(ChartInput, HeldModifierFollowsKeys) {
    struct Step {
        bool down;
        int key;
    };
    struct Case {
        const char *name;
        std::vector<Step> steps;
        int expected;
    };
    const Case cases[] = {
        {"ctrl", {{true, Qt::Key_Control}}, 2},
        {"alt", {{true, Qt::Key_Alt}}, 1},
        {"first one wins", {{true, Qt::Key_Alt}, {true, Qt::Key_Control}}, 1},
        {"release clears", {{true, Qt::Key_Control}, {false, Qt::Key_Control}}, 0},
        {"release of the other clears", {{true, Qt::Key_Control}, {false, Qt::Key_Alt}}, 0},
        {"other keys ignored", {{true, Qt::Key_Shift}, {true, Qt::Key_A}}, 0},
        {"other release keeps", {{true, Qt::Key_Alt}, {false, Qt::Key_A}}, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ProbeChart chart;
        for (const Step &s : c.steps) chart.key(s.down, s.key);
        EXPECT_EQ(chart.heldModifier(), c.expected);
    }
}

TEST(ChartInput, DragPinsRangeUntilDoubleClick) {
    ProbeChart chart;
    chart.setSize(QSizeF(600, 400));
    TCSeriesBase s;
    chart.series_create(&s);
    for (int i = 0; i < 20; ++i) s.append(i, 30 + i % 3);
    chart.setMode(2, 2);
    EXPECT_DOUBLE_EQ(chart.x1(), 19);
    const double x0 = chart.x0(), x1 = chart.x1(), y0 = chart.y0(), y1 = chart.y1();

    SignalCount xm(chart.config(), &TCConfig::xmodeChanged);
    SignalCount ym(chart.config(), &TCConfig::ymodeChanged);
    chart.press({300, 200});
    chart.dragTo({350, 220});
    chart.dragTo({400, 180});
    chart.release({400, 180});
    // Net movement 100 px right and 20 px up.
    EXPECT_NEAR(chart.x0(), x0 - 100 * (x1 - x0) / 500, 1e-9);
    EXPECT_NEAR(chart.x1(), x1 - 100 * (x1 - x0) / 500, 1e-9);
    EXPECT_NEAR(chart.y0(), y0 - 20 * (y1 - y0) / 320, 1e-9);
    EXPECT_NEAR(chart.y1(), y1 - 20 * (y1 - y0) / 320, 1e-9);
    EXPECT_EQ(chart.config()->xmode(), 0);
    EXPECT_EQ(chart.config()->ymode(), 0);
    EXPECT_EQ(xm.count(), 1);
    EXPECT_EQ(ym.count(), 1);

    // New samples no longer move the visible range.
    const double px0 = chart.x0(), py1 = chart.y1();
    for (int i = 20; i < 40; ++i) s.append(i, 50);
    chart.refresh();
    EXPECT_DOUBLE_EQ(chart.x0(), px0);
    EXPECT_DOUBLE_EQ(chart.y1(), py1);

    // A move without the button pans nothing.
    QMouseEvent hover(QEvent::MouseMove, QPointF(100, 100), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    chart.mouseMoveEvent(&hover);
    EXPECT_DOUBLE_EQ(chart.x0(), px0);

    chart.doubleClick({300, 200});
    EXPECT_EQ(chart.config()->xmode(), 2);
    EXPECT_EQ(chart.config()->ymode(), 2);
    EXPECT_DOUBLE_EQ(chart.x0(), 0);
    EXPECT_DOUBLE_EQ(chart.x1(), 39);
    EXPECT_DOUBLE_EQ(chart.y0(), 30);
    EXPECT_DOUBLE_EQ(chart.y1(), 50);
}

TEST(ChartInput, DegenerateRangesAndSizesStaySafe) {
    // Zooming in for ever stops before the range collapses; zooming out for ever stops before it overflows.
    for (int dir : {120, -120}) {
        SCOPED_TRACE(dir);
        ProbeChart chart;
        chart.setSize(QSizeF(600, 400));
        for (int i = 0; i < 3000; ++i) chart.wheel({333, 177}, {0, dir});
        EXPECT_GT(chart.x1(), chart.x0());
        EXPECT_GT(chart.y1(), chart.y0());
        EXPECT_TRUE(std::isfinite(chart.xstep()) && chart.xstep() > 0);
        EXPECT_TRUE(std::isfinite(chart.ystep()) && chart.ystep() > 0);
        render(chart);
    }
    // A grid step lost in the magnitude of the range must not spin the paint.
    {
        TempChart chart;
        chart.setSize(QSizeF(600, 400));
        chart.config()->setXmin(1e15);
        chart.config()->setXmax(1e15 + 1);
        chart.initConfig();
        render(chart);
    }
    // An item smaller than its margins paints black and ignores the wheel.
    for (QSizeF size : {QSizeF(0, 0), QSizeF(100, 80), QSizeF(60, 300)}) {
        SCOPED_TRACE(size.width());
        ProbeChart chart;
        chart.setSize(size);
        TCSeriesBase s;
        feed(s, {{1, 1}, {2, 2}});
        chart.series_create(&s);
        chart.setMode(2, 2);
        EXPECT_FALSE(chart.wheel({80, 20}, {0, 120}));
        chart.press({80, 20});
        chart.dragTo({90, 30});
        if (size.width() > 0 && size.height() > 0) {
            const QImage img = render(chart);
            for (int y = 0; y < img.height(); y += 7)
                for (int x = 0; x < img.width(); x += 7) ASSERT_EQ(img.pixel(x, y), qRgb(0, 0, 0));
        }
    }
}

TEST(ChartPaint, PixelsOfPlotGridAxesAndSeries) {
    // 600 x 400, both ranges -50..50: sx 5, ox 330; sy -3.2, oy 180. Grid every 50 px across, 32 px down.
    TempChart chart;
    chart.setSize(QSizeF(600, 400));
    chart.config()->setXmin(-50);
    chart.config()->setXmax(50);
    chart.config()->setYmin(-50);
    chart.config()->setYmax(50);
    chart.initConfig();
    TCSeriesBase red, blue, hidden;
    red.setSeriesColor(QColor(255, 0, 0));
    blue.setSeriesColor(QColor(0, 0, 255));
    hidden.setSeriesColor(QColor(0, 255, 0));
    hidden.setVisible(false);
    feed(red, {{25, 25}});
    feed(blue, {{20, -25}, {30, -25}, {-40, -60}, {-45, -25}});
    feed(hidden, {{-25, 25}});
    chart.series_create(&red);
    chart.series_create(&blue);
    chart.series_create(&hidden);
    const QImage img = render(chart);
    img.save(QStringLiteral(PELVAN_BUILD_DIR "/chart_pixels.png"));

    struct Probe {
        const char *name;
        QPoint at;
        QRgb colour;
    };
    const Probe probes[] = {
        {"left margin", {10, 10}, qRgb(0, 0, 0)},
        {"bottom right margin", {595, 395}, qRgb(0, 0, 0)},
        {"top margin", {300, 10}, qRgb(0, 0, 0)},
        {"plot between lines", {105, 30}, qRgb(255, 255, 255)},
        {"plot corner", {579, 339}, qRgb(255, 255, 255)},
        {"red dot", {455, 100}, qRgb(255, 0, 0)},
        {"red dot edge", {456, 101}, qRgb(255, 0, 0)},
        {"blue segment middle", {455, 260}, qRgb(0, 0, 255)},
        {"point below plot not drawn", {130, 372}, qRgb(0, 0, 0)},
        {"no line towards it", {130, 330}, qRgb(255, 255, 255)},
        {"hidden series", {205, 100}, qRgb(255, 255, 255)},
    };
    for (const Probe &p : probes) {
        SCOPED_TRACE(p.name);
        EXPECT_EQ(img.pixel(p.at) & 0xFFFFFF, p.colour & 0xFFFFFF);
    }
    // The lone blue point at (-45, -25) has no inside neighbour: a dot, no line back to (30, -25).
    EXPECT_EQ(img.pixel(105, 260) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(img.pixel(300, 260) & 0xFFFFFF, 0xFFFFFFu);

    // Axes through (0, 0): 2 px wide, RGB (0, 0, 2), along the whole plot.
    auto axisAt = [&](int x, int y) { return (img.pixel(x, y) & 0xFFFFFF) == 0x000002u; };
    for (int y : {25, 100, 335}) EXPECT_TRUE(axisAt(329, y) && axisAt(330, y)) << y;
    for (int x : {85, 200, 575}) EXPECT_TRUE(axisAt(x, 179) && axisAt(x, 180)) << x;

    // Grid lines are dotted RGB (0, 0, 9): x = -40 at column 130, y = 30 at row 84.
    int dots = 0, gaps = 0;
    for (int y = 190; y < 210; ++y) {
        const QRgb c = img.pixel(130, y) & 0xFFFFFF;
        dots += c == 0x000009u;
        gaps += c == 0xFFFFFFu;
    }
    EXPECT_GT(dots, 3);
    EXPECT_GT(gaps, 3);
    dots = gaps = 0;
    for (int x = 140; x < 175; ++x) {
        const QRgb c = img.pixel(x, 84) & 0xFFFFFF;
        dots += c == 0x000009u;
        gaps += c == 0xFFFFFFu;
    }
    EXPECT_GT(dots, 3);
    EXPECT_GT(gaps, 3);
    // Last grid values stay below the range end: no line at x = 50 on the plot's right edge.
    EXPECT_EQ(img.pixel(579, 200) & 0xFFFFFF, 0xFFFFFFu);

    // Painting stored every point's screen position and whether it was inside.
    const TCPoint &rp = red.points().front();
    EXPECT_DOUBLE_EQ(rp.sx, 455);
    EXPECT_DOUBLE_EQ(rp.sy, 100);
    EXPECT_TRUE(rp.inside);
    EXPECT_FALSE(blue.points()[2].inside);
    EXPECT_TRUE(blue.points()[3].inside);
}

TEST(ChartPaint, PictureOfDeviceLikeChart) {
    // Three temperatures as the device feeds them, saved for a person to look at.
    TempChart chart;
    chart.setSize(QSizeF(900, 420));
    chart.config()->setFifoSize(300);
    const struct {
        const char *name;
        QColor colour;
        double base, amp;
    } defs[] = {{"FPA", QColor(0xFF0000), 38, 2.5},
                {"Shell", QColor(0x00FF00), 31, 1.2},
                {"ShellHW", QColor(0x00FFFF), 27, 0.6}};
    std::vector<std::unique_ptr<TCSeriesBase>> series;
    for (const auto &d : defs) {
        series.push_back(std::make_unique<TCSeriesBase>());
        series.back()->setSeriesName(d.name);
        series.back()->setSeriesColor(d.colour);
        chart.series_create(series.back().get());
    }
    chart.setMode(2, 2);
    for (int i = 0; i < 400; ++i)
        for (size_t k = 0; k < series.size(); ++k)
            series[k]->append(i, defs[k].base + defs[k].amp * std::sin(i / (20.0 + 7 * k)));
    chart.refresh();
    EXPECT_EQ(series[0]->count(), 300);
    EXPECT_DOUBLE_EQ(chart.x0(), 100);
    EXPECT_DOUBLE_EQ(chart.x1(), 399);
    const QImage img = render(chart);
    EXPECT_TRUE(img.save(QStringLiteral(PELVAN_BUILD_DIR "/chart.png")));
}
