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
            std::vector<uint32_t> a(65536, 1), b(65536, 1), spareA(65536), spareB(65536);
            ref.count(in.data.data(), n, a.data() + 32768, spareA.data() + 32768, &l1, &h1);
            fast->count(in.data.data(), n, b.data() + 32768, spareB.data() + 32768, &l2, &h2);
            ASSERT_EQ(l1, l2) << n;
            ASSERT_EQ(h1, h2) << n;
            ASSERT_EQ(a, b) << n;
            ASSERT_EQ(spareB, std::vector<uint32_t>(65536)) << "the spare histogram is left zero";
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
