// Contexts: creation limits, template loading and validation, exclusion areas, mtCheck against mtGetResult,
// the temperature table.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "mt_test_frames.h"

using namespace mttest;

namespace {

struct Context {
    MtContext *c;
    Context(int w, int h) : c(mtCreate(w, h)) {}
    ~Context() { mtFree(&c); }
};

struct Results {
    MtResult r[17];
    Results() {
        for (MtResult &x : r) x = untouched();
    }
};

MtTemplate with_point(int w, int h, uint16_t x, uint16_t y, uint16_t r) {
    MtTemplate t = empty_template(w, h);
    t.objects[0] = point_object(x, y, r);
    t.objectEnable = 1;
    return t;
}

int reload(MtContext *c, const MtTemplate &t) {
    return mtReload(c, &t);
}

}  // namespace

TEST(MtContextLimits, SizesUpTo1280By1024) {
    EXPECT_EQ(mtCreate(1281, 720), nullptr);
    EXPECT_EQ(mtCreate(640, 1025), nullptr);
    EXPECT_EQ(mtCreate(0, 10), nullptr);
    EXPECT_EQ(mtCreate(10, -1), nullptr);
    MtContext *c = mtCreate(1280, 1024);
    ASSERT_NE(c, nullptr);
    mtFree(&c);
    EXPECT_EQ(c, nullptr);
    mtFree(&c);  // already released: nothing happens
    mtFree(nullptr);
}

TEST(MtContextLimits, FreshContextMeasuresOnlyTheWholeFrame) {
    Context ctx(4, 4);
    TestFrame f(4, 4, 5);
    Results res;
    ASSERT_EQ(mtCheck(ctx.c, &f.header, f.data(), res.r), 0);
    EXPECT_EQ(res.r[0].avgTemp, 5.0f);
    EXPECT_EQ(res.r[0].alarm, 0u);
    for (int i = 1; i < 17; ++i) EXPECT_TRUE(same(res.r[i], untouched())) << i;
}

TEST(MtContextLimits, FrameOfAnotherSizeIsRefused) {
    Context ctx(4, 4);
    TestFrame f(4, 5, 5);
    Results res;
    EXPECT_EQ(mtCheck(ctx.c, &f.header, f.data(), res.r), -1);
    EXPECT_TRUE(same(res.r[0], untouched()));
    EXPECT_EQ(mtCheck(nullptr, &f.header, f.data(), res.r), SARVIK_ERR_INVALID_ARG);
}

TEST(MtReload, InvalidTemplateKeepsThePreviousOne) {
    Context ctx(6, 6);
    TestFrame f(6, 6, 0);
    f.at(1, 1) = 9;
    ASSERT_EQ(reload(ctx.c, with_point(6, 6, 1, 1, 0)), 0);
    const MtTemplate bad = with_point(6, 6, 4, 4, 4);  // r = 4
    EXPECT_EQ(mtReload(ctx.c, &bad), -2);
    Results res;
    ASSERT_EQ(mtCheck(ctx.c, &f.header, f.data(), res.r), 0);
    EXPECT_EQ(res.r[1].avgTemp, 9.0f);  // still the point at (1, 1)
    EXPECT_EQ(mtReload(ctx.c, nullptr), SARVIK_ERR_INVALID_ARG);
}

TEST(MtReload, InvalidTemplateOfAnotherSizeLeavesAnEmptyContextOfThatSize) {
    Context ctx(6, 6);
    ASSERT_EQ(reload(ctx.c, with_point(6, 6, 1, 1, 0)), 0);
    const MtTemplate bad = with_point(8, 5, 1, 1, 4);
    EXPECT_EQ(mtReload(ctx.c, &bad), -2);
    Results res;
    TestFrame old(6, 6, 1);
    EXPECT_EQ(mtCheck(ctx.c, &old.header, old.data(), res.r), -1);
    TestFrame now(8, 5, 2);
    ASSERT_EQ(mtCheck(ctx.c, &now.header, now.data(), res.r), 0);
    EXPECT_EQ(res.r[0].avgTemp, 2.0f);
    EXPECT_TRUE(same(res.r[1], untouched()));
}

