// The adaptive plateau stretch against tables worked out by hand.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "stretch_context.h"
#include "stretch_test_util.h"

using namespace stretchtest;

namespace {

// A 5 x 4 frame with the given counts of the given values (in this order, row by row).
std::vector<int16_t> frame_of(const std::vector<std::pair<int, int>> &counts) {
    std::vector<int16_t> out;
    for (auto [value, count] : counts) out.insert(out.end(), count, static_cast<int16_t>(value));
    return out;
}

std::map<int, int> grays(StretchContext *c, const std::vector<int16_t> &data, const _DataFrameHeader &h) {
    std::vector<uint8_t> gray(data.size());
    EXPECT_EQ(strTemp2Gray(c, data.data(), &h, gray.data()), 0);
    std::map<int, int> out;
    for (size_t i = 0; i < data.size(); ++i) {
        auto [it, fresh] = out.emplace(data[i], gray[i]);
        EXPECT_EQ(it->second, gray[i]) << "one value, one gray level";
    }
    return out;
}

// Counts 2, 5, 3, 6, 4 of 0, 10, 20, 30, 40 at slope 10: N = 20, T = 2, G = 20, mean 22, low 0, high 40.
const std::vector<std::pair<int, int>> kSmall = {{0, 2}, {10, 5}, {20, 3}, {30, 6}, {40, 4}};

std::vector<std::pair<int, int>> scaled(int k) {
    auto out = kSmall;
    for (auto &p : out) p.first *= k;
    return out;
}

}  // namespace

TEST(AdaptiveStretch, UniformFrameRendersGray85) {
    Context c = make_context();
    const _DataFrameHeader h = header(64, 48, 100, 0);
    std::vector<int16_t> data(64 * 48, 2512);
    std::vector<uint8_t> gray(data.size(), 0);
    ASSERT_EQ(strTemp2Gray(c.get(), data.data(), &h, gray.data()), 0);
    for (uint8_t g : gray) ASSERT_EQ(g, 85);
}

TEST(AdaptiveStretch, HandComputedTable) {
    // M = 22 + 10 / 2 = 27. Inner peaks 5 and 6: L = 11 x (2.0 x 0.25) / 2 = 2.75 -> 2.
    // Clipped to [2, 2]: F = 10, cumulative(27) = 6, index 6 x 255 / 10 - 127 = 26, U = 2 / 10^0.52 -> T = 2.
    // H = 85 - 20 x 27 / 10 = 31; K2 = 13 x 20 / 10 + 85 = 111.
    // Lower: C = 2, 4, 6 of 6 -> 31 + 54 x C / 6 = 49, 67, 85. Upper: D = 2, 4 of 4 -> 85 + 26 x D / 4 = 98,
    // 111.
    Context c = make_context();
    const _DataFrameHeader h = header(5, 4, 10);
    const auto g = grays(c.get(), frame_of(kSmall), h);
    EXPECT_EQ(g, (std::map<int, int>{{0, 49}, {10, 67}, {20, 85}, {30, 98}, {40, 111}}));
    EXPECT_EQ(c->stats.mean, 22);
    EXPECT_EQ(c->stats.low, 0);
    EXPECT_EQ(c->stats.high, 40);
    EXPECT_EQ(c->prevPlateau, 2);
    EXPECT_EQ(c->prevLow, 31);
    EXPECT_EQ(c->prevHigh, 111);
}

TEST(AdaptiveStretch, SmoothingFollowsThePreviousFrame) {
    // Second frame: the same counts at 0, 20, 40, 60, 80. Alone: mean 45, M = 50, H = 85 - 100 -> 0,
    // K2 = 30 x 2 + 85 = 145. After the first frame: H = (0 + 7 x 31) >> 3 = 27, K2 = (145 + 7 x 111) >> 3 =
    // 115.
    const _DataFrameHeader h = header(5, 4, 10);
    Context fresh = make_context();
    EXPECT_EQ(grays(fresh.get(), frame_of(scaled(2)), h),
              (std::map<int, int>{{0, 28}, {20, 56}, {40, 85}, {60, 115}, {80, 145}}));

    Context c = make_context();
    grays(c.get(), frame_of(kSmall), h);
    EXPECT_EQ(grays(c.get(), frame_of(scaled(2)), h),
              (std::map<int, int>{{0, 46}, {20, 65}, {40, 85}, {60, 100}, {80, 115}}));
    EXPECT_EQ(c->prevLow, 27);
    EXPECT_EQ(c->prevHigh, 115);

    // Without smoothing the second frame stands alone.
    Context off = make_context();
    _strech_control ctl = control(SARVIK_STRECH_SMOOTHING);
    strSetCtl(off.get(), &ctl);
    grays(off.get(), frame_of(kSmall), h);
    EXPECT_EQ(grays(off.get(), frame_of(scaled(2)), h),
              (std::map<int, int>{{0, 28}, {20, 56}, {40, 85}, {60, 115}, {80, 145}}));
    EXPECT_EQ(off->prevHigh, 0);
}

