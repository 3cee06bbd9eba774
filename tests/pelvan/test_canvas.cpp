// The temperature canvas: fitting, zoom and pan, coordinate tables, the item list and its limits, item
// properties, image settings and the palette range.
#include <gtest/gtest.h>

#include <QSignalBlocker>
#include <cstring>

#include "TempCanvasItem.h"
#include "TempCanvasManager.h"
#include "TempImageConfig.h"
#include "TempPaletteData.h"
#include "canvas_support.h"

namespace {

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override { resetCanvasWorld(); }
};

TEST_F(CanvasTest, FitCentresTheFrameAndReportsTheScale) {
    struct Case {
        int w, h;
        double cw, ch;
        double left, top, right, bottom;
        int percent;
    } cases[] = {
        {640, 480, 1000, 500, 166.6667, 0, 833.3333, 500, 104},
        {640, 480, 640, 1000, 0, 260, 640, 740, 100},
        {320, 240, 1280, 960, 0, 0, 1280, 960, 400},
        {640, 512, 1280, 1024, 0, 0, 1280, 1024, 200},
        {160, 120, 100, 100, 0, 12.5, 100, 87.5, 62},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " in " << c.cw << "x" << c.ch);
        auto canvas = makeCanvas(c.cw, c.ch, c.w, c.h);
        EXPECT_NEAR(canvas->activeLeft(), c.left, 1e-3);
        EXPECT_NEAR(canvas->activeTop(), c.top, 1e-3);
        EXPECT_NEAR(canvas->activeRight(), c.right, 1e-3);
        EXPECT_NEAR(canvas->activeBottom(), c.bottom, 1e-3);
        EXPECT_EQ(canvas->activeScalePercent(), c.percent);
        // The whole frame is visible when it fits.
        EXPECT_NEAR(canvas->sourceRect().width(), c.w, 1e-6);
        EXPECT_NEAR(canvas->sourceRect().height(), c.h, 1e-6);
    }
}

TEST_F(CanvasTest, ResizingWhileWorkingFitsAgain) {
    auto canvas = makeCanvas(1000, 500, 640, 480);
    canvas->setSize(QSizeF(640, 480));
    EXPECT_NEAR(canvas->activeLeft(), 0.0, 1e-9);
    EXPECT_EQ(canvas->activeScalePercent(), 100);
}

TEST_F(CanvasTest, WheelStepsClampAndKeepThePointUnderThePointer) {
    struct Case {
        double start;
        int delta;
        double expected;
    } cases[] = {
        {0.95, 120, 1.05}, {0.1, -120, 0.1}, {9.9, 120, 10.0}, {10.0, 120, 10.0},
        {1.0, -120, 0.8},  {0.5, -120, 0.4}, {1.0, 120, 1.2},  {0.15, -120, 0.1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " delta " << c.delta);
        auto canvas = makeCanvas(640, 480, 640, 480);
        canvas->changeActiveScale(320, 240, c.start);
        const QPointF ptr(310, 235);
        const double fx = (ptr.x() - canvas->activeLeft()) / (canvas->activeRight() - canvas->activeLeft());
        const double fy = (ptr.y() - canvas->activeTop()) / (canvas->activeBottom() - canvas->activeTop());
        if (fx <= 0 || fx >= 1 || fy <= 0 || fy >= 1) continue;
        wheel(canvas.get(), ptr, c.delta);
        EXPECT_NEAR(canvas->scale(), c.expected, 1e-9);
        EXPECT_NEAR((ptr.x() - canvas->activeLeft()) / (canvas->activeRight() - canvas->activeLeft()), fx,
                    1e-9);
        EXPECT_NEAR((ptr.y() - canvas->activeTop()) / (canvas->activeBottom() - canvas->activeTop()), fy,
                    1e-9);
        EXPECT_NEAR(canvas->activeRight() - canvas->activeLeft(), 640 * c.expected, 1e-6);
    }
}

TEST_F(CanvasTest, WheelIsIgnoredOutsideTheImageAndUnderOtherTools) {
    auto canvas = makeCanvas(1000, 500, 640, 480);
    wheel(canvas.get(), QPointF(100, 250), 120);  // left of the image
    EXPECT_EQ(canvas->activeScalePercent(), 104);
    TempCanvasManager::instance()->set_tool(9);
    wheel(canvas.get(), QPointF(500, 250), 120);
    EXPECT_EQ(canvas->activeScalePercent(), 104);
    TempCanvasManager::instance()->set_tool(0);
    wheel(canvas.get(), QPointF(500, 250), 120);
    EXPECT_EQ(canvas->activeScalePercent(), 124);
}

