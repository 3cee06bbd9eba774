// The faster kernel table against the scalar reference, bit for bit, on lengths around every vector width.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "dde_row_kernels.h"
#include "stretch_kernels.h"

using namespace sarvik;

namespace {

struct Input {
    std::vector<int16_t> data;
    std::vector<int16_t> detail;
    int lo, hi;
};

Input make_input(size_t n, int lo, int hi, uint32_t seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> v(lo, hi), d(-400, 400), run(1, 12);
    Input in{std::vector<int16_t>(n), std::vector<int16_t>(n), lo, hi};
    // Runs of equal samples, as flat scene regions give them, and isolated values.
    for (size_t i = 0; i < n;) {
        const int16_t s = static_cast<int16_t>(v(rng));
        for (int k = run(rng); k > 0 && i < n; --k, ++i) {
            in.data[i] = s;
            in.detail[i] = static_cast<int16_t>(d(rng));
        }
    }
    return in;
}

class FastKernels : public ::testing::Test {
protected:
    void SetUp() override {
        fast = stretch_kernels_fast();
        if (!fast) GTEST_SKIP() << "no faster kernels on this processor";
        gray.resize(65536);
        colour.resize(65536);
        slot.resize(65536);
        palettes.resize(768);
        std::mt19937 rng(3);
        for (auto &g : gray) g = static_cast<uint8_t>(rng());
        for (auto &c : colour) c = rng();
        for (auto &s : slot) s = (rng() % 3) * 256;
        for (auto &p : palettes) p = rng();
    }
    const StretchKernels *fast = nullptr;
    const StretchKernels &ref = stretch_kernels_scalar();
    std::vector<uint8_t> gray;
    std::vector<uint32_t> colour, slot, palettes;
    const std::vector<size_t> lengths = {1, 2, 7, 15, 16, 17, 31, 32, 33, 63, 64, 65, 1000, 4099, 110592};
};

}  // namespace

TEST_F(FastKernels, Count) {
    for (size_t n : lengths) {
        for (auto [lo, hi] : {std::pair{-32768, 32767}, std::pair{2000, 2100}, std::pair{-5, -5}}) {
            const Input in = make_input(n, lo, hi, static_cast<uint32_t>(n));
            int l1, h1, l2, h2;
            int64_t sum1, sum2;
            std::vector<uint32_t> a(65536, 1), b(65536, 1), spares(3 * 65536);
            uint32_t *const spare[3] = {&spares[32768], &spares[65536 + 32768], &spares[2 * 65536 + 32768]};
            ref.count(in.data.data(), n, a.data() + 32768, spare, &l1, &h1, &sum1);
            fast->count(in.data.data(), n, b.data() + 32768, spare, &l2, &h2, &sum2);
            ASSERT_EQ(l1, l2) << n;
            ASSERT_EQ(h1, h2) << n;
            ASSERT_EQ(sum1, sum2) << n;
            ASSERT_EQ(a, b) << n;
            ASSERT_EQ(spares, std::vector<uint32_t>(3 * 65536)) << "the spare histograms are left zero";
            int64_t direct = 0;
            for (int16_t v : in.data) direct += v;
            ASSERT_EQ(sum1, direct);
        }
    }
}

