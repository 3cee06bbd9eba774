// mtGetResult: the region of every shape on small hand-computed frames, object validation, alarm states.
#include <gtest/gtest.h>

#include <memory>

#include "mt_test_frames.h"

using namespace mttest;

namespace {

MtResult measure(const TestFrame &f, const MtObject &o, int expect = 0) {
    MtResult r = untouched();
    EXPECT_EQ(mtGetResult(&f.header, f.data(), &o, &r), expect);
    return r;
}

// Values 10 * y + x: each pixel tells where it is, sums tell which pixels were taken.
TestFrame coordinate_frame(int w, int h) {
    TestFrame f(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) f.at(x, y) = static_cast<int16_t>(10 * y + x);
    return f;
}

}  // namespace

TEST(MtPoint, BoxAroundThePointWithSmoothedExtremes) {
    TestFrame f(7, 7, 10);
    f.at(3, 3) = 50;   // maximum, interior: (50 + 8 * 10) / 9 = 14
    f.at(1, 5) = -20;  // minimum, interior: (-20 + 8 * 10) / 9 = 6
    const MtResult r = measure(f, point_object(3, 3, 2));
    EXPECT_EQ(r.maxX, 3);
    EXPECT_EQ(r.maxY, 3);
    EXPECT_EQ(r.minX, 1);
    EXPECT_EQ(r.minY, 5);
    EXPECT_EQ(r.maxTemp, 14.0f);
    EXPECT_EQ(r.minTemp, 6.0f);
    EXPECT_EQ(r.avgTemp, 10.0f);  // 5 x 5 box: (50 - 20 + 23 * 10) / 25 = 260 / 25 truncated
    // The neighbourhood is the frame's, not the box's: a neighbour outside the box counts.
    f.at(4, 4) = 0;
    f.at(2, 2) = 0;
    EXPECT_EQ(measure(f, point_object(3, 3, 0)).maxTemp, 12.0f);  // (50 + 6 * 10) / 9
}

TEST(MtPoint, BoxIsCutAtTheFrameEdges) {
    TestFrame f = coordinate_frame(5, 5);
    // (0, 0) with r = 2 covers columns and rows 0-2: values 0-2, 10-12, 20-22, sum 99, 9 pixels.
    const MtResult r = measure(f, point_object(0, 0, 2));
    EXPECT_EQ(r.avgTemp, 11.0f);
    EXPECT_EQ(r.minX, 0);
    EXPECT_EQ(r.minY, 0);
    EXPECT_EQ(r.maxX, 2);
    EXPECT_EQ(r.maxY, 2);
    EXPECT_EQ(r.maxTemp, 22.0f);  // (2, 2) is interior: 11..13, 21..23, 31..33 = 198 / 9
}

TEST(MtPoint, OutsideTheFrameWritesNothing) {
    TestFrame f(4, 4, 7);
    // count 0: no point is range-checked, the box simply misses the frame.
    EXPECT_TRUE(same(measure(f, point_object(9, 1, 2)), untouched()));
}

TEST(MtLine, BresenhamPathStaysOnTheMajorAxisAtTies) {
    TestFrame f = coordinate_frame(5, 3);
    // (0, 0) to (4, 2): pixels (0,0) (1,0) (2,1) (3,1) (4,2) = 0 + 1 + 12 + 13 + 24 = 50.
    const MtResult r = measure(f, object(SARVIK_MT_SHAPE_LINE, {{0, 0}, {4, 2}}));
    EXPECT_EQ(r.avgTemp, 10.0f);
    EXPECT_EQ(r.maxX, 4);
    EXPECT_EQ(r.maxY, 2);
    EXPECT_EQ(r.maxTemp, 24.0f);  // border: its own value
    EXPECT_EQ(r.minTemp, 0.0f);
}

TEST(MtLine, SteepAndBackwardLinesCoverTheirPath) {
    TestFrame f = coordinate_frame(3, 5);
    // (2, 4) to (0, 0), y-major, walking backwards: (2,4) (2,3) (1,2) (1,1) (0,0) = 42 + 32 + 21 + 11 + 0
    // = 106 -> 21. Stepping x first at the ties would give (1,3) and (0,1): 42 + 31 + 21 + 10 + 0 -> 20.
    const MtResult r = measure(f, object(SARVIK_MT_SHAPE_LINE, {{2, 4}, {0, 0}}));
    EXPECT_EQ(r.avgTemp, 21.0f);
    EXPECT_EQ(r.minX, 0);
    EXPECT_EQ(r.minY, 0);
    // A one-pixel line is that pixel.
    const MtResult one = measure(f, object(SARVIK_MT_SHAPE_LINE, {{2, 1}, {2, 1}}));
    EXPECT_EQ(one.avgTemp, 12.0f);
    EXPECT_EQ(one.maxX, 2);
    EXPECT_EQ(one.maxY, 1);
}