TEST_F(CanvasTest, PanIsRefusedWhenTooLittleOfTheImageWouldStay) {
    struct Case {
        int dx, dy;
        bool accepted;
    } cases[] = {
        {-544, 0, false},  // 15 % of the width left
        {-512, 0, false},  // exactly 20 %
        {-480, 0, true},   // 25 %
        {544, 0, false},  {0, -408, false}, {0, 360, true}, {100, 50, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.dx << "," << c.dy);
        auto canvas = makeCanvas(640, 480, 640, 480);
        const QPointF from(320, 240);
        press(canvas.get(), from);
        ASSERT_EQ(canvas->itemSelected(), canvas->itemGlobal());
        drag(canvas.get(), from + QPointF(c.dx, c.dy));
        EXPECT_NEAR(canvas->activeLeft(), c.accepted ? c.dx : 0, 1e-9);
        EXPECT_NEAR(canvas->activeTop(), c.accepted ? c.dy : 0, 1e-9);
        release(canvas.get(), from + QPointF(c.dx, c.dy));
    }
}

TEST_F(CanvasTest, DoubleClickFitsAgain) {
    auto canvas = makeCanvas(640, 480, 640, 480);
    press(canvas.get(), QPointF(320, 240));
    drag(canvas.get(), QPointF(400, 300));
    ASSERT_NEAR(canvas->activeLeft(), 80, 1e-9);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(400, 300), QPointF(400, 300), QPointF(400, 300),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    canvas->mouseDoubleClickEvent(&dbl);
    EXPECT_NEAR(canvas->activeLeft(), 0, 1e-9);
}

TEST_F(CanvasTest, CoordinateTablesFollowTheView) {
    auto canvas = makeCanvas(1000, 500, 640, 480);
    // Frame x -> canvas x, and canvas x -> frame x, for left 166.67 and right 833.33.
    const int d2c[][2] = {{-5, 166},  {0, 166},     {170, 343},   {639, 832},
                          {640, 833}, {32767, 833}, {-32768, 166}};
    for (const auto &c : d2c) EXPECT_EQ(canvas->d2cX(c[0]), c[1]) << c[0];
    const int c2d[][2] = {{-5, 0},    {0, 0},     {166, 0},     {170, 3},   {501, 320},
                          {832, 638}, {833, 639}, {32767, 639}, {-32768, 0}};
    for (const auto &c : c2d) EXPECT_EQ(canvas->c2dX(c[0]), c[1]) << c[0];
    EXPECT_EQ(canvas->d2cY(480), 500);
    EXPECT_EQ(canvas->c2dY(499), 479);
    EXPECT_EQ(canvas->c2dY(-1), 0);
    // Any index outside 16 bits is clamped, never read past the tables.
    EXPECT_EQ(canvas->c2dX(100000), 639);
    EXPECT_EQ(canvas->d2cX(-100000), 166);
}

TEST_F(CanvasTest, SessionCallsCheckTheirState) {
    auto canvas = std::make_unique<TempCanvas>();
    canvas->setSize(QSizeF(320, 240));
    SyntheticFrame frame(320, 240, false);
    EXPECT_EQ(canvas->updateData(&frame.data), -7);
    EXPECT_EQ(canvas->beginUpdate(0, 240), -8);
    EXPECT_EQ(canvas->beginUpdate(320, -1), -8);
    EXPECT_EQ(canvas->beginUpdate(320, 240), 0);
    EXPECT_EQ(canvas->beginUpdate(320, 240), -7);
    const int listed = TempCanvasManager::instance()->meaItems().count(canvas->itemGlobal());
    EXPECT_EQ(listed, 1);

    // A frame of another size, or without its pointers, must never reach the image copy.
    SyntheticFrame other(160, 120, false);
    EXPECT_EQ(canvas->updateData(&other.data), -8);
    TempData empty;
    EXPECT_EQ(canvas->updateData(&empty), -8);
    EXPECT_EQ(canvas->updateData(nullptr), -8);
    EXPECT_EQ(canvas->updateData(&frame.data), 0);

    canvas->endUpdate();
    EXPECT_FALSE(canvas->isWorking());
    EXPECT_EQ(TempCanvasManager::instance()->meaItems().count(canvas->itemGlobal()), 0);
    EXPECT_EQ(canvas->updateData(&frame.data), -7);
}

