// NETD measurement through the public header: configuration ranges, figures worked out by hand on small
// frames, the computation interval, the ring, the scaling, and frames large enough to overflow 64-bit sums.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <vector>

#include "SarvikSDK.h"

namespace {

constexpr int64_t kSecond = 10000000;  // 100-ns ticks

NetdConfig config(int w, int h, int frames, int intervalMs) {
    NetdConfig c;
    std::memset(&c, 0, sizeof c);
    c.width = uint16_t(w);
    c.height = uint16_t(h);
    c.frameCount = uint16_t(frames);
    c.calcInterval = uint16_t(intervalMs);
    return c;
}

_DataFrameHeader header(int w, int h, int64_t stamp, int kind = SARVIK_DATA_KIND_RAW, int slope = 100) {
    _DataFrameHeader hd;
    std::memset(&hd, 0, sizeof hd);
    hd.width = uint16_t(w);
    hd.height = uint16_t(h);
    hd.dataKind = uint8_t(kind);
    hd.slope = uint16_t(slope);
    hd.timestamp = stamp;
    return hd;
}

struct Netd {
    void *h = NETD_Create();
    float out[2] = {-1.0f, -1.0f};
    ~Netd() { NETD_Free(&h); }
    int feed(const std::vector<int16_t> &samples, const _DataFrameHeader &hd) {
        return NETD_Execute(h, &hd, samples.data(), out);
    }
};

}  // namespace

// ---- Configuration ------------------------------------------------------------------------------------