TEST(MtReload, SizeNoContextMayHaveChangesNothing) {
    Context ctx(6, 6);
    ASSERT_EQ(reload(ctx.c, with_point(6, 6, 1, 1, 0)), 0);
    EXPECT_EQ(reload(ctx.c, empty_template(2000, 10)), -2);
    EXPECT_EQ(reload(ctx.c, empty_template(0, 0)), -2);
    TestFrame f(6, 6, 3);
    Results res;
    ASSERT_EQ(mtCheck(ctx.c, &f.header, f.data(), res.r), 0);
    EXPECT_EQ(res.r[1].avgTemp, 3.0f);
}

TEST(MtReload, ValidationRules) {
    Context ctx(10, 8);
    auto load = [&](const MtObject &o) {
        MtTemplate t = empty_template(10, 8);
        t.objects[5] = o;
        t.objectEnable = 1u << 5;
        return mtReload(ctx.c, &t);
    };
    EXPECT_EQ(load(point_object(9, 7, 3)), 0);
    EXPECT_EQ(load(point_object(10, 7, 0)), -2);
    EXPECT_EQ(load(object(SARVIK_MT_SHAPE_RECT, {{0, 0}, {9, 7}})), 0);
    EXPECT_EQ(load(object(SARVIK_MT_SHAPE_RECT, {{0, 0}, {10, 7}})), -2);    // far corner must be inside
    EXPECT_EQ(load(object(SARVIK_MT_SHAPE_ELLIPSE, {{3, 3}, {3, 5}})), -2);  // x0 < x1 strictly
    EXPECT_EQ(load(object(SARVIK_MT_SHAPE_POLYLINE, {{0, 0}})), -2);
    EXPECT_EQ(load(object(SARVIK_MT_SHAPE_POLYGON, {{0, 0}, {5, 5}})), -2);
    EXPECT_EQ(load(object(SARVIK_MT_SHAPE_POLYGON, {{0, 0}, {5, 5}, {0, 5}}, 33)), -2);
    EXPECT_EQ(load(object(SARVIK_MT_SHAPE_LINE, {{0, 0}, {9, 8}})), -2);
    EXPECT_EQ(load(object(6, {{0, 0}})), -2);
    MtObject half = point_object(1, 1, 1);
    half.percent = 49;
    EXPECT_EQ(load(half), -2);
    // A disabled object is not checked.
    MtTemplate t = empty_template(10, 8);
    t.objects[0] = object(6, {});
    EXPECT_EQ(mtReload(ctx.c, &t), 0);
    // Nor an area whose bit is clear; an enabled one needs all four corners inside.
    t.areas[2].corners[3] = {10, 0};
    EXPECT_EQ(mtReload(ctx.c, &t), 0);
    t.areaEnable = 1u << 2;
    EXPECT_EQ(mtReload(ctx.c, &t), -2);
}

TEST(MtExclusion, AreaRemovesItsInsideAndOutline) {
    Context ctx(7, 7);
    TestFrame f(7, 7, 2);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x)
            if (std::abs(x - 3) + std::abs(y - 3) <= 3) f.at(x, y) = 9;
    MtTemplate t = empty_template(7, 7);
    t.areas[0].corners[0] = {3, 0};
    t.areas[0].corners[1] = {6, 3};
    t.areas[0].corners[2] = {3, 6};
    t.areas[0].corners[3] = {0, 3};
    t.areaEnable = 1;
    ASSERT_EQ(mtReload(ctx.c, &t), 0);
    Results res;
    ASSERT_EQ(mtCheck(ctx.c, &f.header, f.data(), res.r), 0);
    // Exactly the diamond is gone: every measured pixel is 2.
    EXPECT_EQ(res.r[0].maxTemp, 2.0f);
    EXPECT_EQ(res.r[0].avgTemp, 2.0f);
}

TEST(MtExclusion, EverythingExcludedReportsTheReferencePixel) {
    Context ctx(4, 4);
    TestFrame f(4, 4, 6);
    f.at(0, 0) = 1;
    MtTemplate t = empty_template(4, 4);
    t.areas[7].corners[0] = {0, 0};
    t.areas[7].corners[1] = {3, 0};
    t.areas[7].corners[2] = {3, 3};
    t.areas[7].corners[3] = {0, 3};
    t.areaEnable = 1u << 7;
    ASSERT_EQ(mtReload(ctx.c, &t), 0);
    Results res;
    ASSERT_EQ(mtCheck(ctx.c, &f.header, f.data(), res.r), 0);
    EXPECT_EQ(res.r[0].avgTemp, 1.0f);
    EXPECT_EQ(res.r[0].maxTemp, 1.0f);
    EXPECT_EQ(res.r[0].minTemp, 1.0f);
}