TEST_F(CanvasTest, FramesAreMeasuredAndFeedThePaletteRange) {
    auto canvas = makeCanvas(640, 480, 640, 480);
    SyntheticFrame frame(640, 480);
    frame.setTemp(10, 10, 95.0);
    frame.setTemp(600, 400, -5.0);
    XMea m = makeMea(MEA_RECT, {QPoint(0, 0), QPoint(50, 50)});
    TempCanvasItemBase *item = canvas->item_create(m);
    ASSERT_NE(item, nullptr);
    int changes = 0;
    QObject::connect(item, &TempCanvasItemBase::meaTempDataChanged, [&] { ++changes; });
    int rangeChanges = 0;
    QObject::connect(canvas->paletteData(), &TempPaletteData::paletteMaxChanged, [&] { ++rangeChanges; });
    ASSERT_EQ(canvas->updateData(&frame.data), 0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(rangeChanges, 1);
    const XResult &g = canvas->itemGlobal()->result();
    EXPECT_EQ(g.maxX, 10);
    EXPECT_EQ(g.minX, 600);
    EXPECT_FLOAT_EQ(canvas->paletteData()->paletteMax(), canvas->itemGlobal()->maxTemp());
    EXPECT_FLOAT_EQ(canvas->paletteData()->paletteMin(), canvas->itemGlobal()->minTemp());
    EXPECT_EQ(item->result().maxX, 10);
    // The same frame again changes no range.
    canvas->updateData(&frame.data);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(rangeChanges, 1);
}

TEST_F(CanvasTest, ItemLimitTypesAndDeletion) {
    auto canvas = makeCanvas(640, 480, 640, 480);
    struct TypeCase {
        int type;
        bool created;
    } types[] = {{0, false}, {1, true},  {2, true}, {3, true},  {4, false}, {5, true},   {6, true},
                 {7, true},  {8, false}, {9, true}, {10, true}, {11, true}, {12, false}, {13, false}};
    int created = 0;
    for (const TypeCase &t : types) {
        SCOPED_TRACE(t.type);
        XMea m = makeMea(t.type, {QPoint(10, 10), QPoint(40, 40), QPoint(10, 40)});
        TempCanvasItemBase *item = canvas->item_create(m);
        EXPECT_EQ(item != nullptr, t.created);
        if (item) {
            ++created;
            EXPECT_EQ(item->meaType(), t.type);
        }
    }
    while (created < TempCanvas::kMaxItems) {
        XMea m = makeMea(MEA_POINT, {QPoint(5, 5)});
        ASSERT_NE(canvas->item_create(m), nullptr);
        ++created;
    }
    XMea extra = makeMea(MEA_POINT, {QPoint(5, 5)});
    EXPECT_EQ(canvas->item_create(extra), nullptr);
    EXPECT_EQ(canvas->itemList().size(), TempCanvas::kMaxItems + 1);

    canvas->item_delete(canvas->itemGlobal());
    EXPECT_EQ(canvas->itemList().size(), TempCanvas::kMaxItems + 1);
    TempCanvasItemBase *second = canvas->itemList()[2];
    canvas->item_refresh(second);
    canvas->item_delete(second);
    EXPECT_EQ(canvas->itemList().size(), TempCanvas::kMaxItems);
    EXPECT_EQ(canvas->itemSelected(), canvas->itemGlobal());

    canvas->item_deleteAll();
    ASSERT_EQ(canvas->itemList().size(), 1);
    EXPECT_EQ(canvas->itemList()[0], canvas->itemGlobal());
    EXPECT_EQ(canvas->itemGlobal()->meaName(), QStringLiteral("GLOBAL"));
    EXPECT_EQ(canvas->itemGlobal()->meaColor(), QColor(128, 128, 128));
    EXPECT_EQ(TempCanvasManager::instance()->meaItems().size(), 1);
}

TEST_F(CanvasTest, NewItemsAreNamedAndColouredAcrossCanvases) {
    const unsigned colours[16] = {0xFF0000, 0x008000, 0x0000FF, 0x800000, 0x00FF00, 0x000080,
                                  0x804040, 0x408040, 0x404080, 0x004000, 0x000040, 0x400040,
                                  0x800080, 0x8000FF, 0x400080, 0xFF00FF};
    auto a = makeCanvas(320, 240, 320, 240);
    auto b = makeCanvas(320, 240, 320, 240);
    TempCanvasManager *mgr = TempCanvasManager::instance();
    for (int i = 0; i < 18; ++i) {
        SCOPED_TRACE(i);
        TempCanvas *c = i % 2 ? b.get() : a.get();
        XMea m = makeMea(MEA_POINT, {QPoint(i, i)});
        TempCanvasItemBase *item = c->item_create(m);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->meaName(), QStringLiteral("M%1").arg(i + 1));
        EXPECT_EQ(item->meaColor().rgb() & 0xFFFFFFu, colours[i % 16]);
        EXPECT_EQ(item->mea().color >> 24, 0xFFu);
    }
    // The manager keeps each canvas's items together, the global item first.
    const QList<TempCanvasItemBase *> &list = mgr->meaItems();
    ASSERT_EQ(list.size(), 20);
    for (int i = 0; i < list.size(); ++i) EXPECT_EQ(list[i]->canvas(), i < 10 ? a.get() : b.get()) << i;
    EXPECT_EQ(mgr->meaColorArray().size(), 16);
    EXPECT_EQ(mgr->meaColorArray()[13].value<QColor>(), QColor(0x80, 0x00, 0xFF));
}