TEST(NetdConfig, RangesAreChecked) {
    Netd n;
    ASSERT_NE(n.h, nullptr);
    for (NetdConfig bad : {config(0, 4, 10, 1000), config(4, 0, 10, 1000), config(4, 4, 9, 1000),
                           config(4, 4, 101, 1000), config(4, 4, 10, 999), config(4, 4, 10, 10001)}) {
        NetdConfig c = bad;
        EXPECT_EQ(NETD_SetConfig(n.h, &c), SARVIK_ERR_INVALID_ARG);
    }
    for (NetdConfig ok : {config(4, 4, 10, 1000), config(4, 4, 100, 10000), config(1, 1, 50, 5000)}) {
        NetdConfig c = ok;
        EXPECT_EQ(NETD_SetConfig(n.h, &c), 0);
    }
    NetdConfig c = config(4, 4, 10, 1000);
    EXPECT_EQ(NETD_SetConfig(nullptr, &c), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(NETD_SetConfig(n.h, nullptr), SARVIK_ERR_INVALID_ARG);
}

TEST(NetdConfig, UnconfiguredRefusesEveryFrame) {
    Netd n;
    std::vector<int16_t> s(4, 1);
    EXPECT_EQ(n.feed(s, header(2, 2, 5 * kSecond)), SARVIK_ERR_STATE);
    EXPECT_EQ(n.feed(s, header(0, 0, 5 * kSecond)), SARVIK_ERR_STATE);  // matches the zero configuration
    EXPECT_EQ(n.out[0], -1.0f);
    const _DataFrameHeader hd = header(2, 2, 0);
    EXPECT_EQ(NETD_Execute(nullptr, &hd, s.data(), n.out), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(NETD_Execute(n.h, nullptr, s.data(), n.out), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(NETD_Execute(n.h, &hd, nullptr, n.out), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(NETD_Execute(n.h, &hd, s.data(), nullptr), SARVIK_ERR_INVALID_ARG);
    NETD_Free(&n.h);
    EXPECT_EQ(n.h, nullptr);
    NETD_Free(&n.h);  // null is ignored
    NETD_Free(nullptr);
}

// ---- Figures by hand ----------------------------------------------------------------------------------

// 2 x 2 frame 100 200 300 400 and nine zero slots (window 10): each pixel's value is
// sqrt(9 x^2 x 10000 / 100) = 30 x, so NETD = 30 x 1000 / (4 x 100) = 75, SSTD = sqrt((4 x 300000 -
// 1000^2) / 16) = sqrt(12500); a temperature frame of slope 100 scales both by 1000 / 100 = 10.
TEST(NetdFigures, FirstFrameComputesAtOnceAgainstNineZeroFrames) {
    Netd n;
    NetdConfig c = config(2, 2, 10, 1000);
    ASSERT_EQ(NETD_SetConfig(n.h, &c), 0);
    ASSERT_EQ(n.feed({100, 200, 300, 400}, header(2, 2, 2 * kSecond, SARVIK_DATA_KIND_TEMPERATURE, 100)), 0);
    EXPECT_EQ(n.out[0], 750.0f);
    EXPECT_EQ(n.out[1], float(std::sqrt(12500.0) * 10));
}

// One pixel seen as 1 then 2 (window 10): S1 = 3, S2 = 5, e = 50 - 9 = 41, from the table:
// floor(sqrt(floor(41 x 10000 / 100))) = floor(sqrt(4100)) = 64 -> NETD 0.64 in sample units.
TEST(NetdFigures, SmallVarianceFromTheTableTruncated) {
    Netd n;
    NetdConfig c = config(1, 1, 10, 1000);
    ASSERT_EQ(NETD_SetConfig(n.h, &c), 0);
    // A first frame stamped within the interval of 0 does not compute: the figures stay 0.
    ASSERT_EQ(n.feed({1}, header(1, 1, 0)), 0);
    EXPECT_EQ(n.out[0], 0.0f);
    EXPECT_EQ(n.out[1], 0.0f);
    ASSERT_EQ(n.feed({2}, header(1, 1, kSecond + 1)), 0);
    EXPECT_EQ(n.out[0], float(64 / 100.0));
    EXPECT_EQ(n.out[1], 0.0f);  // one pixel has no spatial spread
}

// Two pixels: (100, 101) over time (e = 10 x 20201 - 201^2 = 161609 -> floor(sqrt(16160900)) = 4020) and
// (-300, -300) (e = 10 x 180000 - 360000 = 1440000 -> sqrt(144000000) = 12000); NETD = 16020 / 200 = 80.1.
// Newest frame 101, -300: SSTD = sqrt((2 x 100201 - 199^2) / 4) = sqrt(40200.25) = 200.5004.
TEST(NetdFigures, LargeVarianceInSixtyFourBits) {
    Netd n;
    NetdConfig c = config(2, 1, 10, 1000);
    ASSERT_EQ(NETD_SetConfig(n.h, &c), 0);
    ASSERT_EQ(n.feed({100, -300}, header(2, 1, 100)), 0);
    ASSERT_EQ(n.feed({101, -300}, header(2, 1, 100 + kSecond + 1)), 0);
    EXPECT_EQ(n.out[0], float(16020 / 200.0));
    EXPECT_EQ(n.out[1], float(std::sqrt(40200.25)));
}

TEST(NetdFigures, ScalingByTheIntegerQuotientOfTheSlope) {
    struct Case {
        int kind, slope;
        double factor;
    };
    // 1000 / 3 = 333 and 1000 / 2000 = 0 as integer quotients; a temperature frame with slope 0 counts as
    // slope 1 instead of dividing by zero; other data kinds stay in sample units.
    for (Case k :
         {Case{SARVIK_DATA_KIND_TEMPERATURE, 100, 10}, Case{SARVIK_DATA_KIND_TEMPERATURE, 10, 100},
          Case{SARVIK_DATA_KIND_TEMPERATURE, 3, 333}, Case{SARVIK_DATA_KIND_TEMPERATURE, 2000, 0},
          Case{SARVIK_DATA_KIND_TEMPERATURE, 0, 1000}, Case{SARVIK_DATA_KIND_RAW, 100, 1}, Case{1, 0, 1}}) {
        Netd n;
        NetdConfig c = config(2, 2, 10, 1000);
        ASSERT_EQ(NETD_SetConfig(n.h, &c), 0);
        ASSERT_EQ(n.feed({100, 200, 300, 400}, header(2, 2, 2 * kSecond, k.kind, k.slope)), 0);
        EXPECT_EQ(n.out[0], float(75.0 * k.factor)) << "kind " << k.kind << " slope " << k.slope;
        EXPECT_EQ(n.out[1], float(std::sqrt(12500.0) * k.factor))
            << "kind " << k.kind << " slope " << k.slope;
    }
}

TEST(NetdFigures, WritesIntoTheFrameHeader) {
    // The desktop tool hands the header's own diagnostic fields as the output.
    Netd n;
    NetdConfig c = config(2, 2, 10, 1000);
    ASSERT_EQ(NETD_SetConfig(n.h, &c), 0);
    _DataFrameHeader hd = header(2, 2, 3 * kSecond, SARVIK_DATA_KIND_TEMPERATURE, 100);
    const std::vector<int16_t> s = {100, 200, 300, 400};
    ASSERT_EQ(NETD_Execute(n.h, &hd, s.data(), &hd.netd), 0);
    EXPECT_EQ(hd.netd, 750.0f);
    EXPECT_EQ(hd.sstd, float(std::sqrt(12500.0) * 10));
    EXPECT_EQ(hd.timestamp, 3 * kSecond);
}

// ---- Interval and ring --------------------------------------------------------------------------------

TEST(NetdInterval, ExactlyTheIntervalReusesOneTickLaterRecomputes) {
    Netd n;
    NetdConfig c = config(1, 2, 10, 1500);
    ASSERT_EQ(NETD_SetConfig(n.h, &c), 0);
    const int64_t t0 = 50 * kSecond, interval = 15000000;
    ASSERT_EQ(n.feed({0, 10}, header(1, 2, t0)), 0);
    const float first[2] = {n.out[0], n.out[1]};
    EXPECT_EQ(first[1], 5.0f);
    ASSERT_EQ(n.feed({0, 1000}, header(1, 2, t0 + interval)), 0);
    EXPECT_EQ(n.out[0], first[0]);
    EXPECT_EQ(n.out[1], first[1]);
    ASSERT_EQ(n.feed({0, 1000}, header(1, 2, t0 + interval + 1)), 0);
    EXPECT_EQ(n.out[1], 500.0f);  // the newest frame 0, 1000
    EXPECT_GT(n.out[0], first[0]);
    // Backwards in time counts by distance too (a camera clock set back): the last computation was at
    // t0 + interval + 1.
    const float kept = n.out[0];
    ASSERT_EQ(n.feed({0, 0}, header(1, 2, t0 + 1)), 0);
    EXPECT_EQ(n.out[0], kept);
    EXPECT_EQ(n.out[1], 500.0f);
    ASSERT_EQ(n.feed({0, 0}, header(1, 2, t0)), 0);
    EXPECT_EQ(n.out[1], 0.0f);
    // Stamps at the ends of the range do not overflow the distance.
    ASSERT_EQ(n.feed({0, 4}, header(1, 2, INT64_MIN)), 0);
    EXPECT_EQ(n.out[1], 2.0f);
    ASSERT_EQ(n.feed({0, 6}, header(1, 2, INT64_MAX)), 0);
    EXPECT_EQ(n.out[1], 3.0f);
}

TEST(NetdRing, SameConfigurationKeepsRingAndFigures) {
    Netd n;
    NetdConfig c = config(1, 1, 10, 1000);
    ASSERT_EQ(NETD_SetConfig(n.h, &c), 0);
    ASSERT_EQ(n.feed({100}, header(1, 1, 5 * kSecond)), 0);
    EXPECT_EQ(n.out[0], 30.0f);  // 30 x 100 / 100
    ASSERT_EQ(NETD_SetConfig(n.h, &c), 0);
    ASSERT_EQ(n.feed({101}, header(1, 1, 5 * kSecond + 1)), 0);  // within the interval: figures kept
    EXPECT_EQ(n.out[0], 30.0f);
    ASSERT_EQ(n.feed({101}, header(1, 1, 7 * kSecond)), 0);
    // Ring 100, 101, 101 and seven zeros: e = 10 x 30402 - 302^2 = 212816 -> floor(sqrt(21281600)) = 4613.
    EXPECT_EQ(n.out[0], float(4613 / 100.0));

    // A different configuration empties the ring and clears the figures.
    NetdConfig other = c;
    other.calcInterval = 2000;
    ASSERT_EQ(NETD_SetConfig(n.h, &other), 0);
    ASSERT_EQ(n.feed({7}, header(1, 1, 100)), 0);  // within the interval of 0: nothing computed yet
    EXPECT_EQ(n.out[0], 0.0f);
    ASSERT_EQ(n.feed({7}, header(1, 1, 3 * kSecond)), 0);
    // 7, 7 and eight zeros: e = 10 x 98 - 196 = 784 -> floor(sqrt(78400)) = 280.
    EXPECT_EQ(n.out[0], 2.8f);
}

TEST(NetdRing, OnlyTheLastFrameCountFramesCount) {
    Netd n;
    NetdConfig c = config(2, 2, 10, 1000);
    ASSERT_EQ(NETD_SetConfig(n.h, &c), 0);
    for (int i = 0; i < 2; ++i) ASSERT_EQ(n.feed({500, -500, 9, 9}, header(2, 2, i)), 0);
    for (int i = 0; i < 9; ++i) ASSERT_EQ(n.feed({7, 7, 7, 7}, header(2, 2, 10 + i)), 0);
    EXPECT_EQ(n.out[0], 0.0f);  // nothing computed yet
    ASSERT_EQ(n.feed({7, 7, 7, 7}, header(2, 2, 10 * kSecond)), 0);
    EXPECT_EQ(n.out[0], 0.0f);  // ten frames of 7: no temporal spread
    EXPECT_EQ(n.out[1], 0.0f);
}

TEST(NetdRing, FrameOfAnotherSizeIsRefusedAndNotStored) {
    Netd n;
    NetdConfig c = config(2, 2, 10, 1000);
    ASSERT_EQ(NETD_SetConfig(n.h, &c), 0);
    std::vector<int16_t> big(6, 1000);
    n.out[0] = n.out[1] = -1.0f;
    EXPECT_EQ(n.feed(big, header(3, 2, 5 * kSecond)), SARVIK_ERR_STATE);
    EXPECT_EQ(n.feed(big, header(2, 3, 5 * kSecond)), SARVIK_ERR_STATE);
    EXPECT_EQ(n.out[0], -1.0f);
    // The refused frames left no trace: the first stored frame still meets nine zero slots.
    ASSERT_EQ(n.feed({100, 200, 300, 400}, header(2, 2, 5 * kSecond)), 0);
    EXPECT_EQ(n.out[0], 75.0f);
}

// ---- Large frames -------------------------------------------------------------------------------------

// 1280 x 1024 samples of +-30000: P x sum(x^2) is 1.5e21, beyond 64 bits. SSTD is exactly 30000; each pixel's
// temporal value is sqrt(9 x 9e8 x 100) = 900000, so NETD = 9000.
TEST(NetdLarge, SpatialSpreadOfAFullFrameDoesNotOverflow) {
    Netd n;
    const int w = 1280, h = 1024;
    NetdConfig c = config(w, h, 10, 1000);
    ASSERT_EQ(NETD_SetConfig(n.h, &c), 0);
    std::vector<int16_t> s(size_t(w) * h);
    for (size_t i = 0; i < s.size(); ++i) s[i] = int16_t(i % 2 ? 30000 : -30000);
    ASSERT_EQ(n.feed(s, header(w, h, 2 * kSecond)), 0);
    EXPECT_EQ(n.out[1], 30000.0f);
    EXPECT_EQ(n.out[0], 9000.0f);
    std::fill(s.begin(), s.end(), int16_t(30000));
    ASSERT_EQ(n.feed(s, header(w, h, 4 * kSecond)), 0);
    EXPECT_EQ(n.out[1], 0.0f);
    std::fill(s.begin(), s.end(), int16_t(-32768));
    ASSERT_EQ(n.feed(s, header(w, h, 6 * kSecond)), 0);
    EXPECT_EQ(n.out[1], 0.0f);
}

// Run with the allocator allowed to fail (see CMakeLists.txt).
TEST(NetdMemory, RingThatCannotBeAllocatedLeavesTheObjectUnconfigured) {
    std::ifstream overcommit("/proc/sys/vm/overcommit_memory");
    int mode = 0;
    if (overcommit >> mode && mode == 1)
        GTEST_SKIP() << "the kernel grants any allocation (overcommit_memory 1)";
    Netd n;
    NetdConfig small = config(2, 2, 10, 1000);
    ASSERT_EQ(NETD_SetConfig(n.h, &small), 0);
    NetdConfig huge = config(65535, 65535, 100, 1000);  // 859 GB of ring
    EXPECT_EQ(NETD_SetConfig(n.h, &huge), SARVIK_ERR_NO_MEMORY);
    EXPECT_EQ(n.feed({1, 2, 3, 4}, header(2, 2, 5 * kSecond)), SARVIK_ERR_STATE);
    EXPECT_EQ(NETD_SetConfig(n.h, &small), 0);  // the old configuration is taken afresh
    EXPECT_EQ(n.feed({100, 200, 300, 400}, header(2, 2, 5 * kSecond)), 0);
    EXPECT_EQ(n.out[0], 75.0f);
}
