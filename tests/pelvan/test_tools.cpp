// The drawing tools driven by synthetic pointer and key input: creating, hit-testing, moving, reshaping
// and deleting measurement objects.
#include <gtest/gtest.h>

#include "TempCanvasItem.h"
#include "TempCanvasManager.h"
#include "TempCanvasTool.h"
#include "canvas_support.h"

namespace {

// A 640 x 480 frame in a 640 x 480 canvas: canvas and frame pixels coincide.
class ToolsTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetCanvasWorld();
        canvas = makeCanvas(640, 480, 640, 480);
        frame = std::make_unique<SyntheticFrame>(640, 480);
        canvas->updateData(&frame->data);
    }
    void TearDown() override {
        TempCanvasManager::instance()->set_tool(0);
        canvas.reset();
    }
    TempCanvasItemBase *create(int type, std::initializer_list<QPoint> pts) {
        XMea m = makeMea(type, pts);
        return canvas->item_create(m);
    }
    void useTool(int t) {
        TempCanvasManager::instance()->set_tool(t);
        ASSERT_EQ(canvas->tool(), t);
    }
    std::unique_ptr<TempCanvas> canvas;
    std::unique_ptr<SyntheticFrame> frame;
};

TEST_F(ToolsTest, HandlesAreHitWithinSevenPixels) {
    auto *box = static_cast<TempCanvasItemRect *>(create(MEA_RECT, {QPoint(100, 100), QPoint(200, 200)}));
    ASSERT_NE(box, nullptr);
    auto *line = create(MEA_POLYLINE, {QPoint(300, 300), QPoint(400, 300)});
    auto *point = create(MEA_POINT, {QPoint(500, 100)});
    struct Case {
        TempCanvasItemBase *item;
        QPoint p;
        int expected;
    } cases[] = {
        {box, {93, 93}, 1},     {box, {92, 93}, -1},    {box, {93, 92}, -1},    {box, {207, 93}, 2},
        {box, {208, 100}, -1},  {box, {207, 207}, 3},   {box, {93, 207}, 4},    {box, {150, 150}, 0},
        {box, {108, 100}, 0},   {box, {201, 150}, -1},  {line, {293, 300}, 1},  {line, {407, 306}, 2},
        {line, {350, 302}, 0},  {line, {350, 303}, -1}, {point, {507, 107}, 1}, {point, {508, 100}, -1},
        {point, {500, 100}, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.item->meaType() << " at " << c.p.x() << "," << c.p.y());
        QPoint p = c.p;
        EXPECT_EQ(c.item->testHandle(p), c.expected);
        EXPECT_EQ(c.item->activeHandle(), c.expected);
    }
}

TEST_F(ToolsTest, SegmentsAreHitOnlyInTheirAscendingExtent) {
    struct Case {
        QPoint a, b, p;
        int expected;
    } cases[] = {
        {{100, 100}, {300, 100}, {200, 101}, 0},   // left to right: through x
        {{300, 100}, {100, 100}, {200, 101}, -1},  // right to left, flat: no y extent
        {{300, 100}, {100, 120}, {200, 110}, 0},   // right to left, sloped: through y
        {{300, 100}, {100, 120}, {200, 113}, -1},  // too far from the line
        {{300, 120}, {100, 100}, {200, 110}, -1},  // leftwards and upwards: neither order holds
        {{100, 100}, {100, 300}, {101, 200}, 0},   // downwards vertical: through y
        {{100, 300}, {100, 100}, {101, 200}, -1},  // upwards vertical
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.a.x() << "," << c.a.y() << " -> " << c.b.x() << "," << c.b.y());
        auto *item = create(MEA_POLYLINE, {c.a, c.b});
        ASSERT_NE(item, nullptr);
        QPoint p = c.p;
        EXPECT_EQ(item->testHandle(p), c.expected);
        canvas->item_delete(item);
    }
}

TEST_F(ToolsTest, PolygonBodyFollowsTheEvenOddRule) {
    // A C shape: the notch is outside.
    auto *poly =
        create(MEA_POLYGON, {QPoint(100, 100), QPoint(300, 100), QPoint(300, 150), QPoint(150, 150),
                             QPoint(150, 250), QPoint(300, 250), QPoint(300, 300), QPoint(100, 300)});
    ASSERT_NE(poly, nullptr);
    const struct {
        QPoint p;
        int expected;
    } cases[] = {{{120, 200}, 0}, {{250, 200}, -1}, {{250, 120}, 0}, {{50, 50}, -1}, {{305, 305}, 7}};
    for (const auto &c : cases) {
        QPoint p = c.p;
        EXPECT_EQ(poly->testHandle(p), c.expected) << c.p.x() << "," << c.p.y();
    }
}