TEST_F(CanvasTest, ItemPropertiesValidateAndSignalOnlyOnChange) {
    auto canvas = makeCanvas(320, 240, 320, 240);
    XMea m = makeMea(MEA_RECT, {QPoint(10, 10), QPoint(50, 50)});
    TempCanvasItemBase *item = canvas->item_create(m);
    ASSERT_NE(item, nullptr);
    int names = 0, emis = 0, reflects = 0, highs = 0;
    QObject::connect(item, &TempCanvasItemBase::meaNameChanged, [&] { ++names; });
    QObject::connect(item, &TempCanvasItemBase::fixEmiChanged, [&] { ++emis; });
    QObject::connect(item, &TempCanvasItemBase::fixReflectTempChanged, [&] { ++reflects; });
    QObject::connect(item, &TempCanvasItemBase::meaFlags_trackHighChanged, [&] { ++highs; });

    struct NameCase {
        QString name;
        bool taken;
    } names_[] = {{QString(64, 'a'), false},           {QString(63, 'b'), true},
                  {QString(32, QChar(0x00E9)), false},  // 64 bytes in UTF-8
                  {QString(31, QChar(0x00E9)), true},  {QStringLiteral("Box"), true},
                  {QStringLiteral("Box"), false}};
    int expectedNames = 0;
    for (const NameCase &c : names_) {
        const QString before = item->meaName();
        item->set_meaName(c.name);
        if (c.taken) ++expectedNames;
        EXPECT_EQ(item->meaName(), c.taken ? c.name : before);
        EXPECT_EQ(QString::fromUtf8(item->mea().name), item->meaName());
        EXPECT_EQ(names, expectedNames);
    }

    struct FixCase {
        bool enable;
        float emi, reflect;
        float expEmi, expReflect;
    } fixes[] = {
        {true, 1.2f, 30.0f, 0.97f, 30.0f},      {true, 0.5f, -150.0f, 0.5f, 30.0f},
        {false, 0.01f, 9999.0f, 0.5f, 9999.0f}, {true, 1.0f, 10000.0f, 1.0f, 9999.0f},
        {true, 0.02f, -99.0f, 0.02f, -99.0f},
    };
    for (const FixCase &c : fixes) {
        item->set_fix(c.enable, c.emi, c.reflect);
        EXPECT_EQ(item->fixEnable(), c.enable);
        EXPECT_FLOAT_EQ(item->fixEmi(), c.expEmi);
        EXPECT_FLOAT_EQ(item->fixReflectTemp(), c.expReflect);
        EXPECT_EQ(item->mea().fixEnable != 0, c.enable);
    }
    EXPECT_EQ(emis, 3);
    EXPECT_EQ(reflects, 3);

    item->set_meaFlags_trackHigh(true);  // the template already tracks the maximum
    EXPECT_EQ(highs, 0);
    item->set_meaFlags_trackLow(true);
    item->set_meaFlags_trackHigh(false);
    EXPECT_EQ(highs, 1);
    EXPECT_EQ(item->mea().flags, MEA_FLAG_TRACK_LOW);
    item->set_meaColor(QColor(0x12, 0x34, 0x56, 0x10));
    EXPECT_EQ(item->mea().color, 0xFF123456u);
}

