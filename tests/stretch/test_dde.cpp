// Detail enhancement: the integer guided filter against a direct per-pixel evaluation of its formulas, a
// frame worked out by hand, and the fall-back for small frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "dde.h"
#include "stretch_context.h"
#include "stretch_test_util.h"

using namespace stretchtest;
using namespace sarvik;

namespace {

int mirror(int i, int n) {
    return i < 0 ? -i - 1 : i >= n ? 2 * n - i - 1 : i;
}

// Every formula evaluated directly per pixel: 7 x 7 windows summed in full, 64-bit throughout. The detail
// is returned before it is narrowed to 16 bits.
std::vector<int64_t> direct_wide(const std::vector<int16_t> &data, int w, int h, int centre, int strength,
                                 const uint16_t *t1, const uint16_t *t2) {
    const size_t n = data.size();
    std::vector<int64_t> a1(n), b1(n), a2(n), b2(n);
    auto x_at = [&](int y, int c) { return int64_t(data[size_t(mirror(y, h)) * w + mirror(c, w)]) - centre; };
    for (int y = 0; y < h; ++y)
        for (int c = 0; c < w; ++c) {
            int64_t s1 = 0, s2 = 0;
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx) {
                    const int64_t x = x_at(y + dy, c + dx);
                    s1 += x;
                    s2 += x * x;
                }
            int64_t index = (49 * s2 - s1 * s1) >> 10;
            if (index > 1048575) index = 1048575;
            const size_t i = size_t(y) * w + c;
            a1[i] = t1[index];
            b1[i] = s1 - ((s1 * a1[i]) >> 10);
            a2[i] = t2[index];
            b2[i] = s1 - ((s1 * a2[i]) >> 10);
        }
    std::vector<int64_t> out(n);
    for (int y = 0; y < h; ++y)
        for (int c = 0; c < w; ++c) {
            int64_t g1 = 0, h1 = 0, g2 = 0, h2 = 0;
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx) {
                    const size_t j = size_t(mirror(y + dy, h)) * w + mirror(c + dx, w);
                    g1 += a1[j], h1 += b1[j], g2 += a2[j], h2 += b2[j];
                }
            const int64_t g = g1 < 15052 ? g2 : g1, hh = g1 < 15052 ? h2 : h1;
            const int64_t x = x_at(y, c);
            const int64_t base = (6987 * (((49 * x * g) >> 10) + hh)) >> 24;
            out[size_t(y) * w + c] = ((strength / 49) * g * (x - base)) >> 20;
        }
    return out;
}

std::vector<int16_t> direct_detail(const std::vector<int16_t> &data, int w, int h, int centre, int strength,
                                   const uint16_t *t1, const uint16_t *t2) {
    const auto wide = direct_wide(data, w, h, centre, strength, t1, t2);
    std::vector<int16_t> out(wide.size());
    for (size_t i = 0; i < wide.size(); ++i)
        out[i] = static_cast<int16_t>(wide[i] < -32768 ? -32768 : wide[i] > 32767 ? 32767 : wide[i]);
    return out;
}

struct Tables {
    std::vector<uint16_t> t1 = std::vector<uint16_t>(kDdeTableSize),
                          t2 = std::vector<uint16_t>(kDdeTableSize);
    Tables(int slope) {
        const DdeParams p = dde_params(slope, 1);
        dde_table_build(p.eps1, t1.data());
        dde_table_build(p.eps2, t2.data());
    }
};

std::vector<int16_t> pipeline_detail(const std::vector<int16_t> &data, int w, int h, int slope, int centre,
                                     int strength) {
    DdeState *s = dde_state_create(w, h);
    EXPECT_NE(s, nullptr);
    const DdeParams p = dde_params(slope, 1);
    dde_state_tables(s, p.eps1, p.eps2);
    dde_detail(s, data.data(), centre, strength);
    std::vector<int16_t> out(s->detail, s->detail + data.size());
    dde_state_free(s);
    return out;
}

_DataFrameHeader spike_header() {
    return header(32, 32, 10);
}

std::vector<int16_t> spike_frame() {
    std::vector<int16_t> v(32 * 32, 0);
    v[16 * 32 + 16] = 100;
    return v;
}

void set_level(StretchContext *c, int level) {
    _strech_control ctl = control(SARVIK_STRECH_DDE);
    ctl.ddeLevel = static_cast<uint8_t>(level);
    set_image(c, ctl);
}

}  // namespace

