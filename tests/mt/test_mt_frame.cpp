// mtGetResult_GMO: whole-frame maximum, minimum, average and their positions, as the preview fills them.
#include <gtest/gtest.h>

#include "mt_test_frames.h"

using namespace mttest;

namespace {

MtResult gmo(const TestFrame &f) {
    MtResult r = untouched();
    EXPECT_EQ(mtGetResult_GMO(&f.header, f.data(), &r), 0);
    return r;
}

}  // namespace

TEST(MtWholeFrame, ExtremesAveragesAndPositions) {
    TestFrame f(4, 3, 10);
    f.at(2, 1) = 100;  // interior maximum: (100 + 8 * 10) / 9 = 20
    f.at(0, 2) = -5;   // border minimum: its own value
    const MtResult r = gmo(f);
    EXPECT_EQ(r.maxX, 2);
    EXPECT_EQ(r.maxY, 1);
    EXPECT_EQ(r.minX, 0);
    EXPECT_EQ(r.minY, 2);
    EXPECT_EQ(r.maxTemp, 20.0f);
    EXPECT_EQ(r.minTemp, -5.0f);
    EXPECT_EQ(r.avgTemp, 16.0f);  // (100 - 5 + 100) / 12 = 195 / 12
    // The alarm state is not the whole-frame measurement's business.
    EXPECT_EQ(r.alarm, untouched().alarm);
}

TEST(MtWholeFrame, MaximumOnTheFirstRowKeepsItsOwnValue) {
    TestFrame f(6, 4, 0);
    f.at(3, 0) = 90;
    const MtResult r = gmo(f);
    EXPECT_EQ(r.maxX, 3);
    EXPECT_EQ(r.maxY, 0);
    EXPECT_EQ(r.maxTemp, 90.0f);
    // The same value one row down is interior and is smoothed.
    f.at(3, 0) = 0;
    f.at(3, 1) = 90;
    EXPECT_EQ(gmo(f).maxTemp, 10.0f);
}

TEST(MtWholeFrame, FirstOccurrenceWins) {
    TestFrame f(5, 4, 1);
    f.at(4, 1) = 7;
    f.at(1, 2) = 7;  // later in scan order although further left
    f.at(3, 0) = -2;
    f.at(0, 3) = -2;
    const MtResult r = gmo(f);
    EXPECT_EQ(r.maxX, 4);
    EXPECT_EQ(r.maxY, 1);
    EXPECT_EQ(r.minX, 3);
    EXPECT_EQ(r.minY, 0);
    // A uniform frame keeps both at the reference pixel 0.
    const MtResult u = gmo(TestFrame(5, 4, 3));
    EXPECT_EQ(u.maxX + u.maxY + u.minX + u.minY, 0);
}

TEST(MtWholeFrame, NegativeMeansTruncateTowardZero) {
    TestFrame f(3, 3, -11);
    f.at(1, 1) = -12;
    const MtResult r = gmo(f);
    EXPECT_EQ(r.minX, 1);
    EXPECT_EQ(r.minY, 1);
    EXPECT_EQ(r.minTemp, -11.0f);  // -100 / 9, not -12
    EXPECT_EQ(r.avgTemp, -11.0f);
    TestFrame two(2, 1, -1);
    two.at(1, 0) = -2;
    EXPECT_EQ(gmo(two).avgTemp, -1.0f);  // -3 / 2
}

TEST(MtWholeFrame, ScaleOfTheHeader) {
    TestFrame f(2, 2, 2731, 10, -273);
    EXPECT_EQ(gmo(f).avgTemp, 2731.0f / 10.0f - 273.0f);
    f.header.slope = 0;  // no scale: converted as slope 1
    EXPECT_EQ(gmo(f).avgTemp, 2731.0f - 273.0f);
}

TEST(MtWholeFrame, LargeFramesSumWithoutOverflow) {
    TestFrame hot(1280, 1024, 32767);
    EXPECT_EQ(gmo(hot).avgTemp, 32767.0f);
    TestFrame cold(1280, 1024, -32768);
    EXPECT_EQ(gmo(cold).avgTemp, -32768.0f);
    // One pixel above the rest at the very end, one below in the middle.
    TestFrame f(1280, 1024, 500);
    f.at(1279, 1023) = 501;
    f.at(640, 512) = 0;
    const MtResult r = gmo(f);
    EXPECT_EQ(r.maxX, 1279);
    EXPECT_EQ(r.maxY, 1023);
    EXPECT_EQ(r.minX, 640);
    EXPECT_EQ(r.minY, 512);
    EXPECT_EQ(r.minTemp, 444.0f);  // 4000 / 9
    EXPECT_EQ(r.avgTemp, 499.0f);  // (1310720 * 500 - 499) / 1310720
}

TEST(MtWholeFrame, OddSizesReachEveryPixel) {
    // 7 x 3: fewer than a vector's worth per row; the extremes sit in the last pixels.
    TestFrame f(7, 3, 0);
    f.at(6, 2) = 9;
    f.at(5, 2) = -9;
    const MtResult r = gmo(f);
    EXPECT_EQ(r.maxX, 6);
    EXPECT_EQ(r.minX, 5);
    EXPECT_EQ(r.minY, 2);
    EXPECT_EQ(r.avgTemp, 0.0f);
}

TEST(MtWholeFrame, EmptyFrameAndMissingArguments) {
    TestFrame f(4, 4, 1);
    MtResult r = untouched();
    f.header.width = 0;
    EXPECT_EQ(mtGetResult_GMO(&f.header, f.data(), &r), -1);
    f.header.width = 4;
    f.header.height = 0;
    EXPECT_EQ(mtGetResult_GMO(&f.header, f.data(), &r), -1);
    EXPECT_TRUE(same(r, untouched()));
    EXPECT_EQ(mtGetResult_GMO(&f.header, nullptr, &r), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(mtGetResult_GMO(&f.header, f.data(), nullptr), SARVIK_ERR_INVALID_ARG);
}
