// The painter: point markers, boxes, handles, maximum and minimum markers, label placement, the font, the
// whole canvas, and the documentation picture of a painted canvas.
#include <gtest/gtest.h>

#include <QDir>
#include <QFontDatabase>
#include <QPainter>

#include "TempCanvasItem.h"
#include "TempCanvasManager.h"
#include "TempPaletteScale.h"
#include "XPainterQT.h"
#include "XPainterStatic.h"
#include "canvas_support.h"

namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kGreen = 0xFF00FF00;

struct Surface {
    explicit Surface(int w = 300, int h = 300, QRect active = QRect()) : img(w, h, QImage::Format_RGB32) {
        img.fill(Qt::black);
        painter.begin(&img);
        xp.setGeometry(w, h, w, h, active.isNull() ? QRect(0, 0, w, h) : active);
        xp.beginDraw(&painter, nullptr);
    }
    QImage finish() {
        xp.endDraw();
        painter.end();
        return img;
    }
    QImage img;
    QPainter painter;
    XPainterQT xp;
};

XMea pointMea(int type) {
    XMea m{};
    m.type = static_cast<uint8_t>(type);
    m.color = kGreen;
    m.reserved_84 = 1;  // no label: only the marker is checked
    m.count = 1;
    return m;
}

TEST(PainterTest, PointMarkersSitOnTheirFixedPixels) {
    struct Case {
        int type;
        QPoint coloured[8];
        QPoint clear[6];
    } cases[] = {
        // Square 94..105 with ticks 86..94 and 106..114 on each axis.
        {2,
         {{94, 97}, {105, 97}, {99, 94}, {99, 105}, {88, 100}, {112, 100}, {100, 88}, {100, 112}},
         {{97, 97}, {102, 102}, {100, 100}, {82, 100}, {118, 100}, {100, 118}}},
        // Square 96..103 with ticks 88..96 and 104..112.
        {1,
         {{96, 98}, {103, 98}, {98, 96}, {98, 103}, {90, 100}, {110, 100}, {100, 90}, {100, 110}},
         {{99, 99}, {100, 100}, {85, 100}, {115, 100}, {100, 85}, {100, 115}}},
        // The cross runs through the whole image rectangle (20..280) with a gap of the square.
        {3,
         {{96, 98}, {103, 98}, {25, 100}, {275, 100}, {100, 25}, {100, 275}, {60, 100}, {100, 200}},
         {{10, 100}, {290, 100}, {100, 10}, {100, 290}, {99, 99}, {100, 100}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.type);
        Surface s(300, 300, QRect(QPoint(20, 20), QPoint(280, 280)));
        XResult res{};
        s.xp.drawPoint(pointMea(c.type), res, QPoint(100, 100), QStringLiteral("P"));
        const QImage img = s.finish();
        for (const QPoint &p : c.coloured) EXPECT_EQ(img.pixel(p), kGreen) << p.x() << "," << p.y();
        for (const QPoint &p : c.clear) EXPECT_EQ(img.pixel(p), kBlack) << p.x() << "," << p.y();
    }
}

TEST(PainterTest, LabelsArePlacedAroundTheirAnchor) {
    const QSize size(40, 20);
    struct Case {
        QPoint anchor;
        int pos;
        QRect expected;
    } cases[] = {
        {{100, 100}, 1, QRect(55, 75, 40, 20)},   {{100, 100}, 2, QRect(105, 75, 40, 20)},
        {{100, 100}, 3, QRect(55, 105, 40, 20)},  {{100, 100}, 4, QRect(105, 105, 40, 20)},
        {{100, 100}, 0, QRect(105, 105, 40, 20)}, {{290, 100}, 0, QRect(245, 105, 40, 20)},
        {{100, 290}, 0, QRect(105, 265, 40, 20)}, {{290, 290}, 7, QRect(245, 265, 40, 20)},
        {{255, 275}, 0, QRect(260, 280, 40, 20)},  // exactly fits: x + m + w == canvas width
    };
    Surface s;
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.anchor.x() << "," << c.anchor.y() << " pos " << c.pos);
        EXPECT_EQ(s.xp.textRelRect(c.anchor, c.pos, size, 5), c.expected);
    }
    s.finish();
}

