// The guided-filter kernels and their helpers: mirrored borders, coefficient tables, exact division, and
// rows and columns worked out by hand.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "filters_test_util.h"
#include "guided_filter.h"

using namespace sarvik;

namespace {

std::vector<int32_t> mirror_table(int n) {
    std::vector<int32_t> t(size_t(n) + 2 * kGfPad);
    mirror_table_build(t.data(), n);
    return t;
}

}  // namespace

// ---- Mirrored borders ---------------------------------------------------------------------------------

TEST(MirrorIndex, HalfSampleReflection) {
    EXPECT_EQ(mirror_index(-1, 10), 0);
    EXPECT_EQ(mirror_index(-2, 10), 1);
    EXPECT_EQ(mirror_index(10, 10), 9);
    EXPECT_EQ(mirror_index(11, 10), 8);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(mirror_index(i, 10), i);
}

TEST(MirrorIndex, WindowsWiderThanTheImageReflectAgainAndStayInside) {
    // Three processed rows against a 33-row window: indices -16 .. 18.
    for (int n = 1; n <= 40; ++n) {
        const auto t = mirror_table(n);
        for (int j = 0; j < n + 2 * kGfPad; ++j) {
            ASSERT_GE(t[j], 0) << "n " << n << " index " << j - kGfPad;
            ASSERT_LT(t[j], n) << "n " << n << " index " << j - kGfPad;
            EXPECT_EQ(t[j], filtertest::reflect(j - kGfPad, n));
        }
    }
    EXPECT_EQ(mirror_index(-4, 3), 2);  // -4 -> 3 -> 2
    EXPECT_EQ(mirror_index(-7, 3), 0);  // -7 -> 6 -> -1 -> 0
    EXPECT_EQ(mirror_index(18, 3), 0);
    EXPECT_EQ(mirror_index(5, 1), 0);
}

// ---- Coefficient tables -------------------------------------------------------------------------------

TEST(CoefTable, DenoiseTableEqualsItsFormulaEverywhere) {
    std::vector<uint16_t> t(kDenoiseTableSize);
    // eps = A x eps x A for radius 1 / regular 1, radius 5 / regular 5, radius 16 / regular 40.
    for (uint64_t eps : {uint64_t(81), uint64_t(121 * 25 * 121), uint64_t(1089) * 1600 * 1089}) {
        coef_table_build(t.data(), t.size(), eps);
        for (uint64_t i = 0; i < t.size(); ++i)
            ASSERT_EQ(t[i], i * (uint64_t(1) << 20) / (eps + 1024 * i)) << "eps " << eps << " entry " << i;
    }
}

TEST(CoefTable, DestripeTableEqualsItsFormulaEverywhere) {
    std::vector<uint16_t> t(kDestripeTableSize);
    const uint64_t eps = 100 * 121;  // s0_regular 10, W0 11
    coef_table_build(t.data(), t.size(), eps);
    for (uint64_t i = 0; i < t.size(); ++i)
        ASSERT_EQ(t[i], i * (uint64_t(1) << 20) / (eps + 1024 * i)) << "entry " << i;
    EXPECT_EQ(t[0], 0);
    EXPECT_EQ(t[1], 1048576 / (12100 + 1024));  // 79
    // Largest regularisation: s0_regular 65535, W0 33; the entries stay small but exact.
    const uint64_t big = uint64_t(65535) * 65535 * 33 * 33;
    coef_table_build(t.data(), t.size(), big);
    for (uint64_t i : {uint64_t(0), uint64_t(1), uint64_t(4096), uint64_t(1) << 20, kDestripeTableSize - 1})
        EXPECT_EQ(t[i], i * (uint64_t(1) << 20) / (big + 1024 * i)) << "entry " << i;
}

// ---- Exact division -----------------------------------------------------------------------------------