TEST(MtLine, EndOutsideTheFrameWritesNothing) {
    TestFrame f(4, 4, 1);
    // count 1: only the first point is checked, the second lies outside.
    EXPECT_TRUE(same(measure(f, object(SARVIK_MT_SHAPE_LINE, {{0, 0}, {4, 0}}, 1)), untouched()));
}

TEST(MtRect, FarCornerIsInside) {
    TestFrame f = coordinate_frame(5, 5);
    // (1, 1)-(2, 3): values 11 12 21 22 31 32, sum 129, 6 pixels.
    const MtResult r = measure(f, object(SARVIK_MT_SHAPE_RECT, {{1, 1}, {2, 3}}));
    EXPECT_EQ(r.avgTemp, 21.0f);
    EXPECT_EQ(r.minX, 1);
    EXPECT_EQ(r.minY, 1);
    EXPECT_EQ(r.maxX, 2);
    EXPECT_EQ(r.maxY, 3);
    EXPECT_EQ(r.minTemp, 11.0f);  // (1,1): 0..2, 10..12, 20..22 = 99 / 9
    EXPECT_EQ(r.maxTemp, 32.0f);  // (2,3): 21..23, 31..33, 41..43 = 288 / 9
}

TEST(MtRect, FarCornerCutToTheFrameAndEmptyBoxes) {
    TestFrame f = coordinate_frame(4, 3);
    // count 1 leaves (9, 9) unchecked: the box becomes (2, 1)-(3, 2): 12 13 22 23 -> 17.
    const MtResult r = measure(f, object(SARVIK_MT_SHAPE_RECT, {{2, 1}, {9, 9}}, 1));
    EXPECT_EQ(r.avgTemp, 17.0f);
    // Corners the wrong way round make an empty box.
    EXPECT_TRUE(same(measure(f, object(SARVIK_MT_SHAPE_RECT, {{3, 2}, {1, 1}})), untouched()));
}

TEST(MtEllipse, InscribedPixelsOnly) {
    TestFrame f(5, 5, 0);
    // Box (0,0)-(4,4): (k-2)^2 + (i-2)^2 <= 4, 13 pixels. The corners lie outside and must not count.
    f.at(0, 0) = 1000;
    f.at(4, 4) = -1000;
    f.at(2, 0) = 26;  // top of the circle
    const MtResult r = measure(f, object(SARVIK_MT_SHAPE_ELLIPSE, {{0, 0}, {4, 4}}));
    EXPECT_EQ(r.avgTemp, 2.0f);  // 26 / 13
    EXPECT_EQ(r.maxX, 2);
    EXPECT_EQ(r.maxY, 0);
    EXPECT_EQ(r.maxTemp, 26.0f);
    // Minimum stays at the reference, the centre.
    EXPECT_EQ(r.minX, 2);
    EXPECT_EQ(r.minY, 2);
}

TEST(MtEllipse, ThreePixelBoxIsAPlus) {
    TestFrame f(3, 3, 9);
    f.at(1, 0) = f.at(0, 1) = f.at(1, 1) = f.at(2, 1) = f.at(1, 2) = 4;
    // (2k - 2)^2 * 4 + (2i - 2)^2 * 4 <= 16: the centre and its four neighbours.
    const MtResult r = measure(f, object(SARVIK_MT_SHAPE_ELLIPSE, {{0, 0}, {2, 2}}));
    EXPECT_EQ(r.avgTemp, 4.0f);
}

TEST(MtEllipse, TwoPixelBoxIsTheBox) {
    TestFrame f = coordinate_frame(4, 4);
    // Width 2 pixels: no ellipse, the whole box (1,1)-(2,3): 11 12 21 22 31 32 -> 21.
    const MtResult r = measure(f, object(SARVIK_MT_SHAPE_ELLIPSE, {{1, 1}, {2, 3}}));
    EXPECT_EQ(r.avgTemp, 21.0f);
    EXPECT_EQ(r.minX, 1);
    EXPECT_EQ(r.minY, 1);
}

TEST(MtPolyline, JointsCountOncePerSegment) {
    TestFrame f = coordinate_frame(3, 3);
    // (0,0)-(2,0)-(2,2): 0 1 2 then 2 12 22: sum 39 over 6 pixels -> 6 (the joint counted twice).
    const MtResult r = measure(f, object(SARVIK_MT_SHAPE_POLYLINE, {{0, 0}, {2, 0}, {2, 2}}));
    EXPECT_EQ(r.avgTemp, 6.0f);
    EXPECT_EQ(r.maxX, 2);
    EXPECT_EQ(r.maxY, 2);
}