TEST(PainterTest, LabelAtTheRightEdgeIsDrawnToTheLeft) {
    Surface s;
    const QRect r =
        s.xp.drawTextRelPoint(QPoint(295, 50), 0, QStringLiteral("M1\n25.0"), 5,
                              XPainterStatic::pen(XPainterStatic::C_WHITE), XPainterStatic::C_HALFBLACK);
    const QImage img = s.finish();
    EXPECT_EQ(r.right(), 295 - 5 - 1);
    EXPECT_EQ(r.top(), 55);
    // The half-black box and white text are there, nothing to the right of the anchor.
    bool sawText = false;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) sawText |= qRed(img.pixel(x, y)) > 128;
    EXPECT_TRUE(sawText);
    for (int y = r.top(); y <= r.bottom(); ++y) EXPECT_EQ(img.pixel(297, y), kBlack);
}

TEST(PainterTest, MaximumIsRedAboveMinimumBlueBelow) {
    struct Case {
        int flags;
        bool red, blue;
    } cases[] = {{0, false, false}, {1, true, false}, {2, false, true}, {3, true, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.flags);
        Surface s;
        XMea m{};
        m.type = MEA_GLOBAL;
        m.flags = static_cast<uint8_t>(c.flags);
        XResult res{};
        res.maxX = 50;
        res.maxY = 60;
        res.minX = 150;
        res.minY = 160;
        s.xp.drawMarkers(m, res);
        const QImage img = s.finish();
        EXPECT_EQ(img.pixel(50, 55) == 0xFFFF0000, c.red);
        EXPECT_EQ(img.pixel(50, 54) == 0xFFFF0000, c.red);
        EXPECT_EQ(img.pixel(150, 165) == 0xFF0000FF, c.blue);
        EXPECT_EQ(img.pixel(150, 166) == 0xFF0000FF, c.blue);
        // The outline is white; nothing on the other side of the apex.
        EXPECT_EQ(img.pixel(46, 52) == 0xFFFFFFFF, c.red);
        EXPECT_EQ(img.pixel(50, 64), kBlack);
        EXPECT_EQ(img.pixel(150, 156), kBlack);
    }
}

TEST(PainterTest, HandlesShowTheActiveCornerOrAll) {
    const QPoint corners[4] = {{50, 50}, {150, 50}, {150, 150}, {50, 150}};
    struct Case {
        int handle;
        bool shown[4];
    } cases[] = {{-1, {false, false, false, false}},
                 {0, {true, true, true, true}},
                 {2, {false, true, false, false}},
                 {4, {false, false, false, true}}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.handle);
        Surface s;
        s.xp.drawHandles(corners, 4, c.handle);
        const QImage img = s.finish();
        for (int i = 0; i < 4; ++i) {
            const QPoint h = corners[i];
            EXPECT_EQ(img.pixel(h + QPoint(-4, -4)) == 0xFFFFFFFF, c.shown[i]) << i;
            EXPECT_EQ(img.pixel(h + QPoint(3, 3)) == 0xFFFFFFFF, c.shown[i]) << i;
            EXPECT_EQ(img.pixel(h + QPoint(-3, 0)) == 0xFFFFFFFF, c.shown[i]) << i;
            EXPECT_EQ(img.pixel(h), kBlack) << i;  // the black centre, or nothing
            EXPECT_EQ(img.pixel(h + QPoint(4, 4)), kBlack) << i;
        }
    }
}

TEST(PainterTest, FontFallsBackToAnInstalledFamilyQuietly) {
    static int warnings = 0;
    warnings = 0;
    QtMessageHandler old =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &) {
            if (type != QtDebugMsg && type != QtInfoMsg) ++warnings;
        });
    XPainterStatic::free();
    XPainterStatic::init();
    qInstallMessageHandler(old);
    EXPECT_EQ(warnings, 0);
    const QString family = XPainterStatic::fontFamily();
    EXPECT_FALSE(family.isEmpty());
    const QStringList installed = QFontDatabase().families();
    if (!installed.contains(QStringLiteral("Microsoft YaHei"))) {
        EXPECT_TRUE(installed.contains(family) ||
                    family == QFontDatabase::systemFont(QFontDatabase::GeneralFont).family())
            << family.toStdString();
    }
    EXPECT_EQ(XPainterStatic::font().pointSize(), 12);
    EXPECT_EQ(XPainterStatic::pen(XPainterStatic::C_RED).width(), 2);
    EXPECT_EQ(XPainterStatic::pen(XPainterStatic::C_RED).capStyle(), Qt::SquareCap);
    EXPECT_EQ(XPainterStatic::color(XPainterStatic::C_HALFBLACK).alpha(), 0x80);
    EXPECT_EQ(XPainterStatic::color(XPainterStatic::C_OLIVE).rgb(), 0xFF808000u);
}