TEST(FixedDivisor, MatchesDivisionTowardZero) {
    std::mt19937_64 rng(7);
    // The divisors the filters use (9 .. 1089^2, 9216 .. 1089 x 1024) and some awkward ones, each over its
    // whole exact range |n| x divisor < 2^62.
    for (uint64_t d :
         {uint64_t(1), uint64_t(2), uint64_t(3), uint64_t(9), uint64_t(81), uint64_t(1089), uint64_t(9216),
          uint64_t(6561), uint64_t(1185921), uint64_t(1115136), uint64_t(65521)}) {
        FixedDivisor fd;
        fixed_divisor_init(&fd, d);
        const int64_t limit = int64_t(((uint64_t(1) << 62) - 1) / d) - int64_t(d);
        std::vector<int64_t> ns = {0,
                                   1,
                                   -1,
                                   int64_t(d) - 1,
                                   int64_t(d),
                                   int64_t(d) + 1,
                                   -int64_t(d),
                                   -int64_t(d) - 1,
                                   -int64_t(d) + 1,
                                   limit,
                                   -limit,
                                   limit - 1,
                                   limit / int64_t(d) * int64_t(d)};
        for (int i = 0; i < 20000; ++i) {
            const int64_t n = int64_t(rng() % uint64_t(limit + 1)) >> (rng() % 62);
            ns.push_back(rng() & 1 ? -n : n);
            ns.push_back(int64_t(d) * (n / int64_t(d)) * (rng() & 1 ? -1 : 1));  // exact multiples
        }
        for (int64_t n : ns) {
            if (n > limit || n < -limit) continue;
            ASSERT_EQ(fixed_div_trunc(fd, n), n / int64_t(d)) << n << " / " << d;
        }
    }
}

// ---- Destripe kernels, by hand ------------------------------------------------------------------------

namespace {

struct RowRig {
    std::vector<int32_t> mirror, x, a, b;
    std::vector<int16_t> smooth;
    std::vector<int32_t> residual;
    std::vector<uint16_t> table;
    DestripeRowParams p{};
    DestripeRowWork work{};

    RowRig(int w, int radius, bool guided, uint64_t eps)
        : mirror(mirror_table(w)), x(w + 2 * kGfPad), a(x.size()), b(x.size()), smooth(w), residual(w) {
        if (!guided) {
            table.resize(kDestripeTableSize);
            coef_table_build(table.data(), table.size(), eps);
        }
        p.radius = radius;
        p.guided = guided;
        p.eps = eps;
        p.table = table.empty() ? nullptr : table.data();
        p.colMirror = mirror.data();
        fixed_divisor_init(&p.smoothDiv, uint64_t(2 * radius + 1) * (2 * radius + 1) * 1024);
        work = {x.data(), a.data(), b.data()};
    }
    void run(const std::vector<int16_t> &row) {
        destripe_row(row.data(), int(row.size()), p, work, residual.data(), smooth.data());
    }
};

}  // namespace

// Row 0 0 30, W0 = 3, eps0 = 9: windows (0 0 0), (0 0 30), (0 30 30); variance terms 0, 1800, 1800.
// Guided: a = 0, 1843200 / 1809 = 1018, 1018; b = 0, 30 x 6, 60 x 6. Sums of a: 1018, 2036, 3054; of b:
// 180, 540, 900. smooth(30) = (3 x 30 x 3054 + 900) / 9216 = 275760 / 9216 = 29.92 -> 29.
TEST(DestripeRow, GuidedByHand) {
    RowRig rig(3, 1, true, 9);
    rig.run({0, 0, 30});
    EXPECT_EQ(rig.smooth, (std::vector<int16_t>{0, 0, 29}));
    EXPECT_EQ(rig.residual, (std::vector<int32_t>{0, 0, 1}));
    // Negative: -275760 / 9216 truncates toward zero to -29, so the residual is -1 (floor would give 0).
    rig.run({0, 0, -30});
    EXPECT_EQ(rig.smooth, (std::vector<int16_t>{0, 0, -29}));
    EXPECT_EQ(rig.residual, (std::vector<int32_t>{0, 0, -1}));
}

// Table: a = table[1800 >> 10] = 2^20 / 1033 = 1015; b = 0, 270, 540; sums of a 1015, 2030, 3045; of b 270,
// 810, 1350. smooth(30) = (3 x 30 x 3045 + 1350) / 9216 = 275400 / 9216 = 29.88 -> 29.
TEST(DestripeRow, TableByHand) {
    RowRig rig(3, 1, false, 9);
    EXPECT_EQ(rig.table[1], 1015);
    rig.run({0, 0, 30});
    EXPECT_EQ(rig.smooth, (std::vector<int16_t>{0, 0, 29}));
    EXPECT_EQ(rig.residual, (std::vector<int32_t>{0, 0, 1}));
}