TEST(MtPolygon, SquareCoversTheHalfOpenInside) {
    TestFrame f(6, 6, 7);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) f.at(x, y) = 1;
    // Vertices (0,0) (4,0) (4,4) (0,4): the even-odd inside is columns 0-3 and rows 0-3.
    const MtResult r = measure(f, object(SARVIK_MT_SHAPE_POLYGON, {{0, 0}, {4, 0}, {4, 4}, {0, 4}}));
    EXPECT_EQ(r.avgTemp, 1.0f);
    EXPECT_EQ(r.maxTemp, 1.0f);
}

TEST(MtPolygon, EvenOddLeavesThePentagramCentreOut) {
    TestFrame f(21, 21, 0);
    f.at(10, 10) = 9000;  // centre of the star: inside twice, so outside by the even-odd rule
    f.at(10, 3) = -900;   // in the top tip
    const MtObject star = object(SARVIK_MT_SHAPE_POLYGON, {{10, 0}, {16, 20}, {0, 7}, {20, 7}, {4, 20}});
    const MtResult r = measure(f, star);
    EXPECT_EQ(r.maxTemp, 0.0f);
    EXPECT_EQ(r.minX, 10);
    EXPECT_EQ(r.minY, 3);
    EXPECT_EQ(r.minTemp, -100.0f);  // -900 / 9
}

TEST(MtValidation, RefusedObjects) {
    TestFrame f(8, 8, 1);
    MtResult r = untouched();
    // Two points make no polygon; one makes no polyline; 33 are too many.
    const MtObject two = object(SARVIK_MT_SHAPE_POLYGON, {{0, 0}, {4, 4}});
    EXPECT_EQ(mtGetResult(&f.header, f.data(), &two, &r), -1);
    const MtObject one = object(SARVIK_MT_SHAPE_POLYLINE, {{0, 0}});
    EXPECT_EQ(mtGetResult(&f.header, f.data(), &one, &r), -1);
    const MtObject many = object(SARVIK_MT_SHAPE_POLYGON, {{0, 0}, {4, 0}, {4, 4}}, 33);
    EXPECT_EQ(mtGetResult(&f.header, f.data(), &many, &r), -1);
    // Percentage outside 50-100.
    MtObject low = point_object(1, 1, 1);
    low.percent = 49;
    EXPECT_EQ(mtGetResult(&f.header, f.data(), &low, &r), -1);
    low.percent = 101;
    EXPECT_EQ(mtGetResult(&f.header, f.data(), &low, &r), -1);
    // A counted point outside the frame.
    const MtObject outside = object(SARVIK_MT_SHAPE_LINE, {{0, 0}, {8, 0}});
    EXPECT_EQ(mtGetResult(&f.header, f.data(), &outside, &r), -1);
    EXPECT_TRUE(same(r, untouched()));
    // Unknown shape after a valid check.
    MtObject six = point_object(1, 1, 1);
    six.shape = 6;
    EXPECT_EQ(mtGetResult(&f.header, f.data(), &six, &r), -2);
    EXPECT_EQ(mtGetResult(nullptr, f.data(), &six, &r), SARVIK_ERR_INVALID_ARG);
}

TEST(MtValidation, AtMostThirtyTwoPointsAreChecked) {
    TestFrame f(8, 8, 3);
    // A point object claiming 255 points: only the 32 it holds are checked (it sits in an allocation of its
    // own size, so a read past it would be caught by the address sanitizer), and all of them are inside.
    auto o = std::make_unique<MtObject>(point_object(2, 2, 1));
    o->count = 255;
    MtResult r = untouched();
    EXPECT_EQ(mtGetResult(&f.header, f.data(), o.get(), &r), 0);
    EXPECT_EQ(r.avgTemp, 3.0f);
    // The 32nd point decides too.
    o->points[31] = {8, 0};
    EXPECT_EQ(mtGetResult(&f.header, f.data(), o.get(), &r), -1);
}

TEST(MtScale, TemperaturesUseSlopeAndOffset) {
    TestFrame f(3, 1, 355, 10, -20);
    const MtResult r = measure(f, point_object(1, 0, 0));
    EXPECT_EQ(r.avgTemp, 355.0f / 10.0f - 20.0f);
    // A slope of 0 converts as 1 rather than dividing by zero.
    f.header.slope = 0;
    EXPECT_EQ(measure(f, point_object(1, 0, 0)).avgTemp, 335.0f);
}