class CanvasPaintTest : public ::testing::Test {
protected:
    void SetUp() override { resetCanvasWorld(); }
    void TearDown() override { resetCanvasWorld(); }
};

TEST_F(CanvasPaintTest, FrameIsCopiedAtPaintTimeAndItemsHideOnRequest) {
    auto canvas = makeCanvas(640, 480, 640, 480);
    SyntheticFrame frame(640, 480);
    EXPECT_EQ(paintCanvas(canvas.get()).pixel(320, 240), kBlack) << "no frame yet: nothing painted";
    canvas->updateData(&frame.data);
    XMea m = makeMea(MEA_RECT, {QPoint(100, 100), QPoint(300, 250)});
    canvas->item_create(m);
    const QImage shown = paintCanvas(canvas.get());
    struct Probe {
        QPoint p;
        bool isFrame;
    } probes[] = {{{320, 400}, true}, {{5, 470}, true}, {{200, 100}, false}, {{100, 180}, false}};
    for (const Probe &pr : probes) {
        const QRgb framePx = 0xFF000000u | frame.image[pr.p.y() * 640 + pr.p.x()];
        EXPECT_EQ(shown.pixel(pr.p) == framePx, pr.isFrame) << pr.p.x() << "," << pr.p.y();
    }
    TempCanvasManager::instance()->set_hideAll(true);
    const QImage hidden = paintCanvas(canvas.get());
    for (const Probe &pr : probes)
        EXPECT_EQ(hidden.pixel(pr.p), 0xFF000000u | frame.image[pr.p.y() * 640 + pr.p.x()]);
    // Picking a drawing tool shows the items again.
    TempCanvasManager::instance()->set_tool(MEA_RECT);
    EXPECT_FALSE(TempCanvasManager::instance()->hideAll());
    EXPECT_EQ(paintCanvas(canvas.get()).pixel(200, 100), shown.pixel(200, 100));
    TempCanvasManager::instance()->set_tool(0);
    // The copy is lazy: a changed frame shows only after the next updateData.
    frame.image[240 * 640 + 320] = 0xFF123456;
    EXPECT_NE(paintCanvas(canvas.get()).pixel(320, 240), 0xFF123456u);
    canvas->updateData(&frame.data);
    EXPECT_EQ(paintCanvas(canvas.get()).pixel(320, 240), 0xFF123456u);
}

TEST_F(CanvasPaintTest, ZoomedCanvasDrawsOnlyTheVisiblePart) {
    auto canvas = makeCanvas(640, 480, 320, 240);
    SyntheticFrame frame(320, 240);
    canvas->updateData(&frame.data);
    canvas->changeActiveScale(320, 240, 4.0);  // frame pixel (160, 120) stays under (320, 240)
    EXPECT_NEAR(canvas->sourceRect().width(), 160, 1e-9);
    const QImage img = paintCanvas(canvas.get());
    for (const QPoint &fp : {QPoint(100, 80), QPoint(200, 150), QPoint(170, 125)}) {
        const QPoint cp(canvas->d2cX(fp.x()) + 2, canvas->d2cY(fp.y()) + 2);
        EXPECT_EQ(img.pixel(cp), 0xFF000000u | frame.image[fp.y() * 320 + fp.x()]) << fp.x() << "," << fp.y();
    }
}

TEST(PaletteScaleTest, BarShowsThePaletteHottestOnTop) {
    TempPaletteData data;
    data.updateGbl(12.5f, 61.0f);
    TempPaletteScale scale;
    scale.set_paletteData(&data);
    const struct {
        int type;
    } cases[] = {{SARVIK_PALETTE_IRONBOW}, {SARVIK_PALETTE_WHITEHOT}, {SARVIK_PALETTE_RAINBOW}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.type);
        data.set_paletteType(c.type);
        const QVector<QRgb> colors = TempPaletteScale::paletteColors(c.type);
        ASSERT_EQ(colors.size(), 256);
        QImage img(60, 400, QImage::Format_RGB32);
        img.fill(Qt::darkGray);
        QPainter p(&img);
        scale.paintScale(&p, QRectF(0, 0, 60, 400));
        p.end();
        // The middle column near the top is the hottest colour, near the bottom the coldest.
        const int textH = XPainterStatic::fontMetrics().height() + 4;
        EXPECT_TRUE(near(img.pixel(30, textH + 3), colors[255], 40));
        EXPECT_TRUE(near(img.pixel(30, 400 - textH - 4), colors[0], 40));
    }
    EXPECT_TRUE(TempPaletteScale::paletteColors(-1).isEmpty());
    EXPECT_TRUE(TempPaletteScale::paletteColors(SARVIK_PALETTE_COUNT).isEmpty());
}

