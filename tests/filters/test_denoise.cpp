// The denoise filter object: configuration rules, uniform frames, noise reduction, the reduced resolutions,
// and the whole filter against its direct formulas.
#include <gtest/gtest.h>

#include <cmath>

#include "filters_test_util.h"
#include "frame_filters.h"

using namespace filtertest;
using namespace sarvik;

namespace {

struct Denoise {
    DenoiseFilter *f = denoise_create();
    ~Denoise() { denoise_free(&f); }
};

// A scene (flat, with a step of 400 counts at column w / 2) plus Gaussian noise of sigma counts.
Frame noisy_scene(int w, int h, double sigma, uint32_t seed, Frame *clean = nullptr) {
    std::mt19937 rng(seed);
    std::normal_distribution<double> noise(0.0, sigma);
    Frame f(size_t(w) * h), c(f.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            c[size_t(y) * w + x] = int16_t(x < w / 2 ? 3000 : 3400);
            f[size_t(y) * w + x] = int16_t(c[size_t(y) * w + x] + std::lround(noise(rng)));
        }
    if (clean) *clean = c;
    return f;
}

}  // namespace

// ---- Configuration ------------------------------------------------------------------------------------

TEST(DenoiseConfig, InvalidConfigurationsAreRefusedAndKeepThePreviousOne) {
    Denoise d;
    const _DenoiseInfo good = denoise_config(1, 32, 32, 5, 5);
    ASSERT_EQ(denoise_configure(d.f, &good), 0);
    auto refused = [&](_DenoiseInfo c) {
        EXPECT_EQ(denoise_configure(d.f, &c), SARVIK_ERR_INVALID_ARG);
        _DenoiseInfo now;
        denoise_get_config(d.f, &now);
        EXPECT_EQ(std::memcmp(&now, &good, sizeof now), 0);
    };
    _DenoiseInfo c = good;
    c.width = 31, refused(c);
    c = good, c.height = 31, refused(c);
    c = good, c.gf_radius = 0, refused(c);
    c = good, c.gf_radius = 17, refused(c);
    c = good, c.gf_regular = 0, refused(c);
    c = good, c.gf_regular = 41, refused(c);
    c = good, c.type = 4, refused(c);  // names no resolution
    EXPECT_EQ(denoise_configure(d.f, nullptr), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(denoise_configure(nullptr, &good), SARVIK_ERR_INVALID_ARG);
    for (_DenoiseInfo ok : {denoise_config(3, 32, 32, 16, 40), denoise_config(2, 33, 35, 1, 1)})
        EXPECT_EQ(denoise_configure(d.f, &ok), 0);
}

TEST(DenoiseConfig, WrongSizeOrTypeZeroIsRefusedUntouched) {
    Denoise d;
    Frame f = random_frame(40, 32, -100, 100, 3);
    const Frame before = f;
    EXPECT_EQ(denoise_apply(d.f, f.data(), 40, 32), SARVIK_ERR_STATE);  // unconfigured
    const _DenoiseInfo off = denoise_config(0, 40, 32, 5, 5);
    ASSERT_EQ(denoise_configure(d.f, &off), 0);
    EXPECT_EQ(denoise_apply(d.f, f.data(), 40, 32), SARVIK_ERR_STATE);
    const _DenoiseInfo on = denoise_config(1, 40, 32, 5, 5);
    ASSERT_EQ(denoise_configure(d.f, &on), 0);
    EXPECT_EQ(denoise_apply(d.f, f.data(), 40, 33), SARVIK_ERR_STATE);
    EXPECT_EQ(denoise_apply(d.f, f.data(), 32, 40), SARVIK_ERR_STATE);
    EXPECT_EQ(denoise_apply(d.f, nullptr, 40, 32), SARVIK_ERR_INVALID_ARG);
    EXPECT_EQ(f, before);
    EXPECT_EQ(denoise_configure(d.f, &on), 0);  // the same bytes again
    EXPECT_EQ(denoise_apply(d.f, f.data(), 40, 32), 0);
    denoise_free(&d.f);
    EXPECT_EQ(d.f, nullptr);
    denoise_free(&d.f);
}

// ---- Frames -------------------------------------------------------------------------------------------

TEST(DenoiseFrames, UniformFramesPassUnchanged) {
    Denoise d;
    for (int type : {1, 2, 3})
        for (int radius : {1, 2, 5, 16})
            for (int16_t v :
                 {int16_t(-32768), int16_t(-7), int16_t(0), int16_t(1), int16_t(3000), int16_t(32767)}) {
                const _DenoiseInfo c = denoise_config(type, 38, 35, radius, 7);
                ASSERT_EQ(denoise_configure(d.f, &c), 0);
                Frame f = flat(38, 35, v);
                ASSERT_EQ(denoise_apply(d.f, f.data(), 38, 35), 0);
                ASSERT_EQ(f, flat(38, 35, v)) << "type " << type << " radius " << radius << " value " << v;
            }
}

TEST(DenoiseFrames, TemporalNoiseOfAStreamDrops) {
    // The same scene with fresh noise per frame: each pixel's spread across frames shrinks.
    Denoise d;
    const int w = 64, h = 48, frames = 12;
    const _DenoiseInfo c = denoise_config(1, w, h, 3, 20);
    ASSERT_EQ(denoise_configure(d.f, &c), 0);
    std::vector<double> s1(size_t(w) * h), s2(s1.size()), t1(s1.size()), t2(s1.size());
    for (int i = 0; i < frames; ++i) {
        Frame f = noisy_scene(w, h, 8.0, 900 + i);
        for (size_t p = 0; p < f.size(); ++p) s1[p] += f[p], s2[p] += double(f[p]) * f[p];
        ASSERT_EQ(denoise_apply(d.f, f.data(), w, h), 0);
        for (size_t p = 0; p < f.size(); ++p) t1[p] += f[p], t2[p] += double(f[p]) * f[p];
    }
    auto mean_std = [&](const std::vector<double> &a, const std::vector<double> &b) {
        double sum = 0;
        for (size_t p = 0; p < a.size(); ++p)
            sum += std::sqrt(std::max(0.0, b[p] / frames - (a[p] / frames) * (a[p] / frames)));
        return sum / a.size();
    };
    EXPECT_LT(mean_std(t1, t2), 0.5 * mean_std(s1, s2));
}

TEST(DenoiseFrames, HalfResolutionRadiusOneIsNotZero) {
    // gf_radius 1 at half resolution works with radius 1 on the small image (not 1 / 2 = 0, which would leave
    // a spike on a decimated sample unchanged); gf_radius 3 (3 / 2 = 1) filters alike. Spike 160 on 100,
    // eps 1600: a = 185 in the nine windows holding it, b = 960 - (960 x 185 >> 10) = 787, so the spike
    // becomes ((9 x 160 x 1665 >> 10) + 7083) / 81 = 116 and its diagonal neighbour block
    // ((9 x 100 x 740 >> 10) + 4 x 787 + 5 x 900) / 81 = 102.
    Denoise d;
    const int w = 40, h = 40;
    Frame spike = flat(w, h, 100);
    spike[size_t(20) * w + 20] = 160;
    Frame out[2];
    const int radii[2] = {1, 3};
    for (int i = 0; i < 2; ++i) {
        const _DenoiseInfo c = denoise_config(2, w, h, radii[i], 40);
        ASSERT_EQ(denoise_configure(d.f, &c), 0);
        out[i] = spike;
        ASSERT_EQ(denoise_apply(d.f, out[i].data(), w, h), 0);
        EXPECT_EQ(out[i], denoise_direct(spike, w, h, c));
    }
    EXPECT_EQ(out[0], out[1]);
    const Frame &f = out[0];
    EXPECT_EQ(f[size_t(20) * w + 20], 116);
    EXPECT_EQ(f[size_t(18) * w + 18], 102);
    EXPECT_EQ(f[size_t(14) * w + 14], 100);  // three blocks away: no window reaches the spike
}

TEST(DenoiseFrames, PartialBlocksAtTheRightAndBottomAreFiltered) {
    // 38 x 35 at quarter resolution: columns 36-37 and rows 32-34 take the last blocks' sums.
    Denoise d;
    const int w = 38, h = 35;
    const _DenoiseInfo c = denoise_config(3, w, h, 8, 30);
    ASSERT_EQ(denoise_configure(d.f, &c), 0);
    Frame clean;
    Frame f = noisy_scene(w, h, 10.0, 77, &clean);
    const Frame in = f;
    ASSERT_EQ(denoise_apply(d.f, f.data(), w, h), 0);
    EXPECT_EQ(f, denoise_direct(in, w, h, c));
    int64_t before = 0, after = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (x >= 36 || y >= 32) {
                before += std::abs(in[size_t(y) * w + x] - clean[size_t(y) * w + x]);
                after += std::abs(f[size_t(y) * w + x] - clean[size_t(y) * w + x]);
            }
    EXPECT_LT(after * 10, before * 7);
}

// ---- Against the direct formulas ----------------------------------------------------------------------

TEST(DenoiseDirect, MatchesTheFormulasBitForBit) {
    Denoise d;
    struct Case {
        int type, w, h, radius, regular, lo, hi;
    };
    const Case cases[] = {
        {1, 40, 32, 1, 1, -32768, 32767}, {1, 33, 37, 16, 40, -32768, 32767},
        {1, 48, 40, 5, 5, 2950, 3050},    {2, 41, 35, 1, 1, -32768, 32767},
        {2, 64, 48, 7, 12, 2000, 2200},   {3, 37, 33, 16, 40, -32768, 32767},
        {3, 66, 50, 4, 3, -1000, 1000},
    };
    uint32_t seed = 500;
    for (const Case &k : cases) {
        const _DenoiseInfo c = denoise_config(k.type, k.w, k.h, k.radius, k.regular);
        ASSERT_EQ(denoise_configure(d.f, &c), 0);
        Frame f = random_frame(k.w, k.h, k.lo, k.hi, seed++);
        const Frame want = denoise_direct(f, k.w, k.h, c);
        ASSERT_EQ(denoise_apply(d.f, f.data(), k.w, k.h), 0);
        EXPECT_EQ(f, want) << "type " << k.type << " " << k.w << "x" << k.h << " radius " << k.radius
                           << " regular " << k.regular;
    }
}