// Residual column 3 0 0 (W1 = 3, mirrored rows -1 -> 0, 3 -> 2): sums 6, 3, 0 -> 2, 1, 0; with -4: -8 / 3
// and -4 / 3 truncate toward zero to -2 and -1.
TEST(DestripeColumn, BoxByHand) {
    const auto mir = mirror_table(3);
    std::vector<int32_t> colSum(2), est(6);
    const std::vector<int32_t> residual = {3, -4, 0, 0, 0, 0};  // two columns, three rows
    destripe_column_box(residual.data(), 2, 3, 1, mir.data(), colSum.data(), est.data());
    EXPECT_EQ(est, (std::vector<int32_t>{2, -2, 1, -1, 0, 0}));
}

// One column, residual 1 2 3 on smooth 10 20 30, W1 = 3, eps1 = 9. Windows (rows 0 0 1), (0 1 2), (1 2 2):
//   y0: Sr 4, Ss 40, Srs 60, Ss2 600: A = (180 - 160) x 1024 / (9 + 1800 - 1600) = 20480 / 209 = 97,
//       B = 4096 - 97 x 40 = 216
//   y1: Sr 6, Ss 60, Srs 140, Ss2 1400: A = 61440 / 609 = 100, B = 6144 - 6000 = 144
//   y2: Sr 8, Ss 80, Srs 220, Ss2 2200: A = 97, B = 8192 - 7760 = 432
// Sums of A 294 in every window; of B 576, 792, 1008:
//   y0: (294 x 10 x 3 + 576) / 9 = 1044 >> 10 = 1;  y1: 18432 / 9 = 2048 >> 10 = 2;
//   y2: 27468 / 9 = 3052 >> 10 = 2.
TEST(DestripeColumn, GuidedByHand) {
    const auto mir = mirror_table(3);
    std::vector<int64_t> sr(1), ss(1), srs(1), sss(1), B(3);
    std::vector<int32_t> A(3), est(3);
    DestripeColumnWork work{sr.data(), ss.data(), srs.data(), sss.data(), A.data(), B.data()};
    const std::vector<int32_t> residual = {1, 2, 3};
    const std::vector<int16_t> smooth = {10, 20, 30};
    destripe_column_guided(residual.data(), smooth.data(), 1, 3, 1, 9, mir.data(), work, est.data());
    EXPECT_EQ(A, (std::vector<int32_t>{97, 100, 97}));
    EXPECT_EQ(B, (std::vector<int64_t>{216, 144, 432}));
    EXPECT_EQ(est, (std::vector<int32_t>{1, 2, 2}));
}

TEST(DestripeCorrect, EachEstimateRowServesItsStepRowsAndSaturates) {
    // Two estimate rows, step 2, five frame rows: rows 0-1 take row 0, rows 2-3 row 1, row 4 stays.
    std::vector<int16_t> s = {100, 100, 100, 100, -32768, 32767, 7, 7, 9, 9};
    const std::vector<int32_t> est = {10, -10, 5, -5};
    destripe_correct(s.data(), 2, est.data(), 2, 2);
    EXPECT_EQ(s, (std::vector<int16_t>{90, 110, 90, 110, -32768, 32767, 2, 12, 9, 9}));
}

// ---- Denoise kernels, by hand -------------------------------------------------------------------------

namespace {

struct DenoiseRig {
    std::vector<int32_t> colMirror, rowMirror, colS1, pad1, planeB;
    std::vector<int64_t> colS2, pad2, sumA, sumB;
    std::vector<uint16_t> planeA, table;
    DenoiseParams p{};
    DenoiseWork work{};