TEST(MtExclusion, OnlyTheEightAreaBitsCount) {
    Context ctx(4, 4);
    TestFrame f(4, 4, 6);
    MtTemplate t = empty_template(4, 4);
    t.areaEnable = 0xFFFFFF00u;  // no area among them
    t.objectEnable = 0xFFFF0000u;
    ASSERT_EQ(mtReload(ctx.c, &t), 0);
    Results res;
    ASSERT_EQ(mtCheck(ctx.c, &f.header, f.data(), res.r), 0);
    EXPECT_EQ(res.r[0].avgTemp, 6.0f);
    for (int i = 1; i < 17; ++i) EXPECT_TRUE(same(res.r[i], untouched()));
}

// Lines, rectangles and ellipses inside a template are measured as their own shapes, like mtGetResult does:
// every enabled object gives the same bytes from both calls.
TEST(MtCheck, EveryShapeAgreesWithGetResult) {
    const int w = 40, h = 30;
    Context ctx(w, h);
    std::mt19937 rng(7);
    TestFrame f(w, h, 0, 10, -5);
    for (int16_t &v : f.px) v = static_cast<int16_t>(rng() % 4001) - 2000;
    auto rx = [&] { return static_cast<uint16_t>(rng() % w); };
    auto ry = [&] { return static_cast<uint16_t>(rng() % h); };
    for (int round = 0; round < 40; ++round) {
        MtTemplate t = empty_template(w, h);
        for (int i = 0; i < 16; ++i) {
            MtObject &o = t.objects[i];
            const uint8_t shape = static_cast<uint8_t>(i % 6);
            if (shape == SARVIK_MT_SHAPE_POINT) {
                o = point_object(rx(), ry(), static_cast<uint16_t>(rng() % 4));
            } else if (shape == SARVIK_MT_SHAPE_RECT || shape == SARVIK_MT_SHAPE_ELLIPSE) {
                const uint16_t x0 = static_cast<uint16_t>(rng() % (w - 1)),
                               y0 = static_cast<uint16_t>(rng() % (h - 1));
                const uint16_t x1 = static_cast<uint16_t>(x0 + 1 + rng() % (w - 1 - x0));
                const uint16_t y1 = static_cast<uint16_t>(y0 + 1 + rng() % (h - 1 - y0));
                o = object(shape, {{x0, y0}, {x1, y1}});
            } else {
                o = object(shape, {});
                o.count = static_cast<uint8_t>(shape == SARVIK_MT_SHAPE_LINE ? 2 : 3 + rng() % 6);
                for (int k = 0; k < o.count; ++k) o.points[k] = {rx(), ry()};
            }
            o.alarmMode = static_cast<uint8_t>(rng() % 6);
            o.threshold[0] = -100.0f;
            o.threshold[1] = 0.0f;
            o.threshold[2] = 100.0f;
        }
        t.objectEnable = 0xFFFF;
        ASSERT_EQ(mtReload(ctx.c, &t), 0);
        Results res;
        ASSERT_EQ(mtCheck(ctx.c, &f.header, f.data(), res.r), 0);
        for (int i = 0; i < 16; ++i) {
            MtResult direct = untouched();
            ASSERT_EQ(mtGetResult(&f.header, f.data(), &t.objects[i], &direct), 0);
            EXPECT_TRUE(same(direct, res.r[1 + i]))
                << "round " << round << " object " << i << " shape " << int(t.objects[i].shape);
        }
    }
}