TEST(AdaptiveStretch, HighLevelClampedTo255) {
    // Values 0..400: mean 225, M = 230, K2 = 170 x 20 / 10 + 85 = 425 -> 255 (unclamped, 400 would wrap to
    // 169); H = 85 - 460 -> 0.
    Context c = make_context();
    const _DataFrameHeader h = header(5, 4, 10);
    EXPECT_EQ(grays(c.get(), frame_of(scaled(10)), h),
              (std::map<int, int>{{0, 28}, {100, 56}, {200, 85}, {300, 170}, {400, 255}}));
}

TEST(AdaptiveStretch, ManualWindowClearingEverythingAboveTheMeanStaysInTheGainTable) {
    // The window 2.5 deg C .. clears 30 and 40; the gain-table index 6 x 255 / 6 - 127 = 128 is clamped to
    // 127. Above M nothing is left, so that part is 85; below it the table is as without the window.
    Context c = make_context();
    _strech_control ctl =
        control(SARVIK_STRECH_MAN_ENABLE | SARVIK_STRECH_MAN_TEMP0 | SARVIK_STRECH_MAN_TEMP1);
    ctl.man_enable = 1;
    ctl.man_temp0 = -1000;
    ctl.man_temp1 = 25;
    strSetCtl(c.get(), &ctl);
    const _DataFrameHeader h = header(5, 4, 10);
    EXPECT_EQ(grays(c.get(), frame_of(kSmall), h),
              (std::map<int, int>{{0, 49}, {10, 67}, {20, 85}, {30, 85}, {40, 85}}));
}

TEST(AdaptiveStretch, ManualWindowFarOutsideTheSampleRangeIsClamped) {
    // -3276.8 and 3276.7 deg C at slope 100 lie far outside the samples: converted, then clamped, they clear
    // every count, and the whole frame maps to 85.
    Context c = make_context();
    _strech_control ctl =
        control(SARVIK_STRECH_MAN_ENABLE | SARVIK_STRECH_MAN_TEMP0 | SARVIK_STRECH_MAN_TEMP1);
    ctl.man_enable = 1;
    ctl.man_temp0 = 32767;
    ctl.man_temp1 = -32768;
    strSetCtl(c.get(), &ctl);
    const _DataFrameHeader h = header(5, 4, 100, -300);
    const auto g = grays(c.get(), frame_of(kSmall), h);
    for (auto [value, level] : g) EXPECT_EQ(level, 85) << value;
}

TEST(AdaptiveStretch, SlopeZeroCountsAsTwenty) {
    // With s = 20: M = 22 + 10 = 32, H = 85 - 20 x 32 / 10 = 21, K2 = 8 x 2 + 85 = 101; cumulative(32)
    // = 8 of 10: index 77, U = T. Lower C = 2, 4, 6, 8 of 8: 21 + 64 C / 8 = 37, 53, 69, 85; upper 40 -> 101.
    Context c = make_context();
    const _DataFrameHeader h = header(5, 4, 0);
    EXPECT_EQ(grays(c.get(), frame_of(kSmall), h),
              (std::map<int, int>{{0, 37}, {10, 53}, {20, 69}, {30, 85}, {40, 101}}));
}

TEST(AdaptiveStretch, HistogramIsClearAfterEveryFrame) {
    Context c = make_context();
    const _DataFrameHeader h = header(80, 60, 10);
    const auto data = scene(80, 60, 10);
    std::vector<uint8_t> gray(data.size());
    _strech_control ctl = control(SARVIK_STRECH_MAN_ENABLE);
    ctl.man_enable = 1;
    strSetCtl(c.get(), &ctl);
    strTemp2Gray(c.get(), data.data(), &h, gray.data());
    for (uint32_t count : c->hist) ASSERT_EQ(count, 0u);
}