    DenoiseRig(int w, int h, int factor, int radius, int regular)
        : colMirror(mirror_table(w / factor)), rowMirror(mirror_table(h / factor)) {
        const int sw = w / factor, sh = h / factor;
        colS1.resize(sw);
        colS2.resize(sw);
        pad1.resize(sw + 2 * kGfPad);
        pad2.resize(pad1.size());
        sumA.resize(sw);
        sumB.resize(sw);
        planeA.resize(size_t(sw) * sh);
        planeB.resize(planeA.size());
        table.resize(kDenoiseTableSize);
        p.width = w;
        p.height = h;
        p.factor = factor;
        p.smallW = sw;
        p.smallH = sh;
        p.radius = radius;
        p.area = (2 * radius + 1) * (2 * radius + 1);
        coef_table_build(table.data(), table.size(), uint64_t(p.area) * regular * regular * p.area);
        p.table = table.data();
        p.colMirror = colMirror.data();
        p.rowMirror = rowMirror.data();
        fixed_divisor_init(&p.outDiv, uint64_t(p.area) * p.area);
        work = {colS1.data(), colS2.data(), pad1.data(),   pad2.data(),
                sumA.data(),  sumB.data(),  planeA.data(), planeB.data()};
    }
    void run(std::vector<int16_t> &s) {
        denoise_coefficients(s.data(), p, work);
        denoise_output(s.data(), p, work);
    }
};

}  // namespace

// One row 0 0 30 (every row of a window is the same row), radius 1, A = 9, eps 1 (table eps 81).
// Sums of I: 0, 90, 180; of I^2: 0, 2700, 5400; variance terms 0, 16200, 16200 -> index 15 ->
// a = 15 x 2^20 / 15441 = 1018; b = 0, 90 - (91620 >> 10) = 1, 180 - (183240 >> 10) = 2.
// Sums of a: 3054, 6108, 9162; of b: 3, 9, 15. I'(30) = ((9 x 30 x 9162 >> 10) + 15) / 81 = 2430 / 81 = 30:
// the edge survives exactly (a multiply by 2^24 / 81 and a shift would give 29).
TEST(DenoiseKernel, EdgeByHand) {
    DenoiseRig rig(3, 1, 1, 1, 1);
    std::vector<int16_t> s = {0, 0, 30};
    rig.run(s);
    EXPECT_EQ(rig.planeA, (std::vector<uint16_t>{0, 1018, 1018}));
    EXPECT_EQ(rig.planeB, (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(s, (std::vector<int16_t>{0, 0, 30}));
}

// One row 0 3 0, eps 1600: variance terms 162 -> index 0 -> a = 0, b = 9 everywhere; sums of b 81 ->
// every sample becomes 81 / 81 = 1: the spike is spread, the total kept.
TEST(DenoiseKernel, SpikeByHand) {
    DenoiseRig rig(3, 1, 1, 1, 40);
    std::vector<int16_t> s = {0, 3, 0};
    rig.run(s);
    EXPECT_EQ(s, (std::vector<int16_t>{1, 1, 1}));
    // Negative: b = -9, sums -81 -> -1 exactly.
    s = {0, -3, 0};
    rig.run(s);
    EXPECT_EQ(s, (std::vector<int16_t>{-1, -1, -1}));
}

TEST(DenoiseKernel, BlocksTakeTheirDecimatedSums) {
    // 4 x 2 frame at factor 2: the working image is samples (0,0) and (2,0) = 0 and 30, radius 1.
    // Mirrored, both windows hold 0 0 30 / 0 30 30 columns: sums of I 90 and 180 over 9.
    DenoiseRig rig(4, 2, 2, 1, 40);
    std::vector<int16_t> s = {0, 6, 30, 36, 3, 3, 33, 33};
    rig.run(s);
    // Variance terms 9 x 2700 - 8100 = 16200 and 9 x 5400 - 180^2 = 16200 -> index 15; table eps
    // 9 x 1600 x 9 = 129600 makes a = 15 x 2^20 / (129600 + 15360) = 108; b = 90 - (9720 >> 10) = 81 and
    // 180 - (19440 >> 10) = 162. Sums over the 3 x 3 mirrored window: a 972 in both blocks; b 3 x (81 + 81 +
    // 162) = 972 and 3 x (81 + 162 + 162) = 1215. I' = ((9 x I x 972 >> 10) + Sb) / 81, e.g.
    // I = 6: (51 + 972) / 81 = 12; I = 30: (256 + 1215) / 81 = 18; I = 33: (281 + 1215) / 81 = 18.
    EXPECT_EQ(rig.planeA, (std::vector<uint16_t>{108, 108}));
    EXPECT_EQ(rig.planeB, (std::vector<int32_t>{81, 162}));
    EXPECT_EQ(s, (std::vector<int16_t>{12, 12, 18, 18, 12, 12, 18, 18}));
}