// A point's unused words may hold anything: loading checks (x, y) and r only, while mtGetResult checks
// every counted point. Such an object is measured by mtCheck and refused by mtGetResult (found by fuzzing).
TEST(MtCheck, PointWithCountedGarbageLoadsButGetResultRefusesIt) {
    Context ctx(64, 48);
    MtTemplate t = empty_template(64, 48);
    t.objects[3] = object(SARVIK_MT_SHAPE_POINT, {{0, 0}, {0, 20480}, {10, 10}}, 240);
    t.objectEnable = 1u << 3;
    ASSERT_EQ(mtReload(ctx.c, &t), 0);
    TestFrame f(64, 48, 8);
    Results res;
    ASSERT_EQ(mtCheck(ctx.c, &f.header, f.data(), res.r), 0);
    EXPECT_EQ(res.r[4].avgTemp, 8.0f);
    MtResult direct = untouched();
    EXPECT_EQ(mtGetResult(&f.header, f.data(), &t.objects[3], &direct), -1);
}

TEST(MtCheck, LineLeavingTheFrameIsLeftUntouched) {
    Context ctx(6, 6);
    MtTemplate t = empty_template(6, 6);
    t.objects[3] = object(SARVIK_MT_SHAPE_LINE, {{1, 1}, {6, 1}}, 1);  // only the first point is counted
    t.objectEnable = 1u << 3;
    ASSERT_EQ(mtReload(ctx.c, &t), 0);
    TestFrame f(6, 6, 4);
    Results res;
    ASSERT_EQ(mtCheck(ctx.c, &f.header, f.data(), res.r), 0);
    EXPECT_TRUE(same(res.r[4], untouched()));
}

TEST(MtCheck, WholeFrameAlarm) {
    Context ctx(3, 3);
    MtTemplate t = empty_template(3, 3);
    t.frameObject.shape = SARVIK_MT_SHAPE_RECT;
    t.frameObject.alarmMode = SARVIK_MT_ALARM_LEVELS;
    t.frameObject.threshold[0] = 50;
    t.frameObject.threshold[1] = 80;
    t.frameObject.threshold[2] = 100;
    ASSERT_EQ(mtReload(ctx.c, &t), 0);
    TestFrame f(3, 3, 0, 10, 0);
    f.at(2, 0) = 1000;
    Results res;
    ASSERT_EQ(mtCheck(ctx.c, &f.header, f.data(), res.r), 0);
    EXPECT_EQ(res.r[0].maxTemp, 100.0f);
    EXPECT_EQ(res.r[0].alarm, 3u);
    f.at(2, 0) = 799;
    ASSERT_EQ(mtCheck(ctx.c, &f.header, f.data(), res.r), 0);
    EXPECT_EQ(res.r[0].alarm, 1u);
}

TEST(MtTable, FollowsTheFrameScale) {
    Context ctx(2, 2);
    TestFrame f(2, 2, 600, 10, 0);
    Results res;
    ASSERT_EQ(mtCheck(ctx.c, &f.header, f.data(), res.r), 0);
    EXPECT_EQ(res.r[0].avgTemp, 60.0f);
    f.header.slope = 20;
    f.header.offset = -3;
    ASSERT_EQ(mtCheck(ctx.c, &f.header, f.data(), res.r), 0);
    EXPECT_EQ(res.r[0].avgTemp, 27.0f);
    // Slope 0 has no scale of its own: the last one stays, offset included.
    f.header.slope = 0;
    f.header.offset = 50;
    ASSERT_EQ(mtCheck(ctx.c, &f.header, f.data(), res.r), 0);
    EXPECT_EQ(res.r[0].avgTemp, 27.0f);
}

TEST(MtTable, SlopeZeroBeforeAnyScaleConvertsAsOne) {
    Context ctx(2, 2);
    TestFrame f(2, 2, 600, 0, 0);
    Results res;
    ASSERT_EQ(mtCheck(ctx.c, &f.header, f.data(), res.r), 0);
    EXPECT_EQ(res.r[0].avgTemp, 600.0f);
}

TEST(MtTable, EveryRawValueConvertsLikeTheDirectFormula) {
    Context ctx(1, 2);
    TestFrame f(1, 2, 0, 7, -40);  // 1 x 2: both pixels on the border, no smoothing
    Results res;
    for (int raw = -32768; raw <= 32767; raw += 97) {
        f.px[0] = f.px[1] = static_cast<int16_t>(raw);
        ASSERT_EQ(mtCheck(ctx.c, &f.header, f.data(), res.r), 0);
        ASSERT_EQ(res.r[0].maxTemp, static_cast<float>(raw) / 7.0f - 40.0f) << raw;
    }
}