TEST_F(CanvasTest, ImageConfigRecordRoundTrip) {
    TempImageConfig cfg;
    EXPECT_EQ(cfg.paletteType(), 5);
    EXPECT_EQ(cfg.strechType(), 1);
    EXPECT_FLOAT_EQ(cfg.gain(), 2.0f);
    EXPECT_FLOAT_EQ(cfg.man_temp0(), 20.0f);
    EXPECT_FLOAT_EQ(cfg.man_temp1(), 40.0f);
    struct Case {
        float t0, t1;
        int16_t bin0, bin1;
    } cases[] = {{20.0f, 40.0f, 200, 400}, {-12.34f, 99.99f, -123, 999}, {5000.0f, -5000.0f, 32767, -32768}};
    for (const Case &c : cases) {
        cfg.set_man_temp0(c.t0);
        cfg.set_man_temp1(c.t1);
        cfg.set_ct_temp0(c.t1);
        cfg.set_man_enable(true);
        cfg.set_strechType(2);
        cfg.set_gain(3.5f);
        cfg.set_temp2gray(20);
        cfg.set_ddeLevel(4);
        cfg.set_ct_type(3);
        cfg.set_ct_color0(QColor(0x11, 0x22, 0x33));
        cfg.set_ct_color1(QColor(0xAA, 0xBB, 0xCC));
        cfg.cls2bin();
        const uint8_t *raw = reinterpret_cast<const uint8_t *>(&cfg.bin());
        int16_t v0, v1, ct0;
        uint32_t col0, col1;
        float gain;
        std::memcpy(&v0, raw + 12, 2);
        std::memcpy(&v1, raw + 14, 2);
        std::memcpy(&ct0, raw + 20, 2);
        std::memcpy(&col0, raw + 24, 4);
        std::memcpy(&col1, raw + 28, 4);
        std::memcpy(&gain, raw + 8, 4);
        EXPECT_EQ(v0, c.bin0);
        EXPECT_EQ(v1, c.bin1);
        EXPECT_EQ(ct0, c.bin1);
        EXPECT_EQ(raw[4], 2);
        EXPECT_FLOAT_EQ(gain, 3.5f);
        EXPECT_EQ(raw[16], 1);
        EXPECT_EQ(raw[17], 20);
        EXPECT_EQ(raw[18], 4);
        EXPECT_EQ(raw[19], 3);
        EXPECT_EQ(col0, 0xFF112233u);
        EXPECT_EQ(col1, 0xFFAABBCCu);

        TempImageConfig back;
        back.bin() = cfg.bin();
        back.bin2cls();
        EXPECT_FLOAT_EQ(back.man_temp0(), c.bin0 / 10.0f);
        EXPECT_FLOAT_EQ(back.man_temp1(), c.bin1 / 10.0f);
        EXPECT_TRUE(back.man_enable());
        EXPECT_EQ(back.ct_color0(), QColor(0x11, 0x22, 0x33));
        EXPECT_EQ(back.ct_color1(), QColor(0xAA, 0xBB, 0xCC));
        EXPECT_EQ(back.ddeLevel(), 4);
    }
}

TEST_F(CanvasTest, PaletteRangeFollowsTheManualWindow) {
    TempPaletteData pd;
    int mins = 0, maxs = 0;
    QObject::connect(&pd, &TempPaletteData::paletteMinChanged, [&] { ++mins; });
    QObject::connect(&pd, &TempPaletteData::paletteMaxChanged, [&] { ++maxs; });
    pd.updateGbl(10.0f, 50.0f);
    EXPECT_EQ(mins, 1);
    EXPECT_EQ(maxs, 1);
    pd.updateGbl(10.0f, 51.0f);
    EXPECT_EQ(mins, 1);
    EXPECT_EQ(maxs, 2);
    EXPECT_FLOAT_EQ(pd.paletteMax(), 51.0f);
    pd.updateMan(true, 20.0f, 40.0f);
    EXPECT_EQ(mins, 2);
    EXPECT_EQ(maxs, 3);
    EXPECT_FLOAT_EQ(pd.paletteMin(), 20.0f);
    EXPECT_FLOAT_EQ(pd.paletteMax(), 40.0f);
    pd.updateMan(true, 20.0f, 40.0f);  // always announced
    EXPECT_EQ(mins, 3);
    pd.updateMan(false, 20.0f, 40.0f);
    EXPECT_FLOAT_EQ(pd.paletteMin(), 10.0f);
}

}  // namespace