// Paints a canvas with every kind of item, labels, markers, handles and the cursor readout beside a
// palette scale, and keeps it as the documentation picture.
TEST_F(CanvasPaintTest, DocumentationPicture) {
    auto canvas = makeCanvas(960, 720, 640, 480);
    SyntheticFrame frame(640, 480);
    canvas->updateData(&frame.data);
    struct Shape {
        int type;
        std::initializer_list<QPoint> pts;
        int flags;
        int textPos;
    } shapes[] = {
        {MEA_POINT, {QPoint(192, 192)}, 1, 0},
        {MEA_POINT3X3, {QPoint(560, 390)}, 1, 2},
        {MEA_POINTCROSS, {QPoint(600, 60)}, 1, 3},
        {MEA_POLYLINE, {QPoint(30, 330), QPoint(120, 280), QPoint(200, 340), QPoint(270, 300)}, 3, 0},
        {MEA_ELLIPSE, {QPoint(390, 240), QPoint(510, 360)}, 3, 4},
        {MEA_CIRCLE, {QPoint(40, 30), QPoint(120, 30)}, 1, 0},
        {MEA_RECT, {QPoint(322, 74), QPoint(394, 152)}, 2, 1},
        {MEA_SQUARE, {QPoint(500, 110), QPoint(570, 110)}, 1, 0},
        {MEA_POLYGON, {QPoint(180, 390), QPoint(300, 370), QPoint(340, 450), QPoint(230, 465)}, 3, 0},
    };
    TempCanvasItemBase *ellipse = nullptr;
    for (const Shape &s : shapes) {
        XMea m = makeMea(s.type, s.pts);
        m.flags = static_cast<uint8_t>(s.flags);
        m.textPos = static_cast<uint8_t>(s.textPos);
        TempCanvasItemBase *item = canvas->item_create(m);
        ASSERT_NE(item, nullptr) << s.type;
        if (s.type == MEA_ELLIPSE) ellipse = item;
        // The darkest table colours are hard to see on a cold image: a user would pick brighter ones.
        if (s.type == MEA_CIRCLE) item->set_meaColor(QColor(0x00, 0xFF, 0xFF));
        if (s.type == MEA_POLYGON) item->set_meaColor(QColor(0xFF, 0x00, 0xFF));
        if (s.type == MEA_POLYLINE) item->set_meaColor(QColor(0xFF, 0xFF, 0x00));
    }
    canvas->updateData(&frame.data);
    canvas->item_refresh(ellipse);
    ellipse->setActiveHandle(0);
    hover(canvas.get(), QPointF(640, 690));
    ASSERT_TRUE(canvas->itemMouse()->isVisible());

    const int scaleW = 110;
    QImage picture(960 + scaleW, 720, QImage::Format_RGB32);
    picture.fill(QColor(0x20, 0x20, 0x24));
    const QImage painted = paintCanvas(canvas.get());
    QPainter p(&picture);
    p.drawImage(0, 0, painted);
    TempPaletteScale scale;
    scale.set_paletteData(canvas->paletteData());
    scale.paintScale(&p, QRectF(960 + 30, 20, scaleW - 60, 680));
    p.end();

    // Every item left its colour on the picture.
    for (TempCanvasItemBase *item : canvas->itemList().mid(1)) {
        const QRgb c = item->meaColor().rgb();
        bool found = false;
        for (int y = 0; y < 720 && !found; y += 1)
            for (int x = 0; x < 960 && !found; ++x) found = picture.pixel(x, y) == c;
        EXPECT_TRUE(found) << item->meaName().toStdString();
    }
    const QString path = QDir(QStringLiteral(PELVAN_DOCS_DIR)).filePath(QStringLiteral("canvas.png"));
    QDir().mkpath(QStringLiteral(PELVAN_DOCS_DIR));
    ASSERT_TRUE(picture.save(path)) << path.toStdString();
}

}  // namespace