TEST_F(ToolsTest, PointToolPlacesFollowsAndFinishesOnRightClick) {
    struct Case {
        int type;
    } cases[] = {{MEA_POINT}, {MEA_POINT3X3}, {MEA_POINTCROSS}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.type);
        useTool(c.type);
        press(canvas.get(), QPointF(120.4, 80.6));
        ASSERT_EQ(canvas->itemList().size(), 2);
        TempCanvasItemBase *item = canvas->itemList().back();
        EXPECT_EQ(item->meaType(), c.type);
        EXPECT_EQ(canvas->itemSelected(), item);
        EXPECT_EQ(item->mea().points[0].x, 120);
        EXPECT_EQ(item->mea().points[0].y, 81);
        EXPECT_FLOAT_EQ(item->fixEmi(), 0.97f);
        EXPECT_FLOAT_EQ(item->fixReflectTemp(), 25.0f);
        EXPECT_TRUE(item->meaFlags_trackHigh());
        hover(canvas.get(), QPointF(200, 150));
        EXPECT_EQ(item->mea().points[0].x, 200);
        press(canvas.get(), QPointF(300, 300));  // ignored while pending
        EXPECT_EQ(canvas->itemList().size(), 2);
        release(canvas.get(), QPointF(200, 150), Qt::RightButton);
        EXPECT_EQ(canvas->tool(), 0);
        EXPECT_EQ(TempCanvasManager::instance()->tool(), 0);
        EXPECT_EQ(canvas->itemSelected(), canvas->itemGlobal());
        EXPECT_EQ(item->mea().points[0].x, 200);
        // The item measures the pixel it sits on.
        EXPECT_NEAR(item->avgTemp(), frame->tempAt(200, 150), c.type == MEA_POINT3X3 ? 0.2 : 0.011);
        canvas->item_deleteAll();
    }
}

TEST_F(ToolsTest, BoxToolDragsTheBottomRightCorner) {
    struct Case {
        int type;
        QPoint start, hoverTo;
        int l, t, r, b;
    } cases[] = {
        {MEA_RECT, {100, 100}, {220, 160}, 100, 100, 220, 160},
        {MEA_ELLIPSE, {100, 100}, {220, 160}, 100, 100, 220, 160},
        {MEA_SQUARE, {100, 100}, {220, 160}, 100, 100, 220, 220},
        {MEA_CIRCLE, {100, 100}, {150, 190}, 100, 100, 190, 190},
        {MEA_RECT, {100, 100}, {50, 60}, 100, 100, 100, 100},    // up-left collapses onto the start
        {MEA_RECT, {600, 400}, {900, 700}, 600, 400, 640, 480},  // clamped into the image
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << " to " << c.hoverTo.x() << "," << c.hoverTo.y());
        useTool(c.type);
        press(canvas.get(), c.start);
        ASSERT_EQ(canvas->itemList().size(), 2);
        auto *box = static_cast<TempCanvasItemRect *>(canvas->itemList().back());
        hover(canvas.get(), c.hoverTo);
        release(canvas.get(), c.hoverTo, Qt::RightButton);
        EXPECT_EQ(canvas->tool(), 0);
        EXPECT_EQ(box->left(), c.l);
        EXPECT_EQ(box->top(), c.t);
        EXPECT_EQ(box->right(), c.r);
        EXPECT_EQ(box->bottom(), c.b);
        EXPECT_EQ(box->mea().points[0].x, c.l);
        EXPECT_EQ(box->mea().points[1].x, std::min(c.r, 639));
        canvas->item_deleteAll();
    }
}