TEST(DdeConstants, BySlope) {
    const DdeParams s10 = dde_params(10, 4), s100 = dde_params(100, 4), other = dde_params(0, 3);
    EXPECT_EQ(s10.eps1, 900);
    EXPECT_EQ(s10.eps2, 56);
    EXPECT_EQ(s10.strength, 4 << 11);
    EXPECT_EQ(s100.eps1, 40000);
    EXPECT_EQ(s100.eps2, 2500);
    EXPECT_EQ(s100.strength, 4 << 10);
    EXPECT_EQ(other.eps1, 1600);
    EXPECT_EQ(other.eps2, 100);
    EXPECT_EQ(other.strength, 3 << 11);
}

TEST(DdeConstants, CoefficientTableEntries) {
    std::vector<uint16_t> t(kDdeTableSize);
    dde_table_build(900, t.data());
    EXPECT_EQ(t[0], 0);
    // 468 x 2^20 / (2401 x 900 + 1024 x 468) = 490733568 / 2640132 = 185.9
    EXPECT_EQ(t[468], 185);
    // The largest entry approaches 1024: 1099510579200 / 1075901700 = 1021.9
    EXPECT_EQ(t[1048575], 1021);
    dde_table_build(56, t.data());
    EXPECT_EQ(t[468], 799);  // 490733568 / 613688
}

TEST(DdeConstants, CentringOnlyBeyond6144) {
    EXPECT_EQ(dde_centre(-6144, 6144), 0);
    EXPECT_EQ(dde_centre(0, 6145), 3072);
    EXPECT_EQ(dde_centre(-7000, 100), -3450);
    EXPECT_EQ(dde_centre(-7001, 0), -3500) << "truncated towards zero";
}

TEST(DdeDetail, SpikeWorkedOutByHand) {
    // Windows holding the spike: S1 = 100, S2 = 10000, index (490000 - 10000) >> 10 = 468, a1 = 185,
    // a2 = 799, b1 = 100 - 18 = 82, b2 = 100 - 78 = 22. At the spike all 49 windows hold it: G1 = 9065 is
    // below 15052, so G = 49 x 799 = 39151, H = 49 x 22 = 1078; base = 6987 x ((4900 x 39151 >> 10) + 1078)
    // >> 24 = 6987 x 188421 >> 24 = 78; detail = (8192 / 49) x 39151 x (100 - 78) >> 20 = 137.
    // Elsewhere x = 0 and H <= 1078 make base 0, so the detail is 0.
    const auto data = spike_frame();
    const auto d = pipeline_detail(data, 32, 32, 10, 0, 4 << 11);
    for (size_t i = 0; i < d.size(); ++i) ASSERT_EQ(d[i], i == 16 * 32 + 16 ? 137 : 0) << i;

    // Rendered: the table maps 0 and 100 to 85 (mean 0 is the minimum), the spike adds 137.
    Context c = make_context();
    set_level(c.get(), 4);
    const _DataFrameHeader h = spike_header();
    std::vector<uint8_t> gray(data.size());
    ASSERT_EQ(strTemp2Gray(c.get(), data.data(), &h, gray.data()), 0);
    for (size_t i = 0; i < gray.size(); ++i) ASSERT_EQ(gray[i], i == 16 * 32 + 16 ? 222 : 85) << i;
}

TEST(DdeDetail, RowPipelineMatchesDirectEvaluation) {
    std::mt19937 rng(7);
    struct Case {
        int w, h, slope, lo, hi, level;
    };
    const Case cases[] = {
        {32, 32, 10, 200, 400, 4},    {33, 47, 100, 2000, 2600, 8},    {64, 40, 37, -50, 50, 1},
        {40, 36, 10, -9000, 9000, 6}, {35, 33, 100, -32768, 32767, 8},
    };
    for (const Case &k : cases) {
        auto data = scene(k.w, k.h, k.slope);
        std::uniform_int_distribution<int> noise(k.lo, k.hi);
        for (size_t i = 0; i < data.size(); i += 3) data[i] = static_cast<int16_t>(noise(rng));
        const int centre = dde_centre(k.lo, k.hi);
        const int strength = dde_params(k.slope, k.level).strength;
        Tables t(k.slope);
        EXPECT_EQ(pipeline_detail(data, k.w, k.h, k.slope, centre, strength),
                  direct_detail(data, k.w, k.h, centre, strength, t.t1.data(), t.t2.data()))
            << k.w << "x" << k.h << " slope " << k.slope;
    }
}

