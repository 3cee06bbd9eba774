// The span kernel every region row goes through: the SSE2 version must match the pixel-by-pixel reference
// bit for bit, masked or not, at every length and offset, with extreme values and ties.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

#include "mt_engine.h"

using namespace sarvik::mt;

namespace {

Stats begun(const std::vector<int16_t> &px, size_t ref) {
    Stats s;
    const Frame f{px.data(), static_cast<int>(px.size()), 1};
    stats_begin(s, f, ref);
    return s;
}

void expect_same(const Stats &a, const Stats &b, const char *what) {
    EXPECT_EQ(a.maxRaw, b.maxRaw) << what;
    EXPECT_EQ(a.minRaw, b.minRaw) << what;
    EXPECT_EQ(a.maxIndex, b.maxIndex) << what;
    EXPECT_EQ(a.minIndex, b.minIndex) << what;
    EXPECT_EQ(a.sum, b.sum) << what;
    EXPECT_EQ(a.count, b.count) << what;
    EXPECT_EQ(a.refRaw, b.refRaw) << what;
}

// Both kernels on the same span, plain and masked, from the same starting statistics.
void compare(const std::vector<int16_t> &px, const std::vector<uint8_t> &mask, size_t begin, size_t end,
             size_t ref = 0) {
    Stats ref_plain = begun(px, ref), fast_plain = begun(px, ref);
    span_stats_scalar(px.data(), nullptr, begin, end, ref_plain);
    span_stats_sse2(px.data(), nullptr, begin, end, fast_plain);
    expect_same(ref_plain, fast_plain, "plain");
    Stats ref_mask = begun(px, ref), fast_mask = begun(px, ref);
    span_stats_scalar(px.data(), mask.data(), begin, end, ref_mask);
    span_stats_sse2(px.data(), mask.data(), begin, end, fast_mask);
    expect_same(ref_mask, fast_mask, "masked");
}

}  // namespace

TEST(MtSpanKernels, RandomSpansOfEveryLengthAndOffset) {
    std::mt19937 rng(11);
    for (size_t n = 1; n < 70; ++n) {
        for (int round = 0; round < 20; ++round) {
            std::vector<int16_t> px(n);
            std::vector<uint8_t> mask(n);
            // Narrow value ranges make ties, so first-occurrence positions are really compared.
            const int span = round % 2 ? 5 : 65536;
            for (int16_t &v : px) v = static_cast<int16_t>(static_cast<int>(rng() % span) - span / 2);
            // Mask bytes other than 0 and 1 do not count as measured.
            for (uint8_t &m : mask) m = static_cast<uint8_t>(rng() % 3);
            const size_t begin = rng() % n, end = begin + rng() % (n - begin + 1);
            compare(px, mask, 0, n);
            compare(px, mask, begin, end, rng() % n);
        }
    }
}

TEST(MtSpanKernels, ExtremesAcrossManyBlocks) {
    const size_t n = 1280 * 1024 + 5;
    std::vector<int16_t> px(n, 32767);
    std::vector<uint8_t> mask(n, 1);
    compare(px, mask, 0, n);
    std::fill(px.begin(), px.end(), -32768);
    compare(px, mask, 0, n);
    // Extremes late in the frame, repeated in later blocks; an excluded copy earlier on.
    std::fill(px.begin(), px.end(), 100);
    px[n - 1] = 32767;
    px[n / 2] = -32768;
    px[n / 2 + 5000] = -32768;
    px[700000] = 500;
    px[900000] = 500;
    mask[700000] = 0;
    compare(px, mask, 0, n);
    compare(px, mask, 3, n - 3);
    Stats s = begun(px, 0);
    span_stats_sse2(px.data(), mask.data(), 0, n, s);
    EXPECT_EQ(s.minIndex, n / 2);
    // Every pixel excluded: the reference stays.
    std::fill(mask.begin(), mask.end(), 0);
    compare(px, mask, 0, n);
    s = begun(px, 0);
    span_stats_sse2(px.data(), mask.data(), 0, n, s);
    EXPECT_EQ(s.count, 0);
    EXPECT_EQ(s.maxIndex, 0u);
    EXPECT_EQ(s.minIndex, 0u);
}

TEST(MtSpanKernels, ReferenceStaysOnTies) {
    // The reference is pixel 3 (a region need not contain it): equal values elsewhere never replace it.
    std::vector<int16_t> px = {1, 2, 4, 4, 0, 0, 4, 0, 0, 0, 0, 0};
    std::vector<uint8_t> mask(px.size(), 1);
    mask[3] = 0;
    Stats ref = begun(px, 3), fast = begun(px, 3);
    span_stats_scalar(px.data(), mask.data(), 0, px.size(), ref);
    span_stats_sse2(px.data(), mask.data(), 0, px.size(), fast);
    expect_same(ref, fast, "ties");
    EXPECT_EQ(fast.maxIndex, 3u);
    EXPECT_EQ(fast.minIndex, 4u);
}

TEST(MtSpanKernels, SpansAccumulateLikeOneScan) {
    // A box measured row by row must equal one pixel-by-pixel scan of the same pixels in the same order.
    std::mt19937 rng(3);
    std::vector<int16_t> px(40 * 30);
    for (int16_t &v : px) v = static_cast<int16_t>(rng() % 9);
    Stats rows = begun(px, 5 * 40 + 7), one = rows;
    for (size_t y = 5; y < 20; ++y) span_stats_sse2(px.data(), nullptr, y * 40 + 7, y * 40 + 33, rows);
    for (size_t y = 5; y < 20; ++y)
        for (size_t x = 7; x < 33; ++x) stats_add(one, px.data(), y * 40 + x);
    expect_same(one, rows, "rows");
}

TEST(MtSpanKernels, ScalarSwitchIsHonouredAtStartUp) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("SARVIK_FORCE_SCALAR", "1", 1);
            std::exit(fast_kernels_selected() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            setenv("SARVIK_FORCE_SCALAR", "0", 1);
            std::exit(fast_kernels_selected() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