TEST_F(ToolsTest, PolylineAndPolygonFinishOnlyWithEnoughPoints) {
    struct Case {
        int type;
        int fixedBeforeFirstRightClick;  // presses before the ignored right click
        int finalCount;
    } cases[] = {{MEA_POLYLINE, 1, 2}, {MEA_POLYGON, 2, 3}};
    const QPoint pts[] = {{100, 100}, {200, 100}, {150, 200}, {120, 180}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.type);
        useTool(c.type);
        for (int i = 0; i < c.fixedBeforeFirstRightClick; ++i) press(canvas.get(), pts[i]);
        auto *item = canvas->itemList().back();
        ASSERT_EQ(item->meaType(), c.type);
        hover(canvas.get(), pts[c.fixedBeforeFirstRightClick]);
        EXPECT_EQ(item->pointCount(), c.fixedBeforeFirstRightClick + 1);
        EXPECT_EQ(item->point(item->pointCount() - 1), pts[c.fixedBeforeFirstRightClick]);
        release(canvas.get(), pts[c.fixedBeforeFirstRightClick], Qt::RightButton);
        EXPECT_EQ(canvas->tool(), c.type) << "too few points: drawing goes on";
        press(canvas.get(), pts[c.fixedBeforeFirstRightClick]);
        EXPECT_EQ(item->pointCount(), c.finalCount + 1);
        release(canvas.get(), pts[c.fixedBeforeFirstRightClick], Qt::RightButton);
        EXPECT_EQ(canvas->tool(), 0);
        EXPECT_EQ(item->pointCount(), c.finalCount);
        EXPECT_EQ(item->mea().count, c.finalCount);
        for (int i = 0; i < c.finalCount; ++i) {
            EXPECT_EQ(item->mea().points[i].x, pts[i].x()) << i;
            EXPECT_EQ(item->mea().points[i].y, pts[i].y()) << i;
        }
        canvas->item_deleteAll();
    }
}

TEST_F(ToolsTest, PolylineStopsGrowingAtThirtyTwoPoints) {
    useTool(MEA_POLYLINE);
    for (int i = 0; i < 40; ++i) press(canvas.get(), QPointF(10 + 10 * i, 100 + (i % 2) * 20));
    TempCanvasItemBase *item = canvas->itemList().back();
    EXPECT_EQ(item->pointCount(), MEA_POINT_MAX);
    release(canvas.get(), QPointF(0, 0), Qt::RightButton);
    EXPECT_EQ(item->mea().count, MEA_POINT_MAX - 1);
}

TEST_F(ToolsTest, SquareCornersKeepTheBoxSquare) {
    struct Case {
        int corner;
        QPoint grab, to;
        int l, t, r, b;
    } cases[] = {
        {1, {100, 100}, {130, 120}, 120, 120, 200, 200},  // inwards: the larger extent wins
        {1, {100, 100}, {120, 130}, 120, 120, 200, 200},
        {1, {100, 100}, {80, 60}, 60, 60, 200, 200},  // outwards
        {2, {200, 100}, {170, 120}, 100, 120, 180, 200},
        {3, {200, 200}, {260, 230}, 100, 100, 260, 260},
        {4, {100, 200}, {130, 170}, 130, 100, 200, 170},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.corner);
        auto *box =
            static_cast<TempCanvasItemRect *>(create(MEA_SQUARE, {QPoint(100, 100), QPoint(200, 200)}));
        ASSERT_NE(box, nullptr);
        press(canvas.get(), c.grab);
        ASSERT_EQ(box->activeHandle(), c.corner);
        drag(canvas.get(), c.to);
        release(canvas.get(), c.to);
        EXPECT_EQ(box->left(), c.l);
        EXPECT_EQ(box->top(), c.t);
        EXPECT_EQ(box->right(), c.r);
        EXPECT_EQ(box->bottom(), c.b);
        EXPECT_EQ(box->right() - box->left(), box->bottom() - box->top());
        canvas->item_deleteAll();
    }
}