TEST_F(FastKernels, Maps) {
    for (size_t n : lengths) {
        const Input in = make_input(n, -32768, 32767, static_cast<uint32_t>(n) + 1);
        const uint8_t *g = gray.data() + 32768;
        const uint32_t *c = colour.data() + 32768;
        std::vector<uint8_t> ga(n), gb(n), pa0(n), pa1(n), pa2(n), pb0(n), pb1(n), pb2(n);
        std::vector<uint32_t> ca(n), cb(n);
        ref.map_gray(in.data.data(), n, g, ga.data());
        fast->map_gray(in.data.data(), n, g, gb.data());
        ASSERT_EQ(ga, gb) << n;
        ref.map_bgra(in.data.data(), n, c, ca.data());
        fast->map_bgra(in.data.data(), n, c, cb.data());
        ASSERT_EQ(ca, cb) << n;
        ref.map_planes(in.data.data(), n, c, pa0.data(), pa1.data(), pa2.data());
        fast->map_planes(in.data.data(), n, c, pb0.data(), pb1.data(), pb2.data());
        ASSERT_EQ(pa0, pb0) << n;
        ASSERT_EQ(pa1, pb1) << n;
        ASSERT_EQ(pa2, pb2) << n;
        ref.dde_gray(in.data.data(), in.detail.data(), n, g, ga.data());
        fast->dde_gray(in.data.data(), in.detail.data(), n, g, gb.data());
        ASSERT_EQ(ga, gb) << n;
        const uint32_t *s = slot.data() + 32768;
        ref.dde_bgra(in.data.data(), in.detail.data(), n, g, s, palettes.data(), ca.data());
        fast->dde_bgra(in.data.data(), in.detail.data(), n, g, s, palettes.data(), cb.data());
        ASSERT_EQ(ca, cb) << n;
    }
}

TEST_F(FastKernels, HistogramWalks) {
    std::mt19937 rng(11);
    for (int round = 0; round < 200; ++round) {
        // Dense, sparse and nearly empty histograms over ranges of every length up to a few hundred values.
        std::vector<uint32_t> hist(65536);
        uint32_t *h = hist.data() + 32768;
        const int from = static_cast<int>(rng() % 2000) - 1000, len = 1 + static_cast<int>(rng() % 300);
        const int to = from + len - 1;
        const unsigned density = 1 + rng() % 4, scale = 1u << (rng() % 20);
        for (int v = from; v <= to; ++v)
            h[v] = rng() % density == 0 ? static_cast<uint32_t>(rng() % scale) : 0;
        if (round % 17 == 0) h[to] = 0xFFFFFFF0u;  // a count near the 32-bit limit
        std::vector<uint32_t> scratch(65536);
        int64_t s1, k1, s2, k2;
        ref.peaks(h, from, to, scratch.data(), &s1, &k1);
        fast->peaks(h, from, to, scratch.data(), &s2, &k2);
        ASSERT_EQ(s1, s2) << round;
        ASSERT_EQ(k1, k2) << round;
        const int64_t floor = 1 + rng() % 50,
                      ceiling = floor + (round % 5 == 0 ? (int64_t{1} << 33) : rng() % 5000);
        const int64_t total = ref.clipped_sum(h, from, to, floor, ceiling);
        ASSERT_EQ(total, fast->clipped_sum(h, from, to, floor, ceiling)) << round;
        ASSERT_EQ(ref.clipped_sum(h, to, from - 1, floor, ceiling), 0);
        ASSERT_EQ(fast->clipped_sum(h, to + 1, to, floor, ceiling), 0);
        if (total == 0) continue;
        const int k = static_cast<int>(rng() % 511) - 255;
        const int base = k < 0 ? 255 : 0;
        std::vector<uint8_t> a(65536, 1), b(65536, 2);
        ref.fill_levels(h, from, to, floor, ceiling, base, k, total, a.data() + 32768);
        fast->fill_levels(h, from, to, floor, ceiling, base, k, total, b.data() + 32768);
        for (int v = from; v <= to; ++v) ASSERT_EQ(a[v + 32768], b[v + 32768]) << round << " at " << v;
        ASSERT_EQ(a[to + 32768], base + k) << "the last value reaches the far end";
    }
}

TEST(KernelChoice, ForcedScalarUsesTheReference) {
    const char *forced = std::getenv("SARVIK_FORCE_SCALAR");
    const bool scalar = forced && *forced && std::string(forced) != "0";
    if (scalar || !stretch_kernels_fast())
        EXPECT_EQ(&stretch_kernels(), &stretch_kernels_scalar());
    else
        EXPECT_EQ(&stretch_kernels(), stretch_kernels_fast());
    if (scalar || !dde_row_kernels_avx2())
        EXPECT_EQ(&dde_row_kernels(), &dde_row_kernels_scalar());
    else
        EXPECT_EQ(&dde_row_kernels(), dde_row_kernels_avx2());
}