TEST(DdeDetail, ExtremeStepMatchesDirectEvaluation) {
    // A step from the coldest to the hottest sample: sums of squares reach 5e10 and the products beyond
    // 1e13, far past 32 bits.
    std::vector<int16_t> data(40 * 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 40; ++x) data[y * 40 + x] = x < 20 ? -32768 : 32767;
    for (int slope : {10, 100, 1}) {
        Tables t(slope);
        const int strength = dde_params(slope, 8).strength;
        const auto wide = direct_wide(data, 40, 32, 0, strength, t.t1.data(), t.t2.data());
        const auto detail = pipeline_detail(data, 40, 32, slope, 0, strength);
        int nonzero = 0;
        for (size_t i = 0; i < data.size(); ++i) {
            ASSERT_EQ(detail[i], wide[i]) << "slope " << slope << " at " << i;
            nonzero += detail[i] != 0;
        }
        EXPECT_GT(nonzero, 0) << "the edge is enhanced";
    }
}

TEST(DdeRender, SmallFramesRenderWithoutDetail) {
    for (auto [w, h] : {std::pair{31, 40}, std::pair{40, 31}, std::pair{8, 8}}) {
        const auto data = scene(w, h, 10);
        const _DataFrameHeader hd = header(w, h, 10);
        Context plain = make_context(), dde = make_context();
        set_level(dde.get(), 8);
        std::vector<uint8_t> a(data.size()), b(data.size());
        ASSERT_EQ(strTemp2Gray(plain.get(), data.data(), &hd, a.data()), 0);
        ASSERT_EQ(strTemp2Gray(dde.get(), data.data(), &hd, b.data()), 0);
        EXPECT_EQ(a, b) << w << "x" << h;
        EXPECT_EQ(dde->dde, nullptr);
    }
}

TEST(DdeRender, DetectorCountsRenderWithoutDetail) {
    const auto data = scene(64, 48, 10);
    const _DataFrameHeader h = header(64, 48, 10, 0, SARVIK_DATA_KIND_RAW);
    Context plain = make_context(), dde = make_context();
    set_level(dde.get(), 8);
    std::vector<uint8_t> a(data.size()), b(data.size());
    strTemp2Gray(plain.get(), data.data(), &h, a.data());
    strTemp2Gray(dde.get(), data.data(), &h, b.data());
    EXPECT_EQ(a, b);
}

TEST(DdeRender, GrayIsTableLevelPlusDetailClamped) {
    // With smoothing off each frame stands alone, so the detail can be checked against a context without DDE.
    const int w = 96, h = 64;
    for (int slope : {10, 100}) {
        const auto data = scene(w, h, slope);
        const _DataFrameHeader hd = header(w, h, slope);
        _strech_control off = control(SARVIK_STRECH_SMOOTHING);
        Context plain = make_context(), dde = make_context();
        strSetCtl(plain.get(), &off);
        strSetCtl(dde.get(), &off);
        set_level(dde.get(), 5);
        std::vector<uint8_t> base(data.size()), out(data.size());
        strTemp2Gray(plain.get(), data.data(), &hd, base.data());
        strTemp2Gray(dde.get(), data.data(), &hd, out.data());
        Tables t(slope);
        const auto detail = direct_detail(data, w, h, dde_centre(dde->stats.low, dde->stats.high),
                                          dde_params(slope, 5).strength, t.t1.data(), t.t2.data());
        int changed = 0;
        for (size_t i = 0; i < data.size(); ++i) {
            const int expect = std::min(255, std::max(0, base[i] + detail[i]));
            ASSERT_EQ(out[i], expect) << i;
            changed += out[i] != base[i];
        }
        EXPECT_GT(changed, int(data.size()) / 20) << "the scene has edges and noise to enhance";
    }
}

TEST(DdeRender, WorkAreaFollowsTheFrameSize) {
    Context c = make_context();
    set_level(c.get(), 4);
    for (auto [w, h] : {std::pair{64, 48}, std::pair{40, 80}, std::pair{64, 48}}) {
        const auto data = scene(w, h, 100);
        const _DataFrameHeader hd = header(w, h, 100);
        std::vector<uint8_t> gray(data.size());
        ASSERT_EQ(strTemp2Gray(c.get(), data.data(), &hd, gray.data()), 0);
        ASSERT_NE(c->dde, nullptr);
        EXPECT_EQ(c->dde->width, w);
        EXPECT_EQ(c->dde->height, h);
        EXPECT_EQ(c->dde->eps1, 40000);
    }
}