TEST_F(ToolsTest, SelectToolMovesReshapesAndDeletes) {
    auto *box = static_cast<TempCanvasItemRect *>(create(MEA_RECT, {QPoint(100, 100), QPoint(200, 160)}));
    auto *poly = create(MEA_POLYLINE, {QPoint(300, 300), QPoint(400, 350)});
    // Move the box by its body.
    press(canvas.get(), QPointF(150, 130));
    EXPECT_EQ(canvas->itemSelected(), box);
    drag(canvas.get(), QPointF(160, 135));
    drag(canvas.get(), QPointF(170, 140));
    release(canvas.get(), QPointF(170, 140));
    EXPECT_EQ(box->left(), 120);
    EXPECT_EQ(box->top(), 110);
    EXPECT_EQ(box->mea().points[1].x, 220);
    EXPECT_EQ(box->mea().points[1].y, 170);
    // Drag the polyline's second point.
    press(canvas.get(), QPointF(402, 348));
    EXPECT_EQ(canvas->itemSelected(), poly);
    EXPECT_EQ(poly->activeHandle(), 2);
    EXPECT_EQ(box->activeHandle(), -1);
    drag(canvas.get(), QPointF(450, 400));
    EXPECT_EQ(poly->mea().points[1].x, 450);
    EXPECT_EQ(poly->mea().points[1].y, 400);
    // A free box corner moves alone.
    press(canvas.get(), QPointF(220, 170));
    EXPECT_EQ(box->activeHandle(), 3);
    drag(canvas.get(), QPointF(300, 190));
    EXPECT_EQ(box->right(), 300);
    EXPECT_EQ(box->bottom(), 190);
    EXPECT_EQ(box->left(), 120);
    // Delete removes the taken item; pressing on nothing selects the global item.
    key(canvas.get(), Qt::Key_Delete);
    EXPECT_EQ(canvas->itemList().size(), 2);
    EXPECT_FALSE(canvas->itemList().contains(box));
    EXPECT_EQ(canvas->itemSelected(), canvas->itemGlobal());
    key(canvas.get(), Qt::Key_Delete);  // nothing taken any more
    EXPECT_EQ(canvas->itemList().size(), 2);
    press(canvas.get(), QPointF(20, 20));
    EXPECT_EQ(canvas->itemSelected(), canvas->itemGlobal());
    key(canvas.get(), Qt::Key_Delete);
    EXPECT_EQ(canvas->itemList().size(), 2);
}

TEST_F(ToolsTest, CursorReadoutFollowsThePointerInsideTheImage) {
    auto zoomed = makeCanvas(1000, 500, 640, 480);
    zoomed->updateData(&frame->data);
    TempCanvasItemMouse *mouse = zoomed->itemMouse();
    const struct {
        QPointF p;
        bool visible;
        int fx, fy;
    } cases[] = {
        {{501, 250}, true, 320, 240},
        {{100, 250}, false, 320, 240},
        {{170, 10}, true, 3, 9},
        {{832, 499}, true, 638, 479},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.p.x() << "," << c.p.y());
        hover(zoomed.get(), c.p);
        EXPECT_EQ(mouse->isVisible(), c.visible);
        EXPECT_EQ(mouse->mea().points[0].x, c.fx);
        EXPECT_EQ(mouse->mea().points[0].y, c.fy);
    }
    EXPECT_NEAR(mouse->avgTemp(), frame->tempAt(638, 479), 0.011);
    QHoverEvent leave(QEvent::HoverLeave, QPointF(-1, -1), QPointF(832, 499));
    zoomed->hoverLeaveEvent(&leave);
    EXPECT_FALSE(mouse->isVisible());
}

TEST_F(ToolsTest, RefusedCreationLeavesTheToolIdle) {
    while (canvas->itemList().size() <= TempCanvas::kMaxItems)
        ASSERT_NE(create(MEA_POINT, {QPoint(1, 1)}), nullptr);
    for (int t : {MEA_POINT, MEA_RECT, MEA_POLYGON}) {
        useTool(t);
        press(canvas.get(), QPointF(300, 300));
        EXPECT_EQ(canvas->toolObject(t)->pending(), nullptr) << t;
        hover(canvas.get(), QPointF(310, 310));
        release(canvas.get(), QPointF(310, 310), Qt::RightButton);
        EXPECT_EQ(canvas->tool(), t) << "nothing was drawn, the tool stays";
    }
    EXPECT_EQ(canvas->itemList().size(), TempCanvas::kMaxItems + 1);
}

TEST_F(ToolsTest, DeletingAPendingItemOrSwitchingToolsLeavesNoDanglingReference) {
    useTool(MEA_POLYGON);
    press(canvas.get(), QPointF(100, 100));
    TempCanvasItemBase *pending = canvas->toolObject(MEA_POLYGON)->pending();
    ASSERT_NE(pending, nullptr);
    canvas->item_deleteAll();
    EXPECT_EQ(canvas->toolObject(MEA_POLYGON)->pending(), nullptr);
    hover(canvas.get(), QPointF(150, 150));  // must not touch the deleted item
    press(canvas.get(), QPointF(120, 120));
    ASSERT_NE(canvas->toolObject(MEA_POLYGON)->pending(), nullptr);
    useTool(MEA_RECT);
    EXPECT_EQ(canvas->toolObject(MEA_POLYGON)->pending(), nullptr);
    EXPECT_EQ(canvas->itemList().size(), 2) << "the unfinished polygon stays as drawn";
}

}  // namespace