namespace {

uint32_t alarm_of(uint8_t shape, uint8_t mode, float value, float t1, float t2, float t3) {
    TestFrame f(3, 3, static_cast<int16_t>(value * 10.0f), 10, 0);
    MtObject o = shape == SARVIK_MT_SHAPE_POINT ? point_object(1, 1, 1)
                                                : object(SARVIK_MT_SHAPE_RECT, {{0, 0}, {2, 2}});
    o.alarmMode = mode;
    o.threshold[0] = t1;
    o.threshold[1] = t2;
    o.threshold[2] = t3;
    return measure(f, o).alarm;
}

// Maximum and minimum of a rectangle differ: the frame holds lo everywhere except hi in one corner.
uint32_t alarm_of_range(uint8_t mode, float lo, float hi, float t1, float t2) {
    TestFrame f(3, 3, static_cast<int16_t>(lo * 10.0f), 10, 0);
    f.at(2, 2) = static_cast<int16_t>(hi * 10.0f);  // corner: border, its own value
    MtObject o = object(SARVIK_MT_SHAPE_RECT, {{0, 0}, {2, 2}});
    o.alarmMode = mode;
    o.threshold[0] = t1;
    o.threshold[1] = t2;
    return measure(f, o).alarm;
}

}  // namespace

TEST(MtAlarm, LevelsOnTheMaximum) {
    EXPECT_EQ(alarm_of(SARVIK_MT_SHAPE_RECT, 1, 49.9f, 50, 80, 100), 0u);
    EXPECT_EQ(alarm_of(SARVIK_MT_SHAPE_RECT, 1, 79.9f, 50, 80, 100), 1u);
    EXPECT_EQ(alarm_of(SARVIK_MT_SHAPE_RECT, 1, 80.0f, 50, 80, 100), 2u);
    EXPECT_EQ(alarm_of(SARVIK_MT_SHAPE_RECT, 1, 100.0f, 50, 80, 100), 3u);
    EXPECT_EQ(alarm_of(SARVIK_MT_SHAPE_POINT, 1, 79.9f, 50, 80, 100), 1u);
}

TEST(MtAlarm, PointModesOnTheAverage) {
    EXPECT_EQ(alarm_of(SARVIK_MT_SHAPE_POINT, 0, 99, 1, 2, 3), 0u);
    EXPECT_EQ(alarm_of(SARVIK_MT_SHAPE_POINT, 2, 20, 30, 0, 0), 1u);
    EXPECT_EQ(alarm_of(SARVIK_MT_SHAPE_POINT, 2, 30, 30, 0, 0), 0u);
    EXPECT_EQ(alarm_of(SARVIK_MT_SHAPE_POINT, 3, 25, 20, 30, 0), 1u);
    EXPECT_EQ(alarm_of(SARVIK_MT_SHAPE_POINT, 3, 20, 20, 30, 0), 0u);
    EXPECT_EQ(alarm_of(SARVIK_MT_SHAPE_POINT, 4, 25, 20, 30, 0), 0u);
    EXPECT_EQ(alarm_of(SARVIK_MT_SHAPE_POINT, 4, 30, 20, 30, 0), 1u);
    EXPECT_EQ(alarm_of(SARVIK_MT_SHAPE_POINT, 5, 25, 20, 30, 0), 1u);
    EXPECT_EQ(alarm_of(SARVIK_MT_SHAPE_POINT, 5, 31, 20, 30, 0), 0u);
    EXPECT_EQ(alarm_of(SARVIK_MT_SHAPE_POINT, 6, 25, 20, 30, 0), 0u);
}

TEST(MtAlarm, RegionModesOnMaximumAndMinimum) {
    // Mode 2 looks at the minimum.
    EXPECT_EQ(alarm_of_range(2, 10, 50, 20, 0), 1u);
    EXPECT_EQ(alarm_of_range(2, 25, 50, 20, 0), 0u);
    // Mode 3: the whole range strictly between t1 and t2; mode 4 its opposite.
    EXPECT_EQ(alarm_of_range(3, 21, 29, 20, 30), 1u);
    EXPECT_EQ(alarm_of_range(3, 19, 29, 20, 30), 0u);
    EXPECT_EQ(alarm_of_range(3, 21, 30, 20, 30), 0u);
    EXPECT_EQ(alarm_of_range(4, 21, 29, 20, 30), 0u);
    EXPECT_EQ(alarm_of_range(4, 19, 29, 20, 30), 1u);
    // Mode 5 only asks the maximum.
    EXPECT_EQ(alarm_of_range(5, 0, 29, 20, 30), 1u);
    EXPECT_EQ(alarm_of_range(5, 0, 35, 20, 30), 0u);
    EXPECT_EQ(alarm_of_range(9, 0, 25, 20, 30), 0u);
}
